#include "coreserviceengine/uincodec.h"

namespace halyx {
namespace {

const uint8_t kMarker = 0xA5;
const uint32_t kOverhead = 3;  // marker and check

uint8_t Mask(uint32_t position) { return static_cast<uint8_t>(0x5C + 31 * position); }

// Fletcher-16 of the plain text. The sums are reduced once per block rather
// than at every byte, which gives the same residues: a block of 256 bytes
// cannot overflow either sum.
uint16_t Check(const char* text, uint32_t length) {
  uint32_t low = 0;
  uint32_t high = 0;
  while (length > 0) {
    const uint32_t block = length < 256 ? length : 256;
    for (uint32_t i = 0; i < block; ++i) {
      low += static_cast<uint8_t>(text[i]);
      high += low;
    }
    low %= 255;
    high %= 255;
    text += block;
    length -= block;
  }
  return static_cast<uint16_t>((high << 8) | low);
}

}  // namespace

uint32_t UinCodec::EncodedSize(uint32_t length) { return length + kOverhead; }

void UinCodec::EncodeInto(const char* text, uint32_t length, uint8_t* out) {
  out[0] = kMarker;
  for (uint32_t i = 0; i < length; ++i) {
    out[1 + i] = static_cast<uint8_t>(static_cast<uint8_t>(text[i]) ^ Mask(i));
  }
  const uint16_t check = Check(text, length);
  out[1 + length] = static_cast<uint8_t>(check >> 8);
  out[2 + length] = static_cast<uint8_t>(check & 0xFF);
}

int64_t UinCodec::DecodedLength(const uint8_t* data, uint32_t size) {
  if (!data || size < kOverhead || data[0] != kMarker) {
    return -1;
  }
  return static_cast<int64_t>(size - kOverhead);
}

bool UinCodec::DecodeInto(const uint8_t* data, uint32_t size, char* text) {
  const uint32_t length = size - kOverhead;
  for (uint32_t i = 0; i < length; ++i) {
    text[i] = static_cast<char>(data[1 + i] ^ Mask(i));
  }
  const uint16_t check = Check(text, length);
  return data[size - 2] == (check >> 8) && data[size - 1] == (check & 0xFF);
}

}  // namespace halyx
