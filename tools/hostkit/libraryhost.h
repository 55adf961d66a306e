// A host of the library for the programs that drive it from outside
// (the test suites, the benchmarks): pushcenterwrapper.dll loaded from the bin
// folder with its exports bound, and the control functions of the stand-in
// modules bound, through which a host delivers pushes, changes settings,
// installs applications and signs users in. The library is reached only
// through its exports.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "halyx/appinstall.h"
#include "halyx/hyappinfo.h"
#include "halyx/pushcenter.h"
#include "halyx/setting.h"
#include "halyx/statusservice.h"
#include "hostkit/pushlibrary.h"

namespace hostkit {

// The control functions of the stand-in modules that a host uses, each with
// the module that exports it.
struct Controls {
#define PCW_CONTROLS(X)                                                                        \
  X("pushcenter.dll", PushCenterDeliverBatch) X("pushcenter.dll", PushCenterDeliverUnreadCounts) \
  X("pushcenter.dll", PushCenterReadReports) X("setting.dll", stSetRoamBoolean)                \
  X("setting.dll", stSetRoamNumber) X("hyappinfo.dll", HXSetAppInstalled)                        \
  X("hyappinfo.dll", HXSetAppInfo) X("appinstall.dll", HYNotifyAppInstallChanged)              \
  X("statusservice.dll", HalyxSignIn)
#define PCW_CONTROL_FIELD(module, name) decltype(&::name) name = nullptr;
  PCW_CONTROLS(PCW_CONTROL_FIELD)
#undef PCW_CONTROL_FIELD
};

class LibraryHost {
 public:
  // Loads and binds; check Loaded() (and Missing() for what failed).
  // PushWrapperInit is not called: see Start(). The library and the modules
  // come from the bin folder that HalyxBinPath named when the first host was
  // made; the library itself reads HalyxBinPath anew at every load.
  LibraryHost();
  // Shuts the library down if it was started, then unloads it.
  ~LibraryHost();
  LibraryHost(const LibraryHost&) = delete;
  LibraryHost& operator=(const LibraryHost&) = delete;

  bool Loaded() const { return library_.IsLoaded() && missing_.empty(); }
  // Names of the exports and control functions that could not be bound.
  const std::string& Missing() const { return missing_; }

  // PushWrapperInit / PushWrapperUnInit.
  bool Start();
  bool Stop();
  // What a host does between two sessions: PushWrapperUnInit, FreeLibrary,
  // LoadLibraryW, bind, PushWrapperInit. True when all of it worked.
  bool Reload();
  // FreeLibrary without PushWrapperUnInit, as a host that forgets it does;
  // Load() loads and binds the library again.
  void Abandon();
  bool Load();

  // Batches and counts through pushcenter.dll; the number of callbacks it
  // called (0 when the library is not registered).
  uint32_t Deliver(const std::vector<PushRecord>& records);
  uint32_t Deliver(const PushRecord& record);
  uint32_t DeliverUnreadCounts(const std::vector<AppUnreadCount>& counts);

  // The settings that accept every kind: system and share wanted, dynamic
  // policy 1 (all applications, shielded or not).
  void WantEverything();

  // Marks the application installed in hyappinfo.dll with its "needPush"
  // answer (null: none), then has appinstall.dll announce the installation.
  // Returns how many install callbacks were called.
  uint32_t InstallApp(uint32_t appId, const char* needPush = "1");
  // Records the application as installed without any announcement.
  void MarkInstalled(uint32_t appId, const char* needPush = "1");
  void SignIn(uint32_t userNumber);

  PushExports api;
  Controls ctl;

 private:
  void Unload();

  hostkit::PushLibrary library_;
  bool started_ = false;
  std::string missing_;
};

}  // namespace hostkit
