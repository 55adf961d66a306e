#include "hostkit/libraryhost.h"

#include "hostkit/widetext.h"

namespace hostkit {

namespace {

// <HalyxBinPath>\<fileName>, the bin folder as it was when the first host was
// made: a test may point the variable elsewhere for the library's own lookups.
WideString ModulePath(const char* fileName) {
  static const WideString folder = [] {
    WCHAR value[MAX_PATH * 4] = {};
    const DWORD length = GetEnvironmentVariableW(W32_TEXT("HalyxBinPath"), value, MAX_PATH * 4);
    WideString text(value, length < MAX_PATH * 4 ? length : 0);
    while (!text.empty() && (text.back() == '/' || text.back() == '\\')) text.pop_back();
    return text;
  }();
  return folder + ToWide(std::string("\\") + fileName);
}

// A control function. Its module stays loaded for the life of the process, as
// the library keeps it loaded too.
template <class Fn>
Fn Control(const char* module, const char* name) {
  HMODULE handle = LoadLibraryW(ModulePath(module).c_str());
  return handle != nullptr ? ProcAs<Fn>(GetProcAddress(handle, name)) : nullptr;
}

}  // namespace

LibraryHost::LibraryHost() { Load(); }

LibraryHost::~LibraryHost() { Unload(); }

bool LibraryHost::Load() {
  if (!library_.IsLoaded()) library_.Load(ModulePath("pushcenterwrapper.dll").c_str());
  api = library_.Exports();
  missing_ = library_.IsLoaded() ? "" : "pushcenterwrapper.dll";
  if (!library_.Missing().empty()) missing_ += " " + library_.Missing();
#define PCW_BIND_CONTROL(module, name)                    \
  ctl.name = Control<decltype(ctl.name)>(module, #name); \
  if (ctl.name == nullptr) missing_ += std::string(missing_.empty() ? "" : " ") + #name;
  PCW_CONTROLS(PCW_BIND_CONTROL)
#undef PCW_BIND_CONTROL
  return missing_.empty();
}

void LibraryHost::Unload() {
  if (started_ && api.PushWrapperUnInit != nullptr) api.PushWrapperUnInit();
  started_ = false;
  library_.Unload();
  api = PushExports();
}

bool LibraryHost::Start() {
  if (api.PushWrapperInit == nullptr) return false;
  started_ = api.PushWrapperInit();
  return started_;
}

bool LibraryHost::Stop() {
  if (api.PushWrapperUnInit == nullptr) return false;
  started_ = false;
  return api.PushWrapperUnInit();
}

bool LibraryHost::Reload() {
  Unload();
  return Load() && Start();
}

void LibraryHost::Abandon() {
  started_ = false;
  Unload();
}

uint32_t LibraryHost::Deliver(const std::vector<PushRecord>& records) {
  return ctl.PushCenterDeliverBatch(records.data(), static_cast<uint32_t>(records.size()));
}

uint32_t LibraryHost::Deliver(const PushRecord& record) {
  return ctl.PushCenterDeliverBatch(&record, 1);
}

uint32_t LibraryHost::DeliverUnreadCounts(const std::vector<AppUnreadCount>& counts) {
  return ctl.PushCenterDeliverUnreadCounts(counts.data(), static_cast<uint32_t>(counts.size()));
}

void LibraryHost::WantEverything() {
  ctl.stSetRoamBoolean(9, true);   // system messages wanted
  ctl.stSetRoamBoolean(10, true);  // shares wanted
  ctl.stSetRoamNumber(11, 1);      // the dynamic policy
}

void LibraryHost::MarkInstalled(uint32_t appId, const char* needPush) {
  ctl.HXSetAppInstalled(appId, true);
  if (needPush != nullptr) ctl.HXSetAppInfo(appId, "needPush", needPush);
}

uint32_t LibraryHost::InstallApp(uint32_t appId, const char* needPush) {
  MarkInstalled(appId, needPush);
  return ctl.HYNotifyAppInstallChanged(appId, 0, true);
}

void LibraryHost::SignIn(uint32_t userNumber) { ctl.HalyxSignIn(userNumber); }

}  // namespace hostkit
