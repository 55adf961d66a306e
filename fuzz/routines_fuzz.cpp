// The payload routines on any input, checked against what they promise:
// WideToUtf8 gives well-formed UTF-8 whose decoding is the input (or "" when
// the input is not well-formed UTF-16), PercentEncode keeps only its safe
// characters and decodes back to its input, ParseUnsigned agrees with a
// plain reading of strict decimal, ParsePayload accepts what json_tokener_parse
// accepts from the payload's whole text, whatever it parsed before.
#include <json-c/json.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <cstring>
#include <vector>

#include "jsonparser.h"

namespace {

[[noreturn]] void Fail() { __builtin_trap(); }

// Decodes strict UTF-8 into UTF-16 units; false when it is not well-formed.
bool DecodeUtf8(const std::string& text, std::vector<uint16_t>& out) {
  for (size_t i = 0; i < text.size();) {
    uint8_t b = static_cast<uint8_t>(text[i]);
    uint32_t cp;
    size_t n;
    if (b < 0x80) { cp = b; n = 1; }
    else if (b >= 0xC2 && b < 0xE0) { cp = b & 0x1F; n = 2; }
    else if (b >= 0xE0 && b < 0xF0) { cp = b & 0x0F; n = 3; }
    else if (b >= 0xF0 && b < 0xF5) { cp = b & 0x07; n = 4; }
    else return false;
    if (i + n > text.size()) return false;
    for (size_t k = 1; k < n; ++k) {
      uint8_t c = static_cast<uint8_t>(text[i + k]);
      if ((c & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (c & 0x3F);
    }
    if ((n == 3 && cp < 0x800) || (n == 4 && (cp < 0x10000 || cp > 0x10FFFF)) ||
        (cp >= 0xD800 && cp < 0xE000)) {
      return false;
    }
    if (cp >= 0x10000) {
      out.push_back(static_cast<uint16_t>(0xD800 + ((cp - 0x10000) >> 10)));
      out.push_back(static_cast<uint16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF)));
    } else {
      out.push_back(static_cast<uint16_t>(cp));
    }
    i += n;
  }
  return true;
}

bool WellFormedUtf16(const std::vector<uint16_t>& units) {
  for (size_t i = 0; i < units.size(); ++i) {
    if (units[i] >= 0xD800 && units[i] < 0xDC00) {
      if (i + 1 >= units.size() || units[i + 1] < 0xDC00 || units[i + 1] >= 0xE000) return false;
      ++i;
    } else if (units[i] >= 0xDC00 && units[i] < 0xE000) {
      return false;
    }
  }
  return true;
}

void CheckWideToUtf8(const uint8_t* data, size_t size) {
  std::vector<uint16_t> units;
  for (size_t i = 0; i + 1 < size; i += 2) {
    uint16_t unit = static_cast<uint16_t>(data[i] | (data[i + 1] << 8));
    if (unit == 0) break;
    units.push_back(unit);
  }
  std::vector<WCHAR> wide(units.begin(), units.end());
  const std::string counted = WideToUtf8(wide.data(), static_cast<int>(wide.size()));
  wide.push_back(0);
  const std::string terminated = WideToUtf8(wide.data());
  if (counted != terminated) Fail();
  std::vector<uint16_t> back;
  if (!DecodeUtf8(terminated, back)) Fail();
  // Ill-formed input may come back empty or with replacements, never as bad UTF-8.
  if (WellFormedUtf16(units) && back != units) Fail();
}

int Hex(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

void CheckPercentEncode(const std::string& text) {
  const std::string encoded = PercentEncode(text.c_str());
  std::string decoded;
  for (size_t i = 0; i < encoded.size(); ++i) {
    char c = encoded[i];
    bool safe = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                std::string("~!*()'").find(c) != std::string::npos;
    if (safe) {
      decoded += c;
    } else if (c == '%' && i + 2 < encoded.size() && Hex(encoded[i + 1]) >= 0 &&
               Hex(encoded[i + 2]) >= 0) {
      decoded += static_cast<char>(Hex(encoded[i + 1]) * 16 + Hex(encoded[i + 2]));
      i += 2;
    } else {
      Fail();
    }
  }
  if (decoded != text) Fail();
}

void CheckParseUnsigned(const std::string& text) {
  const uint32_t value = ParseUnsigned(text.c_str());
  bool digits = !text.empty() && text.size() <= 9;
  for (char c : text) digits = digits && c >= '0' && c <= '9';
  // Up to nine digits always fit: the answer must be their value.
  if (digits && value != std::strtoul(text.c_str(), nullptr, 10)) Fail();
}

// The input's bytes as the units of a payload, cut at the record's end.
void CheckParsePayload(const uint8_t* data, size_t size) {
  PushRecord record;
  std::memset(&record, 0, sizeof(record));
  for (size_t i = 0; i < size && i < kPushPayloadUnits; ++i) record.payload[i] = data[i];
  json_object* kept = ParsePayload(record);
  json_object* whole = json_tokener_parse(PayloadToUtf8(record).c_str());
  if ((kept == nullptr) != (whole == nullptr)) Fail();
  if (kept != nullptr && std::strcmp(json_object_to_json_string(kept), json_object_to_json_string(whole)) != 0) {
    Fail();
  }
  json_object_put(kept);
  json_object_put(whole);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  CheckWideToUtf8(data, size);
  CheckParsePayload(data, size);
  const std::string text(reinterpret_cast<const char*>(data), size);
  const std::string cText = text.substr(0, text.find('\0'));
  CheckPercentEncode(cText);
  CheckParseUnsigned(cText);
  return 0;
}
