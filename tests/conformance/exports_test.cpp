// The exports as a host reaches them: the built library loaded from the bin
// folder, nothing but its exports and the modules' control functions; a start
// without the push center module, and what a reload leaves behind. Batches
// through pushcenter.dll: records of applications not installed yet wait for
// the installation, bad records leave their neighbours alone, unread counts
// reach the dynamic center. (A message twice in one batch is in the trust
// suite and the system center's unit tests.)
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "conformance/listings.h"
#include "support/startedhost.h"
#include "support/testenv.h"

using libraryhost::CommandRecorder;
using libraryhost::LibraryHost;
using libraryhost::MakeRawRecord;
using libraryhost::MakeRecord;
using namespace listings;

// Kinds without a center answer fixed values; kind 5 has a center, which
// keeps the inert answers of the common interface (a clear that fails). (The
// free functions take the null of a listing of nothing in every listing owner.)
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
  testenv::SetVariable("HalyxBinPath", testenv::Join(bin, "no such folder").c_str());
  auto host = std::make_unique<LibraryHost>();  // reads HalyxBinPath while loading
  testenv::SetVariable("HalyxBinPath", bin.c_str());
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

using IntakeTest = StartedHost;

TEST_F(IntakeTest, RecordsOfAnAppInstalledLaterAreReplayedAtItsInstallation) {
  auto held = [this](uint32_t app) { return DynamicListing(host, false, app).Ids(); };
  host.ctl.HXSetAppInstalled(9, false);
  host.ctl.HXSetAppInstalled(10, false);
  CommandRecorder added;
  ASSERT_TRUE(added.Register(host, 0, kDynamicBit, kEventAdded));
  host.Deliver({Dynamic(9, 1, 10), Dynamic(10, 2, 11), Dynamic(9, 3, 12)});
  EXPECT_TRUE(held(9).empty());
  EXPECT_EQ(0u, added.Count(kDynamicBit, kEventAdded));

  // A removal is no installation, and an announcement of an application that
  // is still not installed parks its records again, once each: nothing moves.
  EXPECT_EQ(1u, host.ctl.HYNotifyAppInstallChanged(9, 0, false));
  EXPECT_EQ(1u, host.ctl.HYNotifyAppInstallChanged(9, 0, true));
  EXPECT_TRUE(held(9).empty());

  EXPECT_EQ(1u, host.InstallApp(9));
  EXPECT_EQ(held(9), (Groups{{1, 3}}));
  EXPECT_TRUE(held(10).empty());
  EXPECT_GE(added.Count(kDynamicBit, kEventAdded), 1u);

  // Replayed records are gone from the store: a second announcement adds nothing.
  host.InstallApp(9);
  host.InstallApp(10);
  EXPECT_EQ(held(9), (Groups{{1, 3}}));
  EXPECT_EQ(held(10), (Groups{{2}}));

  // After shut-down the store no longer listens.
  ASSERT_TRUE(host.Stop());
  EXPECT_EQ(0u, host.ctl.HYNotifyAppInstallChanged(9, 0, true));
}

TEST_F(IntakeTest, BadRecordsAreDroppedAndTheirNeighboursKept) {
  EXPECT_EQ(1u, host.Deliver({MakeRecord(3, 0, 1, 10, "not json"), MakeRecord(3, 0, 2, 11, "[1,2,3]"),
                              MakeRecord(3, 0, 3, 12, std::string(200, '[') + std::string(200, ']')),
                              MakeRawRecord(3, 0, 4, 13, std::vector<uint16_t>(1025, u'x')),  // unterminated
                              MakeRecord(9, 0, 5, 14, R"({"TEXT":"unknown kind"})"), MakeRecord(4, 7, 6, 15, "{{{"),
                              MakeRecord(3, 0, 7, 16, R"({"TEXT":{"nested":[1,2]},"TITLE":12,"OPTYPE":"x"})"),
                              MakeRecord(3, 0, 8, 17, R"({"TEXT":"fine"})")}));
  // Parsed JSON of any shape is a message, keys missing or not; text that
  // does not parse, or parses too deep, is none.
  EXPECT_EQ(SystemIds(host), (Ids{8, 7, 2}));
  EXPECT_EQ(0u, host.api.PushGetMsgCountByType(1));
}

TEST_F(IntakeTest, UnreadCountsReachTheDynamicCenter) {
  host.MarkInstalled(7);
  host.Deliver(Dynamic(7, 1, 10));
  ASSERT_EQ(1u, host.api.PushGetUnreadDynamicMsgCountForApp(7));

  // Each entry resets its application in array order: the last one holds.
  EXPECT_EQ(1u, host.DeliverUnreadCounts({{7, 9, 0}, {8, 1, 0}, {7, 0xFFFF, 0xFFFF}}));
  EXPECT_EQ(65535u, host.api.PushGetUnreadDynamicMsgCountForApp(7));

  // A kind-4 record carries one application's count in its payload.
  host.Deliver(MakeRecord(4, 7, 2, 11, R"({"Num":3})"));
  EXPECT_EQ(3u, host.api.PushGetUnreadDynamicMsgCountForApp(7));
  host.Deliver(MakeRecord(4, 7, 3, 12, R"({})"));
  EXPECT_EQ(3u, host.api.PushGetUnreadDynamicMsgCountForApp(7));
}
