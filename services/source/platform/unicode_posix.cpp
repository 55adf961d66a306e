#include "platform/unicode_posix.h"

namespace win32posix {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// Reads one code point at source[0]. Returns how many bytes it takes; an
// invalid sequence yields kReplacement and consumes only its maximal prefix
// that could still have begun a valid sequence (at least one byte).
size_t DecodeOne(const unsigned char* source, size_t left, char32_t* codePoint, bool* invalid) {
  const unsigned char lead = source[0];
  *invalid = false;
  if (lead < 0x80) {
    *codePoint = lead;
    return 1;
  }
  size_t trail = 0;
  unsigned char low = 0x80, high = 0xBF;  // allowed range of the second byte
  char32_t value = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    trail = 1;
    value = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    trail = 2;
    value = lead & 0x0F;
    if (lead == 0xE0) low = 0xA0;        // overlong
    if (lead == 0xED) high = 0x9F;       // surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    trail = 3;
    value = lead & 0x07;
    if (lead == 0xF0) low = 0x90;        // overlong
    if (lead == 0xF4) high = 0x8F;       // beyond U+10FFFF
  } else {
    *invalid = true;
    *codePoint = kReplacement;
    return 1;
  }
  size_t used = 1;
  for (size_t i = 0; i < trail; ++i, ++used) {
    if (used >= left) break;
    const unsigned char next = source[used];
    const bool fits = i == 0 ? (next >= low && next <= high) : IsContinuation(next);
    if (!fits) break;
    value = (value << 6) | (next & 0x3F);
  }
  if (used != trail + 1) {
    *invalid = true;
    *codePoint = kReplacement;
    return used;
  }
  *codePoint = value;
  return used;
}

// Counts every unit, writes only while the room lasts.
template <typename Unit>
struct Sink {
  Unit* target;
  size_t room;
  Transcoded result;

  void Put(Unit unit) {
    if (target != nullptr && result.units < room) {
      target[result.units] = unit;
    } else if (target != nullptr) {
      result.overflow = true;
    }
    ++result.units;
  }
};

}  // namespace

Transcoded Utf8ToUtf16(const unsigned char* source, size_t length, char16_t* target, size_t room) {
  Sink<char16_t> sink{room == 0 ? nullptr : target, room, {}};
  size_t at = 0;
  while (at < length) {
    // Paths and keys are mostly ASCII: a run of it is copied unit by unit
    // while the room lasts, or only counted without a target.
    if (source[at] < 0x80) {
      size_t& units = sink.result.units;
      if (sink.target == nullptr) {
        do {
          ++units;
          ++at;
        } while (at < length && source[at] < 0x80);
        continue;
      }
      while (at < length && source[at] < 0x80 && units < room) {
        sink.target[units++] = static_cast<char16_t>(source[at++]);
      }
      if (at < length && source[at] < 0x80) {
        sink.Put(static_cast<char16_t>(source[at++]));  // beyond the room
      }
      continue;
    }
    char32_t codePoint = 0;
    bool invalid = false;
    at += DecodeOne(source + at, length - at, &codePoint, &invalid);
    sink.result.invalid |= invalid;
    if (codePoint >= 0x10000) {
      codePoint -= 0x10000;
      sink.Put(static_cast<char16_t>(0xD800 + (codePoint >> 10)));
      sink.Put(static_cast<char16_t>(0xDC00 + (codePoint & 0x3FF)));
    } else {
      sink.Put(static_cast<char16_t>(codePoint));
    }
  }
  return sink.result;
}

Transcoded Utf16ToUtf8(const char16_t* source, size_t length, char* target, size_t room) {
  Sink<char> sink{room == 0 ? nullptr : target, room, {}};
  for (size_t at = 0; at < length; ++at) {
    char32_t codePoint = source[at];
    if (codePoint >= 0xD800 && codePoint <= 0xDBFF && at + 1 < length &&
        source[at + 1] >= 0xDC00 && source[at + 1] <= 0xDFFF) {
      codePoint = 0x10000 + ((codePoint - 0xD800) << 10) + (source[at + 1] - 0xDC00);
      ++at;
    } else if (codePoint >= 0xD800 && codePoint <= 0xDFFF) {
      codePoint = kReplacement;
      sink.result.invalid = true;
    }
    if (codePoint < 0x80) {
      sink.Put(static_cast<char>(codePoint));
    } else if (codePoint < 0x800) {
      sink.Put(static_cast<char>(0xC0 | (codePoint >> 6)));
      sink.Put(static_cast<char>(0x80 | (codePoint & 0x3F)));
    } else if (codePoint < 0x10000) {
      sink.Put(static_cast<char>(0xE0 | (codePoint >> 12)));
      sink.Put(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
      sink.Put(static_cast<char>(0x80 | (codePoint & 0x3F)));
    } else {
      sink.Put(static_cast<char>(0xF0 | (codePoint >> 18)));
      sink.Put(static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F)));
      sink.Put(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
      sink.Put(static_cast<char>(0x80 | (codePoint & 0x3F)));
    }
  }
  return sink.result;
}

std::u16string ToUtf16(const std::string& text) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
  std::u16string wide(Utf8ToUtf16(bytes, text.size(), nullptr, 0).units, u'\0');
  Utf8ToUtf16(bytes, text.size(), wide.data(), wide.size());
  return wide;
}

std::string ToUtf8(const char16_t* text) {
  if (text == nullptr) return {};
  const std::u16string_view view(text);
  std::string narrow(Utf16ToUtf8(view.data(), view.size(), nullptr, 0).units, '\0');
  Utf16ToUtf8(view.data(), view.size(), narrow.data(), narrow.size());
  return narrow;
}

}  // namespace win32posix
