#include "support/testenv.h"

#include "hostkit/hostos.h"

namespace testenv {

std::string BinFolder() {
  WCHAR value[MAX_PATH * 4] = {};
  const DWORD length = GetEnvironmentVariableW(W32_TEXT("HalyxBinPath"), value, MAX_PATH * 4);
  std::string folder = length < MAX_PATH * 4 ? Narrow(value) : std::string();
  while (!folder.empty() && (folder.back() == '/' || folder.back() == '\\')) folder.pop_back();
  return folder;
}

void SetVariable(const std::string& name, const char* value) {
  if (value != nullptr) hostos::SetEnv(name.c_str(), value);
  if (value == nullptr) hostos::UnsetEnv(name.c_str());
}

WideString ModulePath(const std::string& fileName) { return Wide(Join(BinFolder(), fileName)); }

std::string DocumentsFolder() {
  WCHAR path[MAX_PATH] = {};
  if (!SHGetSpecialFolderPathW(nullptr, path, CSIDL_PERSONAL, TRUE)) return {};
  return Narrow(path);
}

}  // namespace testenv
