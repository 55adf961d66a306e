// UTF-8 <-> UTF-16 through the Windows subset, for paths handed to the system,
// payloads handed to the push center and texts that come back.
#pragma once

#include <string>

#include "platform/win32.h"

namespace hostkit {

using WideString = std::basic_string<WCHAR>;

// Invalid UTF-8 becomes U+FFFD; empty on an empty input.
WideString ToWide(const std::string& text);
// Stops at the first zero unit or after maxUnits units.
std::string ToUtf8(const WCHAR* text, size_t maxUnits);

}  // namespace hostkit
