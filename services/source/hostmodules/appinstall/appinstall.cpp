// Keeps the callbacks that want to hear of application installs and removals.

#include "halyx/appinstall.h"

#include "common/callbacklist.h"

namespace {

// A host that exits without shutting the library down has the library
// unregister its callback from its own teardown, after this module's (later
// constructed) static objects are destroyed. Such a late call gets an empty
// list instead of the destroyed one.
bool callbacksGone = false;

halyx::CallbackList<AppInstallCallback>& Callbacks() {
  static struct Holder {
    halyx::CallbackList<AppInstallCallback> callbacks;
    ~Holder() { callbacksGone = true; }
  } holder;
  if (!callbacksGone) return holder.callbacks;
  static auto* late = new halyx::CallbackList<AppInstallCallback>();  // still reachable at exit
  return *late;
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
