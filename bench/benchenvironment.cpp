#include "benchenvironment.h"

#include <stdlib.h>

#include <filesystem>
#include <system_error>

#include "support/testenv.h"

namespace fs = std::filesystem;

BenchEnvironment::BenchEnvironment() {
  if (getenv("HalyxBinPath") == nullptr) {
    std::error_code error;
    const fs::path self = fs::read_symlink("/proc/self/exe", error);
    if (!error) testenv::SetVariable("HalyxBinPath", self.parent_path().string().c_str());
  }
  const char* tmp = getenv("TMPDIR");
  std::string pattern = std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") +
                        "/pcw-bench-XXXXXX";
  if (mkdtemp(pattern.data()) == nullptr) return;
  home = pattern;
  testenv::SetVariable("HOME", home.c_str());
  testenv::SetVariable("XDG_DOCUMENTS_DIR", nullptr);
}

BenchEnvironment::~BenchEnvironment() {
  if (home.empty()) return;
  std::error_code ignored;
  fs::remove_all(home, ignored);
}
