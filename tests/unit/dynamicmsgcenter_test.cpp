// Dynamic messages against the real database module: the per-application
// groups and the center (order, caps and the rows they delete, listings, the
// unread figure, the first load) and the storage's rows.
#include <algorithm>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "centers/dynamicmsgcenter.h"
#include "messages/dynamicmsg.h"
#include "messages/dynamicmsggroup.h"
#include "storage/dynamicmsgstorage.h"
#include "support/each.h"
#include "support/startedlibrary.h"

namespace {

DynamicMsg* NewMsg(uint32_t msgId, uint32_t pushTime) {
  DynamicMsg* msg = new DynamicMsg();
  msg->SetMsgId(msgId);
  msg->SetPushTime(pushTime);
  msg->SetNewFlag(1);
  return msg;
}

// A group as the decoder hands it over: messages added one by one.
DynamicMsgGroup* NewGroup(uint32_t appId, uint32_t serverCount,
                                 std::initializer_list<DynamicMsg*> msgs) {
  DynamicMsgGroup* group = new DynamicMsgGroup();
  group->SetAppId(appId);
  group->SetMsgCountOnServer(serverCount);
  for (DynamicMsg* msg : msgs) group->AddMsg(msg);
  return group;
}

std::vector<DynamicMsgRow> StoredRows() {
  std::vector<DynamicMsgRow> rows;
  DynamicMsgStorage storage;
  EXPECT_TRUE(storage.Open());
  storage.LoadRows(rows);
  return rows;
}

Values StoredMsgIds() { return Each(StoredRows(), &DynamicMsgRow::msgId); }

// A read message of an earlier session, as a row of application appId.
void Store(uint32_t appId, uint32_t msgId, uint32_t pushTime) {
  DynamicMsgStorage storage;
  ASSERT_TRUE(storage.Open());
  std::unique_ptr<DynamicMsgGroup> owner(NewGroup(appId, 1, {NewMsg(msgId, pushTime)}));
  ASSERT_TRUE(StoreMessage(storage, *owner->GetMsgs().front(), *owner));
}

// A listing, released as the host would release it.
struct Listing {
  DynamicMsgGroupInfo* groups = nullptr;
  uint32_t count = 0;
  ~Listing() { delete[] groups; }
  Values AppIds() const { return Each(groups, count, &DynamicMsgGroupInfo::appId); }
  Values PushTimes(uint32_t i) const {
    return Each(groups[i].msgs, groups[i].msgCount, &DynamicMsgInfo::pushTime);
  }
};

Listing List(DynamicMsgCenter& center, uint32_t maxGroups, uint32_t maxMsgs, bool onlyUnread) {
  Listing listing;
  listing.count = center.GetDynamicMsg(maxGroups, maxMsgs, &listing.groups, onlyUnread);
  return listing;
}

void Push(DynamicMsgCenter& center, uint32_t appId, uint32_t serverCount, uint32_t msgId, uint32_t pushTime) {
  center.AddDynamicMsg(NewGroup(appId, serverCount, {NewMsg(msgId, pushTime)}));
}

}  // namespace

using DynamicMsgCenterTest = unithost::StartedLibrary;

TEST_F(DynamicMsgCenterTest, GroupKeepsTheThreeNewestAndTheCenterRemovesTheRowOfTheEvicted) {
  Store(9, 1, 5);
  Store(9, 1, 10);
  Store(9, 1, 11);
  Store(9, 2, 30);
  DynamicMsgGroup* pushed = NewGroup(8, 1, {});
  DynamicMsgGroup& group = *pushed;
  for (auto [id, time] : {std::pair<uint32_t, uint32_t>{1, 10}, {2, 30}, {3, 20}, {4, 40}}) {
    group.AddMsg(NewMsg(id, time));
  }
  EXPECT_EQ(Each(group.GetMsgs(), &DynamicMsg::GetMsgId), (Values{4, 2, 3}));
  EXPECT_EQ(Each(group.PushedOut(), &DynamicMsg::GetMsgId), (Values{1}));
  EXPECT_EQ(group.GetUnreadCount(), 3u);
  // The center takes the rows of message 1 pushed at or before 10 along,
  // whichever application stored them; a later one stays.
  DynamicMsgCenter center;
  center.AddDynamicMsg(pushed);
  EXPECT_EQ(StoredMsgIds(), (Values{1, 2}));
  EXPECT_EQ(StoredRows()[0].pushTime, 11u);

  // An equal push time goes in front of the held message.
  group.AddMsg(NewMsg(5, 30));
  EXPECT_EQ(Each(group.GetMsgs(), &DynamicMsg::GetMsgId), (Values{4, 5, 2}));
  EXPECT_EQ(group.GetUnreadCount(), 3u);

  // Older than everything held: in and out at once, the unread count as before.
  EXPECT_EQ(group.MarkAllRead(), 3u);
  group.AddMsg(NewMsg(6, 1));
  EXPECT_EQ(Each(group.GetMsgs(), &DynamicMsg::GetMsgId), (Values{4, 5, 2}));
  EXPECT_EQ(group.GetUnreadCount(), 0u);
  EXPECT_EQ(group.GetLatestPushTime(), 40u);

  // A push time with the top bit set is the newest, not a negative one.
  group.AddMsg(NewMsg(7, 0x80000000u));
  EXPECT_EQ(group.GetMsgs().front()->GetMsgId(), 7u);
  EXPECT_EQ(group.GetLatestPushTime(), 0x80000000u);
}

TEST_F(DynamicMsgCenterTest, KeepsGroupsNewestFirstAndEvictsBeyondFifty) {
  DynamicMsgCenter center;
  for (uint32_t app = 1; app <= 50; ++app) Push(center, app, 1, app, 100 + app);
  Store(1, 900, 5);
  Store(2, 901, 5);
  EXPECT_EQ(center.GetUnreadCount(), 50u);
  Push(center, 51, 1, 51, 1000);
  EXPECT_EQ(center.GetMsgCount(), 50u);
  EXPECT_EQ(center.GetUnreadCount(), 50u);
  EXPECT_EQ(center.GetUnreadDynamicMsgCountForApp(1), 0u);
  EXPECT_EQ(StoredMsgIds(), Values{901});

  // Older than every held group: evicted at once, yet announced.
  seen.clear();
  Push(center, 52, 4, 52, 1);
  EXPECT_EQ(center.GetMsgCount(), 50u);
  EXPECT_EQ(center.GetUnreadCount(), 50u);
  EXPECT_EQ(center.GetUnreadDynamicMsgCountForApp(52), 0u);
  EXPECT_EQ(Each(seen, &PushCommand::value1), Values{52});
  EXPECT_EQ(Each(seen, &PushCommand::eventBit), Values{kEventAdded});

  // A held group that takes a newer push moves up: to the front, or before
  // the first group not newer (a group of the same time goes after it).
  Push(center, 2, 1, 902, 2000);
  Push(center, 10, 1, 910, 120);
  const Values ids = List(center, 0, 0, false).AppIds();
  ASSERT_EQ(ids.size(), 50u);
  EXPECT_EQ(Values(ids.begin(), ids.begin() + 3), (Values{2, 51, 50}));
  const auto ten = std::find(ids.begin() + 1, ids.end() - 1, 10u);
  EXPECT_EQ(Values(ten - 1, ten + 2), (Values{21, 10, 20}));
}

TEST_F(DynamicMsgCenterTest, ListingsFollowTheirLimitsAndUnreadRules) {
  DynamicMsgCenter center;
  EXPECT_EQ(List(center, 0, 0, false).count, 0u);  // the first load, of nothing
  for (uint32_t t : {10u, 20u, 30u}) Push(center, 1, 1, t, t);
  for (uint32_t app = 2; app <= 5; ++app) Push(center, app, 1, app * 10, app * 10 + 30);
  for (uint32_t app = 3; app <= 5; ++app) EXPECT_EQ(center.UpdateDynamicMsgReadState(app, 0, false), 1u);
  // Application 1 counts its three unread messages, above its server count.
  EXPECT_EQ(center.GetUnreadCount(), 4u);

  Listing all = List(center, 0, 0, false);
  EXPECT_EQ(all.AppIds(), (Values{5, 4, 3, 2, 1}));
  EXPECT_EQ(all.PushTimes(4), (Values{10, 20, 30}));
  EXPECT_EQ(all.groups[4].valid, 1u);

  Listing limited = List(center, 2, 1, false);
  EXPECT_EQ(limited.AppIds(), (Values{2, 1}));
  EXPECT_EQ(limited.PushTimes(1), Values{30});

  Listing unread = List(center, 0, 0, true);
  EXPECT_EQ(unread.AppIds(), (Values{2, 1}));
  EXPECT_EQ(unread.PushTimes(1), (Values{10, 20, 30}));

  // With a figure of 0 nothing is unread to the host, and out stays as it was.
  EXPECT_EQ(center.UpdateReadState(), 4u);
  DynamicMsgGroupInfo* untouched = reinterpret_cast<DynamicMsgGroupInfo*>(&center);
  EXPECT_EQ(center.GetDynamicMsg(0, 0, &untouched, true), 0u);
  EXPECT_EQ(untouched, reinterpret_cast<DynamicMsgGroupInfo*>(&center));

  // A figure as large as the group count lists every group, with no records.
  EXPECT_TRUE(center.ResetUnreadDynamicMsgCount(5, 9, 0));
  Listing everyGroup = List(center, 0, 0, true);
  ASSERT_EQ(everyGroup.count, 5u);
  EXPECT_EQ(everyGroup.groups[0].msgCount, 0u);
  EXPECT_EQ(everyGroup.groups[0].msgs, nullptr);

  // Unread but older than the newest, which is read: the unread one alone.
  Push(center, 1, 1, 25, 25);
  Listing forApp;
  ASSERT_EQ(center.GetDynamicMsgForApp(1, 0, &forApp.groups, true), 1u);
  EXPECT_EQ(forApp.PushTimes(0), Values{25});
}

// Resets and read marks as a host meets them run as the pushhost scenario;
// here how the figure and the stored rows follow the server's counts.
TEST_F(DynamicMsgCenterTest, UnreadFigureSumsServerCountsOfUnreadGroups) {
  DynamicMsgCenter center;
  Push(center, 7, 5, 1, 10);
  Push(center, 7, 7, 2, 20);
  Push(center, 8, 2, 3, 30);
  EXPECT_EQ(center.GetUnreadCount(), 9u);
  EXPECT_TRUE(center.ResetUnreadDynamicMsgCount(7, 3, 0));
  EXPECT_EQ(center.GetUnreadCount(), 5u);
  EXPECT_EQ(center.UpdateDynamicMsgReadState(7, 0, true), 2u);
  EXPECT_EQ(center.GetUnreadCount(), 2u);
  EXPECT_EQ(Each(StoredRows(), &DynamicMsgRow::msgCountOnServer), (Values{3, 3}));

  // A reset adds its count even to a group without unread messages, and the
  // stored rows take the new count.
  EXPECT_TRUE(center.ResetUnreadDynamicMsgCount(7, 5, 0));
  EXPECT_EQ(center.GetUnreadCount(), 7u);
  EXPECT_EQ(center.GetUnreadDynamicMsgCountForApp(7), 5u);
  EXPECT_EQ(Each(StoredRows(), &DynamicMsgRow::msgCountOnServer), (Values{5, 5}));

  center.ResetUnreadDynamicMsgCount(8, 1, 0);
  EXPECT_EQ(center.UpdateReadState(), 6u);
  EXPECT_EQ(center.GetUnreadCount(), 0u);
  EXPECT_EQ(StoredRows().size(), 3u);
}

TEST_F(DynamicMsgCenterTest, CutsTextsToTheirFieldsWithATerminatingZero) {
  DynamicMsgCenter center;
  DynamicMsg* msg = NewMsg(1, 10);
  msg->SetTitle(std::string(300, 't'));
  msg->SetText(std::string(600, 'x'));
  msg->SetButtonText(std::string(71, 'b'));
  msg->SetBuffer(std::string(1000, 'c'));
  center.AddDynamicMsg(NewGroup(7, 1, {msg}));
  Listing listing;
  ASSERT_EQ(center.GetDynamicMsgForApp(7, 0, &listing.groups, false), 1u);
  const DynamicMsgInfo& info = listing.groups[0].msgs[0];
  EXPECT_EQ(std::string(info.title), std::string(239, 't'));
  EXPECT_EQ(std::strlen(info.text), 599u);
  EXPECT_EQ(std::string(info.buttonText), std::string(71, 'b'));
  EXPECT_EQ(std::strlen(info.buffer), 599u);
  EXPECT_EQ(info.padding, 0);
}

TEST_F(DynamicMsgCenterTest, StorageDeletesAndUpdatesExactlyTheRowsNamed) {
  Store(4294967295u, 5, 90);
  Store(4294967295u, 5, 100);
  Store(4294967295u, 5, 101);
  Store(8, 6, 100);
  DynamicMsgStorage storage;
  ASSERT_TRUE(storage.Open());
  ASSERT_TRUE(storage.Open());  // a second open on the same object still works

  EXPECT_TRUE(storage.DeleteMsg(5, 100));
  std::vector<DynamicMsgRow> rows = StoredRows();
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].pushTime, 101u);
  EXPECT_EQ(rows[1].msgId, 6u);

  // The largest application id must reach the database as ten digits.
  EXPECT_TRUE(storage.UpdateMsgCountOnServer(4294967295u, 0));
  rows = StoredRows();
  EXPECT_EQ(rows[0].msgCountOnServer, 0u);
  EXPECT_EQ(rows[1].msgCountOnServer, 1u);

  EXPECT_TRUE(storage.DeleteByAppId(4294967295u));
  EXPECT_EQ(StoredMsgIds(), std::vector<uint32_t>{6});
  EXPECT_TRUE(storage.DeleteAll());
  EXPECT_TRUE(StoredRows().empty());
}
