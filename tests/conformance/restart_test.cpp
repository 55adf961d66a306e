// Dynamic messages, received shares and the user's own shares as a host sees
// them across a restart of the loaded library. The host-level flow of each
// kind runs as the pushhost scenarios; here what only a restart or a cap shows.
#include <gtest/gtest.h>

#include "conformance/listings.h"
#include "support/each.h"
#include "support/ownshares.h"
#include "support/startedhost.h"

using libraryhost::CommandRecorder;
using libraryhost::LibraryHost;
using libraryhost::MakeRecord;

using namespace listings;

namespace {

class Restart : public StartedHost {
 protected:
  void SetUp() override {
    StartedHost::SetUp();
    for (uint32_t app : {11u, 12u, 13u}) host.MarkInstalled(app);
  }
};

struct ReentryState {
  libraryhost::LibraryHost* host = nullptr;
  int calls = 0;
  uint32_t countSeenInside = 99;
};

}  // namespace

TEST_F(Restart, BringsBackReadDynamicMessagesMergedWithThoseBeforeTheFirstListing) {
  host.Deliver({Dynamic(11, 1, 10, "2"), Dynamic(12, 2, 20), Dynamic(11, 3, 30, "5"), Dynamic(13, 4, 40)});
  CommandRecorder recorder;
  ASSERT_TRUE(recorder.Register(host, 77, kDynamicBit, kEventReadState));
  EXPECT_EQ(host.api.PushUpdateDynamicMsgReadState(11, 77, true), 2u);
  EXPECT_TRUE(recorder.commands.empty());  // its own change
  EXPECT_TRUE(host.api.PushShieldDynamicMsgForApp(12, 0));

  ASSERT_TRUE(host.Reload());
  EXPECT_EQ(host.api.PushGetAllUnreadDynamicMsgCount(), 0u);
  // Pushed before the first listing: merged with what was stored, the later
  // server count holding.
  host.Deliver(Dynamic(11, 6, 60, "4"));
  const auto back = DynamicListing(host);
  ASSERT_EQ(back.Ids(), (Groups{{1, 3, 6}}));
  EXPECT_EQ(back[0].appId, 11u);
  EXPECT_EQ(back[0].msgCountOnServer, 4u);
  EXPECT_EQ(Each(back[0].msgs, 3, &DynamicMsgInfo::pushTime), (Values{10, 30, 60}));
  EXPECT_EQ(Each(back[0].msgs, 3, &DynamicMsgInfo::newFlag), (Values{0, 0, 1}));
  EXPECT_STREQ(back[0].msgs[0].title, "t1");
  EXPECT_EQ(host.api.PushGetAllUnreadDynamicMsgCount(), 4u);
  EXPECT_EQ(DynamicListing(host, true).Ids(), (Groups{{6}}));

  // The shield holds after the restart, and the policy it set refuses the
  // shielded application's pushes only.
  EXPECT_TRUE(host.api.PushIsShieldDynamicMsg(12));
  EXPECT_FALSE(host.api.PushIsShieldDynamicMsg(11));
  host.Deliver(Dynamic(12, 5, 50));
  EXPECT_EQ(host.api.PushGetUnreadDynamicMsgCountForApp(12), 0u);
  EXPECT_EQ(host.api.PushGetMsgCountByType(1), 1u);
}

TEST_F(Restart, BringsBackReadSharesMergedWithThoseBeforeTheFirstListing) {
  host.Deliver({Share(5, 1, 1, 100), Share(5, 1, 2, 200), Share(6, 2, 3, 300)});
  EXPECT_EQ(host.api.PushUpdateShareMsgReadState(5, 1, 0, 0), 2u);
  EXPECT_EQ(host.api.PushUpdateReadStateByType(2), 1u);
  host.Deliver(Share(8, 2, 4, 400));  // never read: not kept across the restart

  ASSERT_TRUE(host.Reload());
  host.Deliver(Share(5, 1, 9, 250));  // before the first listing: merged with the stored
  {
    const auto back = ShareListing(host);
    ASSERT_EQ(back.Ids(), (Groups{{3}, {1, 2, 9}}));
    EXPECT_EQ(Each(back, &ShareMsgGroupInfo::appId), (Values{6, 5}));
    EXPECT_EQ(back[0].shareType, 2);
    EXPECT_EQ(Each(back[1].msgs, 3, &ShareMsgInfo::pushTime), (Values{100, 200, 250}));
    EXPECT_STREQ(back[1].msgs[0].text, "m1");
    EXPECT_STREQ(back[1].msgs[0].appDesc, "d1");
  }
  EXPECT_EQ(host.api.PushGetAllUnreadShareMsgNum(), 1u);
  EXPECT_EQ(ShareListing(host, true).Ids(), (Groups{{9}}));

  EXPECT_EQ(host.api.PushDeleteShareMsg(6, 300), 1u);
  ASSERT_TRUE(host.Reload());
  EXPECT_EQ(ShareListing(host).count, 1u);
}

TEST_F(Restart, KeepsOwnSharesToFiftyGroups) {
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

// A host's callback may call back into the library while the library is
// still busy building a center: the own-share center reports every stored
// row as it loads them after a restart.
TEST_F(Restart, ACallbackAskingForTheCenterBeingLoadedGetsNoSecondCenter) {
  ASSERT_TRUE(host.api.AddMyShareMsg(OwnShares(31, 1, {100, 101, 102}).Get()));
  ASSERT_TRUE(host.Reload());

  ReentryState reentry;
  reentry.host = &host;
  CommandRecorder recorder;
  recorder.context = &reentry;
  recorder.onCommand = [](CommandRecorder& self, const PushCommand&) {
    auto* state = static_cast<ReentryState*>(self.context);
    // Bounded, so that a library that builds a center inside the callback
    // fails this test instead of exhausting the stack.
    if (++state->calls > 10) return;
    state->countSeenInside = state->host->api.GetAllMyShareMsgNum();
  };
  ASSERT_TRUE(recorder.Register(host, 0, 16, 1));
  // The first call loads the three stored rows, one notification each.
  EXPECT_EQ(host.api.GetAllMyShareMsgNum(), 1u);
  EXPECT_EQ(reentry.calls, 3);
  EXPECT_EQ(reentry.countSeenInside, 0u);  // no center while it is being built
  EXPECT_EQ(host.api.GetAllMyShareMsgNum(), 1u);
  EXPECT_EQ(reentry.calls, 3);
  recorder.Unregister(host);
}
