// DynamicMsgGroup: the messages of one application, newest push time first.
//
// The group owns every message in msgs and deletes them with itself. It keeps
// at most three; a message pushed out at the cap waits in PushedOut() for the
// center, which removes its stored row, so that memory and database never hold
// what the user can no longer see.
#pragma once

#include <cstdint>
#include <vector>

class DynamicMsg;

class DynamicMsgGroup {
 public:
  DynamicMsgGroup();
  ~DynamicMsgGroup();
  DynamicMsgGroup(const DynamicMsgGroup&) = delete;
  DynamicMsgGroup& operator=(const DynamicMsgGroup&) = delete;

  // The accessors are inline: the center walks all its groups with them at
  // every push.
  uint32_t GetAppId() const { return appId_; }
  void SetAppId(uint32_t value) { appId_ = value; }
  uint32_t GetMsgCountOnServer() const { return msgCountOnServer_; }
  // The server's count of the application's unread messages. A count of 0
  // means the user has seen them elsewhere: no held message is new any more.
  // The count stands, and so counts towards the unread figure, until the group
  // is marked read.
  void SetMsgCountOnServer(uint32_t count);
  // The messages, owned by the group. Whoever takes pointers out of it must
  // leave the group with Clear(false) or put them back.
  std::vector<DynamicMsg*>& GetMsgs() { return msgs_; }
  uint32_t GetUnreadCount() const { return unreadCount_; }
  void SetUnreadCount(uint32_t value) { unreadCount_ = value; }
  uint32_t GetLatestPushTime() const { return latestPushTime_; }
  // What the group adds to the center's unread figure: its unread messages,
  // and never less than its server count while that count stands.
  uint32_t GetFigure() const {
    return countStands_ && msgCountOnServer_ > unreadCount_ ? msgCountOnServer_ : unreadCount_;
  }

  // Takes ownership. Files the message by push time (before others of the same
  // time) and counts it unread; beyond the cap the oldest message moves to
  // PushedOut(). A message whose id the group already holds is
  // deleted instead (false): a push delivered again, or a stored row of a
  // message that is in memory, which then counts as stored.
  bool AddMsg(DynamicMsg* msg);
  // Marks every message read and lets the server count go; returns how many
  // were unread.
  uint32_t MarkAllRead();
  // Sets the unread count to the number of messages not read.
  void CountUnread();
  // The held message with that id, or null.
  DynamicMsg* Find(uint32_t msgId) const;
  // The messages pushed out at the cap whose rows are still to be removed;
  // the group deletes what is left in it when it goes.
  std::vector<DynamicMsg*>& PushedOut();
  // Empties the group, deleting the messages only when asked: false is for
  // messages that now belong to another group.
  void Clear(bool deleteMsgs);

 private:
  uint32_t appId_;
  uint32_t capacity_;
  uint32_t msgCountOnServer_;
  // A vector: a group holds a few messages, and a vector holds nothing until
  // the first comes.
  std::vector<DynamicMsg*> msgs_;
  std::vector<DynamicMsg*> pushedOut_;
  uint32_t unreadCount_;
  uint32_t latestPushTime_;
  bool countStands_;
};
