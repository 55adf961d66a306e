// The engine's reversible encoding of stored user numbers.
//
// An encoded text is a marker byte, the text's bytes each masked by a key
// that depends on its position, and a 16-bit check of the plain text. Only
// what Encode produced decodes; anything else is refused.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace halyx {

class UinCodec {
 public:
  static std::vector<uint8_t> Encode(const char* text, uint32_t length);
  // False, leaving *text alone, when the bytes are not an encoding.
  static bool Decode(const uint8_t* data, uint32_t size, std::string* text);
};

}  // namespace halyx
