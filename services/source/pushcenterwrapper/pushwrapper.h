// PushWrapper: the one module-wide object behind the exports. It owns the
// message centers, one per kind, the command registry and the store of parked
// push records.
#pragma once

#include <cstdint>
#include <map>
#include <memory>

class MsgCenter;
class PushCommandRegistry;
class PendingPushRecords;

class PushWrapper {
 public:
  // The module's instance, created on first use and kept until unload.
  static PushWrapper* Instance();

  // The center of a kind, created on first use; null for a kind outside 1 to 5
  // or when the creation failed (the next call tries again).
  MsgCenter* GetCenter(int32_t kind);
  // Null before PushWrapperInit and after PushWrapperUnInit.
  PushCommandRegistry* GetCommandRegistry();
  PendingPushRecords* GetPendingRecords();

  // Start-up and shut-down behind PushWrapperInit and PushWrapperUnInit.
  bool Init();
  bool UnInit();

 private:
  PushWrapper();
  ~PushWrapper();

  std::map<int32_t, std::unique_ptr<MsgCenter>> centers;
  std::unique_ptr<PushCommandRegistry> commandRegistry;
  std::unique_ptr<PendingPushRecords> pendingRecords;
};
