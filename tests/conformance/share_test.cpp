// Received shares and the user's own shares, as a host sees them across a
// restart of the library.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/ownshares.h"
#include "support/startedhost.h"

using libraryhost::CommandRecorder;
using libraryhost::MakeRecord;

namespace {

PushRecord Share(uint32_t appId, int shareType, uint32_t msgId, uint32_t pushTime,
                 const std::string& extra = std::string()) {
  return MakeRecord(2, appId, msgId, pushTime,
                    R"({"DSTAPPID":")" + std::to_string(appId) + R"(","SHARETYPE":)" +
                        std::to_string(shareType) + R"(,"MSG":"m)" + std::to_string(msgId) +
                        "\"" + extra + "}");
}

using ShareConformance = StartedHost;

TEST_F(ShareConformance, ReadSharesComeBackReadAfterARestart) {
  CommandRecorder recorder;
  ASSERT_TRUE(recorder.Register(host, 0, 2, 7));
  host.Deliver({Share(5, 1, 1, 100, R"(,"APPDESC":"about")"), Share(5, 1, 2, 200),
                Share(6, 2, 3, 300)});
  EXPECT_EQ(host.api.PushGetMsgCountByType(2), 2u);
  EXPECT_EQ(host.api.PushGetAllUnreadShareMsgNum(), 2u);
  EXPECT_EQ(recorder.Count(2, 1), 2u);

  const uint32_t reports = host.ctl.PushCenterReadReports(2);
  EXPECT_EQ(host.api.PushUpdateShareMsgReadState(5, 1, 0, 0), 2u);
  EXPECT_EQ(host.api.PushUpdateShareMsgReadState(6, 2, 0, 299), 0u);
  EXPECT_EQ(host.api.PushUpdateReadStateByType(2), 1u);
  EXPECT_EQ(host.ctl.PushCenterReadReports(2), reports + 2);
  EXPECT_EQ(recorder.Count(2, 4), 2u);
  ASSERT_FALSE(recorder.commands.empty());
  EXPECT_EQ(recorder.commands.back().value2, 1u);
  host.Deliver(Share(8, 2, 4, 400));  // never read: not kept across the restart
  recorder.Unregister(host);

  ASSERT_TRUE(host.Reload());
  host.Deliver(Share(5, 1, 9, 250));  // before the first listing: merged with the stored
  ShareMsgGroupInfo* groups = nullptr;
  ASSERT_EQ(host.api.PushGetShareMsg(0, 0, &groups, false), 2u);
  EXPECT_EQ(groups[0].appId, 6u);
  EXPECT_EQ(groups[0].shareType, 2);
  ASSERT_EQ(groups[1].appId, 5u);
  ASSERT_EQ(groups[1].msgCount, 3u);
  EXPECT_EQ(groups[1].msgs[0].pushTime, 100u);
  EXPECT_EQ(groups[1].msgs[1].pushTime, 200u);
  EXPECT_EQ(groups[1].msgs[2].pushTime, 250u);
  EXPECT_STREQ(groups[1].msgs[0].text, "m1");
  EXPECT_STREQ(groups[1].msgs[0].appDesc, "");
  host.api.PushFreeShareMsgGroupList(groups);
  EXPECT_EQ(host.api.PushGetAllUnreadShareMsgNum(), 1u);
  EXPECT_EQ(host.api.PushGetShareMsg(0, 0, &groups, true), 1u);
  EXPECT_EQ(groups[0].msgCount, 1u);
  host.api.PushFreeShareMsgGroupList(groups);
  EXPECT_EQ(host.api.PushUpdateReadStateByType(2), 1u);

  EXPECT_EQ(host.api.PushDeleteShareMsg(6, 300), 1u);
  ASSERT_TRUE(host.Reload());
  EXPECT_EQ(host.api.PushGetShareMsg(0, 0, &groups, false), 1u);
  host.api.PushFreeShareMsgGroupList(groups);
}

TEST_F(ShareConformance, OwnSharesComeBackMergedAndCapped) {
  CommandRecorder recorder;
  ASSERT_TRUE(recorder.Register(host, 0, 16, 7));
  EXPECT_TRUE(host.api.AddMyShareMsg(OwnShares(1, 1, {1, 2, 3, 4, 5}).Get()));
  EXPECT_TRUE(host.api.AddMyShareMsg(OwnShares(1, 1, {6, 7, 8, 9, 10}).Get()));
  EXPECT_TRUE(host.api.AddMyShareMsg(OwnShares(2, 2, {20}, "X").Get()));
  EXPECT_TRUE(host.api.AddMyShareMsg(OwnShares(2, 2, {21}, "X").Get()));
  EXPECT_STREQ(host.api.getAppDesc(), "X");
  for (uint32_t app = 100; app < 148; ++app) {
    host.api.AddMyShareMsg(OwnShares(app, 1, {1000 + app}).Get());
  }
  EXPECT_EQ(host.api.GetAllMyShareMsgNum(), 50u);
  host.api.AddMyShareMsg(OwnShares(200, 1, {5000}).Get());  // pushes out application 1
  EXPECT_EQ(host.api.GetAllMyShareMsgNum(), 50u);
  EXPECT_EQ(recorder.Count(16, 1), 53u);
  // The user's own shares are no unread messages.
  EXPECT_EQ(host.api.PushGetAllUnreadMsgCount(), 0u);
  recorder.Unregister(host);

  ASSERT_TRUE(host.Reload());
  EXPECT_EQ(host.api.GetAllMyShareMsgNum(), 50u);
  MyShareMsgGroupInfo* groups = nullptr;
  EXPECT_EQ(host.api.GetMyShareMsgForApp(1, 1, 0, &groups), 0u);
  ASSERT_EQ(host.api.GetMyShareMsgForApp(2, 2, 0, &groups), 2u);
  EXPECT_EQ(groups[0].kind, 4u);
  EXPECT_EQ(groups[0].msgs[0].shareTime, 21u);
  EXPECT_STREQ(groups[0].msgs[1].title, "title 20");
  host.api.FreeMyLocalShareMsgGroupList(groups);

  EXPECT_EQ(host.api.PushDeleteMyShareMsg(2, 0), 2u);
  ASSERT_TRUE(host.Reload());
  EXPECT_EQ(host.api.GetAllMyShareMsgNum(), 49u);
}

TEST_F(ShareConformance, ClearingLeavesNothingForTheNextStart) {
  host.Deliver({Share(5, 1, 1, 100), Share(6, 2, 2, 200)});
  EXPECT_EQ(host.api.PushUpdateReadStateByType(2), 2u);
  host.api.AddMyShareMsg(OwnShares(1, 1, {1, 2}).Get());
  CommandRecorder recorder;
  ASSERT_TRUE(recorder.Register(host, 0, 2 | 16, 2));
  EXPECT_TRUE(host.api.PushClearMsg(2));
  EXPECT_TRUE(host.api.PushClearMsg(4));
  EXPECT_EQ(recorder.Count(2, 2), 1u);
  EXPECT_EQ(recorder.Count(16, 2), 1u);
  recorder.Unregister(host);

  ASSERT_TRUE(host.Reload());
  ShareMsgGroupInfo* received = nullptr;
  EXPECT_EQ(host.api.PushGetShareMsg(0, 0, &received, false), 0u);
  EXPECT_EQ(received, nullptr);
  EXPECT_EQ(host.api.GetAllMyShareMsgNum(), 0u);
}

}  // namespace
