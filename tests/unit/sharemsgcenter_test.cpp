// The centers of received shares and of the user's own shares, their groups
// and the rows of sharemsg.db, against the real database module: folding, the
// caps and the rows they delete, read state, listings, and what the next
// center loads.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "centers/mysharemsgcenter.h"
#include "centers/sharemsgcenter.h"
#include "messages/sharemsg.h"
#include "messages/sharemsggroup.h"
#include "storage/sharemsgstorage.h"
#include "support/each.h"
#include "support/ownshares.h"
#include "support/startedlibrary.h"

namespace {

using ShareMsgCenterTest = unithost::StartedLibrary;
using MyShareMsgCenterTest = unithost::StartedLibrary;

ShareMsg* Msg(uint32_t msgId, uint32_t pushTime) {
  ShareMsg* msg = new ShareMsg();
  msg->SetMsgId(msgId);
  msg->SetPushTime(pushTime);
  return msg;
}

Values StoredMsgIds() {
  std::vector<LoadedRoamRow> rows;
  EXPECT_TRUE(ShareMsgStorage::GetInstance()->LoadRoamRows(rows));
  Values ids = Each(rows, &LoadedRoamRow::msgId);
  std::sort(ids.begin(), ids.end());
  return ids;
}

ShareMsgGroup* Push(uint32_t appId, int32_t shareType, uint32_t msgId, uint32_t time,
                    const std::string& appDesc = std::string()) {
  ShareMsgGroup* group = new ShareMsgGroup();
  group->SetAppId(appId);
  group->SetShareType(shareType);
  ShareMsg* msg = new ShareMsg();
  msg->SetMsgId(msgId);
  msg->SetPushTime(time);
  msg->SetAppId(appId);
  msg->SetText("text " + std::to_string(msgId));
  msg->SetAppDesc(appDesc);
  group->AddMsg(msg);
  return group;
}

// A listing, released as the host would release it.
struct Listing {
  ShareMsgGroupInfo* groups = nullptr;
  uint32_t count = 0;
  ~Listing() { delete[] groups; }
  Values AppIds() const { return Each(groups, count, &ShareMsgGroupInfo::appId); }
};

Listing List(ShareMsgCenter& center, uint32_t maxGroups, bool onlyUnread) {
  Listing listing;
  listing.count = center.GetShareMsg(maxGroups, 0, &listing.groups, onlyUnread);
  return listing;
}

// The push times of one listed element, in array order.
Values Times(const ShareMsgGroupInfo& element) {
  return Each(element.msgs, element.msgCount, &ShareMsgInfo::pushTime);
}

Values ShareTimes(const MyShareMsgGroupInfo& e) {
  return Each(e.msgs, e.msgCount, &MyShareMsgInfo::shareTime);
}

RoamShareRow Roam(uint32_t msgId, uint32_t appId, int32_t shareType, uint32_t shareTime) {
  RoamShareRow row;
  row.msgId = msgId;
  row.appId = appId;
  row.shareType = shareType;
  row.shareTime = shareTime;
  return row;
}

size_t StoredOwnRows() {
  std::vector<MyShareRow> rows;
  ShareMsgStorage::GetInstance()->LoadMyRows(rows);
  return rows.size();
}

// The deletions of received rows by group and by message, the whole unsigned
// range of the application and a negative share type included.
TEST_F(ShareMsgCenterTest, RowDeletionsReachExactlyTheirRows) {
  ShareMsgStorage* storage = ShareMsgStorage::GetInstance();
  ASSERT_TRUE(storage->SaveRoamRows({Roam(1, 7, 2, 500), Roam(2, 7, 2, 600), Roam(3, 7, 1, 99),
                                     Roam(4, 8, 1, 99), Roam(5, 4294967295u, -1, 1),
                                     Roam(6, 8, 2, 500)}));
  EXPECT_TRUE(storage->DeleteRoamGroup(7, 2, 500));
  EXPECT_EQ(StoredMsgIds(), (Values{2, 3, 4, 5, 6}));
  EXPECT_TRUE(storage->DeleteRoamGroup(7, 1, 12345));  // type 1: the time plays no part
  EXPECT_EQ(StoredMsgIds(), (Values{2, 4, 5, 6}));
  EXPECT_TRUE(storage->DeleteRoamGroup(7, 2, 0));  // type 2 without a time: all of them
  EXPECT_EQ(StoredMsgIds(), (Values{4, 5, 6}));
  EXPECT_TRUE(storage->DeleteRoamGroup(4294967295u, -1, 0));
  EXPECT_EQ(StoredMsgIds(), (Values{4, 6}));
  EXPECT_TRUE(storage->DeleteRoamMsg(4, 500));  // message 4 has time 99: stays
  EXPECT_TRUE(storage->DeleteRoamMsg(4, 99));
  EXPECT_EQ(StoredMsgIds(), Values{6});
  EXPECT_TRUE(storage->ClearRoam());
  EXPECT_TRUE(StoredMsgIds().empty());
}

// The own table opens first: when it fails nothing is kept, when only the
// received one fails the own table serves meanwhile; either is opened again.
TEST_F(ShareMsgCenterTest, AStorageOpenThatFailedIsTriedAgainAndReleaseLetsGoOfEverything) {
  auto failAfter = testenv::ModuleFunction<bool(HALYX_CDECL*)(uint32_t, int32_t)>("localdatabase.dll",
                                                                                  "LocalDatabaseFailAfter");
  auto openHandles = testenv::ModuleFunction<uint32_t(HALYX_CDECL*)()>("localdatabase.dll", "LocalDatabaseOpenHandles");
  ASSERT_TRUE(failAfter != nullptr && openHandles != nullptr);
  const uint32_t kOpenTable = 3, before = openHandles();
  for (int32_t passes : {0, 1}) {
    ASSERT_TRUE(failAfter(kOpenTable, passes));
    ShareMsgStorage* storage = ShareMsgStorage::GetInstance();
    EXPECT_EQ(storage->SaveMyRows({MyShareRow()}), passes == 1);
    EXPECT_FALSE(storage->SaveRoamRows({Roam(1, 7, 1, 5)}));
    EXPECT_TRUE(passes != 0 || openHandles() == before) << "a half-open storage kept";
    failAfter(kOpenTable, -1);
    EXPECT_TRUE(storage->SaveRoamRows({Roam(1, 7, 1, 5)}));
    EXPECT_TRUE(passes != 0 || storage->SaveMyRows({MyShareRow()}));
    EXPECT_GT(openHandles(), before);
    SingltonRegistry::ReleaseAll();
    EXPECT_EQ(openHandles(), before);
  }
  EXPECT_EQ(StoredOwnRows(), 2u);
}

TEST_F(ShareMsgCenterTest, GroupKeepsElevenNewestAndTheCenterDeletesTheRowOfTheEvicted) {
  ASSERT_TRUE(ShareMsgStorage::GetInstance()->SaveRoamRows({Roam(101, 0, 0, 1), Roam(102, 0, 0, 2)}));

  std::unique_ptr<ShareMsgGroup> owned(new ShareMsgGroup());
  ShareMsgGroup& group = *owned;
  group.SetShareType(1);
  for (uint32_t t = 1; t <= 12; ++t) group.AddMsg(Msg(100 + t, t));
  EXPECT_EQ(Each(group.GetMsgs(), &ShareMsg::GetPushTime), (Values{12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2}));
  EXPECT_EQ(group.GetUnreadCount(), 11u);
  EXPECT_EQ(group.GetLatestPushTime(), 12u);
  EXPECT_EQ(Each(group.PushedOut(), &ShareMsg::GetMsgId), Values{101});

  // Older than everything kept: in and out at once, the figure stays.
  group.AddMsg(Msg(500, 0));
  EXPECT_EQ(group.GetMsgs().size(), 11u);
  EXPECT_EQ(group.GetMsgs().back()->GetMsgId(), 102u);
  EXPECT_EQ(group.GetUnreadCount(), 11u);

  // An equal time goes in front of the kept one and pushes out time 2.
  group.AddMsg(Msg(700, 7));
  EXPECT_EQ(group.GetMsgs()[5]->GetMsgId(), 700u);
  EXPECT_EQ(group.GetMsgs()[6]->GetMsgId(), 107u);
  EXPECT_EQ(group.GetMsgs().back()->GetPushTime(), 3u);
  EXPECT_EQ(Each(group.PushedOut(), &ShareMsg::GetMsgId), (Values{101, 500, 102}));

  // Evicting a read message leaves the figure alone; a time 2^31 or more
  // counts as the newest.
  EXPECT_EQ(group.MarkAllRead(), 11u);
  group.AddMsg(Msg(800, 0x80000000u));
  EXPECT_EQ(group.GetUnreadCount(), 1u);
  EXPECT_EQ(group.GetMsgs().front()->GetMsgId(), 800u);
  EXPECT_EQ(group.GetLatestPushTime(), 0x80000000u);

  // The center that takes the group removes the stored copies of what it
  // pushed out.
  ShareMsgCenter center;
  center.AddShareMsg(owned.release());
  EXPECT_TRUE(StoredMsgIds().empty());
}

TEST_F(ShareMsgCenterTest, ListingSelectsAndOrdersAsAsked) {
  ShareMsgCenter center;
  EXPECT_EQ(List(center, 0, false).count, 0u);  // loads the empty table
  center.AddShareMsg(Push(1, 2, 1, 300));
  center.AddShareMsg(Push(2, 2, 2, 200));
  center.AddShareMsg(Push(3, 2, 3, 100));
  center.UpdateShareMsgReadState(1, 2, 0, 300);
  center.UpdateShareMsgReadState(3, 2, 0, 100);
  // A partial selection passes over groups without unread messages.
  EXPECT_EQ(List(center, 1, false).AppIds(), Values{2});
  EXPECT_EQ(List(center, 0, true).AppIds(), Values{2});
  EXPECT_EQ(List(center, 0, false).AppIds(), (Values{1, 2, 3}));

  // Newest messages first, handed out oldest first; unread only stops at
  // the group's unread figure.
  center.AddShareMsg(Push(9, 1, 10, 10));
  center.AddShareMsg(Push(9, 1, 20, 20));
  center.UpdateShareMsgReadState(9, 1, 0, 0);
  center.AddShareMsg(Push(9, 1, 30, 30, std::string(700, 'd')));
  Listing limited;
  ASSERT_EQ(limited.count = center.GetShareMsgForApp(9, 1, 2, &limited.groups, false), 2u);
  EXPECT_EQ(Times(limited.groups[0]), (Values{20, 30}));
  EXPECT_EQ(std::string(limited.groups[0].msgs[1].appDesc), std::string(599, 'd'));
  EXPECT_EQ(std::string(limited.groups[0].msgs[0].text), "text 20");
  Listing unread;
  ASSERT_EQ(unread.count = center.GetShareMsgForApp(9, 1, 0, &unread.groups, true), 1u);
  EXPECT_EQ(Times(unread.groups[0]), Values{30});
  Listing all = List(center, 0, true);
  EXPECT_EQ(all.AppIds(), (Values{2, 9}));
  EXPECT_EQ(Times(all.groups[1]), Values{30});
  ShareMsgGroupInfo* none = nullptr;
  EXPECT_EQ(center.GetShareMsgForApp(1, 2, 0, &none, true), 0u);   // read group
  EXPECT_EQ(center.GetShareMsgForApp(9, 2, 0, &none, false), 0u);  // no such type
}

TEST_F(ShareMsgCenterTest, FiftyFirstGroupPushesOutTheOldestWithItsRows) {
  ShareMsgCenter center;
  List(center, 0, false);
  for (uint32_t i = 1; i <= 50; ++i) center.AddShareMsg(Push(i, 2, i, 100 + i));
  center.UpdateShareMsgReadState(1, 2, 0, 101);
  EXPECT_EQ(center.GetUnreadCount(), 49u);

  center.AddShareMsg(Push(60, 2, 60, 200));  // evicts the read group of time 101
  EXPECT_EQ(center.GetMsgCount(), 50u);
  EXPECT_EQ(center.GetUnreadCount(), 50u);
  EXPECT_TRUE(StoredMsgIds().empty());

  center.AddShareMsg(Push(61, 2, 61, 201));  // evicts the unread group of time 102
  EXPECT_EQ(center.GetMsgCount(), 50u);
  EXPECT_EQ(center.GetUnreadCount(), 50u);
  EXPECT_EQ(center.DeleteShareMsg(2, 102), 0u);
  EXPECT_EQ(center.DeleteShareMsg(3, 103), 1u);
  EXPECT_EQ(center.GetUnreadCount(), 49u);  // an unread group takes its part along
}

TEST_F(ShareMsgCenterTest, LoadedGroupsStandByTheirNewestStoredMessage) {
  {
    // Read and stored one by one, in this order. The load meets the rows
    // last to first: the group of application 3 gets an older message and
    // must still come before the group of 4, which arrived later with the
    // same time; the group of 1 starts behind 2 and must move ahead of it.
    ShareMsgCenter center;
    const uint32_t stored[][2] = {{1, 50}, {2, 20}, {1, 10}, {3, 5}, {4, 60}, {3, 60}};
    uint32_t msgId = 0;
    for (const auto& push : stored) {
      center.AddShareMsg(Push(push[0], 1, ++msgId, push[1]));
      center.UpdateReadState();
    }
  }
  ShareMsgCenter center;
  ShareMsgGroupInfo* out = nullptr;
  ASSERT_EQ(center.GetShareMsg(0, 0, &out, false), 4u);
  EXPECT_EQ(Each(out, 4, &ShareMsgGroupInfo::appId), (Values{3, 4, 1, 2}));
  EXPECT_EQ(Times(out[2]), (Values{10, 50}));
  EXPECT_EQ(center.GetUnreadCount(), 0u);
  EXPECT_EQ(std::string(out[2].msgs[1].text), "text 1");
  delete[] out;
}

TEST_F(MyShareMsgCenterTest, KeepsTheEightNewestInMemoryAndStored) {
  {
    MyShareMsgCenter center;
    EXPECT_TRUE(center.AddMyShareMsg(OwnShares(1, 1, {5, 1, 9, 2, 8, 3, 7, 4, 6}).Get()));
    EXPECT_EQ(StoredOwnRows(), 8u);
    // Older than all eight: written, then merged out again.
    EXPECT_TRUE(center.AddMyShareMsg(OwnShares(1, 1, {0}).Get()));
    EXPECT_EQ(StoredOwnRows(), 8u);
    EXPECT_FALSE(center.AddMyShareMsg(nullptr));
  }
  MyShareMsgCenter center;  // loads what the first one stored
  MyShareMsgGroupInfo* out = nullptr;
  ASSERT_EQ(center.GetMyShareMsg(0, 0, &out), 1u);
  EXPECT_EQ(out[0].kind, 4u);
  EXPECT_EQ(ShareTimes(out[0]), (Values{9, 8, 7, 6, 5, 4, 3, 2}));
  EXPECT_EQ(out[0].msgs[0].uin, 1009u);
  EXPECT_STREQ(out[0].msgs[0].text, "text 9");
  delete[] out;
  ASSERT_EQ(center.GetMyShareMsgForApp(1, 1, 2, &out, nullptr), 2u);
  EXPECT_EQ(ShareTimes(out[0]), (Values{9, 8}));
  delete[] out;
}

TEST_F(MyShareMsgCenterTest, ReadsHostTextsOnlyWithinTheirFields) {
  MyShareMsgCenter center;
  OwnShares full(4, 1, {10});
  memset(full.msgs[0].title, 't', sizeof full.msgs[0].title);
  memset(full.msgs[0].appDesc, 'a', sizeof full.msgs[0].appDesc);
  ASSERT_TRUE(center.AddMyShareMsg(full.Get()));
  OwnShares none(5, 1, {});
  ASSERT_TRUE(center.AddMyShareMsg(none.Get()));

  MyShareMsgGroupInfo* out = nullptr;
  ASSERT_EQ(center.GetMyShareMsg(0, 0, &out), 2u);
  EXPECT_EQ(out[0].appId, 4u);
  EXPECT_EQ(std::string(out[0].msgs[0].title), std::string(239, 't'));
  EXPECT_EQ(std::string(out[0].msgs[0].appDesc), std::string(599, 'a'));
  EXPECT_EQ(out[1].msgCount, 0u);
  EXPECT_EQ(out[1].msgs, nullptr);
  delete[] out;
}

}  // namespace
