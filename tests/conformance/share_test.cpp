// Received shares and the user's own shares, as a host sees them across a
// restart of the loaded library.
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

// The host-level flow of shares runs as the pushhost scenarios; here what
// only a restart shows, and the cap of the user's own shares.
TEST_F(ShareConformance, ARestartBringsBackReadSharesMergedWithThoseBeforeTheFirstListing) {
  host.Deliver({Share(5, 1, 1, 100, R"(,"APPDESC":"about")"), Share(5, 1, 2, 200),
                Share(6, 2, 3, 300)});
  EXPECT_EQ(host.api.PushUpdateShareMsgReadState(5, 1, 0, 0), 2u);
  EXPECT_EQ(host.api.PushUpdateReadStateByType(2), 1u);
  host.Deliver(Share(8, 2, 4, 400));  // never read: not kept across the restart

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

  EXPECT_EQ(host.api.PushDeleteShareMsg(6, 300), 1u);
  ASSERT_TRUE(host.Reload());
  EXPECT_EQ(host.api.PushGetShareMsg(0, 0, &groups, false), 1u);
  host.api.PushFreeShareMsgGroupList(groups);
}

TEST_F(ShareConformance, OwnSharesAreCappedAtFiftyGroupsAcrossARestart) {
  CommandRecorder recorder;
  ASSERT_TRUE(recorder.Register(host, 0, 16, 1));
  for (uint32_t app = 1; app <= 50; ++app) host.api.AddMyShareMsg(OwnShares(app, 1, {app}).Get());
  EXPECT_EQ(host.api.GetAllMyShareMsgNum(), 50u);
  host.api.AddMyShareMsg(OwnShares(200, 2, {5000}, "X").Get());  // pushes out application 1
  EXPECT_EQ(host.api.GetAllMyShareMsgNum(), 50u);
  EXPECT_EQ(recorder.Count(16, 1), 51u);
  recorder.Unregister(host);

  ASSERT_TRUE(host.Reload());
  EXPECT_EQ(host.api.GetAllMyShareMsgNum(), 50u);
  MyShareMsgGroupInfo* groups = nullptr;
  EXPECT_EQ(host.api.GetMyShareMsgForApp(1, 1, 0, &groups), 0u);
  ASSERT_EQ(host.api.GetMyShareMsgForApp(200, 2, 0, &groups), 1u);
  EXPECT_EQ(groups[0].kind, 4u);
  EXPECT_STREQ(groups[0].msgs[0].title, "title 5000");
  EXPECT_STREQ(groups[0].msgs[0].appDesc, "X");
  host.api.FreeMyLocalShareMsgGroupList(groups);
}

}  // namespace
