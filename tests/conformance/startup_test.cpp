// Start-up without the push center module, and what a reload leaves behind.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/libraryhost.h"
#include "support/testenv.h"

using libraryhost::LibraryHost;
using libraryhost::MakeRecord;

namespace {

const uint32_t kUser = 4002;

// Points HalyxBinPath at an empty folder for the life of the object.
class EmptyBinPath {
 public:
  EmptyBinPath()
      : saved(testenv::BinFolder()),
        folder(std::filesystem::temp_directory_path() / "pcw-empty-bin") {
    std::filesystem::create_directories(folder);
    testenv::SetVariable("HalyxBinPath", folder.string().c_str());
  }
  ~EmptyBinPath() {
    testenv::SetVariable("HalyxBinPath", saved.c_str());
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
  }

 private:
  std::string saved;
  std::filesystem::path folder;
};

}  // namespace

// Registration at start and release at shut-down show in every session of
// the fault tests; here the start without the push center module.
TEST(StartUp, WithoutPushCenterStartAndShutDownSucceedAndAReloadFindsIt) {
  LibraryHost* host = nullptr;
  {
    EmptyBinPath empty;
    host = new LibraryHost();  // reads HalyxBinPath while loading
  }
  ASSERT_TRUE(host->Loaded()) << host->Missing();
  host->SignIn(kUser);
  host->WantEverything();
  PushRecord record = MakeRecord(3, 0, 1, 100, R"({"TEXT":"x"})");
  EXPECT_TRUE(host->Start());
  EXPECT_EQ(0u, host->Deliver(record));
  EXPECT_EQ(0u, host->api.PushGetMsgCountByType(3));
  EXPECT_TRUE(host->Stop());

  // A reload reads the variable again: the library must really have left
  // memory, else it would keep looking in the empty folder.
  ASSERT_TRUE(host->Reload()) << host->Missing();
  EXPECT_EQ(1u, host->Deliver(record));
  EXPECT_EQ(1u, host->api.PushGetMsgCountByType(3));
  delete host;
}
