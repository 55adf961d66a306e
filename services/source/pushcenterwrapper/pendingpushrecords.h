// PendingPushRecords: dynamic push records of applications that were not
// installed when they arrived, kept to be delivered again once the
// application-install module reports the installation.
//
// The store registers its install callback with the application-install module
// for as long as it exists. It holds at most kCapacity records at a time; a
// replay makes room again.
#pragma once

#include <cstdint>
#include <list>
#include <memory>

#include "halyx/hostapi.h"
#include "halyx/pushcenter.h"

class PendingPushRecords {
 public:
  PendingPushRecords();
  ~PendingPushRecords();
  PendingPushRecords(const PendingPushRecords&) = delete;
  PendingPushRecords& operator=(const PendingPushRecords&) = delete;

  // Keeps a copy of a dynamic record; returns the number of parked records, or
  // 0 when nothing was parked (store full, null record, other kind). A record
  // whose replay is under way still counts as parked until its replay is over,
  // so that one that parks itself again can fill the store.
  uint32_t ParkRecord(const PushRecord* record);

  static const size_t kCapacity = 31;
  bool IsFull() const { return parkedRecords_.size() + replaying_ >= kCapacity; }

  // Runs the intake again for every parked record of an application that has
  // been installed, in arrival order, and forgets them; a record that is still
  // not accepted may park itself again at the back.
  void ReplayApp(uint32_t appId);

 private:
  std::list<std::unique_ptr<PushRecord>> parkedRecords_;
  // Records taken out of the list for a replay that has not returned yet.
  size_t replaying_ = 0;
};

// The install callback: replays the parked records of appId when installed is
// true and the store exists. The second argument belongs to the
// application-install module and is not read.
void HALYX_CDECL OnAppInstallChanged(uint32_t appId, uint32_t arg, bool installed);
