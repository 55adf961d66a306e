#include "messages/mysharegroup.h"

#include <memory>

#include "messages/myshareitem.h"
#include "messages/newestfirst.h"

MyShareGroup::MyShareGroup() : shareType_(0), appId_(0), capacity_(8), latestShareTime_(0) {}

MyShareGroup::~MyShareGroup() {
  Clear(true);
  for (MyShareItem* item : pushedOut_) delete item;
}

void MyShareGroup::AddItem(MyShareItem* item) {
  if (item == nullptr) return;
  // Ownership passes with the call: an item that cannot be filed for lack of
  // memory is deleted here, never left to the caller.
  std::unique_ptr<MyShareItem> owned(item);
  const uint32_t time = item->GetShareTime();
  std::unique_ptr<MyShareItem> oldest(InsertNewestFirst(
      items_, item, capacity_, [time](MyShareItem*, MyShareItem* held) { return held->GetShareTime() <= time; }));
  owned.release();
  if (time > latestShareTime_) latestShareTime_ = time;
  if (oldest != nullptr) {
    pushedOut_.push_back(oldest.get());
    oldest.release();
  }
}

void MyShareGroup::Clear(bool deleteItems) {
  if (items_.empty()) return;
  if (deleteItems) {
    for (MyShareItem* item : items_) delete item;
  }
  items_.clear();
}
