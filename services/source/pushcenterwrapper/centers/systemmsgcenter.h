// SystemMsgCenter: the center of kind 3. Keeps the system messages in memory,
// newest first and at most maxMsgCount of them, counts the new ones, hands
// copies to the host, and stores the messages the host has read so that they
// come back, read, after a restart.
//
// Order: push time descending, then message id descending (both unsigned).
// The center owns every message in its list and deletes it on eviction,
// deletion, clearing and destruction. A pushed message lives only in memory
// until the host reads it; from then on it has one row, whatever its read
// state does later. The count is the number of unread messages held, and the
// new-only listing hands out exactly those.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>

#include "centers/msgcenter.h"

class SystemMsg;
class SystemMsgStorage;

class SystemMsgCenter : public MsgCenter {
 public:
  SystemMsgCenter();
  ~SystemMsgCenter() override;

  uint32_t UpdateReadState() override;
  uint32_t GetMsgCount() override;
  uint32_t GetUnreadCount() override;
  void AddSystemMsgs(std::deque<SystemMsg*>* msgs) override;
  uint32_t GetSystemMsg(uint32_t wanted, SystemMsgInfo** out, bool newOnly) override;
  uint32_t UpdateSystemMsgReadState(uint32_t msgId, uint32_t readState) override;
  uint32_t DeleteSystemMsg(uint32_t msgId, uint32_t pushTime) override;
  bool ClearMsg() override;

 private:
  // Takes a pushed message, never null: false (and the message deleted) for a duplicate
  // of one in memory, same id and push time.
  bool AcceptSystemMsg(SystemMsg* msg);
  // Takes a message read back from the database; its row marks a message
  // already held as stored instead. No count.
  void InsertLoadedMsg(SystemMsg* msg);
  // Writes one host-visible element; the element is zeroed first.
  void FillSystemMsgInfo(SystemMsgInfo& info, SystemMsg& msg);
  // Places msg by the order rule; beyond maxMsgCount the oldest message goes,
  // with every stored row at or below its push time.
  void File(std::unique_ptr<SystemMsg> msg);
  // The held message with msg's id and push time, or null.
  SystemMsg* FindSame(SystemMsg& msg);
  void LoadStoredMsgs();
  // Whether the stored messages are in memory, reading them if they are not.
  bool EnsureLoaded();
  // Sets the count to the number of unread messages held.
  void CountUnread();
  // Writes the message's row unless it has one; whether it has one now.
  static bool Store(SystemMsgStorage& storage, SystemMsg& msg);

  bool storageLoaded_;
  std::deque<SystemMsg*> messages_;
};
