// MsgCenter: the one interface through which the exports and the push intake
// reach every kind of message center.
//
// Each center overrides the slots of its kind; every other slot keeps the inert
// default below, so any export can be forwarded to any center. The numbers
// name the slots; only the library calls through them.
#pragma once

#include <cstdint>
#include <deque>

#include "pushcenterwrapper.h"

class DynamicMsgGroup;
class ShareMsgGroup;
class SystemMsg;

class MsgCenter {
 public:
  explicit MsgCenter(int32_t kind);
  MsgCenter(const MsgCenter&) = delete;
  MsgCenter& operator=(const MsgCenter&) = delete;

  virtual ~MsgCenter();                                                     // 0
  virtual int32_t GetCenterKind();                                          // 1
  virtual void SetCenterKind(int32_t kind);                                 // 2
  virtual uint32_t GetEarliestPushTime();                                   // 3
  virtual uint32_t GetLatestPushTime();                                     // 4
  // Widens the range of push times seen; a time of 0 resets the range.
  virtual void NotePushTime(uint32_t pushTime);                             // 5
  virtual uint32_t UpdateReadState();                                       // 6
  virtual uint32_t GetMsgCount();                                           // 7
  virtual uint32_t GetUnreadCount();                                        // 8
  virtual const char* GetAppDesc();                                         // 9
  // Takes ownership of the group.
  virtual void AddDynamicMsg(DynamicMsgGroup* group);                       // 10
  virtual uint32_t GetDynamicMsg(uint32_t maxGroups, uint32_t maxMsgs, DynamicMsgGroupInfo** out,
                                 bool onlyUnread);                          // 11
  virtual uint32_t GetDynamicMsgForApp(uint32_t appId, uint32_t maxMsgs, DynamicMsgGroupInfo** out,
                                       bool onlyUnread);                    // 12
  virtual uint32_t GetUnreadDynamicMsgCountForApp(uint32_t appId);          // 13
  virtual bool ResetUnreadDynamicMsgCount(uint32_t appId, uint32_t count,
                                          uint32_t originator);             // 14
  virtual uint32_t UpdateDynamicMsgReadState(uint32_t appId, uint32_t originator,
                                             bool reportRead);              // 15
  virtual uint32_t DeleteDynamicMsg(uint32_t appId, uint32_t originator);   // 16
  virtual bool ShieldDynamicMsgForApp(uint32_t appId, uint32_t unused);     // 17
  // Takes ownership of the group.
  virtual void AddShareMsg(ShareMsgGroup* group);                           // 18
  virtual uint32_t GetShareMsg(uint32_t groupLimit, uint32_t msgLimit, ShareMsgGroupInfo** out,
                               bool unreadOnly);                            // 19
  virtual uint32_t GetMyShareMsg(uint32_t groupLimit, uint32_t msgLimit,
                                 MyShareMsgGroupInfo** out);                // 20
  virtual bool AddMyShareMsg(const MyShareMsgGroupInfo* group);             // 21
  virtual uint32_t GetMyShareMsgForApp(uint32_t appId, int32_t shareType, uint32_t msgLimit,
                                       MyShareMsgGroupInfo** out,
                                       const char* appDesc);                // 22
  virtual uint32_t GetAllMyShareMsgNum();                                   // 23
  virtual uint32_t GetShareMsgForApp(uint32_t appId, int32_t shareType, uint32_t msgLimit,
                                     ShareMsgGroupInfo** out, bool unreadOnly);  // 24
  virtual uint32_t UpdateShareMsgReadState(uint32_t appId, int32_t shareType, uint32_t unused,
                                           uint32_t latestPushTime);        // 25
  virtual uint32_t DeleteShareMsg(uint32_t appId, uint32_t latestPushTime); // 26
  virtual uint32_t DeleteMyShareMsg(uint32_t appId, uint32_t extra);        // 27
  // Takes ownership of every message in the queue; the caller empties it.
  virtual void AddSystemMsgs(std::deque<SystemMsg*>* msgs);                 // 28
  virtual uint32_t GetSystemMsg(uint32_t wanted, SystemMsgInfo** out, bool newOnly);  // 29
  virtual uint32_t UpdateSystemMsgReadState(uint32_t msgId, uint32_t readState);      // 30
  virtual uint32_t DeleteSystemMsg(uint32_t msgId, uint32_t pushTime);      // 31
  virtual uint32_t GetAppUpdateState();                                     // 32
  virtual bool ClearMsg();                                                  // 33

 protected:
  int32_t maxMsgCount_;
  uint32_t unreadCount_;
  int32_t centerKind_;
  uint32_t earliestPushTime_;
  uint32_t latestPushTime_;
};
