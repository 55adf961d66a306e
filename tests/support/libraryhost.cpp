#include "support/libraryhost.h"

#include <algorithm>
#include <cstring>

#include "support/testenv.h"

namespace libraryhost {

namespace {

// The decorated export name of PushIsShieldDynamicMsg on this platform.
#if defined(_WIN32)
const char kShieldExportName[] = "?PushIsShieldDynamicMsg@@YA_NK@Z";
#else
const char kShieldExportName[] = "_Z22PushIsShieldDynamicMsgj";
#endif

template <class Fn>
bool BindOne(HMODULE module, const char* name, Fn& slot, std::string& missing) {
  FARPROC proc = module != nullptr ? GetProcAddress(module, name) : nullptr;
  slot = reinterpret_cast<Fn>(reinterpret_cast<void*>(proc));
  if (proc == nullptr) missing += std::string(missing.empty() ? "" : " ") + name;
  return proc != nullptr;
}

// The bin folder as it was when the first host was made: a test may point
// HalyxBinPath elsewhere for the library's own lookups.
const std::string& BinFolder() {
  static const std::string folder = testenv::BinFolder();
  return folder;
}

// The control functions' modules. They stay loaded for the life of the
// process, as the library keeps them loaded too.
HMODULE Module(const char* fileName) {
  return LoadLibraryW(testenv::Wide(testenv::Join(BinFolder(), fileName)).c_str());
}

}  // namespace

PushRecord MakeRecord(uint8_t kind, uint32_t appId, uint32_t msgId, uint32_t pushTime,
                      const std::string& utf8Json) {
  const testenv::WideString wide = testenv::Wide(utf8Json);
  const size_t length = std::min<size_t>(wide.size(), kPushPayloadUnits - 1);
  const std::vector<uint16_t> units(wide.begin(), wide.begin() + length);
  return MakeRawRecord(kind, appId, msgId, pushTime, units);
}

PushRecord MakeRawRecord(uint8_t kind, uint32_t appId, uint32_t msgId, uint32_t pushTime,
                         const std::vector<uint16_t>& units) {
  PushRecord record;
  std::memset(&record, 0, sizeof(record));
  record.appId = appId;
  record.pushTime = pushTime;
  record.msgId = msgId;
  record.kind = kind;
  for (size_t i = 0; i < units.size() && i < kPushPayloadUnits; ++i) record.payload[i] = units[i];
  return record;
}

LibraryHost::LibraryHost() {
  library = Module("pushcenterwrapper.dll");
  Bind();
}

LibraryHost::~LibraryHost() { Unload(); }

bool LibraryHost::Bind() {
  missing.clear();
  if (library == nullptr) missing = "pushcenterwrapper.dll";
#define PCW_BIND_EXPORT(name) BindOne(library, #name, api.name, missing);
  PCW_EXPORTS(PCW_BIND_EXPORT)
#undef PCW_BIND_EXPORT
  BindOne(library, kShieldExportName, api.PushIsShieldDynamicMsg, missing);

#define PCW_BIND_CONTROL(module, name) BindOne(Module(module), #name, ctl.name, missing);
  PCW_CONTROLS(PCW_BIND_CONTROL)
#undef PCW_BIND_CONTROL
  return missing.empty();
}

void LibraryHost::Unload() {
  if (started && api.PushWrapperUnInit != nullptr) api.PushWrapperUnInit();
  started = false;
  if (library != nullptr) FreeLibrary(library);
  library = nullptr;
  api = Exports();
}

bool LibraryHost::Start() {
  if (api.PushWrapperInit == nullptr) return false;
  started = api.PushWrapperInit();
  return started;
}

bool LibraryHost::Stop() {
  if (api.PushWrapperUnInit == nullptr) return false;
  started = false;
  return api.PushWrapperUnInit();
}

bool LibraryHost::Reload() {
  Unload();
  return Load() && Start();
}

void LibraryHost::Abandon() {
  started = false;
  Unload();
}

bool LibraryHost::Load() {
  if (library == nullptr) library = Module("pushcenterwrapper.dll");
  return Bind();
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

namespace {

template <int N>
void PCW_CALL RecordCommand(const PushCommand* command, uintptr_t userData) {
  CommandRecorder* recorder = reinterpret_cast<CommandRecorder*>(userData);
  recorder->commands.push_back(*command);
  if (recorder->onCommand != nullptr) recorder->onCommand(*recorder, *command);
}

const PushCommandCallback kRecorderCallbacks[] = {&RecordCommand<0>, &RecordCommand<1>,
                                                  &RecordCommand<2>, &RecordCommand<3>};

}  // namespace

CommandRecorder::CommandRecorder(int slot) : slot(slot & 3) {}
CommandRecorder::~CommandRecorder() = default;

PushCommandCallback CommandRecorder::Callback() const { return kRecorderCallbacks[slot]; }

bool CommandRecorder::Register(LibraryHost& host, uint32_t ownerId, uint32_t kindMask,
                               uint32_t eventMask) {
  return host.api.AddPushCommandCallback(Callback(), UserData(), ownerId, kindMask, eventMask);
}

bool CommandRecorder::Unregister(LibraryHost& host) {
  return host.api.RemovePushCommandCallback(Callback());
}

size_t CommandRecorder::Count(uint32_t kindBit, uint32_t eventBit) const {
  size_t count = 0;
  for (const PushCommand& command : commands) {
    if (command.kindBit == kindBit && command.eventBit == eventBit) ++count;
  }
  return count;
}

}  // namespace libraryhost
