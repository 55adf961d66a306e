// ShareMsgGroup: the received shares of one application and one share type,
// newest push time first, at most 11 of them.
//
// The group owns its messages and deletes those it still holds when it goes.
// A message that the cap pushes out is deleted at once, together with any row
// that the storage holds for it.
#pragma once

#include <cstdint>
#include <deque>

class ShareMsg;

class ShareMsgGroup {
 public:
  ShareMsgGroup();
  ~ShareMsgGroup();
  ShareMsgGroup(const ShareMsgGroup&) = delete;
  ShareMsgGroup& operator=(const ShareMsgGroup&) = delete;

  // 1: one group per application; 2: one group per push. The intake keeps no
  // other type.
  int32_t GetShareType() const { return shareType; }
  void SetShareType(int32_t value) { shareType = value; }
  uint32_t GetAppId() const { return appId; }
  void SetAppId(uint32_t value) { appId = value; }
  std::deque<ShareMsg*>& GetMsgs() { return msgs; }
  uint32_t GetUnreadCount() const { return unreadCount; }
  void SetUnreadCount(uint32_t value) { unreadCount = value; }
  // The greatest push time ever added; with the application and the share type
  // it names the group towards the host.
  uint32_t GetLatestPushTime() const { return latestPushTime; }

  // Takes ownership; null is ignored. Among equal push times the newest
  // arrival goes first. Every added message counts as unread. A message the
  // group already holds (same id and push time) is deleted instead (false):
  // a push delivered again, or the stored row of a message in memory, which
  // then counts as stored.
  bool AddMsg(ShareMsg* msg);
  // The held message with the id and push time of msg, or null.
  ShareMsg* Find(ShareMsg& msg);
  // Sets the unread count to the number of messages not read.
  void CountUnread();
  // Marks every message read; returns the unread count it had.
  uint32_t MarkAllRead();
  // Empties the group, deleting the messages only when asked: without deletion
  // they must already belong to somebody else. The unread count is kept.
  void Clear(bool deleteMsgs);

 private:
  int32_t shareType;
  uint32_t appId;
  uint32_t capacity;
  std::deque<ShareMsg*> msgs;
  uint32_t unreadCount;
  uint32_t latestPushTime;
};
