// The 37 exported functions. Each forwarding export asks PushWrapper for the
// center of its kind and makes one slot call with its own arguments; without a
// center it answers its fixed no-center value and calls nothing. Every export
// holds the library's lock for its whole run, the free functions included: a
// host may hand an array back on another thread while a push arrives.
#include "pushcenterwrapper.h"

#include "centers/msgcenter.h"
#include "halyx/setting.h"
#include "librarylock.h"
#include "pushcommandregistry.h"
#include "pushwrapper.h"
#include "settingids.h"

namespace {

// Makes one slot call on the center of kind, or answers noCenter when there is
// none. Nothing a center throws (lack of memory) crosses into the host: the
// export then answers failed.
template <class Result, class Call>
Result Forward(int32_t kind, Result noCenter, Result failed, Call call) {
  LibraryLock held;
  if (!held) return noCenter;
  try {
    MsgCenter* center = PushWrapper::Instance()->GetCenter(kind);
    return center != nullptr ? call(*center) : noCenter;
  } catch (...) {
    return failed;
  }
}

// The same for the exports whose no-center answer also says that nothing was
// done.
template <class Result, class Call>
Result Forward(int32_t kind, Result noCenter, Call call) {
  return Forward(kind, noCenter, noCenter, call);
}

template <class Call>
bool WithRegistry(Call call) {
  LibraryLock held;
  if (!held) return false;
  try {
    PushCommandRegistry* registry = PushWrapper::Instance()->GetCommandRegistry();
    return registry != nullptr && call(*registry);
  } catch (...) {
    return false;
  }
}

}  // namespace

bool HALYX_CDECL PushWrapperInit() {
  LibraryLock held;
  if (!held) return true;
  try {
    return PushWrapper::Instance()->Init();
  } catch (...) {
    return true;  // whatever could not be made is simply missing
  }
}

bool HALYX_CDECL PushWrapperUnInit() {
  LibraryLock held;
  try {
    return !held || PushWrapper::Instance()->UnInit();
  } catch (...) {
    return false;  // nothing crosses into the host, here as at every export
  }
}

uint32_t HALYX_CDECL PushUpdateReadStateByType(int32_t kind) {
  return Forward(kind, uint32_t{0}, [&](MsgCenter& center) { return center.UpdateReadState(); });
}

uint32_t HALYX_CDECL PushGetMsgCountByType(int32_t kind) {
  return Forward(kind, uint32_t{0}, [&](MsgCenter& center) { return center.GetMsgCount(); });
}

uint32_t HALYX_CDECL PushGetUnreadCountByType(int32_t kind) {
  return Forward(kind, uint32_t{0}, [&](MsgCenter& center) { return center.GetUnreadCount(); });
}

bool HALYX_CDECL PushClearMsg(int32_t kind) {
  // Without a center there is nothing to clear; a clear cut short is no success.
  return Forward(kind, true, false, [&](MsgCenter& center) { return center.ClearMsg(); });
}

uint32_t HALYX_CDECL PushGetAllUnreadMsgCount() {
  // Only the kinds the host shows as new: not the user's own shares, not the
  // application-update state. One hold for the three: no push lands between
  // two of the counts.
  LibraryLock held;
  if (!held) return 0;
  uint32_t sum = 0;
  for (int32_t kind : {kDynamicKind, kShareKind, kSystemKind}) {
    sum += Forward(kind, uint32_t{0}, [](MsgCenter& center) { return center.GetUnreadCount(); });
  }
  return sum;
}

uint32_t HALYX_CDECL PushGetAllUnreadDynamicMsgCount() {
  return Forward(kDynamicKind, uint32_t{0}, [&](MsgCenter& center) {
    return center.GetUnreadCount();
  });
}

uint32_t HALYX_CDECL PushGetAllUnreadShareMsgNum() {
  return Forward(kShareKind, uint32_t{0}, [&](MsgCenter& center) {
    return center.GetUnreadCount();
  });
}

uint32_t HALYX_CDECL PushGetNewSystemMsgNum() {
  return Forward(kSystemKind, uint32_t{0}, [&](MsgCenter& center) {
    return center.GetUnreadCount();
  });
}

uint32_t HALYX_CDECL PushGetDynamicMsg(uint32_t maxGroups, uint32_t maxMsgs,
                                       DynamicMsgGroupInfo** out, bool onlyUnread) {
  return Forward(kDynamicKind, uint32_t{0}, [&](MsgCenter& center) {
    return center.GetDynamicMsg(maxGroups, maxMsgs, out, onlyUnread);
  });
}

uint32_t HALYX_CDECL PushGetDynamicMsgForApp(uint32_t appId, uint32_t maxMsgs,
                                             DynamicMsgGroupInfo** out, bool onlyUnread) {
  return Forward(kDynamicKind, uint32_t{0}, [&](MsgCenter& center) {
    return center.GetDynamicMsgForApp(appId, maxMsgs, out, onlyUnread);
  });
}

uint32_t HALYX_CDECL PushGetUnreadDynamicMsgCountForApp(uint32_t appId) {
  return Forward(kDynamicKind, uint32_t{0}, [&](MsgCenter& center) {
    return center.GetUnreadDynamicMsgCountForApp(appId);
  });
}

bool HALYX_CDECL PushResetUnreadDynamicMsgCount(uint32_t appId, uint32_t count,
                                                uint32_t originator) {
  return Forward(kDynamicKind, false, [&](MsgCenter& center) {
    return center.ResetUnreadDynamicMsgCount(appId, count, originator);
  });
}

uint32_t HALYX_CDECL PushUpdateDynamicMsgReadState(uint32_t appId, uint32_t originator,
                                                   bool reportRead) {
  return Forward(kDynamicKind, uint32_t{0}, [&](MsgCenter& center) {
    return center.UpdateDynamicMsgReadState(appId, originator, reportRead);
  });
}

uint32_t HALYX_CDECL PushDeleteDynamicMsg(uint32_t appId, uint32_t originator) {
  return Forward(kDynamicKind, uint32_t{0}, [&](MsgCenter& center) {
    return center.DeleteDynamicMsg(appId, originator);
  });
}

bool HALYX_CDECL PushShieldDynamicMsgForApp(uint32_t appId, uint32_t unused) {
  return Forward(kDynamicKind, false, [&](MsgCenter& center) {
    return center.ShieldDynamicMsgForApp(appId, unused);
  });
}

void HALYX_CDECL PushFreeDynamicMsgGroupList(DynamicMsgGroupInfo* groups) {
  LibraryLock held;
  delete[] groups;
}

uint32_t HALYX_CDECL PushGetShareMsg(uint32_t groupLimit, uint32_t msgLimit,
                                     ShareMsgGroupInfo** out, bool unreadOnly) {
  return Forward(kShareKind, uint32_t{0}, [&](MsgCenter& center) {
    return center.GetShareMsg(groupLimit, msgLimit, out, unreadOnly);
  });
}

uint32_t HALYX_CDECL PushGetShareMsgForApp(uint32_t appId, int32_t shareType, uint32_t msgLimit,
                                           ShareMsgGroupInfo** out, bool unreadOnly) {
  return Forward(kShareKind, uint32_t{0}, [&](MsgCenter& center) {
    return center.GetShareMsgForApp(appId, shareType, msgLimit, out, unreadOnly);
  });
}

uint32_t HALYX_CDECL PushUpdateShareMsgReadState(uint32_t appId, int32_t shareType,
                                                 uint32_t unused, uint32_t latestPushTime) {
  return Forward(kShareKind, uint32_t{0}, [&](MsgCenter& center) {
    return center.UpdateShareMsgReadState(appId, shareType, unused, latestPushTime);
  });
}

uint32_t HALYX_CDECL PushDeleteShareMsg(uint32_t appId, uint32_t latestPushTime) {
  return Forward(kShareKind, uint32_t{0}, [&](MsgCenter& center) {
    return center.DeleteShareMsg(appId, latestPushTime);
  });
}

void HALYX_CDECL PushFreeShareMsgGroupList(ShareMsgGroupInfo* groups) {
  LibraryLock held;
  delete[] groups;
}

uint32_t HALYX_CDECL GetAllMyShareMsgNum() {
  return Forward(kMyShareKind, uint32_t{0}, [&](MsgCenter& center) {
    return center.GetAllMyShareMsgNum();
  });
}

uint32_t HALYX_CDECL GetMyShareMsg(uint32_t groupLimit, uint32_t msgLimit,
                                   MyShareMsgGroupInfo** out) {
  return Forward(kMyShareKind, uint32_t{0}, [&](MsgCenter& center) {
    return center.GetMyShareMsg(groupLimit, msgLimit, out);
  });
}

bool HALYX_CDECL AddMyShareMsg(const MyShareMsgGroupInfo* group) {
  return Forward(kMyShareKind, false, [&](MsgCenter& center) {
    return center.AddMyShareMsg(group);
  });
}

uint32_t HALYX_CDECL GetMyShareMsgForApp(uint32_t appId, int32_t shareType, uint32_t msgLimit,
                                         MyShareMsgGroupInfo** out) {
  // The slot's fifth argument is never taken from the host.
  return Forward(kMyShareKind, uint32_t{0}, [&](MsgCenter& center) {
    return center.GetMyShareMsgForApp(appId, shareType, msgLimit, out, nullptr);
  });
}

const char* HALYX_CDECL getAppDesc() {
  return Forward(kMyShareKind, static_cast<const char*>(nullptr), [&](MsgCenter& center) {
    return center.GetAppDesc();
  });
}

uint32_t HALYX_CDECL PushDeleteMyShareMsg(uint32_t appId, uint32_t extra) {
  return Forward(kMyShareKind, uint32_t{0}, [&](MsgCenter& center) {
    return center.DeleteMyShareMsg(appId, extra);
  });
}

void HALYX_CDECL FreeMyLocalShareMsgGroupList(MyShareMsgGroupInfo* groups) {
  LibraryLock held;
  delete[] groups;
}

uint32_t HALYX_CDECL PushGetSystemMsg(uint32_t wanted, SystemMsgInfo** out, bool newOnly) {
  return Forward(kSystemKind, uint32_t{0}, [&](MsgCenter& center) {
    return center.GetSystemMsg(wanted, out, newOnly);
  });
}

uint32_t HALYX_CDECL PushUpdateSystemMsgReadState(uint32_t msgId, uint32_t readState) {
  return Forward(kSystemKind, uint32_t{0}, [&](MsgCenter& center) {
    return center.UpdateSystemMsgReadState(msgId, readState);
  });
}

uint32_t HALYX_CDECL PushDeleteSystemMsg(uint32_t msgId, uint32_t pushTime) {
  return Forward(kSystemKind, uint32_t{0}, [&](MsgCenter& center) {
    return center.DeleteSystemMsg(msgId, pushTime);
  });
}

void HALYX_CDECL PushFreeSystemMsgList(SystemMsgInfo* msgs) {
  LibraryLock held;
  delete[] msgs;
}

bool HALYX_CDECL AddPushCommandCallback(PushCommandCallback callback, uintptr_t userData,
                                        uint32_t ownerId, uint32_t kindMask, uint32_t eventMask) {
  return WithRegistry([&](PushCommandRegistry& registry) {
    return registry.Add(callback, userData, ownerId, kindMask, eventMask);
  });
}

bool HALYX_CDECL RemovePushCommandCallback(PushCommandCallback callback) {
  return WithRegistry([&](PushCommandRegistry& registry) { return registry.Remove(callback); });
}

bool HALYX_CDECL PushIsShieldDynamicMsg(uint32_t appId) {
  LibraryLock held;
  return held && stGetAppRoamBoolean(appId, kAppSettingShielded);
}
