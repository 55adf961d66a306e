#include "json.h"

#include <cmath>

#include "terminaltext.h"

JsonPtr ParseJson(const std::string& text, std::string* error) {
  std::unique_ptr<json_tokener, void (*)(json_tokener*)> tokener(json_tokener_new(),
                                                                 json_tokener_free);
  if (!tokener) {
    *error = "out of memory";
    return nullptr;
  }
  JsonPtr value(json_tokener_parse_ex(tokener.get(), text.c_str(),
                                      static_cast<int>(text.size())));
  json_tokener_error status = json_tokener_get_error(tokener.get());
  if (status == json_tokener_continue) {
    *error = "the JSON text ends too early";
    return nullptr;
  }
  size_t used = json_tokener_get_parse_end(tokener.get());
  // Columns count bytes from 1, as editors that show them for UTF-8 do.
  if (status != json_tokener_success) {
    *error = std::string(json_tokener_error_desc(status)) + " at column " + std::to_string(used + 1);
    return nullptr;
  }
  for (size_t i = used; i < text.size(); ++i) {
    char c = text[i];
    if (c != ' ' && c != '\t' && c != '\r' && c != '\n') {
      *error = "unexpected text after the JSON value at column " + std::to_string(i + 1);
      return nullptr;
    }
  }
  return value;
}

std::string JsonText(const json_object* value) {
  if (!value) return "null";
  // Printed, never parsed again: pushed texts in it must not reach a terminal raw.
  return TerminalText::InJson(json_object_to_json_string_ext(
      const_cast<json_object*>(value), JSON_C_TO_STRING_PLAIN | JSON_C_TO_STRING_NOSLASHESCAPE));
}

JsonPtr JsonObject() { return JsonPtr(json_object_new_object()); }
JsonPtr JsonArray() { return JsonPtr(json_object_new_array()); }
JsonPtr JsonUint(uint32_t value) { return JsonPtr(json_object_new_int64(value)); }
JsonPtr JsonInt(int64_t value) { return JsonPtr(json_object_new_int64(value)); }
JsonPtr JsonBool(bool value) { return JsonPtr(json_object_new_boolean(value ? 1 : 0)); }
JsonPtr JsonString(const std::string& value) {
  return JsonPtr(json_object_new_string_len(value.data(), static_cast<int>(value.size())));
}

void JsonSet(json_object* object, const char* key, JsonPtr value) {
  json_object_object_add(object, key, value.release());
}

void JsonAppend(json_object* array, JsonPtr value) {
  json_object_array_add(array, value.release());
}

JsonPtr JsonShare(json_object* value) { return JsonPtr(json_object_get(value)); }

namespace {

bool IsNumber(const json_object* value) {
  return json_object_is_type(value, json_type_int) || json_object_is_type(value, json_type_double);
}

bool NumbersEqual(const json_object* a, const json_object* b) {
  json_object* x = const_cast<json_object*>(a);
  json_object* y = const_cast<json_object*>(b);
  if (json_object_is_type(x, json_type_int) && json_object_is_type(y, json_type_int)) {
    // int64 alone cannot tell 2^64-1 from -1; both come out of json-c as int.
    return json_object_get_int64(x) == json_object_get_int64(y) &&
           json_object_get_uint64(x) == json_object_get_uint64(y);
  }
  return std::fabs(json_object_get_double(x) - json_object_get_double(y)) < 1e-9;
}

}  // namespace

bool JsonMatches(const json_object* expected, const json_object* actual, std::string* where) {
  json_object* e = const_cast<json_object*>(expected);
  json_object* a = const_cast<json_object*>(actual);
  if (!e || !a) return e == a;
  if (IsNumber(e) && IsNumber(a)) return NumbersEqual(e, a);
  json_type type = json_object_get_type(e);
  if (type != json_object_get_type(a)) return false;
  switch (type) {
    case json_type_object: {
      json_object_object_foreach(e, key, expectedMember) {
        json_object* actualMember = nullptr;
        std::string path = where->empty() ? key : *where + "." + key;
        if (!json_object_object_get_ex(a, key, &actualMember)) {
          *where = path + " (missing)";
          return false;
        }
        std::string inner = path;
        if (!JsonMatches(expectedMember, actualMember, &inner)) {
          *where = inner;
          return false;
        }
      }
      return true;
    }
    case json_type_array: {
      size_t count = json_object_array_length(e);
      if (count != json_object_array_length(a)) {
        *where += " (length " + std::to_string(json_object_array_length(a)) + ", expected " +
                  std::to_string(count) + ")";
        return false;
      }
      for (size_t i = 0; i < count; ++i) {
        std::string inner = *where + "[" + std::to_string(i) + "]";
        if (!JsonMatches(json_object_array_get_idx(e, i), json_object_array_get_idx(a, i),
                         &inner)) {
          *where = inner;
          return false;
        }
      }
      return true;
    }
    case json_type_string:
      return std::string(json_object_get_string(e), json_object_get_string_len(e)) ==
             std::string(json_object_get_string(a), json_object_get_string_len(a));
    case json_type_boolean:
      return json_object_get_boolean(e) == json_object_get_boolean(a);
    default:
      return true;  // null against null
  }
}
