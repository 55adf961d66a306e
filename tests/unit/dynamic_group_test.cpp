#include <vector>

#include "dynamic_testing.h"

using namespace dyntest;

namespace {

std::vector<uint32_t> HeldIds(DynamicMsgGroup& group) {
  std::vector<uint32_t> ids;
  for (DynamicMsg* msg : group.GetMsgs()) ids.push_back(msg->GetMsgId());
  return ids;
}

void StoreRow(uint32_t msgId, uint32_t pushTime) {
  DynamicMsgStorage storage;
  ASSERT_TRUE(storage.Open());
  DynamicMsgGroup owner;
  DynamicMsg msg;
  msg.SetMsgId(msgId);
  msg.SetPushTime(pushTime);
  ASSERT_TRUE(StoreMessage(storage, msg, owner));
}

}  // namespace

class DynamicMsgGroupTest : public DynamicTest {};

TEST_F(DynamicMsgGroupTest, KeepsTheThreeNewestAndRemovesTheRowOfTheEvicted) {
  StoreRow(1, 5);
  StoreRow(1, 10);
  StoreRow(1, 11);
  StoreRow(2, 30);
  DynamicMsgGroup group;
  for (auto [id, time] : {std::pair<uint32_t, uint32_t>{1, 10}, {2, 30}, {3, 20}, {4, 40}}) {
    group.AddMsg(NewMsg(id, time));
  }
  EXPECT_EQ(HeldIds(group), (std::vector<uint32_t>{4, 2, 3}));
  EXPECT_EQ(group.GetUnreadCount(), 3u);
  // Rows of message 1 pushed at or before 10 went with it; a later one stays.
  EXPECT_EQ(StoredMsgIds(), (std::vector<uint32_t>{1, 2}));
  EXPECT_EQ(StoredRows()[0].pushTime, 11u);

  // An equal push time goes in front of the held message.
  group.AddMsg(NewMsg(5, 30));
  EXPECT_EQ(HeldIds(group), (std::vector<uint32_t>{4, 5, 2}));
  EXPECT_EQ(group.GetUnreadCount(), 3u);

  // Older than everything held: in and out at once, the unread count as before.
  EXPECT_EQ(group.MarkAllRead(), 3u);
  group.AddMsg(NewMsg(6, 1));
  EXPECT_EQ(HeldIds(group), (std::vector<uint32_t>{4, 5, 2}));
  EXPECT_EQ(group.GetUnreadCount(), 0u);
  EXPECT_EQ(group.GetLatestPushTime(), 40u);

  // A push time with the top bit set is the newest, not a negative one.
  group.AddMsg(NewMsg(7, 0x80000000u));
  EXPECT_EQ(group.GetMsgs().front()->GetMsgId(), 7u);
  EXPECT_EQ(group.GetLatestPushTime(), 0x80000000u);
}
