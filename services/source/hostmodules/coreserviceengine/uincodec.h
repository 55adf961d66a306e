// The engine's reversible encoding of stored user numbers.
//
// An encoded text is a marker byte, the text's bytes each masked by a key
// that depends on its position, and a 16-bit check of the plain text. Only
// what Encode produced decodes; anything else is refused.
#pragma once

#include <cstdint>

namespace halyx {

class UinCodec {
 public:
  // EncodeInto writes EncodedSize(length) bytes to out.
  static uint32_t EncodedSize(uint32_t length);
  static void EncodeInto(const char* text, uint32_t length, uint8_t* out);
  // The length of the text that data would decode to, or -1 when the bytes
  // are not an encoding; with room for that many bytes, DecodeInto writes the
  // text (no terminator) and checks it, false when the check fails.
  static int64_t DecodedLength(const uint8_t* data, uint32_t size);
  static bool DecodeInto(const uint8_t* data, uint32_t size, char* text);
};

}  // namespace halyx
