#include "messages/mysharegroup.h"

#include "messages/myshareitem.h"
#include "storage/sharemsgstorage.h"

MyShareGroup::MyShareGroup() : shareType(0), appId(0), capacity(8), latestShareTime(0) {}

MyShareGroup::~MyShareGroup() { Clear(true); }

void MyShareGroup::AddItem(MyShareItem* item) {
  if (item == nullptr) return;
  const uint32_t time = item->GetShareTime();
  if (time > latestShareTime) latestShareTime = time;
  if (items.empty()) {
    items.push_back(item);
    return;
  }
  auto at = items.begin();
  while (at != items.end() && (*at == nullptr || (*at)->GetShareTime() > time)) ++at;
  items.insert(at, item);

  if (items.size() > capacity) {
    MyShareItem* oldest = items.back();
    items.pop_back();
    if (oldest != nullptr) {
      ShareMsgStorage::GetInstance()->DeleteMyRows(appId, oldest->GetShareTime());
      delete oldest;
    }
  }
}

void MyShareGroup::DeleteItemRows() {
  ShareMsgStorage* storage = ShareMsgStorage::GetInstance();
  for (MyShareItem* item : items) {
    if (item != nullptr) storage->DeleteMyRows(appId, item->GetShareTime());
  }
}

void MyShareGroup::Clear(bool deleteItems) {
  if (items.empty()) return;
  if (deleteItems) {
    for (MyShareItem* item : items) delete item;
  }
  items.clear();
}
