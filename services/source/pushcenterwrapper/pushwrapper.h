// PushWrapper: the one module-wide object behind the exports. It owns the
// message centers, one per kind, the command registry and the store of parked
// push records.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>

#include "halyx/hostapi.h"

class MsgCenter;
class PushCommandRegistry;
class PendingPushRecords;

class PushWrapper {
 public:
  // The module's instance, created on first use and kept until unload.
  static PushWrapper* Instance();

  // The center of a kind, created on first use whatever the state of start-up;
  // null for a kind outside 1 to 5 or when the creation failed (the next call
  // tries again).
  MsgCenter* GetCenter(int32_t kind);
  // Null before PushWrapperInit and after PushWrapperUnInit.
  PushCommandRegistry* GetCommandRegistry();
  PendingPushRecords* GetPendingRecords();

  // Start-up and shut-down behind PushWrapperInit and PushWrapperUnInit. Both
  // always succeed: without the push center service the library simply
  // receives no pushes.
  bool Init();
  bool UnInit();

  // Test seam: from now on GetCenter builds the center of kind with factory
  // instead of the kind's own class (an empty factory restores that). Applies
  // to centers created later; one that exists already is kept.
  typedef std::function<MsgCenter*()> CenterFactory;
  void SetCenterFactoryForTesting(int32_t kind, CenterFactory factory);

 private:
  PushWrapper();
  ~PushWrapper();
  PushWrapper(const PushWrapper&) = delete;
  PushWrapper& operator=(const PushWrapper&) = delete;

  MsgCenter* CreateCenter(int32_t kind);
  void DestroyCenters();

  std::map<int32_t, std::unique_ptr<MsgCenter>> centers_;
  std::unique_ptr<PushCommandRegistry> commandRegistry_;
  std::unique_ptr<PendingPushRecords> pendingRecords_;
  std::map<int32_t, CenterFactory> testFactories_;
  // Bit k is set while the center of kind k is being constructed.
  uint32_t kindsBeingCreated_ = 0;
};

struct AppUnreadCount;

// The unread-count callback registered with the push center service: each
// element resets one application's unread count on the dynamic center, as a
// change that no host caller made (originator 0).
void HALYX_CDECL OnAppUnreadCounts(const AppUnreadCount* counts, uint32_t count);
