// The exports as a host reaches them: the built library loaded from the bin
// folder, nothing but its exports and the modules' control functions; and a
// start without the push center module, and what a reload leaves behind.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "support/libraryhost.h"
#include "support/testenv.h"

using libraryhost::CommandRecorder;
using libraryhost::LibraryHost;
using libraryhost::MakeRecord;

// Kinds without a center answer fixed values; kind 5 has a center, which
// keeps the inert answers of the common interface (a clear that fails).
// Registration as a host meets it runs as the pushhost host scenario; here a
// registration that does not outlive its session.
TEST(Exports, FixedAnswersForKindsWithoutCenterAndNoCallbackKeptOverARestart) {
  LibraryHost host;
  ASSERT_TRUE(host.Loaded()) << "not bound: " << host.Missing();
  host.SignIn(4001);
  for (int32_t kind : {0, 5, 6, -1, 1000}) {
    EXPECT_EQ(host.api.PushUpdateReadStateByType(kind) + host.api.PushGetMsgCountByType(kind) +
                  host.api.PushGetUnreadCountByType(kind), 0u) << kind;
    EXPECT_EQ(host.api.PushClearMsg(kind), kind != 5) << kind;
  }
  host.api.PushFreeDynamicMsgGroupList(nullptr);
  host.api.PushFreeShareMsgGroupList(nullptr);
  host.api.FreeMyLocalShareMsgGroupList(nullptr);
  host.api.PushFreeSystemMsgList(nullptr);

  CommandRecorder recorder;
  ASSERT_TRUE(host.Start());
  EXPECT_TRUE(recorder.Register(host, 0, 0xFF, 0xFF));
  ASSERT_TRUE(host.Stop());
  ASSERT_TRUE(host.Start());
  EXPECT_FALSE(recorder.Unregister(host));
}

// Registration at start and release at shut-down show in every session of
// the fault tests; here the start without the push center module.
TEST(StartUp, WithoutPushCenterStartAndShutDownSucceedAndAReloadFindsIt) {
  // Hosts find the control modules in the bin folder of the first host made,
  // which must be the real one even when this test runs alone.
  delete new LibraryHost();
  const std::string bin = testenv::BinFolder();
  const std::filesystem::path empty = std::filesystem::temp_directory_path() / "pcw-empty-bin";
  std::filesystem::create_directories(empty);
  testenv::SetVariable("HalyxBinPath", empty.string().c_str());
  auto host = std::make_unique<LibraryHost>();  // reads HalyxBinPath while loading
  testenv::SetVariable("HalyxBinPath", bin.c_str());
  std::filesystem::remove_all(empty);
  ASSERT_TRUE(host->Loaded()) << host->Missing();
  host->SignIn(4002);
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
}
