// The routines that the push intake, every decoder and the share storage
// share: text conversion of payloads, the encoding of application-defined
// values, strict number parsing, and json-c's conventions.
#pragma once

#include <cstdint>
#include <string>

#include "halyx/pushcenter.h"
#include "platform/win32.h"

struct json_object;

// UTF-16 to UTF-8; null gives "", and so does a conversion that fails. A
// length of -1 reads up to the terminator.
std::string WideToUtf8(const WCHAR* text, int length = -1);
// The payload of a record as UTF-8, read up to its terminator or to the end of
// the record when it has none.
std::string PayloadToUtf8(const PushRecord& record);
// Keeps ASCII letters, digits and ~!*()' and writes every other byte as %XX.
std::string PercentEncode(const char* text);
// Strict unsigned decimal or 0x-hexadecimal; 0 for anything it rejects.
uint32_t ParseUnsigned(const char* text);

// The JSON access rule: json-c returns null or an error pointer (a value above
// that of -4000, taken as unsigned) for what it cannot give.
bool IsJsonUsable(const void* result);
// Parses a record's payload; null when it is not usable JSON. The caller
// releases a non-null result with json_object_put.
json_object* ParsePayload(const PushRecord& record);
// The member, or null when it is absent.
json_object* JsonMember(json_object* root, const char* key);
