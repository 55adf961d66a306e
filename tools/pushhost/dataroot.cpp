#include "dataroot.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <system_error>

#include "platform/win32.h"
#include "hostkit/widetext.h"

std::string DataRoot() {
  WCHAR documents[MAX_PATH] = {};
  if (!SHGetSpecialFolderPathW(nullptr, documents, CSIDL_PERSONAL, FALSE)) return "";
  std::string folder = hostkit::ToUtf8(documents, MAX_PATH);
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

std::string DataRootProblem(bool forWriting) {
  std::string root = DataRoot();
  if (root.empty()) {
#if defined(_WIN32)
    return "the profile's documents folder is unknown";
#else
    return "the documents folder is unknown: HOME is unset or not an absolute path "
           "(name a data folder with --data DIR)";
#endif
  }
  if (!forWriting) return "";
  std::filesystem::path native = std::filesystem::u8path(ForDisplay(root));
  std::error_code error;
  std::filesystem::create_directories(native, error);
  if (error) {
    return "cannot create the data folder " + ForDisplay(root) + ": " + error.message();
  }
  // The modules write there without saying when they cannot: a folder that
  // takes no new entry is refused now, not found out from missing data later.
  // The name differs per call, so that runs side by side do not meet.
  std::filesystem::path probe =
      native / (".pushhost-check-" +
                std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
  bool made = std::filesystem::create_directory(probe, error);
  if (error) {
    return "cannot write in the data folder " + ForDisplay(root) + ": " + error.message();
  }
  if (made) std::filesystem::remove(probe, error);
  return "";
}
