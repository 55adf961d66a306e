#include "terminaltext.h"

#include <cstdint>
#include <cstdio>

namespace {

// The code point of the UTF-8 sequence at text[i] and its length; length 0
// for a byte that starts no valid sequence (overlong forms and surrogates
// included).
uint32_t Decode(const std::string& text, size_t i, size_t* length) {
  const unsigned char lead = static_cast<unsigned char>(text[i]);
  *length = 0;
  if (lead < 0x80) {
    *length = 1;
    return lead;
  }
  size_t count = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
  if (count == 0 || lead > 0xF4 || i + count > text.size()) return 0;
  uint32_t point = lead & (0x3F >> (count - 1));
  for (size_t k = 1; k < count; ++k) {
    const unsigned char next = static_cast<unsigned char>(text[i + k]);
    if ((next & 0xC0) != 0x80) return 0;
    point = (point << 6) | (next & 0x3F);
  }
  static const uint32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
  if (point < kLeast[count] || point > 0x10FFFF || (point >= 0xD800 && point <= 0xDFFF)) return 0;
  *length = count;
  return point;
}

bool Obeyed(uint32_t point) {
  return point < 0x20 || (point >= 0x7F && point <= 0x9F) || (point >= 0x202A && point <= 0x202E) ||
         (point >= 0x2066 && point <= 0x2069);
}

std::string Hex(const char* format, uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof(text), format, static_cast<unsigned>(value));
  return text;
}

template <typename Escape>
std::string Rewrite(const std::string& text, Escape escape) {
  std::string safe;
  safe.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    size_t length = 0;
    const uint32_t point = Decode(text, i, &length);
    if (length == 0) {
      safe += escape(static_cast<unsigned char>(text[i]), true);
      ++i;
    } else {
      if (Obeyed(point)) {
        safe += escape(point, false);
      } else {
        safe.append(text, i, length);
      }
      i += length;
    }
  }
  return safe;
}

}  // namespace

std::string TerminalText::Plain(const std::string& text) {
  return Rewrite(text, [](uint32_t value, bool byte) -> std::string {
    if (!byte && value == '\t') return "\\t";
    if (!byte && value == '\n') return "\\n";
    if (!byte && value == '\r') return "\\r";
    return Hex(byte || value < 0x100 ? "\\x%02X" : "\\u%04X", value);
  });
}

std::string TerminalText::InJson(const std::string& json) {
  return Rewrite(json, [](uint32_t value, bool byte) -> std::string {
    if (!byte && value == '\n') return "\n";
    return byte ? std::string("\\uFFFD") : Hex("\\u%04X", value);
  });
}
