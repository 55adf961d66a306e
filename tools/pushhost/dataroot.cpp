#include "dataroot.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "platform/win32.h"
#include "widetext.h"

std::string DataRoot() {
  WCHAR documents[MAX_PATH] = {};
  if (!SHGetSpecialFolderPathW(nullptr, documents, CSIDL_PERSONAL, FALSE)) return "";
  std::string folder = ToUtf8(documents, MAX_PATH);
  if (folder.empty()) return "";
  return folder + "\\Corvane Files\\Halyx\\";
}

std::string UserFolder(uint32_t userNumber) {
  std::string root = DataRoot();
  if (root.empty()) return "";
  return root + std::to_string(userNumber) + "\\";
}

std::string ForDisplay(const std::string& path) {
  std::string shown = path;
  if (shown.find('/') != std::string::npos) std::replace(shown.begin(), shown.end(), '\\', '/');
  return shown;
}

bool RemoveFolder(const std::string& path) {
  if (path.empty()) return false;
  // std::filesystem wants the system's own separator where '\' is no separator.
  std::filesystem::path native = std::filesystem::u8path(ForDisplay(path));
  std::error_code error;
  std::filesystem::remove_all(native, error);
  return !std::filesystem::exists(native, error);
}
