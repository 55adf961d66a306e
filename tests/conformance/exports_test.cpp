// The exports as a host reaches them: the built library loaded from the bin
// folder, nothing but its exports and the modules' control functions; and a
// start without the push center module, and what a reload leaves behind.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/libraryhost.h"
#include "support/testenv.h"

using libraryhost::CommandRecorder;
using libraryhost::LibraryHost;
using libraryhost::MakeRecord;

namespace {

const uint32_t kUser = 4001;
const uint32_t kStartUser = 4002;

class ExportsTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(host.Loaded()) << "not bound: " << host.Missing();
    host.SignIn(kUser);
  }
  LibraryHost host;
};

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

TEST_F(ExportsTest, KindsWithoutCenterAnswerFixedValuesAndNullIsFreedQuietly) {
  for (int32_t kind : {0, 6, -1, 1000}) {
    EXPECT_EQ(0u, host.api.PushUpdateReadStateByType(kind)) << kind;
    EXPECT_EQ(0u, host.api.PushGetMsgCountByType(kind)) << kind;
    EXPECT_EQ(0u, host.api.PushGetUnreadCountByType(kind)) << kind;
    EXPECT_TRUE(host.api.PushClearMsg(kind)) << kind;
  }
  // Kind 5 has a center, which keeps the inert answers of the common interface.
  EXPECT_FALSE(host.api.PushClearMsg(5));
  EXPECT_EQ(0u, host.api.PushGetMsgCountByType(5));
  EXPECT_EQ(0u, host.api.PushGetUnreadCountByType(5));
  EXPECT_EQ(0u, host.api.PushUpdateReadStateByType(5));

  host.api.PushFreeDynamicMsgGroupList(nullptr);
  host.api.PushFreeShareMsgGroupList(nullptr);
  host.api.FreeMyLocalShareMsgGroupList(nullptr);
  host.api.PushFreeSystemMsgList(nullptr);
}

// Registration as a host meets it runs as the pushhost host scenario;
// here a registration that does not outlive its session.
TEST_F(ExportsTest, AFreshStartKeepsNoCommandCallbackOfTheLastOne) {
  CommandRecorder recorder;
  ASSERT_TRUE(host.Start());
  EXPECT_TRUE(recorder.Register(host, 0, 0xFF, 0xFF));
  ASSERT_TRUE(host.Stop());
  ASSERT_TRUE(host.Start());
  EXPECT_FALSE(recorder.Unregister(host));
}

TEST_F(ExportsTest, AllUnreadCountIsTheSumOfDynamicShareAndSystem) {
  ASSERT_TRUE(host.Start());
  host.WantEverything();
  host.MarkInstalled(7);
  ASSERT_EQ(1u, host.Deliver({
                    MakeRecord(1, 7, 101, 1000, R"({"TEXT":"hello","NUM":2})"),
                    MakeRecord(2, 0, 102, 1001, R"({"DSTAPPID":"8","SHARETYPE":2,"MSG":"look"})"),
                    MakeRecord(3, 0, 103, 1002, R"({"TEXT":"notice","TITLE":"t"})"),
                }));
  const uint32_t dynamic = host.api.PushGetAllUnreadDynamicMsgCount();
  const uint32_t share = host.api.PushGetAllUnreadShareMsgNum();
  const uint32_t system = host.api.PushGetNewSystemMsgNum();
  EXPECT_EQ((std::vector<uint32_t>{dynamic, share, system}), (std::vector<uint32_t>{2, 1, 1}));
  EXPECT_EQ((std::vector<uint32_t>{dynamic, share, system}),
            (std::vector<uint32_t>{host.api.PushGetUnreadCountByType(1), host.api.PushGetUnreadCountByType(2),
                                   host.api.PushGetUnreadCountByType(3)}));
  EXPECT_EQ(dynamic + share + system, host.api.PushGetAllUnreadMsgCount());
}

// Registration at start and release at shut-down show in every session of
// the fault tests; here the start without the push center module.
TEST(StartUp, WithoutPushCenterStartAndShutDownSucceedAndAReloadFindsIt) {
  // Hosts find the control modules in the bin folder of the first host made,
  // which must be the real one even when this test runs alone.
  delete new LibraryHost();
  LibraryHost* host = nullptr;
  {
    EmptyBinPath empty;
    host = new LibraryHost();  // reads HalyxBinPath while loading
  }
  ASSERT_TRUE(host->Loaded()) << host->Missing();
  host->SignIn(kStartUser);
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
