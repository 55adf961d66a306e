// Keeps the callbacks that want to hear of application installs and removals.

#include "halyx/appinstall.h"

#include "common/callbacklist.h"

namespace {

// Never destroyed: a host that exits without shutting the library down has
// the library unregister its callback from its own teardown, which at process
// exit runs after this module's static objects would be gone.
halyx::CallbackList<AppInstallCallback>& Callbacks() {
  static auto* callbacks = new halyx::CallbackList<AppInstallCallback>();
  return *callbacks;
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
