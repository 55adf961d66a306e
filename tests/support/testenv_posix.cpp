#include <filesystem>
#include <system_error>

#include "hostkit/hostos.h"
#include "support/testenv.h"

namespace testenv {
namespace {

std::string home;

}  // namespace

std::string Join(const std::string& folder, const std::string& name) { return folder + "/" + name; }

std::string FreshDataFolder() {
  home = hostos::MakeTempFolder();
  if (home.empty() || !hostos::UseDataRoot(home)) return "cannot make a temporary HOME";
  return "";
}

void DropDataFolder() {
  if (home.empty()) return;
  std::error_code ignored;
  std::filesystem::remove_all(home, ignored);
  home.clear();
}

}  // namespace testenv
