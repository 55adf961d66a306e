// Roaming settings: booleans and numbers by id, booleans by (application, id).
// Kept in "setting.json" in the data root; what was never set reads false/0.

#include "halyx/setting.h"

#include <atomic>

#include "common/jsonfilestore.h"
#include "common/keytext.h"

namespace {

halyx::JsonFileStore& Store() {
  static halyx::JsonFileStore store("setting.json");
  return store;
}

// While set, every entry point the library uses answers false or 0 and changes
// nothing; the control functions keep working so that a test can still arrange
// the values it wants to see once failure ends.
std::atomic<bool> failAll{false};

halyx::KeyText RoamKey(uint32_t id) { return halyx::KeyText("roam.", id); }
halyx::KeyText NumberKey(uint32_t id) { return halyx::KeyText("number.", id); }
halyx::KeyText AppKey(uint32_t appId, uint32_t id) {
  return halyx::KeyText("app.", appId, ".", id);
}

}  // namespace

extern "C" {

bool stGetRoamBoolean(uint32_t id) { return !failAll && Store().GetNumber(RoamKey(id).view()) != 0; }

uint32_t stGetRoamNumber(uint32_t id) { return failAll ? 0 : Store().GetNumber(NumberKey(id).view()); }

bool stGetAppRoamBoolean(uint32_t appId, uint32_t id) {
  return !failAll && Store().GetNumber(AppKey(appId, id).view()) != 0;
}

bool stSetAppRoamBoolean(uint32_t appId, uint32_t id, bool value) {
  return !failAll && Store().SetNumber(AppKey(appId, id).str(), value ? 1 : 0);
}

bool stSetRoamNumber(uint32_t id, uint32_t value) {
  return !failAll && Store().SetNumber(NumberKey(id).str(), value);
}

bool stSetRoamBoolean(uint32_t id, bool value) { return Store().SetNumber(RoamKey(id).str(), value ? 1 : 0); }

bool stSetFailAll(bool fail) {
  failAll = fail;
  return true;
}

bool stReleaseFiles() {
  Store().Release();
  return true;
}

}  // extern "C"
