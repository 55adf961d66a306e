#include "hostmodules.h"

#include <cstring>
#include <utility>

#include "halyx/appinstall.h"
#include "halyx/hyappinfo.h"
#include "halyx/setting.h"
#include "halyx/statusservice.h"
#include "dataroot.h"
#include "hostkit/hostos.h"
#include "hostkit/widetext.h"

#define PUSHHOST_CALL(file, name) Find<decltype(&::name)>(file, #name)

HostModules::HostModules(std::string binFolder) : binFolder_(std::move(binFolder)) {}

HostModules::~HostModules() {
  // The database module keeps closed databases' files open for their next
  // use, and may stay loaded by the library: let go of them, so that the data
  // folder can be removed after the run.
  try {
    PUSHHOST_CALL("localdatabase.dll", LocalDatabaseReleaseIdle)();
  } catch (const ModuleError&) {
  }
  for (auto& entry : modules_) FreeLibrary(entry.second);
}

HMODULE HostModules::Module(const char* fileName) {
  auto found = modules_.find(fileName);
  if (found != modules_.end()) return found->second;
  std::string path = binFolder_ + "\\" + fileName;
  HMODULE module = LoadLibraryW(hostkit::ToWide(path).c_str());
  if (!module) {
    std::string shown = ForDisplay(path);
    throw ModuleError("cannot load the module " + shown + ": " + hostos::LoadFailure(shown));
  }
  modules_[fileName] = module;
  return module;
}

template <typename Function>
Function HostModules::Find(const char* fileName, const char* name) {
  FARPROC address = GetProcAddress(Module(fileName), name);
  if (!address) {
    throw ModuleError(binFolder_ + "\\" + fileName + " has no function named " + name);
  }
  Function function;
  static_assert(sizeof(function) == sizeof(address), "function pointers have one size");
  std::memcpy(&function, &address, sizeof(function));
  return function;
}

void HostModules::SignIn(uint32_t userNumber) {
  PUSHHOST_CALL("statusservice.dll", HalyxSignIn)(userNumber);
}

void HostModules::SignOut() { PUSHHOST_CALL("statusservice.dll", HalyxSignOut)(); }

uint32_t HostModules::CurrentUser() {
  StatusTable table{};
  if (!PUSHHOST_CALL("statusservice.dll", GetHalyxStatus)(&table) || !table.currentUser) return 0;
  return table.currentUser();
}

bool HostModules::SetRoamBoolean(uint32_t id, bool value) {
  return PUSHHOST_CALL("setting.dll", stSetRoamBoolean)(id, value);
}

bool HostModules::SetRoamNumber(uint32_t id, uint32_t value) {
  return PUSHHOST_CALL("setting.dll", stSetRoamNumber)(id, value);
}

bool HostModules::SetAppRoamBoolean(uint32_t appId, uint32_t id, bool value) {
  return PUSHHOST_CALL("setting.dll", stSetAppRoamBoolean)(appId, id, value);
}

bool HostModules::GetRoamBoolean(uint32_t id) {
  return PUSHHOST_CALL("setting.dll", stGetRoamBoolean)(id);
}

uint32_t HostModules::GetRoamNumber(uint32_t id) {
  return PUSHHOST_CALL("setting.dll", stGetRoamNumber)(id);
}

bool HostModules::GetAppRoamBoolean(uint32_t appId, uint32_t id) {
  return PUSHHOST_CALL("setting.dll", stGetAppRoamBoolean)(appId, id);
}

bool HostModules::SetAppInstalled(uint32_t appId, bool installed) {
  return PUSHHOST_CALL("hyappinfo.dll", HXSetAppInstalled)(appId, installed);
}

bool HostModules::SetAppInfo(uint32_t appId, const std::string& key, const std::string& value) {
  return PUSHHOST_CALL("hyappinfo.dll", HXSetAppInfo)(appId, key.c_str(), value.c_str());
}

bool HostModules::IsAppInstalled(uint32_t appId) {
  return PUSHHOST_CALL("hyappinfo.dll", HXCheckAppInstalled)(appId);
}

uint32_t HostModules::NotifyAppInstallChanged(uint32_t appId, bool installed) {
  return PUSHHOST_CALL("appinstall.dll", HYNotifyAppInstallChanged)(appId, 0, installed);
}

uint32_t HostModules::DeliverBatch(const PushRecord* records, uint32_t count) {
  return PUSHHOST_CALL("pushcenter.dll", PushCenterDeliverBatch)(records, count);
}

uint32_t HostModules::DeliverUnreadCounts(const AppUnreadCount* counts, uint32_t count) {
  return PUSHHOST_CALL("pushcenter.dll", PushCenterDeliverUnreadCounts)(counts, count);
}

uint32_t HostModules::ReadReports(uint32_t kind) {
  return PUSHHOST_CALL("pushcenter.dll", PushCenterReadReports)(kind);
}

const LocalDatabaseTable& HostModules::Database() {
  if (!databaseFilled_) {
    if (!PUSHHOST_CALL("localdatabase.dll", LocalDatabase)(&database_)) {
      throw ModuleError(binFolder_ + "\\localdatabase.dll did not fill its table");
    }
    databaseFilled_ = true;
  }
  return database_;
}

const EngineTable& HostModules::Engine() {
  if (!engineFilled_) {
    if (!PUSHHOST_CALL("coreserviceengine.dll", GetHalyxEngine)(&engine_)) {
      throw ModuleError(binFolder_ + "\\coreserviceengine.dll did not fill its table");
    }
    engineFilled_ = true;
  }
  return engine_;
}

#undef PUSHHOST_CALL
