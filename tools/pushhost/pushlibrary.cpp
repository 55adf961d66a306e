#include "pushlibrary.h"

#include <cstring>

#include "dataroot.h"
#include "hostos.h"
#include "widetext.h"

namespace {

// GetProcAddress hands out a generic pointer; the export's own type comes from
// the header, so the conversion is the host's promise about the signature.
template <typename Function>
bool Bind(HMODULE module, const char* name, Function* target) {
  FARPROC address = GetProcAddress(module, name);
  if (!address) return false;
  static_assert(sizeof(address) == sizeof(*target), "function pointers have one size");
  std::memcpy(target, &address, sizeof(*target));
  return true;
}

}  // namespace

PushLibrary::~PushLibrary() { Unload(); }

bool PushLibrary::Load(const std::string& binFolder, std::string* error) {
  Unload();
  std::string path = binFolder + "\\pushcenterwrapper.dll";
  module_ = LoadLibraryW(ToWide(path).c_str());
  if (!module_) {
    std::string shown = ForDisplay(path);
    *error = "cannot load the library " + shown + ": " + hostos::LoadFailure(shown);
    return false;
  }
  PushExports bound;
  const char* missing = nullptr;
#define PUSHHOST_BIND(name) \
  if (!missing && !Bind(module_, #name, &bound.name)) missing = #name;
  PUSHHOST_BIND(PushWrapperInit)
  PUSHHOST_BIND(PushWrapperUnInit)
  PUSHHOST_BIND(PushUpdateReadStateByType)
  PUSHHOST_BIND(PushGetMsgCountByType)
  PUSHHOST_BIND(PushGetUnreadCountByType)
  PUSHHOST_BIND(PushClearMsg)
  PUSHHOST_BIND(PushGetAllUnreadMsgCount)
  PUSHHOST_BIND(PushGetAllUnreadDynamicMsgCount)
  PUSHHOST_BIND(PushGetAllUnreadShareMsgNum)
  PUSHHOST_BIND(PushGetNewSystemMsgNum)
  PUSHHOST_BIND(PushGetDynamicMsg)
  PUSHHOST_BIND(PushGetDynamicMsgForApp)
  PUSHHOST_BIND(PushGetUnreadDynamicMsgCountForApp)
  PUSHHOST_BIND(PushResetUnreadDynamicMsgCount)
  PUSHHOST_BIND(PushUpdateDynamicMsgReadState)
  PUSHHOST_BIND(PushDeleteDynamicMsg)
  PUSHHOST_BIND(PushShieldDynamicMsgForApp)
  PUSHHOST_BIND(PushFreeDynamicMsgGroupList)
  PUSHHOST_BIND(PushGetShareMsg)
  PUSHHOST_BIND(PushGetShareMsgForApp)
  PUSHHOST_BIND(PushUpdateShareMsgReadState)
  PUSHHOST_BIND(PushDeleteShareMsg)
  PUSHHOST_BIND(PushFreeShareMsgGroupList)
  PUSHHOST_BIND(GetAllMyShareMsgNum)
  PUSHHOST_BIND(GetMyShareMsg)
  PUSHHOST_BIND(AddMyShareMsg)
  PUSHHOST_BIND(GetMyShareMsgForApp)
  PUSHHOST_BIND(getAppDesc)
  PUSHHOST_BIND(PushDeleteMyShareMsg)
  PUSHHOST_BIND(FreeMyLocalShareMsgGroupList)
  PUSHHOST_BIND(PushGetSystemMsg)
  PUSHHOST_BIND(PushUpdateSystemMsgReadState)
  PUSHHOST_BIND(PushDeleteSystemMsg)
  PUSHHOST_BIND(PushFreeSystemMsgList)
  PUSHHOST_BIND(AddPushCommandCallback)
  PUSHHOST_BIND(RemovePushCommandCallback)
#undef PUSHHOST_BIND
  // The one export with C++ linkage goes by its decorated name: the Windows
  // decoration, or the Itanium one on systems whose symbols cannot hold "@@".
  if (!missing && !Bind(module_, "?PushIsShieldDynamicMsg@@YA_NK@Z", &bound.PushIsShieldDynamicMsg) &&
      !Bind(module_, "_Z22PushIsShieldDynamicMsgj", &bound.PushIsShieldDynamicMsg)) {
    missing = "?PushIsShieldDynamicMsg@@YA_NK@Z";
  }
  if (missing) {
    *error = path + " has no export named " + missing;
    Unload();
    return false;
  }
  exports_ = bound;
  return true;
}

void PushLibrary::Unload() {
  if (module_) FreeLibrary(module_);
  module_ = nullptr;
  exports_ = PushExports();
}
