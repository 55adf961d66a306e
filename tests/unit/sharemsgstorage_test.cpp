#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "modules/halyx_engine_wrapper.h"
#include "modules/halyx_localdatabase_wrapper.h"
#include "modules/serviceentry.h"
#include "storage/datafolder.h"
#include "storage/sharemsgstorage.h"
#include "support/startedlibrary.h"

namespace {

using ShareStorage = unithost::StartedLibrary;

RoamShareRow Roam(uint32_t msgId, uint32_t appId, int32_t shareType, uint32_t shareTime) {
  RoamShareRow row;
  row.msgId = msgId;
  row.appId = appId;
  row.shareType = shareType;
  row.shareTime = shareTime;
  SetColumnText(row.title, "t", false);
  return row;
}

std::vector<uint32_t> RoamIds() {
  std::vector<RoamShareRow> rows;
  EXPECT_TRUE(ShareMsgStorage::GetInstance()->LoadRoamRows(rows));
  std::vector<uint32_t> ids;
  for (const RoamShareRow& row : rows) ids.push_back(row.msgId);
  std::sort(ids.begin(), ids.end());
  return ids;
}

// Writes a row through a connection of its own, with a "UIN" column of the
// test's choosing.
void WriteRawRoamRow(uint32_t msgId, const Buffer& uin) {
  LocalDatabaseTable* db = halyx_localdatabase_wrapper::GetInstance()->GetTable();
  ASSERT_NE(db, nullptr);
  const std::string path = GetUserDataFolder(4242) + "sharemsg.db";
  uint32_t handle = 0, table = 0, err = 0;
  ASSERT_TRUE(db->OpenDatabase(path.c_str(), 0, &handle, &err));
  ASSERT_TRUE(db->OpenTable(handle, "roamsharemsgtable", &table, &err));
  ASSERT_TRUE(db->AddRow(table));
  Buffer text;
  SetColumnText(text, "x", false);
  for (const char* column : {"msgId", "appId", "openType", "shareType", "shareTime"}) {
    EXPECT_TRUE(db->SetIntField(table, column, std::string(column) == "msgId" ? msgId : 1));
  }
  EXPECT_TRUE(db->SetBufferField(table, "UIN", uin));
  for (const char* column : {"picURL", "title", "buffer", "textHint", "appDesc"}) {
    EXPECT_TRUE(db->SetBufferField(table, column, text));
  }
  EXPECT_TRUE(db->PostRow(table, 0));
  db->CloseTable(table, &err);
  db->CloseDatabase(handle);
}

Buffer Encoded(const std::string& text) {
  Buffer encoded;
  EngineTable* engine = halyx_engine_wrapper::GetInstance()->GetTable();
  uint8_t* data = nullptr;
  uint32_t size = 0;
  if (engine != nullptr && engine->encodeUin != nullptr &&
      engine->encodeUin(text.c_str(), uint32_t(text.size()), &data, &size)) {
    encoded.Attach(data, size);
  }
  return encoded;
}

TEST_F(ShareStorage, RoamRowsComeBackAsWritten) {
  ShareMsgStorage* storage = ShareMsgStorage::GetInstance();
  ASSERT_TRUE(storage->Open());
  EXPECT_TRUE(PathExists((GetUserDataFolder(4242) + "sharemsg.db").c_str()));
  EXPECT_TRUE(storage->Open());
  EXPECT_TRUE(storage->SaveRoamRows({}));

  RoamShareRow row = Roam(9, 4294967295u, -1, 500);
  row.uin = 4294967295u;
  row.openType = -3;
  SetColumnText(row.title, "abc", false);
  SetColumnText(row.appDesc, "", false);
  SetColumnText(row.textHint, "h\xC3\xA9", false);
  ASSERT_TRUE(storage->SaveRoamRows({row}));

  std::vector<RoamShareRow> rows;
  ASSERT_TRUE(storage->LoadRoamRows(rows));
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].msgId, 9u);
  EXPECT_EQ(rows[0].appId, 4294967295u);
  EXPECT_EQ(rows[0].uin, 4294967295u);
  EXPECT_EQ(rows[0].openType, -3);
  EXPECT_EQ(rows[0].shareType, -1);
  EXPECT_EQ(rows[0].shareTime, 500u);
  EXPECT_EQ(rows[0].title.GetSize(), 4u);  // the terminator is stored
  EXPECT_EQ(ColumnToText(rows[0].title), "abc");
  EXPECT_EQ(rows[0].appDesc.GetSize(), 1u);
  EXPECT_EQ(ColumnToText(rows[0].textHint), "h\xC3\xA9");
  EXPECT_TRUE(rows[0].picURL.IsEmpty());
}

TEST_F(ShareStorage, DeletionsReachExactlyTheirRows) {
  ShareMsgStorage* storage = ShareMsgStorage::GetInstance();
  ASSERT_TRUE(storage->SaveRoamRows({Roam(1, 7, 2, 500), Roam(2, 7, 2, 600), Roam(3, 7, 1, 99),
                                     Roam(4, 8, 1, 99), Roam(5, 4294967295u, -1, 1),
                                     Roam(6, 8, 2, 500)}));
  EXPECT_TRUE(storage->DeleteRoamGroup(7, 2, 500));
  EXPECT_EQ(RoamIds(), (std::vector<uint32_t>{2, 3, 4, 5, 6}));
  EXPECT_TRUE(storage->DeleteRoamGroup(7, 1, 12345));  // type 1: the time plays no part
  EXPECT_EQ(RoamIds(), (std::vector<uint32_t>{2, 4, 5, 6}));
  EXPECT_TRUE(storage->DeleteRoamGroup(7, 2, 0));  // type 2 without a time: all of them
  EXPECT_EQ(RoamIds(), (std::vector<uint32_t>{4, 5, 6}));
  EXPECT_TRUE(storage->DeleteRoamGroup(4294967295u, -1, 0));
  EXPECT_EQ(RoamIds(), (std::vector<uint32_t>{4, 6}));
  EXPECT_TRUE(storage->DeleteRoamMsg(4, 500));  // message 4 has time 99: stays
  EXPECT_TRUE(storage->DeleteRoamMsg(4, 99));
  EXPECT_EQ(RoamIds(), std::vector<uint32_t>{6});
  EXPECT_TRUE(storage->ClearRoam());
  EXPECT_TRUE(RoamIds().empty());
}

TEST_F(ShareStorage, RowsWhoseUinDoesNotDecodeAreNotLoaded) {
  ASSERT_TRUE(ShareMsgStorage::GetInstance()->Open());
  WriteRawRoamRow(1, Encoded("12x"));
  WriteRawRoamRow(2, Buffer());
  WriteRawRoamRow(3, Encoded(" +0x1F "));
  std::vector<RoamShareRow> rows;
  ASSERT_TRUE(ShareMsgStorage::GetInstance()->LoadRoamRows(rows));
  ASSERT_EQ(rows.size(), 2u);
  std::sort(rows.begin(), rows.end(),
            [](const RoamShareRow& a, const RoamShareRow& b) { return a.msgId < b.msgId; });
  EXPECT_EQ(rows[0].msgId, 1u);
  EXPECT_EQ(rows[0].uin, 0u);
  EXPECT_EQ(rows[1].msgId, 3u);
  EXPECT_EQ(rows[1].uin, 31u);
}

TEST_F(ShareStorage, AnOpenThatFailedIsTriedAgainAndCloseLetsGoOfEverything) {
  using FailAfter = bool(HALYX_CDECL*)(uint32_t, int32_t);
  using OpenHandles = uint32_t(HALYX_CDECL*)();
  auto failAfter = testenv::ModuleFunction<FailAfter>("localdatabase.dll", "LocalDatabaseFailAfter");
  auto openHandles = testenv::ModuleFunction<OpenHandles>("localdatabase.dll", "LocalDatabaseOpenHandles");
  ASSERT_TRUE(failAfter != nullptr && openHandles != nullptr);
  const uint32_t kOpenTable = 3;
  const uint32_t before = openHandles();

  // The own table does not open: nothing is kept, and the next operation
  // opens the database again.
  ASSERT_TRUE(failAfter(kOpenTable, 0));
  ShareMsgStorage* storage = ShareMsgStorage::GetInstance();
  EXPECT_EQ(openHandles(), before);
  EXPECT_FALSE(storage->SaveMyRows({MyShareRow()}));
  failAfter(kOpenTable, -1);
  MyShareRow mine;
  mine.appId = 76;
  EXPECT_TRUE(storage->SaveMyRows({mine}));
  SingltonRegistry::ReleaseAll();
  EXPECT_EQ(openHandles(), before);

  // Only the received table does not open: the own table serves meanwhile.
  ASSERT_TRUE(failAfter(kOpenTable, 1));
  storage = ShareMsgStorage::GetInstance();
  mine.appId = 77;
  EXPECT_TRUE(storage->SaveMyRows({mine}));
  EXPECT_FALSE(storage->SaveRoamRows({Roam(1, 7, 1, 5)}));
  failAfter(kOpenTable, -1);
  EXPECT_TRUE(storage->SaveRoamRows({Roam(1, 7, 1, 5)}));
  std::vector<MyShareRow> rows;
  EXPECT_TRUE(storage->LoadMyRows(rows));
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].appId + rows[1].appId, 76u + 77u);
  EXPECT_GT(openHandles(), before);
  SingltonRegistry::ReleaseAll();
  EXPECT_EQ(openHandles(), before);
}

}  // namespace
