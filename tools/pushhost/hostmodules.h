// The host product's modules, reached the way a host reaches them: each loaded
// by path from the bin folder on first use and called through its exported
// control functions and entry points. The modules stay loaded until this
// object goes, so their state (who is signed in, the registered callbacks)
// outlives a reload of the library.
#pragma once

#include <cstdint>
#include <map>
#include <stdexcept>
#include <string>

#include "halyx/coreserviceengine.h"
#include "halyx/localdatabase.h"
#include "halyx/pushcenter.h"
#include "platform/win32.h"

// A module or one of its functions could not be found; the message names the
// file that was looked for.
class ModuleError : public std::runtime_error {
 public:
  explicit ModuleError(const std::string& message) : std::runtime_error(message) {}
};

class HostModules {
 public:
  explicit HostModules(std::string binFolder);
  ~HostModules();
  HostModules(const HostModules&) = delete;
  HostModules& operator=(const HostModules&) = delete;

  // statusservice.dll
  void SignIn(uint32_t userNumber);
  void SignOut();
  uint32_t CurrentUser();

  // setting.dll
  bool SetRoamBoolean(uint32_t id, bool value);
  bool SetRoamNumber(uint32_t id, uint32_t value);
  bool SetAppRoamBoolean(uint32_t appId, uint32_t id, bool value);
  bool GetRoamBoolean(uint32_t id);
  uint32_t GetRoamNumber(uint32_t id);
  bool GetAppRoamBoolean(uint32_t appId, uint32_t id);

  // hyappinfo.dll and appinstall.dll
  bool SetAppInstalled(uint32_t appId, bool installed);
  bool SetAppInfo(uint32_t appId, const std::string& key, const std::string& value);
  bool IsAppInstalled(uint32_t appId);
  // Returns the number of install callbacks that were called.
  uint32_t NotifyAppInstallChanged(uint32_t appId, bool installed);

  // pushcenter.dll: each returns the number of callbacks that were called.
  uint32_t DeliverBatch(const PushRecord* records, uint32_t count);
  uint32_t DeliverUnreadCounts(const AppUnreadCount* counts, uint32_t count);
  uint32_t ReadReports(uint32_t kind);

  // The filled function tables of localdatabase.dll and coreserviceengine.dll.
  const LocalDatabaseTable& Database();
  const EngineTable& Engine();

  const std::string& BinFolder() const { return binFolder_; }

 private:
  HMODULE Module(const char* fileName);
  template <typename Function>
  Function Find(const char* fileName, const char* name);

  std::string binFolder_;
  std::map<std::string, HMODULE> modules_;
  bool databaseFilled_ = false;
  LocalDatabaseTable database_{};
  bool engineFilled_ = false;
  EngineTable engine_{};
};
