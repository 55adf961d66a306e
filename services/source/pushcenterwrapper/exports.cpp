// The 37 exported functions. Each forwarding export asks PushWrapper for the
// center of its kind and makes one slot call with its own arguments; without a
// center it answers its fixed no-center value and calls nothing.
#include "pushcenterwrapper.h"

#include "centers/msgcenter.h"
#include "halyx/setting.h"
#include "pushcommandregistry.h"
#include "pushwrapper.h"

namespace {

MsgCenter* Center(int32_t kind) { return PushWrapper::Instance()->GetCenter(kind); }

const uint32_t kAppSettingShielded = 6;

}  // namespace

bool HALYX_CDECL PushWrapperInit() { return PushWrapper::Instance()->Init(); }
bool HALYX_CDECL PushWrapperUnInit() { return PushWrapper::Instance()->UnInit(); }

uint32_t HALYX_CDECL PushUpdateReadStateByType(int32_t kind) {
  MsgCenter* center = Center(kind);
  return center != nullptr ? center->UpdateReadState() : 0;
}

uint32_t HALYX_CDECL PushGetMsgCountByType(int32_t kind) {
  MsgCenter* center = Center(kind);
  return center != nullptr ? center->GetMsgCount() : 0;
}

uint32_t HALYX_CDECL PushGetUnreadCountByType(int32_t kind) {
  MsgCenter* center = Center(kind);
  return center != nullptr ? center->GetUnreadCount() : 0;
}

bool HALYX_CDECL PushClearMsg(int32_t kind) {
  MsgCenter* center = Center(kind);
  return center != nullptr ? center->ClearMsg() : true;
}

uint32_t HALYX_CDECL PushGetAllUnreadMsgCount() {
  // Only the kinds the host shows as new: not the user's own shares, not the
  // application-update state.
  uint32_t sum = 0;
  for (int32_t kind : {kDynamicKind, kShareKind, kSystemKind}) {
    if (MsgCenter* center = Center(kind)) sum += center->GetUnreadCount();
  }
  return sum;
}

uint32_t HALYX_CDECL PushGetAllUnreadDynamicMsgCount() {
  MsgCenter* center = Center(kDynamicKind);
  return center != nullptr ? center->GetUnreadCount() : 0;
}

uint32_t HALYX_CDECL PushGetAllUnreadShareMsgNum() {
  MsgCenter* center = Center(kShareKind);
  return center != nullptr ? center->GetUnreadCount() : 0;
}

uint32_t HALYX_CDECL PushGetNewSystemMsgNum() {
  MsgCenter* center = Center(kSystemKind);
  return center != nullptr ? center->GetUnreadCount() : 0;
}

uint32_t HALYX_CDECL PushGetDynamicMsg(uint32_t maxGroups, uint32_t maxMsgs,
                                       DynamicMsgGroupInfo** out, bool onlyUnread) {
  MsgCenter* center = Center(kDynamicKind);
  return center != nullptr ? center->GetDynamicMsg(maxGroups, maxMsgs, out, onlyUnread) : 0;
}

uint32_t HALYX_CDECL PushGetDynamicMsgForApp(uint32_t appId, uint32_t maxMsgs,
                                             DynamicMsgGroupInfo** out, bool onlyUnread) {
  MsgCenter* center = Center(kDynamicKind);
  return center != nullptr ? center->GetDynamicMsgForApp(appId, maxMsgs, out, onlyUnread) : 0;
}

uint32_t HALYX_CDECL PushGetUnreadDynamicMsgCountForApp(uint32_t appId) {
  MsgCenter* center = Center(kDynamicKind);
  return center != nullptr ? center->GetUnreadDynamicMsgCountForApp(appId) : 0;
}

bool HALYX_CDECL PushResetUnreadDynamicMsgCount(uint32_t appId, uint32_t count,
                                                uint32_t originator) {
  MsgCenter* center = Center(kDynamicKind);
  return center != nullptr ? center->ResetUnreadDynamicMsgCount(appId, count, originator) : false;
}

uint32_t HALYX_CDECL PushUpdateDynamicMsgReadState(uint32_t appId, uint32_t originator,
                                                   bool reportRead) {
  MsgCenter* center = Center(kDynamicKind);
  return center != nullptr ? center->UpdateDynamicMsgReadState(appId, originator, reportRead) : 0;
}

uint32_t HALYX_CDECL PushDeleteDynamicMsg(uint32_t appId, uint32_t originator) {
  MsgCenter* center = Center(kDynamicKind);
  return center != nullptr ? center->DeleteDynamicMsg(appId, originator) : 0;
}

bool HALYX_CDECL PushShieldDynamicMsgForApp(uint32_t appId, uint32_t unused) {
  MsgCenter* center = Center(kDynamicKind);
  return center != nullptr ? center->ShieldDynamicMsgForApp(appId, unused) : false;
}

void HALYX_CDECL PushFreeDynamicMsgGroupList(DynamicMsgGroupInfo* groups) { delete[] groups; }

uint32_t HALYX_CDECL PushGetShareMsg(uint32_t groupLimit, uint32_t msgLimit,
                                     ShareMsgGroupInfo** out, bool unreadOnly) {
  MsgCenter* center = Center(kShareKind);
  return center != nullptr ? center->GetShareMsg(groupLimit, msgLimit, out, unreadOnly) : 0;
}

uint32_t HALYX_CDECL PushGetShareMsgForApp(uint32_t appId, int32_t shareType, uint32_t msgLimit,
                                           ShareMsgGroupInfo** out, bool unreadOnly) {
  MsgCenter* center = Center(kShareKind);
  return center != nullptr
             ? center->GetShareMsgForApp(appId, shareType, msgLimit, out, unreadOnly)
             : 0;
}

uint32_t HALYX_CDECL PushUpdateShareMsgReadState(uint32_t appId, int32_t shareType,
                                                 uint32_t unused, uint32_t latestPushTime) {
  MsgCenter* center = Center(kShareKind);
  return center != nullptr
             ? center->UpdateShareMsgReadState(appId, shareType, unused, latestPushTime)
             : 0;
}

uint32_t HALYX_CDECL PushDeleteShareMsg(uint32_t appId, uint32_t latestPushTime) {
  MsgCenter* center = Center(kShareKind);
  return center != nullptr ? center->DeleteShareMsg(appId, latestPushTime) : 0;
}

void HALYX_CDECL PushFreeShareMsgGroupList(ShareMsgGroupInfo* groups) { delete[] groups; }

uint32_t HALYX_CDECL GetAllMyShareMsgNum() {
  MsgCenter* center = Center(kMyShareKind);
  return center != nullptr ? center->GetAllMyShareMsgNum() : 0;
}

uint32_t HALYX_CDECL GetMyShareMsg(uint32_t groupLimit, uint32_t msgLimit,
                                   MyShareMsgGroupInfo** out) {
  MsgCenter* center = Center(kMyShareKind);
  return center != nullptr ? center->GetMyShareMsg(groupLimit, msgLimit, out) : 0;
}

bool HALYX_CDECL AddMyShareMsg(const MyShareMsgGroupInfo* group) {
  MsgCenter* center = Center(kMyShareKind);
  return center != nullptr ? center->AddMyShareMsg(group) : false;
}

uint32_t HALYX_CDECL GetMyShareMsgForApp(uint32_t appId, int32_t shareType, uint32_t msgLimit,
                                         MyShareMsgGroupInfo** out) {
  MsgCenter* center = Center(kMyShareKind);
  // The slot's fifth argument is never taken from the host.
  return center != nullptr ? center->GetMyShareMsgForApp(appId, shareType, msgLimit, out, nullptr)
                           : 0;
}

const char* HALYX_CDECL getAppDesc() {
  MsgCenter* center = Center(kMyShareKind);
  return center != nullptr ? center->GetAppDesc() : nullptr;
}

uint32_t HALYX_CDECL PushDeleteMyShareMsg(uint32_t appId, uint32_t extra) {
  MsgCenter* center = Center(kMyShareKind);
  return center != nullptr ? center->DeleteMyShareMsg(appId, extra) : 0;
}

void HALYX_CDECL FreeMyLocalShareMsgGroupList(MyShareMsgGroupInfo* groups) { delete[] groups; }

uint32_t HALYX_CDECL PushGetSystemMsg(uint32_t wanted, SystemMsgInfo** out, bool newOnly) {
  MsgCenter* center = Center(kSystemKind);
  return center != nullptr ? center->GetSystemMsg(wanted, out, newOnly) : 0;
}

uint32_t HALYX_CDECL PushUpdateSystemMsgReadState(uint32_t msgId, uint32_t readState) {
  MsgCenter* center = Center(kSystemKind);
  return center != nullptr ? center->UpdateSystemMsgReadState(msgId, readState) : 0;
}

uint32_t HALYX_CDECL PushDeleteSystemMsg(uint32_t msgId, uint32_t pushTime) {
  MsgCenter* center = Center(kSystemKind);
  return center != nullptr ? center->DeleteSystemMsg(msgId, pushTime) : 0;
}

void HALYX_CDECL PushFreeSystemMsgList(SystemMsgInfo* msgs) { delete[] msgs; }

bool HALYX_CDECL AddPushCommandCallback(PushCommandCallback callback, uintptr_t userData,
                                        uint32_t ownerId, uint32_t kindMask, uint32_t eventMask) {
  PushCommandRegistry* registry = PushWrapper::Instance()->GetCommandRegistry();
  return registry != nullptr && registry->Add(callback, userData, ownerId, kindMask, eventMask);
}

bool HALYX_CDECL RemovePushCommandCallback(PushCommandCallback callback) {
  PushCommandRegistry* registry = PushWrapper::Instance()->GetCommandRegistry();
  return registry != nullptr && registry->Remove(callback);
}

bool HALYX_CDECL PushIsShieldDynamicMsg(uint32_t appId) {
  return stGetAppRoamBoolean(appId, kAppSettingShielded);
}
