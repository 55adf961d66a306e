// hyappinfo.dll: what the host product knows of installed applications.
#pragma once

#include "halyx/hostapi.h"

#if defined(HALYX_BUILDING_HYAPPINFO)
#define HALYX_HYAPPINFO_API HALYX_EXPORT
#else
#define HALYX_HYAPPINFO_API HALYX_IMPORT
#endif

extern "C" {
HALYX_HYAPPINFO_API bool HALYX_CDECL HXCheckAppInstalled(uint32_t appId);
// Non-zero on success; *value is then null or a zero-terminated string
// allocated with new[], which the caller releases with delete[].
HALYX_HYAPPINFO_API uint32_t HALYX_CDECL HXQueryAppInfo(uint32_t appId, const char* key,
                                                        char** value);

// Control functions for hosts and tests.
HALYX_HYAPPINFO_API bool HALYX_CDECL HXSetAppInstalled(uint32_t appId, bool installed);
HALYX_HYAPPINFO_API bool HALYX_CDECL HXSetAppInfo(uint32_t appId, const char* key,
                                                  const char* value);
// While set, HXCheckAppInstalled and HXQueryAppInfo answer false or 0.
HALYX_HYAPPINFO_API bool HALYX_CDECL HXSetFailAll(bool fail);
// Forgets what was read from the file and closes every file the module holds
// open, so that the data folder can be removed; the next call reads it again.
// A file changed by hand (not through a module) is otherwise seen within 50 ms.
HALYX_HYAPPINFO_API bool HALYX_CDECL HXReleaseFiles();
}
