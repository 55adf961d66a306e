// ShareMsgCenter: the received shares, as groups of one application and share
// type, the group with the newest push first, at most 50 groups.
//
// The unread figure counts groups that hold unread messages, not messages; it
// is derived from the groups after every change. A message reaches the
// database at the moment it is marked read, once; unread ones live only here
// and are lost with the center. The stored read messages are read back once,
// by the first operation that lists, counts or marks read, and merged with
// what arrived before: a message held already is not added twice.
#pragma once

#include <list>
#include <memory>

#include "centers/msgcenter.h"

class ShareMsg;
class ShareMsgGroup;
class ShareMsgStorage;

class ShareMsgCenter : public MsgCenter {
 public:
  ShareMsgCenter();
  ~ShareMsgCenter() override;

  uint32_t UpdateReadState() override;
  uint32_t GetMsgCount() override;
  uint32_t GetUnreadCount() override;
  void AddShareMsg(ShareMsgGroup* group) override;
  uint32_t GetShareMsg(uint32_t groupLimit, uint32_t msgLimit, ShareMsgGroupInfo** out,
                       bool unreadOnly) override;
  uint32_t GetShareMsgForApp(uint32_t appId, int32_t shareType, uint32_t msgLimit,
                             ShareMsgGroupInfo** out, bool unreadOnly) override;
  // A type-1 group is found by application alone; a type-2 group also needs
  // its latest push time.
  uint32_t UpdateShareMsgReadState(uint32_t appId, int32_t shareType, uint32_t unused,
                                   uint32_t latestPushTime) override;
  uint32_t DeleteShareMsg(uint32_t appId, uint32_t latestPushTime) override;
  bool ClearMsg() override;

 private:
  typedef std::list<std::unique_ptr<ShareMsgGroup>> GroupList;

  // Files the group by its latest push time and drops the oldest group beyond
  // the cap, with its stored rows.
  bool InsertGroup(std::unique_ptr<ShareMsgGroup> group);
  // Sets the unread figure from the groups held.
  void Recount();
  // Removes the stored copies of the messages the group pushed out, unless
  // none can be stored, and deletes them.
  void RemovePushedOut(ShareMsgGroup& group);
  void EnsureLoaded();
  // The held message of that application and type with msg's id and push time.
  ShareMsg* FindHeld(uint32_t appId, int32_t shareType, ShareMsg& msg);
  ShareMsgGroup* FindGroup(uint32_t appId, int32_t shareType, uint32_t latestPushTime);
  GroupList::iterator FindType1Group(uint32_t appId);
  // Moves a group that took messages to where InsertGroup would file it,
  // without taking its node out of the list.
  void Refile(GroupList::iterator group);
  void Load();
  void StoreReadMsg(ShareMsgStorage* storage, ShareMsg* msg, ShareMsgGroup* group);

  bool loaded_;
  GroupList groups_;
};
