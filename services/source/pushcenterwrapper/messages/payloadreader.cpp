#include "messages/payloadreader.h"

#include <json-c/json.h>

#include "payloadroutines.h"

PayloadReader::PayloadReader(const PushRecord& record) : root_(ParsePayload(record)) {}

PayloadReader::~PayloadReader() {
  if (root_ != nullptr) json_object_put(root_);
}

bool PayloadReader::Int(const char* key, int32_t& out) const {
  json_object* member = JsonMember(root_, key);
  if (member == nullptr) return false;
  out = json_object_get_int(member);
  return true;
}

bool PayloadReader::Unsigned(const char* key, uint32_t& out) const {
  json_object* member = JsonMember(root_, key);
  if (member == nullptr) return false;
  // 64 bits wide on every build, so that neither a 32-bit long nor a 32-bit
  // int cuts the upper half of the range.
  const int64_t value = json_object_get_int64(member);
  out = value < 0 ? 0u : value > int64_t{0xFFFFFFFF} ? 0xFFFFFFFFu : static_cast<uint32_t>(value);
  return true;
}

const char* PayloadReader::TextOf(const char* key) const {
  json_object* member = JsonMember(root_, key);
  if (member == nullptr) return nullptr;
  // json-c gives a text form for any member it returned; guard anyway.
  const char* text = json_object_get_string(member);
  return text != nullptr ? text : "";
}

bool PayloadReader::Text(const char* key, std::string& out) const {
  const char* text = TextOf(key);
  if (text == nullptr) return false;
  out.assign(text);
  return true;
}

bool PayloadReader::Encoded(const char* key, std::string& out) const {
  const char* text = TextOf(key);
  if (text == nullptr) return false;
  out = PercentEncode(text);
  return true;
}
