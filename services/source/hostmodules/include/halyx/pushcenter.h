// pushcenter.dll: the push center service.
//
// Its entry point "PushCenter" fills a PushCenterTable. The service delivers
// batches of PushRecord and per-application unread counts to the callbacks
// registered through entries 5 and 7; the arrays it passes are its own and are
// valid only during the call.
#pragma once

#include <cstddef>

#include "halyx/hostapi.h"

#if defined(HALYX_BUILDING_PUSHCENTER)
#define HALYX_PUSHCENTER_API HALYX_EXPORT
#else
#define HALYX_PUSHCENTER_API HALYX_IMPORT
#endif

// One push: 2064 bytes, a batch is an array of them at that stride.
struct PushRecord {
  uint32_t appId;
  uint32_t pushTime;
  uint32_t msgId;
  uint8_t kind;  // 1 dynamic, 2 share, 3 system, 4 unread count
  uint8_t reserved;
  uint16_t payload[1025];  // UTF-16LE JSON, terminated by a zero unit when it fits
};
static_assert(sizeof(PushRecord) == 2064, "PushRecord is 2064 bytes");
static_assert(offsetof(PushRecord, kind) == 12, "PushRecord kind at 12");
static_assert(offsetof(PushRecord, payload) == 14, "PushRecord payload at 14");

enum : uint32_t { kPushPayloadUnits = 1025 };

// One application's unread count: 8 bytes, arrays at an 8-byte stride.
struct AppUnreadCount {
  uint32_t appId;
  uint16_t unreadCount;
  uint16_t reserved;
};
static_assert(sizeof(AppUnreadCount) == 8, "AppUnreadCount is 8 bytes");

typedef void(HALYX_CDECL* PushBatchCallback)(const PushRecord* records, uint32_t count);
typedef void(HALYX_CDECL* AppUnreadCountsCallback)(const AppUnreadCount* counts, uint32_t count);

// 20 entries. Only 5, 6, 7, 8 and 10 are offered; the others are null.
struct PushCenterTable {
  HalyxUnusedEntry entry0[5];
  uint32_t(HALYX_CDECL* registerBatchCallback)(PushBatchCallback callback, uint32_t reserved);  // 5
  uint32_t(HALYX_CDECL* unregisterBatchCallback)(PushBatchCallback callback);                   // 6
  uint32_t(HALYX_CDECL* registerUnreadCountsCallback)(AppUnreadCountsCallback callback,
                                                      uint32_t reserved);                       // 7
  uint32_t(HALYX_CDECL* unregisterUnreadCountsCallback)(AppUnreadCountsCallback callback);     // 8
  HalyxUnusedEntry entry9;
  // Tells the service that the messages of a kind (1 dynamic, 2 share, 3 system)
  // were read; the library passes (kind, 0, 0xFFFFFFFF, 0, 0, 0).
  bool(HALYX_CDECL* reportRead)(uint32_t kind, uint32_t a2, uint32_t a3, uint32_t a4, uint32_t a5,
                                uint32_t a6);  // 10
  HalyxUnusedEntry entry11[9];
};
static_assert(sizeof(PushCenterTable) == 20 * sizeof(void*), "PushCenterTable has 20 entries");

typedef bool(HALYX_CDECL* PushCenterEntry)(PushCenterTable* table);

extern "C" {
HALYX_PUSHCENTER_API bool HALYX_CDECL PushCenter(PushCenterTable* table);

// Control functions for hosts and tests. Each returns the number of
// registered callbacks that were called.
HALYX_PUSHCENTER_API uint32_t HALYX_CDECL PushCenterDeliverBatch(const PushRecord* records,
                                                                 uint32_t count);
HALYX_PUSHCENTER_API uint32_t HALYX_CDECL PushCenterDeliverUnreadCounts(const AppUnreadCount* counts,
                                                                        uint32_t count);
// Read reports received for a kind since the module was loaded.
HALYX_PUSHCENTER_API uint32_t HALYX_CDECL PushCenterReadReports(uint32_t kind);
// While omit is set, tables filled from then on lack the entry (0..19). False
// for an entry out of range.
HALYX_PUSHCENTER_API bool HALYX_CDECL PushCenterOmitEntry(uint32_t entry, bool omit);
// Forgets every registered callback, as a restarted service would, and
// returns how many there were: what users left registered, which a user that
// could not unregister before it was unloaded would otherwise leave dangling.
HALYX_PUSHCENTER_API uint32_t HALYX_CDECL PushCenterForgetCallbacks();
}
