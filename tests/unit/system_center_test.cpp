// The system center against the real database module: ordering, the cap and
// its row deletions, duplicates, listings, read state and deletions.
#include <deque>
#include <string>

#include "centers/systemmsgcenter.h"
#include "system_fixture.h"

namespace {

using unithost::ReadReports;

class SystemMsgCenterTest : public SystemFixture {
 protected:
  // Lists and hands the block back to the export that frees it.
  std::vector<SystemMsgInfo> List(uint32_t wanted, bool newOnly) {
    SystemMsgInfo* block = nullptr;
    uint32_t n = center.GetSystemMsg(wanted, &block, newOnly);
    std::vector<SystemMsgInfo> copy(block, block + n);
    PushFreeSystemMsgList(block);
    return copy;
  }
  std::vector<uint32_t> Ids(uint32_t wanted = 0, bool newOnly = false) {
    std::vector<uint32_t> ids;
    for (const SystemMsgInfo& info : List(wanted, newOnly)) ids.push_back(info.msgId);
    return ids;
  }
  // A batch as the intake queues it: the last record at the front.
  void Push(std::deque<SystemMsg*> batch) { center.AddSystemMsgs(&batch); }

  SystemMsgCenter center;
};

typedef std::vector<uint32_t> IdList;

TEST_F(SystemMsgCenterTest, OrdersByPushTimeThenMsgIdUnsigned) {
  Push({Msg(5, 0x80000000u), Msg(4, 200), Msg(3, 200), Msg(2, 300), Msg(1, 100)});
  EXPECT_EQ(Ids(), (IdList{5, 2, 4, 3, 1}));
  EXPECT_EQ(center.GetUnreadCount(), 5u);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].kindBit, kSystemBit);
  EXPECT_EQ(seen[0].eventBit, kEventAdded);
}

TEST_F(SystemMsgCenterTest, EvictsOldestBeyondFiftyWithItsRows) {
  Store(900, 10);
  Store(901, 11);
  Store(902, 12);
  for (uint32_t i = 1; i <= 51; ++i) Push({Msg(i, 10 + i)});
  EXPECT_EQ(center.GetMsgCount(), 50u);
  EXPECT_EQ(center.GetUnreadCount(), 50u);
  std::vector<SystemMsgRow> rows = StoredRows();  // rows at or below push time 11 went
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].msgId, 902u);

  seen.clear();
  Push({Msg(99, 5)});  // older than all held: dropped at once, still announced
  EXPECT_EQ(center.GetUnreadCount(), 50u);
  EXPECT_EQ(seen.size(), 1u);
}

TEST_F(SystemMsgCenterTest, DuplicateIsDroppedAndSilencesItsBatch) {
  Push({Msg(1, 100)});
  seen.clear();
  Push({Msg(2, 200), Msg(1, 100), Msg(1, 101)});
  EXPECT_EQ(Ids(), (IdList{2, 1, 1}));
  EXPECT_EQ(center.GetUnreadCount(), 3u);
  EXPECT_TRUE(seen.empty());
}

TEST_F(SystemMsgCenterTest, ListingCountsAndNewOnly) {
  Store(7, 50);
  SystemMsgInfo* untouched = reinterpret_cast<SystemMsgInfo*>(&center);
  SystemMsgInfo* out = untouched;
  EXPECT_EQ(center.GetSystemMsg(0, nullptr, false), 0u);
  EXPECT_EQ(center.GetMsgCount(), 0u);  // a null argument loads nothing
  EXPECT_EQ(center.GetSystemMsg(0, &out, true), 0u);
  EXPECT_EQ(out, untouched);
  EXPECT_EQ(center.GetMsgCount(), 1u);

  Push({Msg(3, 300), Msg(2, 200), Msg(1, 100)});
  EXPECT_EQ(Ids(), (IdList{3, 2, 1, 7}));
  EXPECT_EQ(Ids(2), (IdList{3, 2}));
  EXPECT_EQ(Ids(99).size(), 4u);
  EXPECT_EQ(center.UpdateSystemMsgReadState(3, 1), 1u);
  EXPECT_EQ(Ids(0, true), (IdList{3, 2}));  // the newest unreadCount, read or not
}

TEST_F(SystemMsgCenterTest, ElementsAreBoundedAndZeroFilled) {
  SystemMsg* msg = Msg(1, 100);
  msg->SetTitle(std::string(300, 't'));
  msg->SetButtonText(std::string(80, 'b'));
  msg->SetBuffer(std::string(700, 'c'));
  msg->SetText("short");
  msg->SetAppId(77);
  msg->SetBtnType(3);
  Push({msg});
  std::vector<SystemMsgInfo> infos = List(0, false);
  ASSERT_EQ(infos.size(), 1u);
  const SystemMsgInfo& info = infos[0];
  EXPECT_EQ(std::string(info.title), std::string(239, 't'));
  EXPECT_EQ(std::string(info.buttonText), std::string(71, 'b'));
  EXPECT_EQ(std::string(info.buffer), std::string(599, 'c'));
  EXPECT_EQ(std::string(info.text, sizeof(info.text)), "short" + std::string(595, '\0'));
  EXPECT_EQ(info.kind, 3u);
  EXPECT_EQ(info.appId, 77u);
  EXPECT_EQ(info.btnType, 3);
}

// Marks as a host meets them run as the pushhost scenario; here the read
// state's low byte, and a message turned unread again.
TEST_F(SystemMsgCenterTest, OnlyTheLowByteOfAReadStateCountsAndUnreadCountsAgain) {
  Push({Msg(2, 200), Msg(1, 100)});
  EXPECT_EQ(center.UpdateSystemMsgReadState(1, 0x101), 1u);
  EXPECT_EQ(center.GetUnreadCount(), 1u);
  EXPECT_EQ(StoredRows().size(), 1u);
  // Back to unread: the count follows, so mark-all subtracts exactly that.
  EXPECT_EQ(center.UpdateSystemMsgReadState(1, 0x100), 1u);
  EXPECT_EQ(center.GetUnreadCount(), 2u);
  EXPECT_EQ(center.UpdateReadState(), 2u);
  EXPECT_EQ(center.GetUnreadCount(), 0u);
  EXPECT_EQ(StoredRows().size(), 4u);
}

TEST_F(SystemMsgCenterTest, DeleteAndClearReachTheRows) {
  Store(1, 100);
  Store(1, 100);
  Store(9, 900);
  Push({Msg(1, 100)});
  seen.clear();
  EXPECT_EQ(center.DeleteSystemMsg(1, 100), 1u);
  EXPECT_EQ(seen.size(), 1u);
  EXPECT_EQ(center.GetUnreadCount(), 1u);   // deleting leaves the figure alone
  EXPECT_EQ(center.DeleteSystemMsg(9, 900), 0u);  // only stored: quietly removed
  EXPECT_EQ(seen.size(), 1u);
  EXPECT_TRUE(StoredRows().empty());

  Store(7, 70);
  Push({Msg(2, 200)});
  EXPECT_EQ(List(0, false).size(), 2u);
  EXPECT_TRUE(center.ClearMsg());
  EXPECT_EQ(center.GetUnreadCount(), 0u);
  EXPECT_TRUE(StoredRows().empty());
  Store(8, 80);
  EXPECT_TRUE(List(0, false).empty());  // a cleared center does not load again
  EXPECT_EQ(seen.back().eventBit, kEventDeleted);
}

TEST_F(SystemMsgCenterTest, FirstLoadKeepsTheFiftyNewestOfStoredAndPushed) {
  for (uint32_t i = 1; i <= 30; ++i) Store(100 + i, 1000 + i);
  for (uint32_t i = 1; i <= 30; ++i) Push({Msg(i, 2 * i)});
  std::vector<SystemMsgInfo> infos = List(0, false);
  ASSERT_EQ(infos.size(), 50u);
  EXPECT_EQ(infos.front().msgId, 130u);
  EXPECT_EQ(infos.back().msgId, 11u);
  EXPECT_EQ(center.GetUnreadCount(), 30u);  // loading never changes the figure
  EXPECT_EQ(StoredRows().size(), 30u);
}

// Memory work without a database is in the fault tests: the read report
// still goes out, and the next listing tries the database again.
TEST_F(SystemMsgCenterTest, DatabaseThatWillNotOpenIsTriedAgainAtTheNextListing) {
  Store(7, 70);
  unithost::SignOut();
  Push({Msg(2, 200), Msg(1, 100)});
  EXPECT_TRUE(List(0, false).empty());
  uint32_t reports = ReadReports(3);
  EXPECT_EQ(center.UpdateReadState(), 0u);
  EXPECT_EQ(ReadReports(3), reports + 1);  // told before the open was tried
  unithost::SignIn(4321);
  EXPECT_EQ(Ids(), (IdList{2, 1, 7}));
}

}  // namespace
