// System messages against the real database module: the center (ordering,
// the cap and its row deletions, read state and deletions) and sysmsg.db
// through the storage (what a row keeps, the load
// corrections, the migration of older files, the delete conditions and what
// refused calls leave behind).
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "centers/systemmsgcenter.h"
#include "messages/systemmsg.h"
#include "modules/halyx_localdatabase_wrapper.h"
#include "storage/datafolder.h"
#include "storage/systemmsgstorage.h"
#include "support/each.h"
#include "support/startedlibrary.h"

namespace {


SystemMsg* Msg(uint32_t msgId, uint32_t pushTime) {
  SystemMsg* msg = new SystemMsg();
  msg->SetMsgId(msgId);
  msg->SetPushTime(pushTime);
  return msg;
}

// Every row of sysmsg.db as the storage reads it back.
std::vector<SystemMsgRow> StoredRows() {
  std::vector<SystemMsgRow> rows;
  SystemMsgStorage storage;
  EXPECT_TRUE(storage.Open() && storage.LoadRows(rows));
  return rows;
}

// A message the host read in an earlier session.
void Store(uint32_t msgId, uint32_t pushTime) {
  SystemMsgStorage storage;
  ASSERT_TRUE(storage.Open());
  std::unique_ptr<SystemMsg> msg(Msg(msgId, pushTime));
  SaveSystemMsg(storage, *msg);
}

SystemMsgRow Row(uint32_t msgId, uint32_t pushTime, int32_t openType = 1, int32_t subType = 1,
                 int32_t btnType = 1) {
  SystemMsgRow row;
  row.msgId = msgId;
  row.pushTime = pushTime;
  row.openType = openType;
  row.subType = subType;
  row.btnType = btnType;
  return row;
}

// The system suites sign in a user of their own, whose folder some tests
// reach directly.
class SystemFixture : public unithost::StartedLibrary {
 protected:
  void SetUp() override {
    StartedLibrary::SetUp();
    unithost::SignIn(4321);
  }
};

class SystemMsgCenterTest : public SystemFixture {
 protected:
  // Lists and hands the block back to the export that frees it.
  std::vector<SystemMsgInfo> List(uint32_t wanted, bool newOnly) {
    SystemMsgInfo* block = nullptr;
    const uint32_t n = center_.GetSystemMsg(wanted, &block, newOnly);
    std::vector<SystemMsgInfo> copy;
    if (block != nullptr) copy.assign(block, block + n);
    PushFreeSystemMsgList(block);
    return copy;
  }
  Values Ids(uint32_t wanted = 0, bool newOnly = false) {
    return Each(List(wanted, newOnly), &SystemMsgInfo::msgId);
  }
  // A batch as the intake queues it: the last record at the front.
  void Push(std::deque<SystemMsg*> batch) { center_.AddSystemMsgs(&batch); }

  SystemMsgCenter center_;
};

using SystemMsgStorageTest = SystemFixture;

TEST_F(SystemMsgCenterTest, OrdersByPushTimeThenMsgIdUnsigned) {
  Push({Msg(5, 0x80000000u), Msg(4, 200), Msg(3, 200), Msg(2, 300), Msg(1, 100)});
  EXPECT_EQ(Ids(), (Values{5, 2, 4, 3, 1}));
  EXPECT_EQ(Ids(2), (Values{5, 2}));
  EXPECT_EQ(Ids(0, true).size(), 5u);
  EXPECT_EQ(center_.GetUnreadCount(), 5u);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].kindBit, kSystemBit);
  EXPECT_EQ(seen[0].eventBit, kEventAdded);
}

TEST_F(SystemMsgCenterTest, EvictsOldestBeyondFiftyWithItsRows) {
  Store(900, 10);
  Store(901, 11);
  Store(902, 12);
  // The first push reads the three rows back; the two oldest then make way,
  // each taking every row at or below its push time along.
  for (uint32_t i = 1; i <= 49; ++i) Push({Msg(i, 100 + i)});
  EXPECT_EQ(center_.GetMsgCount(), 50u);
  EXPECT_EQ(center_.GetUnreadCount(), 49u);
  std::vector<SystemMsgRow> rows = StoredRows();
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].msgId, 902u);

  seen.clear();
  Push({Msg(99, 5)});  // older than all held: dropped at once, still announced
  EXPECT_EQ(center_.GetUnreadCount(), 49u);
  EXPECT_EQ(seen.size(), 1u);
  EXPECT_EQ(StoredRows().size(), 1u);
}

// Marks as a host meets them run as the pushhost scenario; here the read
// state's low byte, and a message turned unread again, which keeps its one
// row.
TEST_F(SystemMsgCenterTest, OnlyTheLowByteOfAReadStateCountsAndUnreadCountsAgain) {
  Push({Msg(2, 200), Msg(1, 100)});
  EXPECT_EQ(center_.UpdateSystemMsgReadState(1, 0x101), 1u);
  EXPECT_EQ(center_.GetUnreadCount(), 1u);
  EXPECT_EQ(StoredRows().size(), 1u);
  // Back to unread: the count follows, so mark-all subtracts exactly that.
  EXPECT_EQ(center_.UpdateSystemMsgReadState(1, 0x100), 1u);
  EXPECT_EQ(center_.GetUnreadCount(), 2u);
  EXPECT_EQ(center_.UpdateReadState(), 2u);
  EXPECT_EQ(center_.GetUnreadCount(), 0u);
  EXPECT_EQ(StoredRows().size(), 2u);
}

TEST_F(SystemMsgCenterTest, DeleteAndClearReachTheRows) {
  Store(1, 100);
  Store(1, 100);
  Store(9, 900);
  EXPECT_EQ(center_.DeleteSystemMsg(9, 900), 0u);  // only stored: quietly removed
  EXPECT_TRUE(seen.empty());
  Push({Msg(1, 100), Msg(3, 300)});  // message 1 is read back, and held once
  EXPECT_EQ(Ids(), (Values{3, 1}));
  seen.clear();
  EXPECT_EQ(center_.DeleteSystemMsg(1, 100), 1u);
  EXPECT_TRUE(StoredRows().empty());  // both rows of message 1
  EXPECT_EQ(center_.DeleteSystemMsg(3, 300), 1u);
  EXPECT_EQ(seen.size(), 2u);
  EXPECT_EQ(center_.GetUnreadCount(), 0u);  // the unread message took its count along

  Push({Msg(2, 200)});
  EXPECT_EQ(center_.UpdateSystemMsgReadState(2, 1), 1u);
  EXPECT_EQ(StoredRows().size(), 1u);
  EXPECT_TRUE(center_.ClearMsg());
  EXPECT_EQ(center_.GetUnreadCount(), 0u);
  EXPECT_TRUE(StoredRows().empty());
  Store(8, 80);
  EXPECT_TRUE(List(0, false).empty());  // a cleared center does not load again
  EXPECT_EQ(seen.back().eventBit, kEventDeleted);
}

// An eviction takes every row at or below its push time along, those of held
// messages of the same time included: such a message is stored again when it
// is read again.
TEST_F(SystemMsgCenterTest, ARowTakenAlongByAnEvictionIsWrittenAgain) {
  Push({Msg(2, 50), Msg(1, 50)});
  EXPECT_EQ(center_.UpdateSystemMsgReadState(2, 1), 1u);
  for (uint32_t i = 0; i < 49; ++i) Push({Msg(100 + i, 100 + i)});  // message 1 goes
  EXPECT_TRUE(StoredRows().empty());
  EXPECT_EQ(center_.UpdateSystemMsgReadState(2, 0), 1u);
  EXPECT_EQ(center_.UpdateSystemMsgReadState(2, 1), 1u);
  std::vector<SystemMsgRow> rows = StoredRows();
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].msgId, 2u);
}

TEST_F(SystemMsgCenterTest, FirstLoadKeepsTheFiftyNewestOfStoredAndPushed) {
  for (uint32_t i = 1; i <= 30; ++i) Store(100 + i, 1000 + i);
  for (uint32_t i = 1; i <= 30; ++i) Push({Msg(i, 2 * i)});
  std::vector<SystemMsgInfo> infos = List(0, false);
  ASSERT_EQ(infos.size(), 50u);
  EXPECT_EQ(infos.front().msgId, 130u);
  EXPECT_EQ(infos.back().msgId, 11u);
  EXPECT_EQ(center_.GetUnreadCount(), 20u);  // the pushed messages that stay
  EXPECT_EQ(StoredRows().size(), 30u);
}

TEST_F(SystemMsgStorageTest, RoundTripKeepsEveryFieldAndBoundsTheBuffer) {
  SystemMsg msg;
  msg.SetMsgId(0xFFFFFFF0u);
  msg.SetPushTime(0x80000001u);
  msg.SetOpenType(3);
  msg.SetText("Wartung \xE2\x9C\x93");
  msg.SetTitle("Hinweis");
  msg.SetPictureUrl("p");
  msg.SetJumpUrl("j");
  msg.SetAppId(4000000000u);
  msg.SetBuffer(std::string(700, 'z'));
  msg.SetSubType(2);
  msg.SetBtnType(3);
  {
    SystemMsgStorage storage;
    ASSERT_TRUE(storage.Open());
    SaveSystemMsg(storage, msg);
  }
  std::vector<SystemMsgRow> rows = StoredRows();
  ASSERT_EQ(rows.size(), 1u);
  std::unique_ptr<SystemMsg> back(SystemMsgFromRow(rows[0]));
  EXPECT_EQ((Values{back->GetMsgId(), back->GetPushTime(), back->GetAppId(), uint32_t(back->GetOpenType()),
                    uint32_t(back->GetSubType()), uint32_t(back->GetBtnType()), back->GetReadState()}),
            (Values{0xFFFFFFF0u, 0x80000001u, 4000000000u, 3, 2, 3, 1}));
  EXPECT_EQ(back->TextRef() + "|" + back->TitleRef() + back->PictureUrlRef() + back->JumpUrlRef() + "|" +
                back->ButtonTextRef(), msg.TextRef() + "|Hinweispj|");
  EXPECT_EQ(back->BufferRef(), std::string(599, 'z'));
}

// Types out of range read back as 1; deletions match push times unsigned.
TEST_F(SystemMsgStorageTest, LoadCorrectsOutOfRangeTypesAndDeletesMatchTheirRows) {
  SystemMsgStorage storage;
  EXPECT_FALSE(storage.DeleteAll());  // not open
  ASSERT_TRUE(storage.Open());
  ASSERT_TRUE(storage.InsertRows({Row(1, 10, 0, 4, 0), Row(2, 20, 5, -1, 3), Row(3, 30, 4, 3, 2),
                                  Row(3, 30, -1, 1, 7), Row(3, 31), Row(4, 0xF0000000u)}));
  const std::vector<SystemMsgRow> rows = StoredRows();
  EXPECT_EQ(Each(rows, &SystemMsgRow::openType), (Values{1, 1, 4, 1, 1, 1}));
  EXPECT_EQ(Each(rows, &SystemMsgRow::subType), (Values{1, 1, 3, 1, 1, 1}));
  EXPECT_EQ(Each(rows, &SystemMsgRow::btnType), (Values{1, 3, 2, 1, 1, 1}));
  EXPECT_TRUE(storage.DeleteUpTo(20));
  EXPECT_TRUE(storage.DeleteMsg(3, 30));
  EXPECT_EQ(Each(StoredRows(), &SystemMsgRow::pushTime), (Values{31, 0xF0000000u}));
  EXPECT_TRUE(storage.DeleteAll());
  EXPECT_TRUE(StoredRows().empty());
}

TEST_F(SystemMsgStorageTest, MigratesAFileFromBeforeTheLaterColumns) {
  LocalDatabaseTable* db = halyx_localdatabase_wrapper::GetInstance()->GetTable();
  ASSERT_NE(db, nullptr);
  std::string path = GetUserDataFolder(4321) + "sysmsg.db";
  const ColumnDef columns[] = {{"title", 11, 0},   {"pictureUrl", 11, 0}, {"jumpUrl", 11, 0},
                               {"buttonText", 11, 0}, {"pushTime", 8, 0}, {"text", 11, 0},
                               {"msgId", 8, 0},   {"openType", 8, 0}};
  uint32_t handle = 0, table = 0, err = 0;
  ASSERT_TRUE(db->OpenDatabase(path.c_str(), 4321, &handle, &err));
  db->CreateTable(handle, "systemmsgtable", columns, 8, -1, &err);
  ASSERT_TRUE(db->OpenTable(handle, "systemmsgtable", &table, &err));
  ASSERT_TRUE(db->AddRow(table));
  db->SetIntField(table, "msgId", 5);
  db->SetIntField(table, "openType", 2);
  ASSERT_TRUE(db->PostRow(table, 0));
  db->CloseTable(table, &err);
  db->CloseDatabase(handle);

  SystemMsgStorage first;
  ASSERT_TRUE(first.Open());
  SystemMsgStorage second;  // its migration statements fail; the open does not
  std::vector<SystemMsgRow> rows;
  ASSERT_TRUE(second.Open() && second.LoadRows(rows));
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].msgId, 5u);
  EXPECT_EQ(rows[0].openType, 2);
  EXPECT_EQ(rows[0].appId, 0u);
  EXPECT_STREQ(rows[0].buffer, "");
  EXPECT_EQ(rows[0].subType, 1);
  EXPECT_EQ(rows[0].btnType, 1);
}

TEST_F(SystemMsgStorageTest, RefusedCallsSkipRowsAndLeaveNothingOpen) {
  auto failAfter = testenv::ModuleFunction<decltype(&::LocalDatabaseFailAfter)>("localdatabase.dll",
                                                                                 "LocalDatabaseFailAfter");
  auto openHandles = testenv::ModuleFunction<decltype(&::LocalDatabaseOpenHandles)>("localdatabase.dll",
                                                                                    "LocalDatabaseOpenHandles");
  ASSERT_TRUE(failAfter && openHandles);
  {
    SystemMsgStorage storage;
    ASSERT_TRUE(storage.Open());
    ASSERT_TRUE(storage.InsertRows({Row(1, 10), Row(2, 20), Row(3, 30)}));
    failAfter(34, 1);  // SetNumberField: subType passes, btnType is refused
    EXPECT_FALSE(storage.InsertRows({Row(4, 40, 1, 2, 3)}));  // posted all the same
    failAfter(34, -1);
    failAfter(19, 2);  // GetNumberField: only the first row reads whole
    std::vector<SystemMsgRow> rows;
    EXPECT_TRUE(storage.LoadRows(rows));
    EXPECT_EQ(rows.size(), 1u);
    failAfter(19, -1);
    failAfter(24, 0);  // AddRow: ends the call uncommitted
    EXPECT_FALSE(storage.InsertRows({Row(5, 50)}));
    failAfter(24, -1);
  }
  EXPECT_EQ(openHandles(), 0u);
  std::vector<SystemMsgRow> rows = StoredRows();
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows[3].subType, 2);
  EXPECT_EQ(rows[3].btnType, 1);

  unithost::SignOut();  // no user: nothing is opened, no folder made
  SystemMsgStorage storage;
  EXPECT_FALSE(storage.Open());
  EXPECT_FALSE(PathExists((GetDataRoot() + "0").c_str()));
}

}  // namespace
