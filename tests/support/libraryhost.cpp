#include "support/libraryhost.h"

#include "support/testenv.h"

namespace libraryhost {

namespace {

// The bin folder as it was when the first host was made: a test may point
// HalyxBinPath elsewhere for the library's own lookups.
const std::string& BinFolder() {
  static const std::string folder = testenv::BinFolder();
  return folder;
}

// A control function. Its module stays loaded for the life of the process, as
// the library keeps it loaded too.
template <class Fn>
Fn Control(const char* module, const char* name) {
  HMODULE handle = LoadLibraryW(testenv::Wide(testenv::Join(BinFolder(), module)).c_str());
  return handle != nullptr ? ProcAs<Fn>(GetProcAddress(handle, name)) : nullptr;
}

}  // namespace

LibraryHost::LibraryHost() { Load(); }

LibraryHost::~LibraryHost() { Unload(); }

bool LibraryHost::Load() {
  if (!library_.IsLoaded()) library_.Load(testenv::Join(BinFolder(), "pushcenterwrapper.dll"));
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
  api = Exports();
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

CommandRecorder::CommandRecorder(int slot) : slot_(slot) {
  slots_.onRecord_ = [this](const hostkit::RecordedCommand& recorded) {
    commands.push_back(recorded.command);
    if (onCommand != nullptr) onCommand(*this, recorded.command);
  };
}

PushCommandCallback CommandRecorder::Callback() { return slots_.Callback(static_cast<size_t>(slot_)); }

bool CommandRecorder::Register(LibraryHost& host, uint32_t ownerId, uint32_t kindMask,
                               uint32_t eventMask) {
  return host.api.AddPushCommandCallback(Callback(), UserData(), ownerId, kindMask, eventMask);
}

bool CommandRecorder::Unregister(LibraryHost& host) {
  return host.api.RemovePushCommandCallback(Callback());
}

}  // namespace libraryhost
