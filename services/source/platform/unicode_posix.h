// UTF-8 <-> UTF-16 transcoding shared by the POSIX side of the Windows subset.
// Not part of win32.h: library code reaches these only through
// MultiByteToWideChar and WideCharToMultiByte.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace win32posix {

// Outcome of one transcoding pass. `units` counts what the whole input needs,
// even when the room was too small; nothing is written beyond the room.
struct Transcoded {
  size_t units = 0;
  bool invalid = false;   // some input was replaced by U+FFFD
  bool overflow = false;  // the room was smaller than `units`
};

// Decodes UTF-8; each maximal invalid subsequence becomes one U+FFFD.
// A null target (or room 0) only counts.
Transcoded Utf8ToUtf16(const unsigned char* source, size_t length, char16_t* target, size_t room);

// Encodes UTF-16; a lone surrogate becomes U+FFFD.
Transcoded Utf16ToUtf8(const char16_t* source, size_t length, char* target, size_t room);

// Null-terminated helpers for the path and environment calls.
std::u16string ToUtf16(const std::string& text);
std::string ToUtf8(const char16_t* text);

}  // namespace win32posix
