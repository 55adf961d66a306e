#include "messages/dynamicmsggroup.h"

#include <memory>

#include "messages/dynamicmsg.h"
#include "messages/newestfirst.h"

DynamicMsgGroup::DynamicMsgGroup()
    : appId(0), capacity(3), msgCountOnServer(0), unreadCount(0), latestPushTime(0), countStands(false) {}

DynamicMsgGroup::~DynamicMsgGroup() {
  for (DynamicMsg* msg : msgs) delete msg;
  for (DynamicMsg* msg : pushedOut) delete msg;
}

std::vector<DynamicMsg*>& DynamicMsgGroup::PushedOut() { return pushedOut; }

uint32_t DynamicMsgGroup::GetAppId() const { return appId; }
void DynamicMsgGroup::SetAppId(uint32_t value) { appId = value; }
uint32_t DynamicMsgGroup::GetMsgCountOnServer() const { return msgCountOnServer; }
std::deque<DynamicMsg*>& DynamicMsgGroup::GetMsgs() { return msgs; }
uint32_t DynamicMsgGroup::GetUnreadCount() const { return unreadCount; }
void DynamicMsgGroup::SetUnreadCount(uint32_t value) { unreadCount = value; }
uint32_t DynamicMsgGroup::GetLatestPushTime() const { return latestPushTime; }

uint32_t DynamicMsgGroup::GetFigure() const {
  return countStands && msgCountOnServer > unreadCount ? msgCountOnServer : unreadCount;
}

void DynamicMsgGroup::SetMsgCountOnServer(uint32_t count) {
  msgCountOnServer = count;
  countStands = true;
  if (count != 0) return;
  for (DynamicMsg* msg : msgs) {
    if (msg != nullptr) msg->SetNewFlag(0);
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
      InsertNewestFirst(msgs, msg, capacity, [pushTime](DynamicMsg*, DynamicMsg* held) {
        return held->GetPushTime() <= pushTime;
      }));
  owned.release();
  if (pushTime > latestPushTime) latestPushTime = pushTime;
  ++unreadCount;
  if (oldest != nullptr) {
    if (!oldest->GetReadState()) --unreadCount;
    pushedOut.push_back(oldest.get());
    oldest.release();
  }
  if (unreadCount > capacity) unreadCount = capacity;
  return true;
}

uint32_t DynamicMsgGroup::MarkAllRead() {
  for (DynamicMsg* msg : msgs) {
    if (msg != nullptr) msg->SetReadState(true);
  }
  const uint32_t previous = unreadCount;
  unreadCount = 0;
  countStands = false;
  return previous;
}

DynamicMsg* DynamicMsgGroup::Find(uint32_t msgId) const {
  for (DynamicMsg* held : msgs) {
    if (held != nullptr && held->GetMsgId() == msgId) return held;
  }
  return nullptr;
}

void DynamicMsgGroup::CountUnread() {
  unreadCount = 0;
  for (DynamicMsg* msg : msgs) {
    if (msg != nullptr && !msg->GetReadState()) ++unreadCount;
  }
}

void DynamicMsgGroup::Clear(bool deleteMsgs) {
  if (msgs.empty()) return;
  if (deleteMsgs) {
    for (DynamicMsg* msg : msgs) delete msg;
  }
  msgs.clear();
  unreadCount = 0;
}
