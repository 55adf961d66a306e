// appinstall.dll: tells its registered callbacks when an application has been
// installed or removed.
#pragma once

#include "halyx/hostapi.h"

#if defined(HALYX_BUILDING_APPINSTALL)
#define HALYX_APPINSTALL_API HALYX_EXPORT
#else
#define HALYX_APPINSTALL_API HALYX_IMPORT
#endif

typedef void(HALYX_CDECL* AppInstallCallback)(uint32_t appId, uint32_t arg, bool installed);

extern "C" {
HALYX_APPINSTALL_API bool HALYX_CDECL HYRegisterAppInstallCallback(AppInstallCallback callback,
                                                                   uint32_t reserved);
HALYX_APPINSTALL_API bool HALYX_CDECL HYUnRegisterAppInstallCallback(AppInstallCallback callback,
                                                                     uint32_t reserved);

// Control function for hosts and tests: calls every registered callback and
// returns how many were called.
HALYX_APPINSTALL_API uint32_t HALYX_CDECL HYNotifyAppInstallChanged(uint32_t appId, uint32_t arg,
                                                                    bool installed);
}
