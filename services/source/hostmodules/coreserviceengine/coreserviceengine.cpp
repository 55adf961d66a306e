// The core service engine: the signed-in user, as the status service knows
// it, and the encoding of stored user numbers.

#include "halyx/coreserviceengine.h"

#include <cstring>
#include <memory>
#include <new>

#include "common/entryomission.h"
#include "coreserviceengine/uincodec.h"
#include "halyx/statusservice.h"

namespace {

// Asks the status service, so that both modules always name the same user.
// The storages ask at every record; the service fills the whole table, so it
// is not cleared here first.
uint32_t HALYX_CDECL GetCurrentUserId() {
  StatusTable status;
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
  const uint32_t encodedSize = halyx::UinCodec::EncodedSize(length);
  uint8_t* block = new (std::nothrow) uint8_t[encodedSize];
  if (!block) {
    return false;
  }
  halyx::UinCodec::EncodeInto(text, length, block);
  *data = block;
  *size = encodedSize;
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
  const int64_t plainLength = halyx::UinCodec::DecodedLength(data, size);
  if (plainLength < 0) {
    return false;
  }
  if (plainLength == 0) {
    // An encoded empty text: nothing for the caller to release.
    return halyx::UinCodec::DecodeInto(data, size, nullptr);
  }
  // Decoded straight into the caller's block, with one byte more than
  // reported holding a zero, for callers that read it as a C string.
  std::unique_ptr<char[]> block(new (std::nothrow) char[static_cast<size_t>(plainLength) + 1]);
  if (!block || !halyx::UinCodec::DecodeInto(data, size, block.get())) {
    return false;
  }
  block[static_cast<size_t>(plainLength)] = '\0';
  *text = block.release();
  *length = static_cast<uint32_t>(plainLength);
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
