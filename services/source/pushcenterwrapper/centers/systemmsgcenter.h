// SystemMsgCenter: the center of kind 3. Keeps the system messages in memory,
// newest first and at most maxMsgCount of them, counts the new ones, hands
// copies to the host, and stores the messages the host has read so that they
// come back, read, after a restart.
//
// Order: push time descending, then message id descending (both unsigned).
// The center owns every message in its list and deletes it on eviction,
// deletion, clearing and destruction. Unread messages live only in memory.
#pragma once

#include <cstdint>
#include <deque>

#include "centers/msgcenter.h"

class SystemMsg;

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

  // Takes a pushed message: false (and the message deleted) for a duplicate
  // of one in memory, same id and push time.
  bool AcceptSystemMsg(SystemMsg* msg);
  // Takes a message read back from the database; no duplicate check, no count.
  void InsertLoadedMsg(SystemMsg* msg);
  // Writes one host-visible element; the element is zeroed first.
  void FillSystemMsgInfo(SystemMsgInfo* info, SystemMsg* msg);

 private:
  // Places msg by the order rule; the list may then exceed maxMsgCount.
  void InsertOrdered(SystemMsg* msg);
  // Drops the oldest message and every stored row at or below its push time.
  // Returns whether the dropped message was unread.
  bool EvictOldest();
  void LoadStoredMsgs();

  bool storageLoaded;
  std::deque<SystemMsg*> messages;
};
