// The routines that the push intake and every decoder share: text conversion
// of payloads, the encoding of application-defined values, strict number
// parsing, and json-c's conventions.
#include <json-c/json.h>

#include <cstring>
#include <memory>

#include "payloadroutines.h"

namespace {

// UTF-8 takes at most 3 bytes for each UTF-16 unit: a unit of the basic plane
// becomes 1 to 3 bytes, a surrogate pair 4 bytes for its 2 units, and a lone
// surrogate the 3 bytes of the replacement character.
const int kUtf8PerUnit = 3;

// Converts length units (no terminator among them) into target, which has room
// for kUtf8PerUnit bytes a unit; the bytes written, 0 when the conversion
// fails. One call: the room is known without a size query.
int ConvertUnits(const WCHAR* text, int length, char* target) {
  if (length <= 0) return 0;
  const int written =
      WideCharToMultiByte(CP_UTF8, 0, text, length, target, length * kUtf8PerUnit, nullptr, nullptr);
  return written > 0 ? written : 0;
}

// The units of the record's payload before its terminator, or all of them
// when it has none: nothing past the record's last unit is read.
int PayloadLength(const PushRecord& record) {
  const int units = static_cast<int>(kPushPayloadUnits);
  int length = 0;
  // Four units a step while four are left: a word with a zero unit is one in
  // which subtracting 1 from every unit borrows into a unit's top bit that was
  // clear. The unit-by-unit loop then finds where in that word it is.
  for (; length + 4 <= units; length += 4) {
    uint64_t word;
    std::memcpy(&word, record.payload + length, sizeof(word));
    if (((word - 0x0001000100010001u) & ~word & 0x8000800080008000u) != 0) break;
  }
  while (length < units && record.payload[length] != 0) ++length;
  return length;
}

// Room for any record's payload in UTF-8.
const size_t kPayloadUtf8Bytes = kPushPayloadUnits * kUtf8PerUnit;

// Converts the record's payload, read in place, into target (room for
// kPayloadUtf8Bytes); the bytes written.
int ConvertPayload(const PushRecord& record, char* target) {
  return ConvertUnits(reinterpret_cast<const WCHAR*>(record.payload), PayloadLength(record), target);
}

}  // namespace

std::string WideToUtf8(const WCHAR* text, int length) {
  if (text == nullptr || length == 0) return std::string();
  if (length < 0) {
    length = 0;
    while (text[length] != 0) ++length;
  }
  std::string converted(static_cast<size_t>(length) * kUtf8PerUnit, '\0');
  converted.resize(static_cast<size_t>(ConvertUnits(text, length, &converted[0])));
  return converted;
}

std::string PayloadToUtf8(const PushRecord& record) {
  char text[kPayloadUtf8Bytes];
  return std::string(text, static_cast<size_t>(ConvertPayload(record, text)));
}

namespace {

// ASCII letters, digits and ~!*()' stand for themselves in an encoded text.
bool KeptAsIs(unsigned char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '~' ||
         c == '!' || c == '*' || c == '(' || c == ')' || c == '\'';
}

}  // namespace

std::string PercentEncode(const char* text) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string encoded;
  if (text == nullptr) return encoded;
  const unsigned char* const begin = reinterpret_cast<const unsigned char*>(text);
  // Sized once: every byte not kept as it is takes three.
  size_t size = 0;
  for (const unsigned char* at = begin; *at != 0; ++at) size += KeptAsIs(*at) ? 1 : 3;
  encoded.resize(size);
  char* out = &encoded[0];
  for (const unsigned char* at = begin; *at != 0; ++at) {
    const unsigned char c = *at;
    if (KeptAsIs(c)) {
      *out++ = static_cast<char>(c);
    } else {
      *out++ = '%';
      *out++ = kHex[c >> 4];
      *out++ = kHex[c & 0x0F];
    }
  }
  return encoded;
}

namespace {

bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

uint32_t ParseUnsigned(const char* text) {
  if (text == nullptr || *text == 0) return 0;
  const char* at = text;
  while (IsSpace(*at)) ++at;
  if (*at == '+') ++at;
  uint32_t value = 0;
  bool valid = true;
  if (at[0] == '0' && (at[1] == 'x' || at[1] == 'X')) {
    at += 2;
    for (int digit; (digit = HexDigit(*at)) >= 0; ++at) {
      if (value >= 0x10000000u) valid = false;
      uint32_t next = value * 16 + static_cast<uint32_t>(digit);
      if (next < value) valid = false;
      value = next;
    }
  } else {
    for (; *at >= '0' && *at <= '9'; ++at) {
      if (value > 0x19999999u) valid = false;
      uint32_t next = value * 10 + static_cast<uint32_t>(*at - '0');
      if (next < value) valid = false;
      value = next;
    }
  }
  while (IsSpace(*at)) ++at;
  return valid && *at == 0 ? value : 0;
}

bool IsJsonUsable(const void* result) {
  // json-c signals errors with small negative numbers cast to pointers.
  return result != nullptr &&
         reinterpret_cast<uintptr_t>(result) <= static_cast<uintptr_t>(static_cast<intptr_t>(-4000));
}

json_object* ParsePayload(const PushRecord& record) {
  // One tokener serves every payload: its callers hold the library's lock,
  // which takes them one at a time. It goes when the library is unloaded.
  static std::unique_ptr<json_tokener, void (*)(json_tokener*)> tokener(nullptr, json_tokener_free);
  if (tokener == nullptr) tokener.reset(json_tokener_new());
  if (tokener == nullptr) return nullptr;
  json_tokener_reset(tokener.get());
  char text[kPayloadUtf8Bytes + 1];
  const int length = ConvertPayload(record, text);
  text[length] = '\0';
  // The terminator is part of the input, so that a text ends where a
  // terminated one would: a number or a literal at its end is complete, a
  // text cut short is refused rather than left waiting for more.
  json_object* root = json_tokener_parse_ex(tokener.get(), text, length + 1);
  if (json_tokener_get_error(tokener.get()) != json_tokener_success) {
    if (root != nullptr) json_object_put(root);
    return nullptr;
  }
  return IsJsonUsable(root) ? root : nullptr;
}

json_object* JsonMember(json_object* root, const char* key) {
  if (!IsJsonUsable(root)) return nullptr;
  json_object* member = json_object_object_get(root, key);
  return IsJsonUsable(member) ? member : nullptr;
}
