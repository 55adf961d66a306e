// A record's payload, parsed once for the decoder of its kind. Every read
// leaves its target as it was when the key is absent, so a message keeps its
// defaults for what the service did not send.
#pragma once

#include <cstdint>
#include <string>
#include <utility>

#include "halyx/pushcenter.h"

struct json_object;

class PayloadReader {
 public:
  // Parses the payload; Parsed() tells whether it was usable JSON.
  explicit PayloadReader(const PushRecord& record);
  // Releases the parsed payload: nothing read from it may outlive the reader.
  ~PayloadReader();
  PayloadReader(const PayloadReader&) = delete;
  PayloadReader& operator=(const PayloadReader&) = delete;

  bool Parsed() const { return root_ != nullptr; }
  // json-c's integer reading of the member (text is parsed, junk gives 0).
  bool Int(const char* key, int32_t& out) const;
  // The member as a 32-bit unsigned number, the same on every build: a number
  // or the leading digits of a text, negative values as 0 and values beyond
  // the range as its largest.
  bool Unsigned(const char* key, uint32_t& out) const;
  // json-c's text form of the member: a number comes as its digits. A text
  // ends at its first NUL.
  bool Text(const char* key, std::string& out) const;
  // The text form, percent-encoded.
  bool Encoded(const char* key, std::string& out) const;

  // (target.*set)(value) when the key is present; Encoded percent-encodes
  // the text first. A text is moved into the setter, which takes it by value.
  template <class Target, class Setter>
  void Int(const char* key, Target& target, Setter set) const {
    int32_t value = 0;
    if (Int(key, value)) (target.*set)(value);
  }
  template <class Target, class Setter>
  void Unsigned(const char* key, Target& target, Setter set) const {
    uint32_t value = 0;
    if (Unsigned(key, value)) (target.*set)(value);
  }
  template <class Target, class Setter>
  void Text(const char* key, Target& target, Setter set) const {
    std::string value;
    if (Text(key, value)) (target.*set)(std::move(value));
  }
  template <class Target, class Setter>
  void Encoded(const char* key, Target& target, Setter set) const {
    std::string value;
    if (Encoded(key, value)) (target.*set)(std::move(value));
  }

 private:
  // json-c's text form of the member, or null when it is absent.
  const char* TextOf(const char* key) const;

  json_object* root_;
};
