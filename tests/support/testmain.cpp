// The main of every suite. Each test gets a data folder of its own, so that no
// test sees what another one stored:
// - POSIX: a fresh temporary HOME (XDG_DOCUMENTS_DIR unset), removed after the
//   test;
// - Windows: the documents folder belongs to the user profile, so
//   "<documents>\Corvane Files" is removed before each test instead.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include "support/testenv.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace {

#if defined(_WIN32)

// A control function of a module that is loaded, called; nothing otherwise.
template <typename Function>
void CallIfLoaded(const wchar_t* module, const char* name) {
  HMODULE handle = GetModuleHandleW(module);
  FARPROC address = handle ? GetProcAddress(handle, name) : nullptr;
  if (address) reinterpret_cast<Function>(reinterpret_cast<void (*)()>(address))();
}

class FreshDataFolder : public testing::EmptyTestEventListener {
 public:
  void OnTestStart(const testing::TestInfo&) override {
    const std::string documents = testenv::DocumentsFolder();
    ASSERT_FALSE(documents.empty()) << "no documents folder";
    // The database module keeps the files of closed databases open for their
    // next use, the settings modules their change counts (and what they read,
    // which must not outlive the files); Windows removes no open file.
    CallIfLoaded<uint32_t(__cdecl*)()>(L"localdatabase.dll", "LocalDatabaseReleaseIdle");
    CallIfLoaded<bool(__cdecl*)()>(L"setting.dll", "stReleaseFiles");
    CallIfLoaded<bool(__cdecl*)()>(L"hyappinfo.dll", "HXReleaseFiles");
    // A file that a module still holds open cannot go, and remove_all stops
    // at the first one: remove every file that can go, so that no setting of
    // an earlier test survives beside a database that stays open.
    const fs::path root(testenv::Wide(testenv::Join(documents, "Corvane Files")));
    std::error_code ignored;
    for (fs::recursive_directory_iterator it(root, ignored), end; it != end; it.increment(ignored)) {
      if (!it->is_directory(ignored)) fs::remove(it->path(), ignored);
    }
    fs::remove_all(root, ignored);
  }
};

std::string OwnFolder() {
  wchar_t path[MAX_PATH * 4] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH * 4);
  return testenv::Narrow(fs::path(path).parent_path().wstring());
}

#else

class FreshDataFolder : public testing::EmptyTestEventListener {
 public:
  void OnTestStart(const testing::TestInfo&) override {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") +
                          "/pcw-home-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) {
      FAIL() << "cannot make a temporary HOME in " << pattern;
    }
    home_ = pattern;
    testenv::SetVariable("HOME", home_.c_str());
    testenv::SetVariable("XDG_DOCUMENTS_DIR", nullptr);
  }

  void OnTestEnd(const testing::TestInfo&) override {
    if (home_.empty()) return;
    std::error_code ignored;
    fs::remove_all(home_, ignored);
    home_.clear();
  }

 private:
  std::string home_;
};

std::string OwnFolder() {
  std::error_code error;
  return fs::read_symlink("/proc/self/exe", error).parent_path().string();
}

#endif

}  // namespace

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  if (std::getenv("HalyxBinPath") == nullptr) testenv::SetVariable("HalyxBinPath", OwnFolder().c_str());
  testing::UnitTest::GetInstance()->listeners().Append(new FreshDataFolder);
  return RUN_ALL_TESTS();
}
