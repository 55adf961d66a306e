// Batches delivered through pushcenter.dll: records of applications not
// installed yet wait for the installation, bad records leave their neighbours
// alone, unread counts reach the dynamic center. (A message twice in one
// batch is in the trust suite and the system center's unit tests.)
#include <gtest/gtest.h>

#include "conformance/listings.h"
#include "support/startedhost.h"

using libraryhost::CommandRecorder;
using libraryhost::MakeRawRecord;
using libraryhost::MakeRecord;

using namespace listings;

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
  std::vector<uint16_t> unterminated(1025, u'x');
  std::vector<PushRecord> batch = {
      MakeRecord(3, 0, 1, 10, "not json"),
      MakeRecord(3, 0, 2, 11, "[1,2,3]"),
      MakeRecord(3, 0, 3, 12, std::string(200, '[') + std::string(200, ']')),
      MakeRawRecord(3, 0, 4, 13, unterminated),
      MakeRecord(9, 0, 5, 14, R"({"TEXT":"unknown kind"})"),
      MakeRecord(4, 7, 6, 15, "{{{"),
      MakeRecord(3, 0, 7, 16, R"({"TEXT":{"nested":[1,2]},"TITLE":12,"OPTYPE":"x"})"),
      MakeRecord(3, 0, 8, 17, R"({"TEXT":"fine"})"),
  };
  EXPECT_EQ(1u, host.Deliver(batch));
  // Parsed JSON of any shape is a message, keys missing or not; text that
  // does not parse, or parses too deep, is none.
  EXPECT_EQ(3u, host.api.PushGetMsgCountByType(3));
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
