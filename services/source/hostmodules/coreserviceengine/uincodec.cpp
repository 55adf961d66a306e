#include "coreserviceengine/uincodec.h"

namespace halyx {
namespace {

const uint8_t kMarker = 0xA5;
const uint32_t kOverhead = 3;  // marker and check

uint8_t Mask(uint32_t position) { return static_cast<uint8_t>(0x5C + 31 * position); }

// Fletcher-16 of the plain text.
uint16_t Check(const char* text, uint32_t length) {
  uint32_t low = 0;
  uint32_t high = 0;
  for (uint32_t i = 0; i < length; ++i) {
    low = (low + static_cast<uint8_t>(text[i])) % 255;
    high = (high + low) % 255;
  }
  return static_cast<uint16_t>((high << 8) | low);
}

}  // namespace

std::vector<uint8_t> UinCodec::Encode(const char* text, uint32_t length) {
  std::vector<uint8_t> out;
  out.reserve(length + kOverhead);
  out.push_back(kMarker);
  for (uint32_t i = 0; i < length; ++i) {
    out.push_back(static_cast<uint8_t>(static_cast<uint8_t>(text[i]) ^ Mask(i)));
  }
  const uint16_t check = Check(text, length);
  out.push_back(static_cast<uint8_t>(check >> 8));
  out.push_back(static_cast<uint8_t>(check & 0xFF));
  return out;
}

bool UinCodec::Decode(const uint8_t* data, uint32_t size, std::string* text) {
  if (!data || size < kOverhead || data[0] != kMarker) {
    return false;
  }
  const uint32_t length = size - kOverhead;
  std::string plain(length, '\0');
  for (uint32_t i = 0; i < length; ++i) {
    plain[i] = static_cast<char>(data[1 + i] ^ Mask(i));
  }
  const uint16_t check = Check(plain.data(), length);
  if (data[size - 2] != (check >> 8) || data[size - 1] != (check & 0xFF)) {
    return false;
  }
  text->swap(plain);
  return true;
}

}  // namespace halyx
