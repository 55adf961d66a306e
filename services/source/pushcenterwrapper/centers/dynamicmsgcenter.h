// DynamicMsgCenter: the center of kind 1, one DynamicMsgGroup per application.
//
// Groups are held newest first (by their latest push time), at most
// maxMsgCount of them; the center owns every group and message it was given.
// Only read messages reach the database, so after a restart the first listing
// brings back what was read and nothing else.
//
// The unread figure is not a count of unread messages: it is the sum of what
// each held group contributes, its unread messages and never less than the
// server's count while that count stands (from a push or a count record until
// the group is read). It is derived from the groups after every change, so a
// group that goes takes its part with it.
//
// The stored messages are read back once, by the first operation other than a
// delete, a clear or a shield, a push included, so that an eviction whose
// deletion can meet no row may leave the database alone (storage/rowmirror.h).
#pragma once

#include <cstdint>
#include <list>
#include <memory>

#include "centers/msgcenter.h"

class DynamicMsgGroup;
class DynamicMsgStorage;

class DynamicMsgCenter : public MsgCenter {
 public:
  DynamicMsgCenter();
  ~DynamicMsgCenter() override;

  // Marks every message read and reports the read; returns the unread figure
  // it had. Nothing happens while the figure is 0.
  uint32_t UpdateReadState() override;
  // The number of groups.
  uint32_t GetMsgCount() override;
  uint32_t GetUnreadCount() override;
  void AddDynamicMsg(DynamicMsgGroup* group) override;
  // Arrays handed out are the host's to read and this library's to free
  // (PushFreeDynamicMsgGroupList); out is left untouched when 0 is returned.
  uint32_t GetDynamicMsg(uint32_t maxGroups, uint32_t maxMsgs, DynamicMsgGroupInfo** out,
                         bool onlyUnread) override;
  uint32_t GetDynamicMsgForApp(uint32_t appId, uint32_t maxMsgs, DynamicMsgGroupInfo** out,
                               bool onlyUnread) override;
  uint32_t GetUnreadDynamicMsgCountForApp(uint32_t appId) override;
  // originator is the owner id that is not told of its own change.
  bool ResetUnreadDynamicMsgCount(uint32_t appId, uint32_t count, uint32_t originator) override;
  uint32_t UpdateDynamicMsgReadState(uint32_t appId, uint32_t originator, bool reportRead) override;
  uint32_t DeleteDynamicMsg(uint32_t appId, uint32_t originator) override;
  bool ShieldDynamicMsgForApp(uint32_t appId, uint32_t unused) override;
  bool ClearMsg() override;

 private:
  typedef std::list<std::unique_ptr<DynamicMsgGroup>> GroupList;

  DynamicMsgGroup* FindGroup(uint32_t appId);
  GroupList::iterator Locate(const DynamicMsgGroup* group);
  // Files the group by its latest push time; returns the oldest group when
  // the cap is passed.
  std::unique_ptr<DynamicMsgGroup> InsertGroupByTime(std::unique_ptr<DynamicMsgGroup> group);
  // Moves a held group whose latest push time grew to where
  // InsertGroupByTime would file it, without taking its node out of the list.
  void Refile(DynamicMsgGroup* group);
  // Sets the unread figure from the groups held.
  void Recount();
  // Lets a group pushed out at the cap go, with its rows.
  void DropGroup(std::unique_ptr<DynamicMsgGroup> oldest, DynamicMsgStorage& storage);
  // Removes the rows of the messages the group pushed out, and deletes them.
  void RemovePushedOut(DynamicMsgGroup& group, DynamicMsgStorage& storage);
  bool LoadOnce();
  // Whether the stored messages are in memory, reading them if they are not.
  bool EnsureLoaded();
  void MergeLoadedGroup(std::unique_ptr<DynamicMsgGroup> group);
  // Stores the group's unread messages, then marks them all read; returns how
  // many were unread.
  static uint32_t StoreAndMarkRead(DynamicMsgGroup& group, DynamicMsgStorage& storage);

  bool loaded_;
  GroupList groups_;
};
