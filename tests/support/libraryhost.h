// The conformance harness: plays a host. It loads the built
// pushcenterwrapper.dll from the bin folder by path, binds the 37 exports by
// name, and binds the control functions of the stand-in modules through which
// a test delivers pushes, changes settings, installs applications and signs
// users in. Nothing here reaches the library other than through its exports.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "halyx/appinstall.h"
#include "halyx/hyappinfo.h"
#include "halyx/pushcenter.h"
#include "halyx/setting.h"
#include "halyx/statusservice.h"
#include "platform/win32.h"
#include "pushcenterwrapper.h"

namespace libraryhost {

// The 37 exports, typed after their declarations.
struct Exports {
#define PCW_EXPORT_FIELD(name) decltype(&::name) name = nullptr;
#define PCW_EXPORTS(X)                                                                          \
  X(PushWrapperInit) X(PushWrapperUnInit) X(PushUpdateReadStateByType) X(PushGetMsgCountByType) \
  X(PushGetUnreadCountByType) X(PushClearMsg) X(PushGetAllUnreadMsgCount)                       \
  X(PushGetAllUnreadDynamicMsgCount) X(PushGetAllUnreadShareMsgNum) X(PushGetNewSystemMsgNum)   \
  X(PushGetDynamicMsg) X(PushGetDynamicMsgForApp) X(PushGetUnreadDynamicMsgCountForApp)         \
  X(PushResetUnreadDynamicMsgCount) X(PushUpdateDynamicMsgReadState) X(PushDeleteDynamicMsg)    \
  X(PushShieldDynamicMsgForApp) X(PushFreeDynamicMsgGroupList) X(PushGetShareMsg)               \
  X(PushGetShareMsgForApp) X(PushUpdateShareMsgReadState) X(PushDeleteShareMsg)                 \
  X(PushFreeShareMsgGroupList) X(GetAllMyShareMsgNum) X(GetMyShareMsg) X(AddMyShareMsg)         \
  X(GetMyShareMsgForApp) X(getAppDesc) X(PushDeleteMyShareMsg) X(FreeMyLocalShareMsgGroupList)  \
  X(PushGetSystemMsg) X(PushUpdateSystemMsgReadState) X(PushDeleteSystemMsg)                    \
  X(PushFreeSystemMsgList) X(AddPushCommandCallback) X(RemovePushCommandCallback)
  PCW_EXPORTS(PCW_EXPORT_FIELD)
  // Bound by its decorated name on Windows, its C++ name on Linux.
  decltype(&::PushIsShieldDynamicMsg) PushIsShieldDynamicMsg = nullptr;
};

// The control functions of the stand-in modules that a host uses, each with
// the module that exports it.
struct Controls {
#define PCW_CONTROLS(X)                                                                        \
  X("pushcenter.dll", PushCenterDeliverBatch) X("pushcenter.dll", PushCenterDeliverUnreadCounts) \
  X("pushcenter.dll", PushCenterReadReports) X("setting.dll", stSetRoamBoolean)                \
  X("setting.dll", stSetRoamNumber) X("hyappinfo.dll", HXSetAppInstalled)                        \
  X("hyappinfo.dll", HXSetAppInfo) X("appinstall.dll", HYNotifyAppInstallChanged)              \
  X("statusservice.dll", HalyxSignIn)
#define PCW_CONTROL_FIELD(module, name) PCW_EXPORT_FIELD(name)
  PCW_CONTROLS(PCW_CONTROL_FIELD)
#undef PCW_CONTROL_FIELD
};

// A push record with a UTF-8 JSON payload, converted to UTF-16 and
// zero-terminated (cut to fit the record).
PushRecord MakeRecord(uint8_t kind, uint32_t appId, uint32_t msgId, uint32_t pushTime,
                      const std::string& utf8Json);
// A push record whose payload units are given as they are: no terminator is
// added, so 1025 units fill the record to its last byte.
PushRecord MakeRawRecord(uint8_t kind, uint32_t appId, uint32_t msgId, uint32_t pushTime,
                         const std::vector<uint16_t>& units);

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

  bool Loaded() const { return library != nullptr && missing.empty(); }
  // Names of the exports and control functions that could not be bound.
  const std::string& Missing() const { return missing; }

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
  bool Bind();
  void Unload();

  HMODULE library = nullptr;
  bool started = false;
  std::string missing;
};

// Records the command callbacks it receives. Each of the four slots has its
// own callback function, as the library keeps one registration per function.
class CommandRecorder {
 public:
  explicit CommandRecorder(int slot = 0);
  ~CommandRecorder();

  PushCommandCallback Callback() const;
  uintptr_t UserData() const { return reinterpret_cast<uintptr_t>(this); }
  // AddPushCommandCallback / RemovePushCommandCallback of the host's library.
  bool Register(LibraryHost& host, uint32_t ownerId, uint32_t kindMask, uint32_t eventMask);
  bool Unregister(LibraryHost& host);

  size_t Count(uint32_t kindBit, uint32_t eventBit) const;
  std::vector<PushCommand> commands;
  // Called after each record is stored, when set.
  void (*onCommand)(CommandRecorder& self, const PushCommand& command) = nullptr;
  void* context = nullptr;

 private:
  int slot;
};

}  // namespace libraryhost
