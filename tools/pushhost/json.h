// Owned json-c values and the few operations pushhost needs on them: parsing
// one line with a readable error, compact text, and the subset match that
// expectations use.
#pragma once

#include <json-c/json.h>

#include <cstdint>
#include <memory>
#include <string>

struct JsonPut {
  void operator()(json_object* object) const { json_object_put(object); }
};
// One reference to a json-c value; dropping it releases that reference.
using JsonPtr = std::unique_ptr<json_object, JsonPut>;

// Parses a whole text as one JSON value. On failure returns null and says why
// in *error; trailing text after the value is a failure too.
JsonPtr ParseJson(const std::string& text, std::string* error);

// Compact JSON text of a value ("null" for null).
std::string JsonText(const json_object* value);

JsonPtr JsonObject();
JsonPtr JsonArray();
JsonPtr JsonUint(uint32_t value);
JsonPtr JsonInt(int64_t value);
JsonPtr JsonBool(bool value);
JsonPtr JsonString(const std::string& value);

// Moves a value into an object or an array; a null value becomes JSON null.
void JsonSet(json_object* object, const char* key, JsonPtr value);
void JsonAppend(json_object* array, JsonPtr value);

// A new reference to a value that someone else owns.
JsonPtr JsonShare(json_object* value);

// True when actual holds everything that expected holds: objects match when
// every key of expected is present in actual with a matching value (actual may
// have more keys); arrays match element by element and must have the same
// length; numbers compare by value; everything else compares equal. On a
// mismatch *where names the first path that differed ("groups[0].appId").
bool JsonMatches(const json_object* expected, const json_object* actual, std::string* where);
