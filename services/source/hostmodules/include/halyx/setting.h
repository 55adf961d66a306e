// setting.dll: roaming settings by number, kept per data folder.
//
// What was never set reads false or 0.
#pragma once

#include "halyx/hostapi.h"

#if defined(HALYX_BUILDING_SETTING)
#define HALYX_SETTING_API HALYX_EXPORT
#else
#define HALYX_SETTING_API HALYX_IMPORT
#endif

extern "C" {
HALYX_SETTING_API bool HALYX_CDECL stGetRoamBoolean(uint32_t id);
HALYX_SETTING_API uint32_t HALYX_CDECL stGetRoamNumber(uint32_t id);
HALYX_SETTING_API bool HALYX_CDECL stGetAppRoamBoolean(uint32_t appId, uint32_t id);
HALYX_SETTING_API bool HALYX_CDECL stSetAppRoamBoolean(uint32_t appId, uint32_t id, bool value);
HALYX_SETTING_API bool HALYX_CDECL stSetRoamNumber(uint32_t id, uint32_t value);

// Control functions for hosts and tests.
HALYX_SETTING_API bool HALYX_CDECL stSetRoamBoolean(uint32_t id, bool value);
// While set, the five functions above answer false or 0 and change nothing.
HALYX_SETTING_API bool HALYX_CDECL stSetFailAll(bool fail);
// Forgets what was read from the file and closes every file the module holds
// open, so that the data folder can be removed; the next call reads it again.
// A file changed by hand (not through a module) is otherwise seen within 50 ms.
HALYX_SETTING_API bool HALYX_CDECL stReleaseFiles();
}
