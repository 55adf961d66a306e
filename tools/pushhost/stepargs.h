// Typed, checked access to the members of one scenario step.
//
// Every getter records the key it was asked for, so that after a step has
// taken what it needs, CheckAllUsed can refuse keys nobody asked for: a
// misspelt argument is an error, never silently ignored.
#pragma once

#include <cstdint>
#include <set>
#include <stdexcept>
#include <string>

#include "json.h"

// A scenario line that cannot run as written. The runner prefixes the file
// name and line number; the message says what is wrong in the step's terms.
class InputError : public std::runtime_error {
 public:
  explicit InputError(const std::string& message) : std::runtime_error(message) {}
};

class StepArgs {
 public:
  // object is borrowed and must outlive this; context names the step or the
  // export in messages ("export PushGetDynamicMsg").
  StepArgs(json_object* object, std::string context);

  bool Has(const char* key);
  uint32_t Uint(const char* key);
  uint32_t Uint(const char* key, uint32_t fallback);
  int32_t Int(const char* key);
  int32_t Int(const char* key, int32_t fallback);
  bool Bool(const char* key);
  bool Bool(const char* key, bool fallback);
  std::string String(const char* key);
  std::string String(const char* key, const std::string& fallback);
  // The member itself (borrowed), required to be of the given type.
  json_object* Member(const char* key, json_type type);
  // The member whatever its type, or null when absent.
  json_object* Any(const char* key);

  // Marks keys that a caller handled itself, such as "do" or "expect".
  void Accept(const char* key) { used_.insert(key); }
  void CheckAllUsed() const;
  const std::string& Context() const { return context_; }

 private:
  json_object* Required(const char* key);
  [[noreturn]] void Mistyped(const char* key, const char* wanted, json_object* value) const;

  json_object* object_;
  std::string context_;
  std::set<std::string> used_;
};
