// The core service engine: the signed-in user, as the status service knows
// it, and the encoding of stored user numbers.

#include "halyx/coreserviceengine.h"

#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "common/entryomission.h"
#include "coreserviceengine/uincodec.h"
#include "halyx/statusservice.h"

namespace {

// Asks the status service, so that both modules always name the same user.
uint32_t HALYX_CDECL GetCurrentUserId() {
  StatusTable status{};
  if (!GetHalyxStatus(&status) || !status.currentUser) {
    return 0;
  }
  return status.currentUser();
}

bool HALYX_CDECL EncodeUin(const char* text, uint32_t length, uint8_t** data, uint32_t* size) {
  if (!data || !size || (!text && length > 0)) {
    return false;
  }
  *data = nullptr;
  *size = 0;
  const std::vector<uint8_t> encoded = halyx::UinCodec::Encode(text, length);
  uint8_t* block = new (std::nothrow) uint8_t[encoded.size()];
  if (!block) {
    return false;
  }
  std::memcpy(block, encoded.data(), encoded.size());
  *data = block;
  *size = static_cast<uint32_t>(encoded.size());
  return true;
}

// An empty text comes back as a null pointer and length 0: there is nothing
// for the caller to release.
bool HALYX_CDECL DecodeUin(const uint8_t* data, uint32_t size, char** text, uint32_t* length) {
  if (!text || !length) {
    return false;
  }
  *text = nullptr;
  *length = 0;
  std::string plain;
  if (!halyx::UinCodec::Decode(data, size, &plain)) {
    return false;
  }
  if (plain.empty()) {
    return true;
  }
  // One byte more than reported, holding a zero, for callers that read the
  // block as a C string.
  char* block = new (std::nothrow) char[plain.size() + 1];
  if (!block) {
    return false;
  }
  std::memcpy(block, plain.c_str(), plain.size() + 1);
  *text = block;
  *length = static_cast<uint32_t>(plain.size());
  return true;
}

halyx::EntryOmission<39>& Omitted() {
  static halyx::EntryOmission<39> omitted;
  return omitted;
}

}  // namespace

extern "C" {

bool GetHalyxEngine(EngineTable* table) {
  if (!table) {
    return false;
  }
  *table = EngineTable{};
  table->getCurrentUserId = &GetCurrentUserId;
  table->encodeUin = &EncodeUin;
  table->decodeUin = &DecodeUin;
  Omitted().Apply(table);
  return true;
}

bool HalyxEngineOmitEntry(uint32_t entry, bool omit) { return Omitted().Set(entry, omit); }

}  // extern "C"
