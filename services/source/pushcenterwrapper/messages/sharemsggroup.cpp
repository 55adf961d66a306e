#include "messages/sharemsggroup.h"

#include <memory>

#include "messages/newestfirst.h"
#include "messages/sharemsg.h"

ShareMsgGroup::ShareMsgGroup()
    : shareType_(0), appId_(0), capacity_(11), unreadCount_(0), latestPushTime_(0) {}

ShareMsgGroup::~ShareMsgGroup() {
  Clear(true);
  for (ShareMsg* msg : pushedOut_) delete msg;
}

std::vector<ShareMsg*>& ShareMsgGroup::PushedOut() { return pushedOut_; }

ShareMsg* ShareMsgGroup::Find(ShareMsg& msg) {
  for (ShareMsg* held : msgs_) {
    if (held->SamePush(msg)) return held;
  }
  return nullptr;
}

void ShareMsgGroup::CountUnread() {
  unreadCount_ = 0;
  for (ShareMsg* msg : msgs_) {
    if (!msg->GetReadState()) ++unreadCount_;
  }
}

bool ShareMsgGroup::AddMsg(ShareMsg* msg) {
  if (msg == nullptr) return false;
  // Ownership passes with the call: a message that cannot be filed for lack
  // of memory is deleted here, never left to the caller.
  std::unique_ptr<ShareMsg> owned(msg);
  if (ShareMsg* held = Find(*msg)) {
    if (msg->HasRow()) held->SetHasRow(true);
    return false;
  }
  const uint32_t time = msg->GetPushTime();
  std::unique_ptr<ShareMsg> oldest(
      InsertNewestFirst(msgs_, msg, capacity_, [time](ShareMsg*, ShareMsg* held) { return held->GetPushTime() <= time; }));
  owned.release();
  if (time > latestPushTime_) latestPushTime_ = time;
  ++unreadCount_;
  if (oldest != nullptr) {
    if (!oldest->GetReadState() && unreadCount_ > 0) --unreadCount_;
    pushedOut_.push_back(oldest.get());
    oldest.release();
  }
  if (unreadCount_ > capacity_) unreadCount_ = capacity_;
  return true;
}

uint32_t ShareMsgGroup::MarkAllRead() {
  for (ShareMsg* msg : msgs_) {
    msg->SetReadState(true);
  }
  const uint32_t previous = unreadCount_;
  unreadCount_ = 0;
  return previous;
}

void ShareMsgGroup::Clear(bool deleteMsgs) {
  if (msgs_.empty()) return;
  if (deleteMsgs) {
    for (ShareMsg* msg : msgs_) delete msg;
  }
  msgs_.clear();
}
