#include "support/testenv.h"

namespace testenv {

WideString Wide(const std::string& utf8) {
  if (utf8.empty()) return {};
  const int size = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), nullptr, 0);
  WideString wide(size_t(size), WCHAR(0));
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), wide.data(), size);
  return wide;
}

std::string Narrow(const WideString& wide) {
  if (wide.empty()) return {};
  const int size = WideCharToMultiByte(CP_UTF8, 0, wide.data(), int(wide.size()), nullptr, 0,
                                       nullptr, nullptr);
  std::string narrow(size_t(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), int(wide.size()), narrow.data(), size, nullptr,
                      nullptr);
  return narrow;
}

std::string BinFolder() {
  WCHAR value[MAX_PATH * 4] = {};
  const DWORD length = GetEnvironmentVariableW(W32_TEXT("HalyxBinPath"), value, MAX_PATH * 4);
  std::string folder = length < MAX_PATH * 4 ? Narrow(value) : std::string();
  while (!folder.empty() && (folder.back() == '/' || folder.back() == '\\')) folder.pop_back();
  return folder;
}

WideString ModulePath(const std::string& fileName) { return Wide(Join(BinFolder(), fileName)); }

std::string DocumentsFolder() {
  WCHAR path[MAX_PATH] = {};
  if (!SHGetSpecialFolderPathW(nullptr, path, CSIDL_PERSONAL, TRUE)) return {};
  return Narrow(path);
}

}  // namespace testenv
