#include "messages/payloadreader.h"

#include <json-c/json.h>

#include "jsonparser.h"

PayloadReader::PayloadReader(const PushRecord& record) : root(ParsePayload(record)) {}

PayloadReader::~PayloadReader() {
  if (root != nullptr) json_object_put(root);
}

bool PayloadReader::Int(const char* key, int32_t& out) const {
  json_object* member = JsonMember(root, key);
  if (member == nullptr) return false;
  out = json_object_get_int(member);
  return true;
}

bool PayloadReader::Text(const char* key, std::string& out) const {
  json_object* member = JsonMember(root, key);
  if (member == nullptr) return false;
  // json-c gives a text form for any member it returned; guard anyway.
  const char* text = json_object_get_string(member);
  out = text != nullptr ? text : "";
  return true;
}

std::string PayloadReader::EncodedText(const std::string& text) { return PercentEncode(text.c_str()); }
