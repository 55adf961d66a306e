// MyShareMsgCenter: the shares that the user sent, as the host reports them,
// in groups of one application and share type (type-2 groups also by the
// application description), the newest group first, at most 50 groups of at
// most 8 shares.
//
// Everything added is stored at once and read back when the center is
// created. There is no read state and no unread figure here.
#pragma once

#include <list>
#include <memory>

#include "centers/msgcenter.h"

class MyShareGroup;

class MyShareMsgCenter : public MsgCenter {
 public:
  MyShareMsgCenter();
  ~MyShareMsgCenter() override;

  uint32_t GetMsgCount() override;
  // Valid as long as the center lives; empty unless the last type-2 merge
  // attempt found the same description.
  const char* GetAppDesc() override;
  uint32_t GetMyShareMsg(uint32_t groupLimit, uint32_t msgLimit,
                         MyShareMsgGroupInfo** out) override;
  // Reads the host's record and keeps a copy; the record stays the host's.
  bool AddMyShareMsg(const MyShareMsgGroupInfo* group) override;
  uint32_t GetMyShareMsgForApp(uint32_t appId, int32_t shareType, uint32_t msgLimit,
                               MyShareMsgGroupInfo** out, const char* appDesc) override;
  uint32_t GetAllMyShareMsgNum() override;
  uint32_t DeleteMyShareMsg(uint32_t appId, uint32_t extra) override;
  bool ClearMsg() override;
  // Takes ownership; merges the group into a listed one of the same
  // application and type (type 2: and the same description) or files it.
  virtual void AddMyShareGroup(MyShareGroup* group);  // 34

 private:
  typedef std::list<std::unique_ptr<MyShareGroup>> GroupList;

  // Files the group by its latest share time and drops the oldest group
  // beyond the cap, with its stored rows.
  bool InsertGroup(std::unique_ptr<MyShareGroup> group);
  // Removes the stored rows of the items the group pushed out, and deletes
  // them.
  void RemovePushedOut(MyShareGroup& group);
  // Removes the stored rows of all the group's items, those pushed out
  // included.
  void RemoveRows(MyShareGroup& group);
  void Load();

  GroupList groups_;
  char appDescBuffer_[600];
};
