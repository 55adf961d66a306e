// sysmsg.db through the real database module: what a row keeps, the load
// corrections, the migration of older files and the delete conditions.
#include <cstring>
#include <string>
#include <vector>

#include "modules/halyx_localdatabase_wrapper.h"
#include "storage/datafolder.h"
#include "system_fixture.h"

namespace {

class SystemMsgStorageTest : public SystemFixture {
 protected:
  typedef bool(HALYX_CDECL* FailAfterFn)(uint32_t, int32_t);
  typedef uint32_t(HALYX_CDECL* OpenHandlesFn)();

  void SetUp() override {
    SystemFixture::SetUp();
    database = LoadLibraryW(testenv::ModulePath("localdatabase.dll").c_str());
    ASSERT_NE(database, nullptr);
    failAfter = reinterpret_cast<FailAfterFn>(GetProcAddress(database, "LocalDatabaseFailAfter"));
    openHandles = reinterpret_cast<OpenHandlesFn>(GetProcAddress(database, "LocalDatabaseOpenHandles"));
    ASSERT_TRUE(failAfter && openHandles);
  }

  void TearDown() override {
    if (failAfter) {
      for (uint32_t slot = 0; slot < 39; ++slot) failAfter(slot, -1);
    }
    if (database) FreeLibrary(database);
    SystemFixture::TearDown();
  }

  HMODULE database = nullptr;
  FailAfterFn failAfter = nullptr;
  OpenHandlesFn openHandles = nullptr;
};

SystemMsgRow Row(uint32_t msgId, uint32_t pushTime, int32_t openType, int32_t subType,
                 int32_t btnType) {
  SystemMsgRow row;
  row.msgId = msgId;
  row.pushTime = pushTime;
  row.openType = openType;
  row.subType = subType;
  row.btnType = btnType;
  return row;
}

TEST_F(SystemMsgStorageTest, RoundTripKeepsEveryFieldAndBoundsTheBuffer) {
  SystemMsg msg;
  msg.SetMsgId(0xFFFFFFF0u);
  msg.SetPushTime(0x80000001u);
  msg.SetOpenType(3);
  msg.SetText("Wartung heute Nacht \xE2\x9C\x93");
  msg.SetTitle("Hinweis");
  msg.SetPictureUrl("http://p/1.png");
  msg.SetJumpUrl("http://j/");
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
  SystemMsg* back = SystemMsgFromRow(rows[0]);
  EXPECT_EQ(back->GetMsgId(), 0xFFFFFFF0u);
  EXPECT_EQ(back->GetPushTime(), 0x80000001u);
  EXPECT_EQ(back->GetOpenType(), 3);
  EXPECT_EQ(back->TextRef(), msg.TextRef());
  EXPECT_EQ(back->TitleRef(), "Hinweis");
  EXPECT_EQ(back->PictureUrlRef(), "http://p/1.png");
  EXPECT_EQ(back->JumpUrlRef(), "http://j/");
  EXPECT_EQ(back->ButtonTextRef(), "");
  EXPECT_EQ(back->GetAppId(), 4000000000u);
  EXPECT_EQ(back->BufferRef(), std::string(599, 'z'));
  EXPECT_EQ(back->GetSubType(), 2);
  EXPECT_EQ(back->GetBtnType(), 3);
  EXPECT_TRUE(back->GetReadState());
  delete back;
}

TEST_F(SystemMsgStorageTest, LoadCorrectsOutOfRangeTypes) {
  {
    SystemMsgStorage storage;
    ASSERT_TRUE(storage.Open());
    ASSERT_TRUE(storage.InsertRows({Row(1, 10, 0, 4, 0), Row(2, 20, 5, -1, 3),
                                    Row(3, 30, 4, 3, 2), Row(4, 40, -1, 1, 7)}));
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
  Buffer title;
  title.CopyFrom("old", 4);
  ASSERT_TRUE(db->AddRow(table));
  db->SetBufferField(table, "title", title);
  db->SetIntField(table, "msgId", 5);
  db->SetIntField(table, "pushTime", 50);
  db->SetIntField(table, "openType", 2);
  ASSERT_TRUE(db->PostRow(table, 0));
  db->CloseTable(table, &err);
  db->CloseDatabase(handle);

  SystemMsgStorage first;
  ASSERT_TRUE(first.Open());
  SystemMsgStorage second;  // the statements fail now; the open does not
  ASSERT_TRUE(second.Open());
  std::vector<SystemMsgRow> rows;
  ASSERT_TRUE(second.LoadRows(rows));
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_STREQ(reinterpret_cast<const char*>(rows[0].title.GetNativeBuf()), "old");
  EXPECT_EQ(rows[0].msgId, 5u);
  EXPECT_EQ(rows[0].openType, 2);
  EXPECT_EQ(rows[0].appId, 0u);
  EXPECT_STREQ(rows[0].buffer, "");
  EXPECT_EQ(rows[0].subType, 1);
  EXPECT_EQ(rows[0].btnType, 1);
}

TEST_F(SystemMsgStorageTest, DeletesMatchTheirRows) {
  SystemMsgStorage closed;
  EXPECT_FALSE(closed.DeleteAll());
  EXPECT_FALSE(closed.DeleteUpTo(100));

  SystemMsgStorage storage;
  ASSERT_TRUE(storage.Open());
  ASSERT_TRUE(storage.InsertRows({Row(1, 10, 1, 1, 1), Row(2, 20, 1, 1, 1), Row(3, 30, 1, 1, 1),
                                  Row(3, 30, 1, 1, 1), Row(3, 31, 1, 1, 1),
                                  Row(4, 0xF0000000u, 1, 1, 1)}));
  EXPECT_TRUE(storage.DeleteUpTo(20));
  EXPECT_TRUE(storage.DeleteMsg(3, 30));
  std::vector<SystemMsgRow> rows;
  ASSERT_TRUE(storage.LoadRows(rows));
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].pushTime + rows[1].pushTime, 31u + 0xF0000000u);
  EXPECT_TRUE(storage.DeleteAll());
  EXPECT_TRUE(StoredRows().empty());
}

TEST_F(SystemMsgStorageTest, FailedCallsSkipRowsAndLeaveNothingOpen) {
  {
    SystemMsgStorage storage;
    ASSERT_TRUE(storage.Open());
    ASSERT_TRUE(storage.InsertRows({Row(1, 10, 1, 1, 1), Row(2, 20, 1, 1, 1), Row(3, 30, 1, 1, 1)}));
    // A refused setter still posts its row; the call reports the failure.
    failAfter(34, 1);  // SetNumberField: subType passes, btnType fails
    EXPECT_FALSE(storage.InsertRows({Row(4, 40, 1, 2, 3)}));
    failAfter(34, -1);
    // Rows that cannot be read whole are left out, the walk goes on.
    failAfter(19, 2);  // GetNumberField: only the first row reads whole
    std::vector<SystemMsgRow> rows;
    EXPECT_TRUE(storage.LoadRows(rows));
    EXPECT_EQ(rows.size(), 1u);
    failAfter(19, -1);
    // A row that cannot be started ends the call uncommitted.
    failAfter(24, 0);
    EXPECT_FALSE(storage.InsertRows({Row(5, 50, 1, 1, 1)}));
    failAfter(24, -1);
  }
  EXPECT_EQ(openHandles(), 0u);
  std::vector<SystemMsgRow> rows = StoredRows();
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows[3].msgId, 4u);
  EXPECT_EQ(rows[3].subType, 2);
  EXPECT_EQ(rows[3].btnType, 1);  // never written: the column default
}

TEST_F(SystemMsgStorageTest, NoUserOpensNothing) {
  signOut();
  SystemMsgStorage storage;
  EXPECT_FALSE(storage.Open());
  EXPECT_FALSE(storage.DeleteAll());
  EXPECT_FALSE(PathExists(testenv::Join(testenv::DocumentsFolder(), "Corvane Files").c_str()));
}

}  // namespace
