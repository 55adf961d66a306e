// pushcenterwrapper.dll as a host sees it: loaded by path, every export bound
// by name. Nothing of the library is linked into pushhost; the header only
// lends the record layouts and the exports' types.
#pragma once

#include <string>

#include "platform/win32.h"
#include "pushcenterwrapper.h"

#define PUSHHOST_EXPORT(name) decltype(&::name) name = nullptr;

// One pointer per export, named as the export. Filled only all together.
struct PushExports {
  PUSHHOST_EXPORT(PushWrapperInit)
  PUSHHOST_EXPORT(PushWrapperUnInit)
  PUSHHOST_EXPORT(PushUpdateReadStateByType)
  PUSHHOST_EXPORT(PushGetMsgCountByType)
  PUSHHOST_EXPORT(PushGetUnreadCountByType)
  PUSHHOST_EXPORT(PushClearMsg)
  PUSHHOST_EXPORT(PushGetAllUnreadMsgCount)
  PUSHHOST_EXPORT(PushGetAllUnreadDynamicMsgCount)
  PUSHHOST_EXPORT(PushGetAllUnreadShareMsgNum)
  PUSHHOST_EXPORT(PushGetNewSystemMsgNum)
  PUSHHOST_EXPORT(PushGetDynamicMsg)
  PUSHHOST_EXPORT(PushGetDynamicMsgForApp)
  PUSHHOST_EXPORT(PushGetUnreadDynamicMsgCountForApp)
  PUSHHOST_EXPORT(PushResetUnreadDynamicMsgCount)
  PUSHHOST_EXPORT(PushUpdateDynamicMsgReadState)
  PUSHHOST_EXPORT(PushDeleteDynamicMsg)
  PUSHHOST_EXPORT(PushShieldDynamicMsgForApp)
  PUSHHOST_EXPORT(PushFreeDynamicMsgGroupList)
  PUSHHOST_EXPORT(PushGetShareMsg)
  PUSHHOST_EXPORT(PushGetShareMsgForApp)
  PUSHHOST_EXPORT(PushUpdateShareMsgReadState)
  PUSHHOST_EXPORT(PushDeleteShareMsg)
  PUSHHOST_EXPORT(PushFreeShareMsgGroupList)
  PUSHHOST_EXPORT(GetAllMyShareMsgNum)
  PUSHHOST_EXPORT(GetMyShareMsg)
  PUSHHOST_EXPORT(AddMyShareMsg)
  PUSHHOST_EXPORT(GetMyShareMsgForApp)
  PUSHHOST_EXPORT(getAppDesc)
  PUSHHOST_EXPORT(PushDeleteMyShareMsg)
  PUSHHOST_EXPORT(FreeMyLocalShareMsgGroupList)
  PUSHHOST_EXPORT(PushGetSystemMsg)
  PUSHHOST_EXPORT(PushUpdateSystemMsgReadState)
  PUSHHOST_EXPORT(PushDeleteSystemMsg)
  PUSHHOST_EXPORT(PushFreeSystemMsgList)
  PUSHHOST_EXPORT(AddPushCommandCallback)
  PUSHHOST_EXPORT(RemovePushCommandCallback)
  PUSHHOST_EXPORT(PushIsShieldDynamicMsg)
};

#undef PUSHHOST_EXPORT

class PushLibrary {
 public:
  PushLibrary() = default;
  ~PushLibrary();
  PushLibrary(const PushLibrary&) = delete;
  PushLibrary& operator=(const PushLibrary&) = delete;

  // Loads <binFolder>\pushcenterwrapper.dll and binds all 37 exports. On
  // failure nothing stays loaded and *error names the file or the export that
  // was missing.
  bool Load(const std::string& binFolder, std::string* error);
  // Releases the module; the exports are unusable afterwards.
  void Unload();
  bool IsLoaded() const { return module_ != nullptr; }
  const PushExports& Exports() const { return exports_; }

 private:
  HMODULE module_ = nullptr;
  PushExports exports_;
};
