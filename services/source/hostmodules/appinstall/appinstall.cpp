// Keeps the callbacks that want to hear of application installs and removals.

#include "halyx/appinstall.h"

#include "common/callbacklist.h"
#include "common/modulestate.h"

namespace {

// The library unregisters its callback from its own teardown, which can come
// after this module's at exit.
halyx::CallbackList<AppInstallCallback>& Callbacks() {
  return halyx::ModuleState<halyx::CallbackList<AppInstallCallback>>();
}

}  // namespace

extern "C" {

bool HYRegisterAppInstallCallback(AppInstallCallback callback, uint32_t) {
  return Callbacks().Add(callback);
}

bool HYUnRegisterAppInstallCallback(AppInstallCallback callback, uint32_t) {
  return Callbacks().Remove(callback);
}

uint32_t HYNotifyAppInstallChanged(uint32_t appId, uint32_t arg, bool installed) {
  return Callbacks().Deliver(appId, arg, installed);
}

}  // extern "C"
