#include "centers/msgcenter.h"

MsgCenter::MsgCenter(int32_t kind)
    : maxMsgCount_(50), unreadCount_(0), centerKind_(kind), earliestPushTime_(0), latestPushTime_(0) {}

MsgCenter::~MsgCenter() = default;

int32_t MsgCenter::GetCenterKind() { return centerKind_; }
void MsgCenter::SetCenterKind(int32_t kind) { centerKind_ = kind; }
uint32_t MsgCenter::GetEarliestPushTime() { return earliestPushTime_; }
uint32_t MsgCenter::GetLatestPushTime() { return latestPushTime_; }

void MsgCenter::NotePushTime(uint32_t pushTime) {
  if (pushTime == 0) {
    earliestPushTime_ = 0;
    latestPushTime_ = 0;
    return;
  }
  if (earliestPushTime_ == 0 || pushTime < earliestPushTime_) earliestPushTime_ = pushTime;
  if (latestPushTime_ == 0 || pushTime > latestPushTime_) latestPushTime_ = pushTime;
}

// The inert defaults: a center answers only for the slots of its own kind.
uint32_t MsgCenter::UpdateReadState() { return 0; }
uint32_t MsgCenter::GetMsgCount() { return 0; }
uint32_t MsgCenter::GetUnreadCount() { return 0; }
const char* MsgCenter::GetAppDesc() { return nullptr; }
void MsgCenter::AddDynamicMsg(DynamicMsgGroup*) {}
uint32_t MsgCenter::GetDynamicMsg(uint32_t, uint32_t, DynamicMsgGroupInfo**, bool) { return 0; }
uint32_t MsgCenter::GetDynamicMsgForApp(uint32_t, uint32_t, DynamicMsgGroupInfo**, bool) { return 0; }
uint32_t MsgCenter::GetUnreadDynamicMsgCountForApp(uint32_t) { return 0; }
bool MsgCenter::ResetUnreadDynamicMsgCount(uint32_t, uint32_t, uint32_t) { return false; }
uint32_t MsgCenter::UpdateDynamicMsgReadState(uint32_t, uint32_t, bool) { return 0; }
uint32_t MsgCenter::DeleteDynamicMsg(uint32_t, uint32_t) { return 0; }
bool MsgCenter::ShieldDynamicMsgForApp(uint32_t, uint32_t) { return false; }
void MsgCenter::AddShareMsg(ShareMsgGroup*) {}
uint32_t MsgCenter::GetShareMsg(uint32_t, uint32_t, ShareMsgGroupInfo**, bool) { return 0; }
uint32_t MsgCenter::GetMyShareMsg(uint32_t, uint32_t, MyShareMsgGroupInfo**) { return 0; }
bool MsgCenter::AddMyShareMsg(const MyShareMsgGroupInfo*) { return true; }
uint32_t MsgCenter::GetMyShareMsgForApp(uint32_t, int32_t, uint32_t, MyShareMsgGroupInfo**,
                                        const char*) {
  return 0;
}
uint32_t MsgCenter::GetAllMyShareMsgNum() { return 0; }
uint32_t MsgCenter::GetShareMsgForApp(uint32_t, int32_t, uint32_t, ShareMsgGroupInfo**, bool) {
  return 0;
}
uint32_t MsgCenter::UpdateShareMsgReadState(uint32_t, int32_t, uint32_t, uint32_t) { return 0; }
uint32_t MsgCenter::DeleteShareMsg(uint32_t, uint32_t) { return 0; }
uint32_t MsgCenter::DeleteMyShareMsg(uint32_t, uint32_t) { return 0; }
void MsgCenter::AddSystemMsgs(std::deque<SystemMsg*>*) {}
uint32_t MsgCenter::GetSystemMsg(uint32_t, SystemMsgInfo**, bool) { return 0; }
uint32_t MsgCenter::UpdateSystemMsgReadState(uint32_t, uint32_t) { return 0; }
uint32_t MsgCenter::DeleteSystemMsg(uint32_t, uint32_t) { return 0; }
uint32_t MsgCenter::GetAppUpdateState() { return 0; }
bool MsgCenter::ClearMsg() { return false; }
