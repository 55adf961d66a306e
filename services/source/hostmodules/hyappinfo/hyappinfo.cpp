// What the host product knows of applications: whether each is installed, and
// key/value texts per application (the library asks "needPush"). Kept in
// "hyappinfo.json" in the data root; what was never set reads false / unknown.

#include "halyx/hyappinfo.h"

#include <atomic>

#include "common/jsonfilestore.h"
#include "common/keytext.h"

namespace {

halyx::JsonFileStore& Store() {
  static halyx::JsonFileStore store("hyappinfo.json");
  return store;
}

// While set, the two entry points the library uses answer false or 0; the
// control functions keep working.
std::atomic<bool> failAll{false};

halyx::KeyText InstalledKey(uint32_t appId) { return halyx::KeyText("installed.", appId); }
halyx::KeyText InfoKey(uint32_t appId, const char* key) {
  return halyx::KeyText(appId, ".", key);
}

}  // namespace

extern "C" {

bool HXCheckAppInstalled(uint32_t appId) {
  return !failAll && Store().GetNumber(InstalledKey(appId).view()) != 0;
}

uint32_t HXQueryAppInfo(uint32_t appId, const char* key, char** value) {
  if (!value) {
    return 0;
  }
  *value = (failAll || !key) ? nullptr : Store().CopyText(InfoKey(appId, key).view());
  return *value ? 1 : 0;
}

bool HXSetAppInstalled(uint32_t appId, bool installed) {
  return Store().SetNumber(InstalledKey(appId).str(), installed ? 1 : 0);
}

bool HXSetAppInfo(uint32_t appId, const char* key, const char* value) {
  return key && value && Store().SetText(InfoKey(appId, key).str(), value);
}

bool HXSetFailAll(bool fail) {
  failAll = fail;
  return true;
}

bool HXReleaseFiles() {
  Store().Release();
  return true;
}

}  // extern "C"
