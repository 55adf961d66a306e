#include "messages/sharemsggroup.h"

#include "messages/sharemsg.h"
#include "storage/sharemsgstorage.h"

ShareMsgGroup::ShareMsgGroup()
    : shareType(0), appId(0), capacity(11), unreadCount(0), latestPushTime(0) {}

ShareMsgGroup::~ShareMsgGroup() { Clear(true); }

void ShareMsgGroup::AddMsg(ShareMsg* msg) {
  if (msg == nullptr) return;
  const uint32_t time = msg->GetPushTime();
  if (time > latestPushTime) latestPushTime = time;
  if (msgs.empty()) {
    msgs.push_back(msg);
    ++unreadCount;
    return;
  }
  auto at = msgs.begin();
  while (at != msgs.end() && (*at == nullptr || (*at)->GetPushTime() > time)) ++at;
  msgs.insert(at, msg);
  ++unreadCount;

  if (msgs.size() > capacity) {
    ShareMsg* oldest = msgs.back();
    msgs.pop_back();
    if (oldest != nullptr) {
      if (!oldest->GetReadState() && unreadCount > 0) --unreadCount;
      // A read copy of it may be stored; the storage is opened on first need.
      ShareMsgStorage::GetInstance()->DeleteRoamMsg(oldest->GetMsgId(), oldest->GetPushTime());
      delete oldest;
    }
  }
  if (unreadCount > capacity) unreadCount = capacity;
}

uint32_t ShareMsgGroup::MarkAllRead() {
  for (ShareMsg* msg : msgs) {
    if (msg != nullptr) msg->SetReadState(true);
  }
  const uint32_t previous = unreadCount;
  unreadCount = 0;
  return previous;
}

void ShareMsgGroup::Clear(bool deleteMsgs) {
  if (msgs.empty()) return;
  if (deleteMsgs) {
    for (ShareMsg* msg : msgs) delete msg;
  }
  msgs.clear();
}
