// The push intake against recording centers: which records it accepts, how it
// folds and orders what it hands over, and what it does with bad input.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "assertion.h"
#include "halyx/appinstall.h"
#include "halyx/hyappinfo.h"
#include "halyx/setting.h"
#include "jsonparser.h"
#include "pendingpushrecords.h"
#include "support/libraryhost.h"
#include "unit/recordingcenter.h"

using libraryhost::MakeRecord;
using Log = std::vector<std::string>;

namespace {

void Install(uint32_t appId, const char* needPush) {
  HXSetAppInstalled(appId, true);
  if (needPush != nullptr) HXSetAppInfo(appId, "needPush", needPush);
}

PushRecord Dynamic(uint32_t appId, uint32_t msgId, uint32_t num) {
  return MakeRecord(1, appId, msgId, 100 + msgId,
                    "{\"TEXT\":\"t\",\"NUM\":" + std::to_string(num) + "}");
}

PushRecord Share(uint32_t appId, int shareType, uint32_t msgId) {
  return MakeRecord(2, 0, msgId, 100 + msgId,
                    "{\"DSTAPPID\":\"" + std::to_string(appId) +
                        "\",\"SHARETYPE\":" + std::to_string(shareType) + "}");
}

class IntakeTest : public testing::Test {
 protected:
  void SetUp() override {
    stSetRoamBoolean(9, true);
    stSetRoamBoolean(10, true);
    stSetRoamNumber(11, 1);
  }
  bool Parse(const std::vector<PushRecord>& batch) {
    JsonParser parser;
    return parser.Parse(batch.data(), static_cast<uint32_t>(batch.size()));
  }
  PendingPushRecords& Store() { return *PushWrapper::Instance()->GetPendingRecords(); }
  RecordingCenters centers_;
};

int deletedMsgs = 0;
template <class Msg>
struct Counted : Msg {
  ~Counted() override { ++deletedMsgs; }
};

}  // namespace

TEST_F(IntakeTest, EachKindIsFoldedAndHandedOverInItsOrder) {
  Install(7, "1");
  Install(8, "1");
  auto System = [](uint32_t msgId) { return MakeRecord(3, 0, msgId, 100, "{}"); };
  ASSERT_TRUE(Parse({Dynamic(7, 1, 4), Share(5, 1, 10), System(20), Dynamic(8, 2, 1),
                     Share(6, 2, 11), System(21), Share(9, 1, 12), Dynamic(7, 3, 9),
                     Share(5, 1, 13), Share(6, 2, 14), Share(5, 3, 15), Share(5, 0, 16),
                     System(22)}));
  // Dynamic groups, then share groups, then all system messages at once.
  // Dynamic and type-1 share groups fold per application and go out in
  // reverse order of first appearance, a folded group carrying the later
  // record's server count; type-2 shares keep their arrival order; other
  // share types are dropped; system messages go out newest record first.
  EXPECT_EQ((Log{"dynamic app 8 server 1 msgs 2", "dynamic app 7 server 9 msgs 3 1",
                 "share type 1 app 9 msgs 12", "share type 1 app 5 msgs 13 10",
                 "share type 2 app 6 msgs 11", "share type 2 app 6 msgs 14",
                 "system msgs 22 21 20"}),
            centers_.log);
}

TEST_F(IntakeTest, AcceptanceFollowsTheSettingsAndTheApplicationsState) {
  // The share and system settings as a host meets them run as the pushhost
  // scenarios; kinds without a setting are taken.
  JsonParser parser;
  PushRecord other = MakeRecord(5, 0, 3, 10, "{}");
  EXPECT_TRUE(parser.ShouldAccept(&other));

  Install(1, "1");
  Install(2, "10");
  Install(3, "0");
  Install(4, "");
  Install(5, nullptr);
  HXSetAppInstalled(6, false);
  HXSetAppInstalled(60, false);
  const PushRecord records[] = {Dynamic(1, 1, 0), Dynamic(2, 2, 0), Dynamic(3, 3, 0),
                                Dynamic(4, 4, 0), Dynamic(5, 5, 0), Dynamic(6, 6, 0)};
  const bool expected[] = {true, true, false, false, false, false};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(expected[i], parser.ShouldAccept(&records[i])) << i;

  // Policy 0 refuses everything; policy 2 refuses shielded applications. What
  // a policy refuses is not parked, installed or not.
  PushRecord notInstalled = Dynamic(60, 7, 0);
  stSetRoamNumber(11, 0);
  EXPECT_FALSE(parser.ShouldAccept(&records[0]));
  EXPECT_FALSE(parser.ShouldAccept(&notInstalled));
  stSetRoamNumber(11, 2);
  stSetAppRoamBoolean(1, 6, true);
  stSetAppRoamBoolean(60, 6, true);
  EXPECT_FALSE(parser.ShouldAccept(&records[0]));
  EXPECT_TRUE(parser.ShouldAccept(&records[1]));
  EXPECT_FALSE(parser.ShouldAccept(&notInstalled));
  // Application 6 alone was parked: a copy more makes two.
  EXPECT_EQ(2u, Store().ParkRecord(&notInstalled));
  stSetAppRoamBoolean(1, 6, false);
  stSetAppRoamBoolean(60, 6, false);
}

TEST_F(IntakeTest, StoreHoldsThirtyOneRecordsAtATime) {
  PendingPushRecords& store = Store();
  PushRecord system = MakeRecord(3, 0, 1, 10, "{}");
  EXPECT_EQ(0u, store.ParkRecord(nullptr));
  EXPECT_EQ(0u, store.ParkRecord(&system));
  HXSetAppInstalled(30, false);
  HXSetAppInstalled(31, false);
  PushRecord first = Dynamic(30, 1, 1);
  ASSERT_EQ(1u, store.ParkRecord(&first));
  for (uint32_t i = 2; i <= 30; ++i) {
    PushRecord record = Dynamic(31, i, 1);
    ASSERT_EQ(i, store.ParkRecord(&record));
  }
  ASSERT_FALSE(store.IsFull());

  // Announced, but the application still reads as not installed: while its
  // record is delivered again it still counts, and parking it once more
  // takes the last place only while the replay lasts.
  HYNotifyAppInstallChanged(30, 0, true);
  EXPECT_FALSE(store.IsFull());
  HXSetAppInstalled(32, false);
  PushRecord last = Dynamic(32, 40, 1);
  EXPECT_EQ(31u, store.ParkRecord(&last));
  EXPECT_TRUE(store.IsFull());
  PushRecord late = Dynamic(32, 41, 1);
  EXPECT_EQ(0u, store.ParkRecord(&late));

  // A replay that takes records out makes room again.
  Install(30, "1");
  HYNotifyAppInstallChanged(30, 0, true);
  EXPECT_EQ(31u, store.ParkRecord(&late));
}

TEST_F(IntakeTest, WhatAStoppedHandOffLeavesIsDestroyed) {
  PushWrapper::Instance()->UnInit();
  PushWrapper::Instance()->SetCenterFactoryForTesting(1, []() -> MsgCenter* { return nullptr; });
  deletedMsgs = 0;
  {
    JsonParser parser;
    for (uint32_t appId : {1, 2}) {
      DynamicMsgGroup* dynamic = new DynamicMsgGroup();
      dynamic->SetAppId(appId);
      dynamic->AddMsg(new Counted<DynamicMsg>());
      parser.QueueDynamicMsg(dynamic);
    }
    ShareMsgGroup* share = new ShareMsgGroup();
    share->SetShareType(2);
    share->AddMsg(new Counted<ShareMsg>());
    parser.QueueShareMsg(share);
    parser.QueueSystemMsg(new Counted<SystemMsg>());
    PushRecord ignored = MakeRecord(9, 0, 1, 10, "{}");
    EXPECT_FALSE(parser.Parse(&ignored, 1));
    EXPECT_EQ(0, deletedMsgs);
  }
  EXPECT_EQ(4, deletedMsgs);
  EXPECT_TRUE(centers_.log.empty());
}

std::vector<int> reportedLines;
void RecordReport(const char*, const char*, int line) { reportedLines.push_back(line); }

// Missing input reaches no center; a null record or group is reported with
// the line that the intake's observers know, and the operation returns.
TEST_F(IntakeTest, EmptyOrMissingInputReachesNoCenter) {
  PushRecord record = MakeRecord(3, 0, 1, 10, "{}");
  OnPushBatch(nullptr, 5);
  OnPushBatch(&record, 0);
  const AppUnreadCount counts[] = {{7, 1, 0}};
  OnAppUnreadCounts(nullptr, 3);
  OnAppUnreadCounts(counts, 0);
  AssertionObserver previous = SetAssertionObserver(&RecordReport);
  JsonParser parser;
  EXPECT_FALSE(parser.Parse(nullptr, 3));
  EXPECT_FALSE(parser.HandleUnreadCountRecord(nullptr));
  parser.QueueDynamicMsg(nullptr);
  parser.QueueShareMsg(nullptr);
  SetAssertionObserver(previous);
  EXPECT_EQ(reportedLines, (std::vector<int>{59, 475, 503, 543}));
  EXPECT_EQ(0, centers_.created);
  EXPECT_TRUE(centers_.log.empty());
}
