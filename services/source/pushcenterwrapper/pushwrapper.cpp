#include "pushwrapper.h"

#include <new>

#include "centers/appupdatemsgcenter.h"
#include "centers/dynamicmsgcenter.h"
#include "centers/msgcenter.h"
#include "centers/mysharemsgcenter.h"
#include "centers/sharemsgcenter.h"
#include "centers/systemmsgcenter.h"
#include "halyx/pushcenter.h"
#include "jsonparser.h"
#include "librarylock.h"
#include "modules/halyx_pushcenter_wrapper.h"
#include "modules/serviceentry.h"
#include "pendingpushrecords.h"
#include "pushcommandregistry.h"

namespace {

// Takes the two callbacks back from the push center service, when its table
// is there.
void UnregisterCallbacks(PushCenterTable* table) {
  if (table == nullptr) return;
  if (table->unregisterBatchCallback != nullptr) table->unregisterBatchCallback(&OnPushBatch);
  if (table->unregisterUnreadCountsCallback != nullptr) {
    table->unregisterUnreadCountsCallback(&OnAppUnreadCounts);
  }
}

}  // namespace

PushWrapper* PushWrapper::Instance() {
  // Destroyed at unload, after the host's PushWrapperUnInit has normally
  // emptied it.
  static PushWrapper wrapper;
  return &wrapper;
}

PushWrapper::PushWrapper() = default;

PushWrapper::~PushWrapper() {
  // The first of the library's objects to go: no entry may reach this one or
  // any other from now on.
  LibraryLock::Close();
  // A host that unloads the library without PushWrapperUnInit must not leave
  // the push center service and the install module calling into a library
  // that is gone: both callbacks and the install callback are taken back.
  // The push center is asked only if it was loaded (nothing is loaded at
  // unload); at the process's exit both modules answer even after their own
  // teardown.
  if (halyx_pushcenter_wrapper* pushCenter = halyx_pushcenter_wrapper::PeekInstance()) {
    UnregisterCallbacks(pushCenter->LoadedTable());
  }
  pendingRecords_.reset();
  commandRegistry_.reset();
  DestroyCenters();
}

MsgCenter* PushWrapper::GetCenter(int32_t kind) {
  if (kind < kDynamicKind || kind > kAppUpdateKind) return nullptr;
  auto held = centers_.find(kind);
  if (held != centers_.end() && held->second) return held->second.get();
  // A center's constructor may notify the host (the own-share center reports
  // every stored row), and the host may ask for the same kind from inside
  // that callback: it gets no center then, rather than a second one built
  // inside the first.
  const uint32_t bit = 1u << kind;
  if (kindsBeingCreated_ & bit) return nullptr;
  kindsBeingCreated_ |= bit;
  std::unique_ptr<MsgCenter> created(CreateCenter(kind));
  kindsBeingCreated_ &= ~bit;
  // Looked up again: the callback may have shut the library down meanwhile.
  std::unique_ptr<MsgCenter>& slot = centers_[kind];
  if (!slot) slot = std::move(created);
  return slot.get();
}

MsgCenter* PushWrapper::CreateCenter(int32_t kind) {
  try {
    auto factory = testFactories_.find(kind);
    if (factory != testFactories_.end()) return factory->second();
    switch (kind) {
      case kDynamicKind: return new DynamicMsgCenter();
      case kShareKind: return new ShareMsgCenter();
      case kSystemKind: return new SystemMsgCenter();
      case kMyShareKind: return new MyShareMsgCenter();
      case kAppUpdateKind: return new AppUpdateMsgCenter();
      default: return nullptr;
    }
  } catch (const std::bad_alloc&) {
    return nullptr;  // stored as null; the next GetCenter tries again
  }
}

void PushWrapper::DestroyCenters() {
  // Ascending kind order: the map is ordered by kind.
  for (auto& center : centers_) center.second.reset();
  centers_.clear();
}

PushCommandRegistry* PushWrapper::GetCommandRegistry() { return commandRegistry_.get(); }

PendingPushRecords* PushWrapper::GetPendingRecords() { return pendingRecords_.get(); }

bool PushWrapper::Init() {
  if (!commandRegistry_) commandRegistry_.reset(new PushCommandRegistry());
  // Creating the store registers it with the application-install module.
  if (!pendingRecords_) pendingRecords_.reset(new PendingPushRecords());
  if (auto registerBatch = ServiceEntry<halyx_pushcenter_wrapper>(
          &PushCenterTable::registerBatchCallback)) {
    registerBatch(&OnPushBatch, 0);
  }
  if (auto registerCounts = ServiceEntry<halyx_pushcenter_wrapper>(
          &PushCenterTable::registerUnreadCountsCallback)) {
    registerCounts(&OnAppUnreadCounts, 0);
  }
  return true;
}

bool PushWrapper::UnInit() {
  UnregisterCallbacks(halyx_pushcenter_wrapper::GetInstance()->GetTable());
  commandRegistry_.reset();
  pendingRecords_.reset();
  DestroyCenters();
  return true;
}

void PushWrapper::SetCenterFactoryForTesting(int32_t kind, CenterFactory factory) {
  if (factory) {
    testFactories_[kind] = std::move(factory);
  } else {
    testFactories_.erase(kind);
  }
}

void HALYX_CDECL OnAppUnreadCounts(const AppUnreadCount* counts, uint32_t count) {
  if (counts == nullptr || count == 0) return;
  LibraryLock held;
  if (!held) return;
  try {
    MsgCenter* center = PushWrapper::Instance()->GetCenter(kDynamicKind);
    if (center == nullptr) return;
    for (uint32_t i = 0; i < count; ++i) {
      center->ResetUnreadDynamicMsgCount(counts[i].appId, counts[i].unreadCount, 0);
    }
  } catch (...) {
    // Runs on the push center service's thread: nothing may be thrown back.
  }
}

// Defined with the registry's owner, so that the centers reach the registry
// without the registry depending on them.
void NotifyPushCommand(uint32_t kindBit, uint32_t eventBit, uint32_t value1, uint32_t originId,
                       uint32_t value2, uint32_t value3, uint32_t value4) {
  PushCommandRegistry* registry = PushWrapper::Instance()->GetCommandRegistry();
  if (registry == nullptr) return;
  registry->Notify(kindBit, eventBit, value1, originId, value2, value3, value4);
}
