// sysmsg.db through the real database module: what a row keeps, the load
// corrections, the migration of older files, the delete conditions and what
// refused calls leave behind.
#include <memory>
#include <string>

#include "modules/halyx_localdatabase_wrapper.h"
#include "storage/datafolder.h"
#include "system_fixture.h"

namespace {

class SystemMsgStorageTest : public SystemFixture {
 protected:
  void SetUp() override {
    SystemFixture::SetUp();
    ASSERT_TRUE(failAfter && openHandles);
  }
  void TearDown() override {
    for (uint32_t slot = 0; failAfter && slot < 39; ++slot) failAfter(slot, -1);
    SystemFixture::TearDown();
  }
  static SystemMsgRow Row(uint32_t msgId, uint32_t pushTime, int32_t openType = 1,
                          int32_t subType = 1, int32_t btnType = 1) {
    SystemMsgRow row;
    row.msgId = msgId;
    row.pushTime = pushTime;
    row.openType = openType;
    row.subType = subType;
    row.btnType = btnType;
    return row;
  }

  using FailAfter = decltype(&::LocalDatabaseFailAfter);
  using OpenHandles = decltype(&::LocalDatabaseOpenHandles);
  FailAfter failAfter = testenv::ModuleFunction<FailAfter>("localdatabase.dll", "LocalDatabaseFailAfter");
  OpenHandles openHandles =
      testenv::ModuleFunction<OpenHandles>("localdatabase.dll", "LocalDatabaseOpenHandles");
};

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
  EXPECT_EQ(back->GetMsgId(), 0xFFFFFFF0u);
  EXPECT_EQ(back->GetPushTime(), 0x80000001u);
  EXPECT_EQ(back->GetOpenType(), 3);
  EXPECT_EQ(back->TextRef(), msg.TextRef());
  EXPECT_EQ(back->TitleRef() + back->PictureUrlRef() + back->JumpUrlRef(), "Hinweispj");
  EXPECT_EQ(back->ButtonTextRef(), "");
  EXPECT_EQ(back->GetAppId(), 4000000000u);
  EXPECT_EQ(back->BufferRef(), std::string(599, 'z'));
  EXPECT_EQ(back->GetSubType(), 2);
  EXPECT_EQ(back->GetBtnType(), 3);
  EXPECT_TRUE(back->GetReadState());
}

TEST_F(SystemMsgStorageTest, LoadCorrectsOutOfRangeTypes) {
  {
    SystemMsgStorage storage;
    ASSERT_TRUE(storage.Open());
    ASSERT_TRUE(storage.InsertRows({Row(1, 10, 0, 4, 0), Row(2, 20, 5, -1, 3), Row(3, 30, 4, 3, 2),
                                    Row(4, 40, -1, 1, 7)}));
  }
  std::vector<SystemMsgRow> rows = StoredRows();
  ASSERT_EQ(rows.size(), 4u);
  for (const SystemMsgRow& row : rows) {
    SCOPED_TRACE(row.msgId);
    EXPECT_EQ(row.openType, row.msgId == 3 ? 4 : 1);
    EXPECT_EQ(row.subType, row.msgId == 3 ? 3 : 1);
    EXPECT_EQ(row.btnType, row.msgId == 2 ? 3 : row.msgId == 3 ? 2 : 1);
  }
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

TEST_F(SystemMsgStorageTest, DeletesMatchTheirRows) {
  SystemMsgStorage storage;
  EXPECT_FALSE(storage.DeleteAll());  // not open
  ASSERT_TRUE(storage.Open());
  ASSERT_TRUE(storage.InsertRows({Row(1, 10), Row(2, 20), Row(3, 30), Row(3, 30), Row(3, 31),
                                  Row(4, 0xF0000000u)}));
  EXPECT_TRUE(storage.DeleteUpTo(20));
  EXPECT_TRUE(storage.DeleteMsg(3, 30));
  std::vector<SystemMsgRow> rows;
  ASSERT_TRUE(storage.LoadRows(rows));
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].pushTime + rows[1].pushTime, 31u + 0xF0000000u);
  EXPECT_TRUE(storage.DeleteAll());
  EXPECT_TRUE(StoredRows().empty());
}

TEST_F(SystemMsgStorageTest, RefusedCallsSkipRowsAndLeaveNothingOpen) {
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
