// statusservice.dll: who is signed in. Its entry point "GetHalyxStatus" fills
// a StatusTable.
#pragma once

#include "halyx/hostapi.h"

#if defined(HALYX_BUILDING_STATUSSERVICE)
#define HALYX_STATUSSERVICE_API HALYX_EXPORT
#else
#define HALYX_STATUSSERVICE_API HALYX_IMPORT
#endif

// 32 entries; only entry 9 is offered.
struct StatusTable {
  HalyxUnusedEntry entry0[9];
  uint32_t(HALYX_CDECL* currentUser)();  // 9: the signed-in user's number, 0 for none
  HalyxUnusedEntry entry10[22];
};
static_assert(sizeof(StatusTable) == 32 * sizeof(void*), "StatusTable has 32 entries");

typedef bool(HALYX_CDECL* StatusEntry)(StatusTable* table);

extern "C" {
HALYX_STATUSSERVICE_API bool HALYX_CDECL GetHalyxStatus(StatusTable* table);

// Control functions for hosts and tests. The first user comes from the
// environment variable HALYX_USER when it is set.
HALYX_STATUSSERVICE_API void HALYX_CDECL HalyxSignIn(uint32_t userNumber);
HALYX_STATUSSERVICE_API void HALYX_CDECL HalyxSignOut();
// While omit is set, tables filled from then on lack the entry (0..31); the
// engine, which asks this service, then knows no user either. False for an
// entry out of range.
HALYX_STATUSSERVICE_API bool HALYX_CDECL HalyxStatusOmitEntry(uint32_t entry, bool omit);
}
