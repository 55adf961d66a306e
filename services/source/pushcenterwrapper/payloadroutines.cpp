// The routines that the push intake and every decoder share: text conversion
// of payloads, the encoding of application-defined values, strict number
// parsing, and json-c's conventions.
#include <json-c/json.h>

#include <cstring>
#include <memory>

#include "payloadroutines.h"

std::string WideToUtf8(const WCHAR* text, int length) {
  if (text == nullptr || length == 0) return std::string();
  int size = WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
  if (size <= 0) return std::string();
  std::unique_ptr<char[]> buffer(new char[size + 1]());
  int written = WideCharToMultiByte(CP_UTF8, 0, text, length, buffer.get(), size, nullptr, nullptr);
  if (written <= 0) return std::string();
  // With length -1 the count includes the terminator.
  if (length < 0) --written;
  return std::string(buffer.get(), written);
}

std::string PayloadToUtf8(const PushRecord& record) {
  // The payload is read only inside the record: a text without a terminator
  // ends with the record's last unit.
  WCHAR units[kPushPayloadUnits];
  std::memcpy(units, record.payload, sizeof(units));
  int length = 0;
  while (length < static_cast<int>(kPushPayloadUnits) && units[length] != 0) ++length;
  return WideToUtf8(units, length);
}

std::string PercentEncode(const char* text) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string encoded;
  if (text == nullptr) return encoded;
  for (const unsigned char* at = reinterpret_cast<const unsigned char*>(text); *at != 0; ++at) {
    unsigned char c = *at;
    bool kept = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                std::strchr("~!*()'", c) != nullptr;
    if (kept) {
      encoded += static_cast<char>(c);
    } else {
      encoded += '%';
      encoded += kHex[c >> 4];
      encoded += kHex[c & 0x0F];
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
  json_object* root = json_tokener_parse(PayloadToUtf8(record).c_str());
  return IsJsonUsable(root) ? root : nullptr;
}

json_object* JsonMember(json_object* root, const char* key) {
  if (!IsJsonUsable(root)) return nullptr;
  json_object* member = json_object_object_get(root, key);
  return IsJsonUsable(member) ? member : nullptr;
}
