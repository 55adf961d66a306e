#include "messages/dynamicmsggroup.h"

#include <memory>

#include "messages/dynamicmsg.h"
#include "messages/newestfirst.h"

DynamicMsgGroup::DynamicMsgGroup()
    : appId_(0), capacity_(3), msgCountOnServer_(0), unreadCount_(0), latestPushTime_(0), countStands_(false) {}

DynamicMsgGroup::~DynamicMsgGroup() {
  for (DynamicMsg* msg : msgs_) delete msg;
  for (DynamicMsg* msg : pushedOut_) delete msg;
}

std::vector<DynamicMsg*>& DynamicMsgGroup::PushedOut() { return pushedOut_; }

void DynamicMsgGroup::SetMsgCountOnServer(uint32_t count) {
  msgCountOnServer_ = count;
  countStands_ = true;
  if (count != 0) return;
  for (DynamicMsg* msg : msgs_) {
    msg->SetNewFlag(0);
  }
}

bool DynamicMsgGroup::AddMsg(DynamicMsg* msg) {
  if (msg == nullptr) return false;
  // Ownership passes with the call: a message that cannot be filed for lack
  // of memory is deleted here, never left to the caller.
  std::unique_ptr<DynamicMsg> owned(msg);
  if (DynamicMsg* held = Find(msg->GetMsgId())) {
    if (msg->HasRow()) held->SetHasRow(true);
    return false;
  }
  const uint32_t pushTime = msg->GetPushTime();
  std::unique_ptr<DynamicMsg> oldest(
      InsertNewestFirst(msgs_, msg, capacity_, [pushTime](DynamicMsg*, DynamicMsg* held) {
        return held->GetPushTime() <= pushTime;
      }));
  owned.release();
  if (pushTime > latestPushTime_) latestPushTime_ = pushTime;
  ++unreadCount_;
  if (oldest != nullptr) {
    if (!oldest->GetReadState()) --unreadCount_;
    pushedOut_.push_back(oldest.get());
    oldest.release();
  }
  if (unreadCount_ > capacity_) unreadCount_ = capacity_;
  return true;
}

uint32_t DynamicMsgGroup::MarkAllRead() {
  for (DynamicMsg* msg : msgs_) {
    msg->SetReadState(true);
  }
  const uint32_t previous = unreadCount_;
  unreadCount_ = 0;
  countStands_ = false;
  return previous;
}

DynamicMsg* DynamicMsgGroup::Find(uint32_t msgId) const {
  for (DynamicMsg* held : msgs_) {
    if (held->GetMsgId() == msgId) return held;
  }
  return nullptr;
}

void DynamicMsgGroup::CountUnread() {
  unreadCount_ = 0;
  for (DynamicMsg* msg : msgs_) {
    if (!msg->GetReadState()) ++unreadCount_;
  }
}

void DynamicMsgGroup::Clear(bool deleteMsgs) {
  if (msgs_.empty()) return;
  if (deleteMsgs) {
    for (DynamicMsg* msg : msgs_) delete msg;
  }
  msgs_.clear();
  unreadCount_ = 0;
}
