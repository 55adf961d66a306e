// coreserviceengine.dll: the signed-in user (the same one as the status
// service) and the reversible encoding of stored user numbers. Its entry point
// "GetHalyxEngine" fills an EngineTable.
#pragma once

#include "halyx/hostapi.h"

#if defined(HALYX_BUILDING_CORESERVICEENGINE)
#define HALYX_CORESERVICEENGINE_API HALYX_EXPORT
#else
#define HALYX_CORESERVICEENGINE_API HALYX_IMPORT
#endif

// 39 entries; only 6, 30 and 31 are offered.
struct EngineTable {
  HalyxUnusedEntry entry0[6];
  uint32_t(HALYX_CDECL* getCurrentUserId)();  // 6
  HalyxUnusedEntry entry7[23];
  // 30: on true, *data (new[]) and *size describe the encoded bytes, which the
  // caller owns from then on.
  bool(HALYX_CDECL* encodeUin)(const char* text, uint32_t length, uint8_t** data, uint32_t* size);
  // 31: on true, *text (new[], not terminated) holds *length characters that
  // the caller releases with delete[].
  bool(HALYX_CDECL* decodeUin)(const uint8_t* data, uint32_t size, char** text, uint32_t* length);
  HalyxUnusedEntry entry32[7];
};
static_assert(sizeof(EngineTable) == 39 * sizeof(void*), "EngineTable has 39 entries");

typedef bool(HALYX_CDECL* EngineEntry)(EngineTable* table);

extern "C" {
HALYX_CORESERVICEENGINE_API bool HALYX_CDECL GetHalyxEngine(EngineTable* table);

// Control function for hosts and tests: while omit is set, tables filled from
// then on lack the entry (0..38). False for an entry out of range.
HALYX_CORESERVICEENGINE_API bool HALYX_CDECL HalyxEngineOmitEntry(uint32_t entry, bool omit);
}
