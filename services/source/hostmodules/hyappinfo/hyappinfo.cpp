// What the host product knows of applications: whether each is installed, and
// key/value texts per application (the library asks "needPush"). Kept in
// "hyappinfo.json" in the data root; what was never set reads false / unknown.

#include "halyx/hyappinfo.h"

#include <atomic>
#include <cstring>
#include <new>
#include <string>

#include "common/jsonfilestore.h"

namespace {

halyx::JsonFileStore& Store() {
  static halyx::JsonFileStore store("hyappinfo.json");
  return store;
}

// While set, the two entry points the library uses answer false or 0; the
// control functions keep working.
std::atomic<bool> failAll{false};

std::string InstalledKey(uint32_t appId) { return "installed." + std::to_string(appId); }
std::string InfoKey(uint32_t appId, const char* key) {
  return std::to_string(appId) + "." + key;
}

}  // namespace

extern "C" {

bool HXCheckAppInstalled(uint32_t appId) {
  return !failAll && Store().GetNumber(InstalledKey(appId)) != 0;
}

uint32_t HXQueryAppInfo(uint32_t appId, const char* key, char** value) {
  if (!value) {
    return 0;
  }
  *value = nullptr;
  std::string text;
  if (failAll || !key || !Store().GetText(InfoKey(appId, key), &text)) {
    return 0;
  }
  char* copy = new (std::nothrow) char[text.size() + 1];
  if (!copy) {
    return 0;
  }
  std::memcpy(copy, text.c_str(), text.size() + 1);
  *value = copy;
  return 1;
}

bool HXSetAppInstalled(uint32_t appId, bool installed) {
  return Store().SetNumber(InstalledKey(appId), installed ? 1 : 0);
}

bool HXSetAppInfo(uint32_t appId, const char* key, const char* value) {
  return key && value && Store().SetText(InfoKey(appId, key), value);
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
