#include "messages/sharemsggroup.h"

#include <memory>

#include "messages/newestfirst.h"
#include "messages/sharemsg.h"

ShareMsgGroup::ShareMsgGroup()
    : shareType(0), appId(0), capacity(11), unreadCount(0), latestPushTime(0) {}

ShareMsgGroup::~ShareMsgGroup() {
  Clear(true);
  for (ShareMsg* msg : pushedOut) delete msg;
}

std::vector<ShareMsg*>& ShareMsgGroup::PushedOut() { return pushedOut; }

ShareMsg* ShareMsgGroup::Find(ShareMsg& msg) {
  for (ShareMsg* held : msgs) {
    if (held != nullptr && held->GetMsgId() == msg.GetMsgId() && held->GetPushTime() == msg.GetPushTime()) {
      return held;
    }
  }
  return nullptr;
}

void ShareMsgGroup::CountUnread() {
  unreadCount = 0;
  for (ShareMsg* msg : msgs) {
    if (msg != nullptr && !msg->GetReadState()) ++unreadCount;
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
      InsertNewestFirst(msgs, msg, capacity, [time](ShareMsg*, ShareMsg* held) { return held->GetPushTime() <= time; }));
  owned.release();
  if (time > latestPushTime) latestPushTime = time;
  ++unreadCount;
  if (oldest != nullptr) {
    if (!oldest->GetReadState() && unreadCount > 0) --unreadCount;
    pushedOut.push_back(oldest.get());
    oldest.release();
  }
  if (unreadCount > capacity) unreadCount = capacity;
  return true;
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
