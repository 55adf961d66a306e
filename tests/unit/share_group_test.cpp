#include <gtest/gtest.h>

#include <vector>

#include "messages/sharemsg.h"
#include "messages/sharemsggroup.h"
#include "share_testing.h"
#include "storage/sharemsgstorage.h"

namespace {

using ShareMsgGroupTest = sharetest::SignedIn;

ShareMsg* Msg(uint32_t msgId, uint32_t pushTime) {
  ShareMsg* msg = new ShareMsg();
  msg->SetMsgId(msgId);
  msg->SetPushTime(pushTime);
  return msg;
}

std::vector<uint32_t> Times(ShareMsgGroup& group) {
  std::vector<uint32_t> times;
  for (ShareMsg* msg : group.GetMsgs()) times.push_back(msg->GetPushTime());
  return times;
}

std::vector<uint32_t> StoredMsgIds() {
  std::vector<RoamShareRow> rows;
  EXPECT_TRUE(ShareMsgStorage::GetInstance()->LoadRoamRows(rows));
  std::vector<uint32_t> ids;
  for (const RoamShareRow& row : rows) ids.push_back(row.msgId);
  return ids;
}

TEST_F(ShareMsgGroupTest, KeepsElevenNewestAndDeletesTheRowOfTheEvicted) {
  std::vector<RoamShareRow> stored(2);
  stored[0].msgId = 101;
  stored[0].shareTime = 1;
  stored[1].msgId = 102;
  stored[1].shareTime = 2;
  ASSERT_TRUE(ShareMsgStorage::GetInstance()->SaveRoamRows(stored));

  ShareMsgGroup group;
  for (uint32_t t = 1; t <= 12; ++t) group.AddMsg(Msg(100 + t, t));
  EXPECT_EQ(Times(group), (std::vector<uint32_t>{12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2}));
  EXPECT_EQ(group.GetUnreadCount(), 11u);
  EXPECT_EQ(group.GetLatestPushTime(), 12u);
  EXPECT_EQ(StoredMsgIds(), std::vector<uint32_t>{102});

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
  EXPECT_TRUE(StoredMsgIds().empty());

  // Evicting a read message leaves the figure alone; a time 2^31 or more
  // counts as the newest.
  EXPECT_EQ(group.MarkAllRead(), 11u);
  group.AddMsg(Msg(800, 0x80000000u));
  EXPECT_EQ(group.GetUnreadCount(), 1u);
  EXPECT_EQ(group.GetMsgs().front()->GetMsgId(), 800u);
  EXPECT_EQ(group.GetLatestPushTime(), 0x80000000u);
}

}  // namespace
