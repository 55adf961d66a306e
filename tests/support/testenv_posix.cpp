#include <stdlib.h>

#include <filesystem>
#include <system_error>

#include "support/testenv.h"

namespace testenv {
namespace {

std::string home;

}  // namespace

std::string Join(const std::string& folder, const std::string& name) { return folder + "/" + name; }

void SetVariable(const std::string& name, const char* value) {
  if (value == nullptr) {
    unsetenv(name.c_str());
  } else {
    setenv(name.c_str(), value, 1);
  }
}

std::string OwnFolder() {
  std::error_code error;
  return std::filesystem::read_symlink("/proc/self/exe", error).parent_path().string();
}

std::string FreshDataFolder() {
  const char* tmp = getenv("TMPDIR");
  std::string pattern = std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/pcw-home-XXXXXX";
  if (mkdtemp(&pattern[0]) == nullptr) return "cannot make a temporary HOME in " + pattern;
  home = pattern;
  SetVariable("HOME", home.c_str());
  SetVariable("XDG_DOCUMENTS_DIR", nullptr);
  return "";
}

void DropDataFolder() {
  if (home.empty()) return;
  std::error_code ignored;
  std::filesystem::remove_all(home, ignored);
  home.clear();
}

}  // namespace testenv
