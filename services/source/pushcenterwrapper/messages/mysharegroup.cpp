#include "messages/mysharegroup.h"

#include <memory>

#include "messages/myshareitem.h"
#include "messages/newestfirst.h"

MyShareGroup::MyShareGroup() : shareType(0), appId(0), capacity(8), latestShareTime(0) {}

MyShareGroup::~MyShareGroup() {
  Clear(true);
  for (MyShareItem* item : pushedOut) delete item;
}

void MyShareGroup::AddItem(MyShareItem* item) {
  if (item == nullptr) return;
  // Ownership passes with the call: an item that cannot be filed for lack of
  // memory is deleted here, never left to the caller.
  std::unique_ptr<MyShareItem> owned(item);
  const uint32_t time = item->GetShareTime();
  std::unique_ptr<MyShareItem> oldest(InsertNewestFirst(
      items, item, capacity, [time](MyShareItem*, MyShareItem* held) { return held->GetShareTime() <= time; }));
  owned.release();
  if (time > latestShareTime) latestShareTime = time;
  if (oldest != nullptr) {
    pushedOut.push_back(oldest.get());
    oldest.release();
  }
}

void MyShareGroup::Clear(bool deleteItems) {
  if (items.empty()) return;
  if (deleteItems) {
    for (MyShareItem* item : items) delete item;
  }
  items.clear();
}
