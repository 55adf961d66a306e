// ShareMsgGroup: the received shares of one application and one share type,
// newest push time first, at most 11 of them.
//
// The group owns its messages and deletes those it still holds when it goes.
// A message that the cap pushes out is deleted at once, together with any row
// that the storage holds for it.
#pragma once

#include <cstdint>
#include <vector>

class ShareMsg;

class ShareMsgGroup {
 public:
  ShareMsgGroup();
  ~ShareMsgGroup();
  ShareMsgGroup(const ShareMsgGroup&) = delete;
  ShareMsgGroup& operator=(const ShareMsgGroup&) = delete;

  // 1: one group per application; 2: one group per push. The intake keeps no
  // other type.
  int32_t GetShareType() const { return shareType_; }
  void SetShareType(int32_t value) { shareType_ = value; }
  uint32_t GetAppId() const { return appId_; }
  void SetAppId(uint32_t value) { appId_ = value; }
  std::vector<ShareMsg*>& GetMsgs() { return msgs_; }
  uint32_t GetUnreadCount() const { return unreadCount_; }
  void SetUnreadCount(uint32_t value) { unreadCount_ = value; }
  // The greatest push time ever added; with the application and the share type
  // it names the group towards the host.
  uint32_t GetLatestPushTime() const { return latestPushTime_; }

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
  // The messages pushed out at the cap whose stored copies are still to be
  // removed; the group deletes what is left in it when it goes.
  std::vector<ShareMsg*>& PushedOut();
  // Marks every message read; returns the unread count it had.
  uint32_t MarkAllRead();
  // Empties the group, deleting the messages only when asked: without deletion
  // they must already belong to somebody else. The unread count is kept.
  void Clear(bool deleteMsgs);

 private:
  int32_t shareType_;
  uint32_t appId_;
  uint32_t capacity_;
  // A vector: a group holds a few messages, and a vector holds nothing until
  // the first comes.
  std::vector<ShareMsg*> msgs_;
  std::vector<ShareMsg*> pushedOut_;
  uint32_t unreadCount_;
  uint32_t latestPushTime_;
};
