#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "support/testenv.h"

namespace {

using testenv::WideString;

int ToWide(const std::string& bytes, int length, WCHAR* out, int room) {
  return MultiByteToWideChar(CP_UTF8, 0, bytes.data(), length, out, room);
}

int ToNarrow(const WideString& wide, int length, char* out, int room) {
  return WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, out, room, nullptr, nullptr);
}

WideString Decode(const std::string& bytes) {
  WCHAR out[64] = {};
  const int n = ToWide(bytes, int(bytes.size()), out, 64);
  return WideString(out, size_t(n));
}

// The error that a call answering 0 leaves.
template <class Call>
DWORD ErrorOf(Call call) {
  SetLastError(0);
  EXPECT_EQ(call(), 0);
  return GetLastError();
}

std::string Encode(const WideString& wide) {
  char out[64] = {};
  const int n = ToNarrow(wide, int(wide.size()), out, 64);
  return std::string(out, size_t(n));
}

}  // namespace

TEST(TextConversion, EveryScalarValueRoundTrips) {
  WideString all;
  size_t expectedBytes = 0;
  for (char32_t c = 1; c <= 0x10FFFF; ++c) {
    if (c >= 0xD800 && c <= 0xDFFF) continue;
    if (c < 0x10000) {
      all.push_back(WCHAR(c));
    } else {
      all.push_back(WCHAR(0xD800 + ((c - 0x10000) >> 10)));
      all.push_back(WCHAR(0xDC00 + ((c - 0x10000) & 0x3FF)));
    }
    expectedBytes += c < 0x80 ? 1 : c < 0x800 ? 2 : c < 0x10000 ? 3 : 4;
  }
  const int bytes = ToNarrow(all, int(all.size()), nullptr, 0);
  ASSERT_EQ(size_t(bytes), expectedBytes);
  std::string narrow(size_t(bytes), '\0');
  ASSERT_EQ(ToNarrow(all, int(all.size()), narrow.data(), bytes), bytes);
  const int units = ToWide(narrow, bytes, nullptr, 0);
  ASSERT_EQ(size_t(units), all.size());
  WideString back(size_t(units), WCHAR(0));
  ASSERT_EQ(ToWide(narrow, bytes, back.data(), units), units);
  EXPECT_TRUE(back == all);

  // Known encodings at each length boundary.
  EXPECT_EQ(Encode(WideString{0x7F, 0x80, 0x7FF, 0x800}), "\x7F\xC2\x80\xDF\xBF\xE0\xA0\x80");
  EXPECT_EQ(Encode(WideString{0xFFFF, 0xD83D, 0xDE00}), "\xEF\xBF\xBF\xF0\x9F\x98\x80");
  EXPECT_TRUE(Decode("\xF4\x8F\xBF\xBF") == (WideString{0xDBFF, 0xDFFF}));
}

TEST(TextConversion, SizesCountTheTerminatorOnlyForMinusOne) {
  const std::string text = "h\xC3\xA9!";  // 4 bytes, 3 units
  EXPECT_EQ(ToWide(text, -1, nullptr, 0), 4);
  EXPECT_EQ(ToWide(text, int(text.size()), nullptr, 0), 3);

  WCHAR out[8];
  std::fill(out, out + 8, WCHAR(0x2A));
  EXPECT_EQ(ToWide(text, -1, out, 4), 4);
  EXPECT_EQ(out[3], WCHAR(0));
  EXPECT_EQ(out[4], WCHAR(0x2A));

  // One unit short: nothing claimed, the reason told, nothing past the room.
  std::fill(out, out + 8, WCHAR(0x2A));
  EXPECT_EQ(ErrorOf([&] { return ToWide(text, -1, out, 3); }), DWORD(ERROR_INSUFFICIENT_BUFFER));
  EXPECT_EQ(out[3], WCHAR(0x2A));

  const WideString wide{u'h', 0xE9, u'!', 0};
  EXPECT_EQ(ToNarrow(wide, -1, nullptr, 0), 5);
  char narrow[8];
  std::fill(narrow, narrow + 8, '*');
  EXPECT_EQ(ToNarrow(wide, -1, narrow, 5), 5);
  EXPECT_STREQ(narrow, text.c_str());
  std::fill(narrow, narrow + 8, '*');
  EXPECT_EQ(ErrorOf([&] { return ToNarrow(wide, -1, narrow, 4); }), DWORD(ERROR_INSUFFICIENT_BUFFER));
  EXPECT_EQ(narrow[4], '*');

  // Empty input and a null target with room are caller errors, not sizes.
  EXPECT_EQ(ErrorOf([&] { return ToWide(text, 0, out, 8); }), DWORD(ERROR_INVALID_PARAMETER));
  EXPECT_EQ(ErrorOf([&] { return ToNarrow(wide, -1, nullptr, 8); }), DWORD(ERROR_INVALID_PARAMETER));
}

TEST(TextConversion, WhatIsNotValidBecomesReplacementWithoutOverread) {
  const WCHAR bad = 0xFFFD;
  EXPECT_TRUE(Decode("a\x80z") == (WideString{u'a', bad, u'z'}));
  EXPECT_TRUE(Decode("\xC0\xAF") == (WideString{bad, bad}));          // overlong
  EXPECT_TRUE(Decode("\xED\xA0\x80").find(WCHAR(0xD800)) == WideString::npos);  // surrogate
  EXPECT_TRUE(Decode("\xF5\x80") == (WideString{bad, bad}));          // beyond U+10FFFF
  EXPECT_TRUE(Decode("\xE2\x82z") == (WideString{bad, u'z'}));        // cut short

  // The length ends the input even where the bytes after it would complete
  // the sequence: a reader that looks past it would produce U+20AC.
  WCHAR out[4] = {};
  ASSERT_EQ(ToWide("\xE2\x82\xAC", 2, out, 4), 1);
  EXPECT_EQ(out[0], bad);

  // Lone surrogates become U+FFFD too.
  const std::string replacement = "\xEF\xBF\xBD";
  EXPECT_EQ(Encode(WideString{u'a', 0xD800, u'b'}), "a" + replacement + "b");
  EXPECT_EQ(Encode(WideString{0xDC00, 0xD800}), replacement + replacement);

  // A high surrogate at the end of the counted input stays alone even when
  // its partner follows in memory.
  const WideString pair{0xD83D, 0xDE00};
  char narrow[8] = {};
  ASSERT_EQ(ToNarrow(pair, 1, narrow, 8), 3);
  EXPECT_EQ(std::string(narrow, 3), replacement);
}
