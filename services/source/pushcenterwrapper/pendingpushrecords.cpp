#include "pendingpushrecords.h"

#include "halyx/appinstall.h"
#include "jsonparser.h"
#include "librarylock.h"
#include "pushwrapper.h"

PendingPushRecords::PendingPushRecords() { HYRegisterAppInstallCallback(&OnAppInstallChanged, 0); }

PendingPushRecords::~PendingPushRecords() {
  // Unregister first: no replay may reach a store that is going away.
  HYUnRegisterAppInstallCallback(&OnAppInstallChanged, 0);
}

uint32_t PendingPushRecords::ParkRecord(const PushRecord* record) {
  if (IsFull() || record == nullptr || record->kind != 1) return 0;
  parkedRecords_.emplace_back(new PushRecord(*record));
  return static_cast<uint32_t>(parkedRecords_.size() + replaying_);
}

void PendingPushRecords::ReplayApp(uint32_t appId) {
  // Only the records present now are replayed: one that parks itself again
  // goes to the back and must wait for the next installation.
  size_t remaining = parkedRecords_.size();
  auto at = parkedRecords_.begin();
  while (remaining-- > 0 && at != parkedRecords_.end()) {
    if ((*at)->appId != appId) {
      ++at;
      continue;
    }
    // Out of the list before the replay, which may park a record again; it
    // still counts as parked until its replay is over.
    std::unique_ptr<PushRecord> record = std::move(*at);
    at = parkedRecords_.erase(at);
    ++replaying_;
    OnPushBatch(record.get(), 1);  // throws nothing
    --replaying_;
  }
}

void HALYX_CDECL OnAppInstallChanged(uint32_t appId, uint32_t, bool installed) {
  if (!installed) return;
  LibraryLock held;
  if (!held) return;
  PendingPushRecords* store = PushWrapper::Instance()->GetPendingRecords();
  if (store == nullptr) return;
  try {
    store->ReplayApp(appId);
  } catch (...) {
    // Runs on the install module's thread: nothing may be thrown back.
  }
}
