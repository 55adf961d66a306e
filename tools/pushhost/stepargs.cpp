#include "stepargs.h"

#include <limits>
#include <utility>

StepArgs::StepArgs(json_object* object, std::string context)
    : object_(object), context_(std::move(context)) {}

bool StepArgs::Has(const char* key) {
  used_.insert(key);
  return json_object_object_get_ex(object_, key, nullptr);
}

json_object* StepArgs::Any(const char* key) {
  used_.insert(key);
  json_object* value = nullptr;
  json_object_object_get_ex(object_, key, &value);
  return value;
}

json_object* StepArgs::Required(const char* key) {
  used_.insert(key);
  json_object* value = nullptr;
  if (!json_object_object_get_ex(object_, key, &value)) {
    throw InputError(context_ + ": missing argument \"" + key + "\"");
  }
  return value;
}

void StepArgs::Mistyped(const char* key, const char* wanted, json_object* value) const {
  // The parser keeps an integer beyond 64 bits as the nearest 64-bit one; that
  // number was never written, so it is not quoted back.
  bool clipped = json_object_is_type(value, json_type_int) &&
                 (json_object_get_uint64(value) == std::numeric_limits<uint64_t>::max() ||
                  json_object_get_int64(value) == std::numeric_limits<int64_t>::max() ||
                  json_object_get_int64(value) == std::numeric_limits<int64_t>::min());
  throw InputError(context_ + ": argument \"" + key + "\" must be " + wanted + ", got " +
                   (clipped ? std::string("a number beyond 64 bits") : JsonText(value)));
}

uint32_t StepArgs::Uint(const char* key) {
  json_object* value = Required(key);
  if (!json_object_is_type(value, json_type_int)) Mistyped(key, "an unsigned 32-bit number", value);
  int64_t number = json_object_get_int64(value);
  if (number < 0 || number > std::numeric_limits<uint32_t>::max()) {
    Mistyped(key, "an unsigned 32-bit number", value);
  }
  return static_cast<uint32_t>(number);
}

uint32_t StepArgs::Uint(const char* key, uint32_t fallback) {
  return Has(key) ? Uint(key) : fallback;
}

int32_t StepArgs::Int(const char* key) {
  json_object* value = Required(key);
  if (!json_object_is_type(value, json_type_int)) Mistyped(key, "a signed 32-bit number", value);
  int64_t number = json_object_get_int64(value);
  if (number < std::numeric_limits<int32_t>::min() || number > std::numeric_limits<int32_t>::max()) {
    Mistyped(key, "a signed 32-bit number", value);
  }
  return static_cast<int32_t>(number);
}

int32_t StepArgs::Int(const char* key, int32_t fallback) { return Has(key) ? Int(key) : fallback; }

bool StepArgs::Bool(const char* key) {
  json_object* value = Required(key);
  if (!json_object_is_type(value, json_type_boolean)) Mistyped(key, "true or false", value);
  return json_object_get_boolean(value) != 0;
}

bool StepArgs::Bool(const char* key, bool fallback) { return Has(key) ? Bool(key) : fallback; }

std::string StepArgs::String(const char* key) {
  json_object* value = Required(key);
  if (!json_object_is_type(value, json_type_string)) Mistyped(key, "a string", value);
  return std::string(json_object_get_string(value), json_object_get_string_len(value));
}

std::string StepArgs::String(const char* key, const std::string& fallback) {
  return Has(key) ? String(key) : fallback;
}

json_object* StepArgs::Member(const char* key, json_type type) {
  json_object* value = Required(key);
  if (!json_object_is_type(value, type)) {
    Mistyped(key, type == json_type_array ? "an array" : type == json_type_object ? "an object"
                                                                                   : "of another type",
             value);
  }
  return value;
}

void StepArgs::CheckAllUsed() const {
  json_object_object_foreach(object_, key, value) {
    (void)value;
    if (used_.count(key) == 0) {
      throw InputError(context_ + ": unknown argument \"" + std::string(key) + "\"");
    }
  }
}
