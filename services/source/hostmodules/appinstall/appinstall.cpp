// Keeps the callbacks that want to hear of application installs and removals.

#include "halyx/appinstall.h"

#include "common/callbacklist.h"

namespace {

halyx::CallbackList<AppInstallCallback>& Callbacks() {
  static halyx::CallbackList<AppInstallCallback> callbacks;
  return callbacks;
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
