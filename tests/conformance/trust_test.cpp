// What a host relies on, through the exports: no message listed twice, counts
// that equal what the listings show, deletes that remove exactly what they
// name, every user's data in that user's database, stored messages seen by
// every query, payload numbers read alike on every build, and what only a
// restart or a cap shows (the flow of each kind runs as the pushhost
// scenarios).
#include <gtest/gtest.h>

#include "conformance/listings.h"
#include "support/each.h"
#include "support/ownshares.h"
#include "support/startedhost.h"

using libraryhost::CommandRecorder;
using libraryhost::MakeRecord;

using namespace listings;

namespace {

class Trust : public StartedHost {
 protected:
  void SetUp() override {
    StartedHost::SetUp();
    for (uint32_t app : {7u, 8u, 9u, 11u, 12u, 13u}) host.MarkInstalled(app);
  }
  Groups DynamicIds(bool onlyUnread = false) { return DynamicListing(host, onlyUnread).Ids(); }
  Groups ShareIds(bool onlyUnread = false) { return ShareListing(host, onlyUnread).Ids(); }
  Ids SystemIds(bool newOnly = false) { return listings::SystemIds(host, newOnly); }
  // The unread figures {all, dynamic, share, system}, checked by kind too.
  Values Unread() {
    const Values figures{host.api.PushGetAllUnreadMsgCount(), host.api.PushGetAllUnreadDynamicMsgCount(),
                         host.api.PushGetAllUnreadShareMsgNum(), host.api.PushGetNewSystemMsgNum()};
    for (int32_t kind = 1; kind <= 3; ++kind) EXPECT_EQ(host.api.PushGetUnreadCountByType(kind), figures[kind]);
    return figures;
  }
};

struct ReentryState {
  libraryhost::LibraryHost* host = nullptr;
  int calls = 0;
  uint32_t countSeenInside = 99;
};

}  // namespace

// Read early (before the first listing), pushed again, read back after a
// restart: every message of every kind is listed once.
TEST_F(Trust, NoMessageIsListedTwice) {
  // The same records twice in one batch, too.
  host.Deliver({Dynamic(7, 1, 10), Share(8, 1, 2, 20), Share(9, 2, 3, 30), System(4, 40),
                Dynamic(7, 1, 10), Share(8, 1, 2, 20)});
  EXPECT_EQ(host.api.PushUpdateDynamicMsgReadState(7, 0, false), 1u);
  EXPECT_EQ(host.api.PushUpdateShareMsgReadState(8, 1, 0, 0), 1u);
  EXPECT_EQ(host.api.PushUpdateShareMsgReadState(9, 2, 0, 30), 1u);
  // Read, unread, read: still one message with one row.
  for (uint32_t state : {1u, 0u, 1u}) EXPECT_EQ(host.api.PushUpdateSystemMsgReadState(4, state), 1u);
  CommandRecorder recorder;
  ASSERT_TRUE(recorder.Register(host, 0, 0xF, kEventAdded));
  host.Deliver({Dynamic(7, 1, 10), Share(8, 1, 2, 20), Share(9, 2, 3, 30), System(4, 40)});
  EXPECT_TRUE(recorder.commands.empty()) << "a redelivery announced as new";
  EXPECT_EQ(Unread(), (Values{0, 0, 0, 0}));

  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round == 0 ? "first listing" : "after a restart");
    EXPECT_EQ(DynamicIds(), (Groups{{1}}));
    EXPECT_EQ(ShareIds(), (Groups{{3}, {2}}));
    EXPECT_EQ(SystemIds(), (Ids{4}));
    EXPECT_EQ((Values{host.api.PushGetMsgCountByType(1), host.api.PushGetMsgCountByType(2),
                      host.api.PushGetMsgCountByType(3)}), (Values{1, 2, 1}));
    ASSERT_TRUE(host.Reload());
    host.WantEverything();
  }
  // Pushed again after a restart: the stored message is held already, read.
  CommandRecorder afterRestart;
  ASSERT_TRUE(afterRestart.Register(host, 0, 0xF, kEventAdded));
  host.Deliver({System(4, 40), Dynamic(7, 1, 10), Share(8, 1, 2, 20)});
  EXPECT_TRUE(afterRestart.commands.empty());
  EXPECT_EQ(Unread(), (Values{0, 0, 0, 0}));
  EXPECT_EQ(SystemIds(), (Ids{4}));
  EXPECT_EQ(DynamicIds(), (Groups{{1}}));
  EXPECT_EQ(ShareIds(), (Groups{{3}, {2}}));
}

// The dynamic figure: every unread message counts, a server count counts
// while it stands, and whatever goes takes its part along.
TEST_F(Trust, DynamicFigureFollowsWhatIsHeld) {
  // Read, then a count record, then deleted: nothing left to count.
  host.Deliver(Dynamic(7, 1, 10, "2"));
  EXPECT_EQ(Unread(), (Values{2, 2, 0, 0}));
  host.api.PushUpdateDynamicMsgReadState(7, 0, false);
  host.Deliver(MakeRecord(4, 7, 2, 11, R"({"Num":5})"));
  EXPECT_EQ(Unread(), (Values{5, 5, 0, 0}));
  EXPECT_EQ(host.api.PushDeleteDynamicMsg(7, 0), 1u);
  EXPECT_EQ(Unread(), (Values{0, 0, 0, 0}));

  // A standing count on a read group goes when the group is read again.
  host.Deliver(Dynamic(7, 3, 20));
  host.api.PushUpdateDynamicMsgReadState(7, 0, false);
  ASSERT_TRUE(host.api.PushResetUnreadDynamicMsgCount(7, 4, 0));
  EXPECT_EQ(Unread(), (Values{4, 4, 0, 0}));
  EXPECT_EQ(host.api.PushUpdateDynamicMsgReadState(7, 0, false), 0u);
  EXPECT_EQ(Unread(), (Values{0, 0, 0, 0}));

  // Without a count, or with a negative one: the message itself counts, is
  // listed as unread, marked by mark-all and stored.
  host.Deliver({Dynamic(8, 4, 30, ""), Dynamic(9, 5, 40, "-5")});
  EXPECT_EQ(Unread(), (Values{2, 2, 0, 0}));
  EXPECT_EQ(DynamicIds(true), (Groups{{5}, {4}}));
  EXPECT_EQ(host.api.PushUpdateReadStateByType(1), 2u);
  EXPECT_EQ(Unread(), (Values{0, 0, 0, 0}));
  EXPECT_TRUE(DynamicIds(true).empty());
  ASSERT_TRUE(host.Reload());
  EXPECT_EQ(DynamicIds(), (Groups{{5}, {4}, {3}}));
}

// System and share counts are the unread messages (groups, for shares) that
// the new-only listings hand out; a batch that added anything is announced.
TEST_F(Trust, SystemAndShareCountsEqualTheirUnreadListings) {
  CommandRecorder recorder;
  ASSERT_TRUE(recorder.Register(host, 0, kSystemBit, kEventAdded));
  host.Deliver({System(1, 10), System(2, 20), System(3, 30)});
  host.Deliver({System(3, 30), System(4, 40)});
  EXPECT_EQ(recorder.commands.size(), 2u);
  EXPECT_EQ(host.api.PushUpdateSystemMsgReadState(3, 1), 1u);
  EXPECT_EQ(host.api.PushDeleteSystemMsg(2, 20), 1u);
  EXPECT_EQ(Unread(), (Values{2, 0, 0, 2}));
  EXPECT_EQ(SystemIds(true), (Ids{4, 1}));
  EXPECT_EQ(host.api.PushUpdateReadStateByType(3), 2u);
  EXPECT_EQ(Unread(), (Values{0, 0, 0, 0}));
  EXPECT_TRUE(SystemIds(true).empty());

  host.Deliver({Share(8, 1, 5, 50), Share(8, 1, 6, 60), Share(9, 2, 7, 70)});
  EXPECT_EQ(Unread(), (Values{2, 0, 2, 0}));
  EXPECT_EQ(host.api.PushDeleteShareMsg(9, 70), 1u);
  EXPECT_EQ(Unread(), (Values{1, 0, 1, 0}));
  EXPECT_EQ(ShareIds(true), (Groups{{5, 6}}));
}

// Own shares of both types at one time: deleting one group leaves the other's
// rows. Shares follow the signed-in user, never a folder of user 0.
TEST_F(Trust, DeletesAndUsersKeepToWhatTheyName) {
  OwnShares typeOne(7, 1, {100}), typeTwo(7, 2, {100});
  ASSERT_TRUE(host.api.AddMyShareMsg(typeOne.Get()));
  ASSERT_TRUE(host.api.AddMyShareMsg(typeTwo.Get()));
  EXPECT_EQ(host.api.PushDeleteMyShareMsg(7, 0), 1u);
  ASSERT_TRUE(host.Reload());
  EXPECT_EQ(host.api.GetAllMyShareMsgNum(), 1u);

  host.Deliver(Share(8, 1, 1, 10));
  host.api.PushUpdateShareMsgReadState(8, 1, 0, 0);
  host.SignIn(5002);
  ASSERT_TRUE(host.Reload());
  host.WantEverything();
  EXPECT_TRUE(ShareIds().empty()) << "another user's shares";
  EXPECT_EQ(host.api.GetAllMyShareMsgNum(), 0u);
  host.Deliver(Share(9, 1, 2, 20));
  host.api.PushUpdateShareMsgReadState(9, 1, 0, 0);
  host.SignIn(5001);
  ASSERT_TRUE(host.Reload());
  EXPECT_EQ(ShareIds(), (Groups{{1}}));
  EXPECT_EQ(host.api.GetAllMyShareMsgNum(), 1u);
}

// Per-application queries see what is stored; a listing of nothing hands out
// nothing to free.
TEST_F(Trust, EveryQuerySeesStoredMessages) {
  host.Deliver({Dynamic(7, 1, 10), Share(8, 1, 2, 20)});
  host.api.PushUpdateDynamicMsgReadState(7, 0, false);
  host.api.PushUpdateShareMsgReadState(8, 1, 0, 0);
  ASSERT_TRUE(host.Reload());
  EXPECT_EQ(DynamicListing(host, false, 7).Ids(), (Groups{{1}}));
  EXPECT_EQ(host.api.PushGetUnreadDynamicMsgCountForApp(7), 1u);
  ShareMsgGroupInfo* share = nullptr;
  ASSERT_EQ(host.api.PushGetShareMsgForApp(8, 1, 0, &share, false), 1u);
  EXPECT_STREQ(share[0].msgs[0].appDesc, "d2");
  host.api.PushFreeShareMsgGroupList(share);

  // A listing of nothing sets the array to null.
  auto dynamic = reinterpret_cast<DynamicMsgGroupInfo*>(&host);
  EXPECT_EQ(host.api.PushGetDynamicMsgForApp(7, 0, &dynamic, true), 0u);
  EXPECT_EQ(dynamic, nullptr);
  share = reinterpret_cast<ShareMsgGroupInfo*>(&host);
  EXPECT_EQ(host.api.PushGetShareMsgForApp(8, 1, 0, &share, true), 0u);
  EXPECT_EQ(share, nullptr);
}

// Numbers beyond 2^31 arrive whole on every build.
TEST_F(Trust, PayloadNumbersAreReadOverTheWholeUnsignedRange) {
  host.Deliver({MakeRecord(2, 8, 1, 10, R"({"DSTAPPID":"3000000000","SHARETYPE":1,"FUIN":4000000000})"),
                Dynamic(7, 2, 20, "3000000000")});
  const auto share = ShareListing(host);
  ASSERT_EQ(share.count, 1u);
  EXPECT_EQ(share[0].appId, 3000000000u);
  EXPECT_EQ(share[0].msgs[0].uin, 4000000000u);
  EXPECT_EQ(host.api.PushGetUnreadDynamicMsgCountForApp(7), 3000000000u);
}

TEST_F(Trust, BringsBackReadDynamicMessagesMergedWithThoseBeforeTheFirstListing) {
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

TEST_F(Trust, BringsBackReadSharesMergedWithThoseBeforeTheFirstListing) {
  host.Deliver({Share(5, 1, 1, 100), Share(5, 1, 2, 200), Share(6, 2, 3, 300)});
  EXPECT_EQ(host.api.PushUpdateShareMsgReadState(5, 1, 0, 0), 2u);
  EXPECT_EQ(host.api.PushUpdateReadStateByType(2), 1u);
  host.Deliver(Share(8, 2, 4, 400));  // never read: not kept across the restart

  ASSERT_TRUE(host.Reload());
  host.Deliver(Share(5, 1, 9, 250));  // before the first listing: merged with the stored
  const auto back = ShareListing(host);
  ASSERT_EQ(back.Ids(), (Groups{{3}, {1, 2, 9}}));
  EXPECT_EQ(Each(back, &ShareMsgGroupInfo::appId), (Values{6, 5}));
  EXPECT_EQ(back[0].shareType, 2);
  EXPECT_EQ(Each(back[1].msgs, 3, &ShareMsgInfo::pushTime), (Values{100, 200, 250}));
  EXPECT_STREQ(back[1].msgs[0].text, "m1");
  EXPECT_STREQ(back[1].msgs[0].appDesc, "d1");
  EXPECT_EQ(host.api.PushGetAllUnreadShareMsgNum(), 1u);
  EXPECT_EQ(ShareListing(host, true).Ids(), (Groups{{9}}));

  EXPECT_EQ(host.api.PushDeleteShareMsg(6, 300), 1u);
  ASSERT_TRUE(host.Reload());
  EXPECT_EQ(ShareListing(host).count, 1u);
}

TEST_F(Trust, KeepsOwnSharesToFiftyGroups) {
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

// A callback may call into the library while it builds a center: the
// own-share center reports each stored row as it loads it after a restart.
TEST_F(Trust, ACallbackAskingForTheCenterBeingLoadedGetsNoSecondCenter) {
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
