#include "hostkit/widetext.h"

namespace hostkit {

WideString ToWide(const std::string& text) {
  if (text.empty()) return WideString();
  int units = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  if (units <= 0) return WideString();
  WideString wide(static_cast<size_t>(units), WCHAR(0));
  MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &wide[0], units);
  return wide;
}

std::string ToUtf8(const WCHAR* text, size_t maxUnits) {
  size_t length = 0;
  while (length < maxUnits && text[length] != 0) ++length;
  if (length == 0) return std::string();
  int bytes = WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), nullptr, 0, nullptr,
                                  nullptr);
  if (bytes <= 0) return std::string();
  std::string narrow(static_cast<size_t>(bytes), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), &narrow[0], bytes, nullptr,
                      nullptr);
  return narrow;
}

}  // namespace hostkit
