// The conformance harness: plays a host. It loads the built
// pushcenterwrapper.dll from the bin folder by path and binds its exports
// (the host kit), and binds the control functions of the stand-in modules
// through which a test delivers pushes, changes settings, installs
// applications and signs users in. Nothing here reaches the library other
// than through its exports.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "halyx/appinstall.h"
#include "halyx/hyappinfo.h"
#include "halyx/pushcenter.h"
#include "halyx/setting.h"
#include "halyx/statusservice.h"
#include "hostkit/commandrecorder.h"
#include "hostkit/pushlibrary.h"
#include "hostkit/pushrecords.h"

namespace libraryhost {

using Exports = hostkit::PushExports;
using hostkit::MakeRawRecord;
using hostkit::MakeRecord;

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

  Exports api;
  Controls ctl;

 private:
  void Unload();

  hostkit::PushLibrary library_;
  bool started_ = false;
  std::string missing_;
};

// Records the command callbacks it receives, through the host kit's slot of
// that number: recorders that are registered at once need slots of their own.
class CommandRecorder {
 public:
  explicit CommandRecorder(int slot = 0);

  // The slot's function; from now on this recorder records what reaches it.
  PushCommandCallback Callback();
  uintptr_t UserData() const { return reinterpret_cast<uintptr_t>(this); }
  // AddPushCommandCallback / RemovePushCommandCallback of the host's library.
  bool Register(LibraryHost& host, uint32_t ownerId, uint32_t kindMask, uint32_t eventMask);
  bool Unregister(LibraryHost& host);

  size_t Count(uint32_t kindBit, uint32_t eventBit) const { return slots_.Count(kindBit, eventBit); }
  std::vector<PushCommand> commands;
  // Called after each record is stored, when set.
  void (*onCommand)(CommandRecorder& self, const PushCommand& command) = nullptr;
  void* context = nullptr;

 private:
  hostkit::CommandRecorder slots_;
  int slot_;
};

}  // namespace libraryhost
