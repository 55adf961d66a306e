// localdatabase.dll against real SQLite files in the test's own data folder.

#include "halyx/localdatabase.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "modules/loadedmodule.h"

namespace fs = std::filesystem;

namespace {

enum : uint32_t { kError = 1, kIoError = 10, kConstraint = 19, kMismatch = 20, kMisuse = 21 };

const ColumnDef kColumns[] = {{"appId", 8, 0},   {"msgId", 8, 0},  {"pushTime", 8, 0},
                              {"buffer", 11, 0}, {"title", 11, 0}, {"textHint", 11, 0}};
const uint32_t kColumnCount = 6;

Buffer Bytes(const std::string& bytes) {
  Buffer buffer;
  buffer.CopyFrom(bytes.data(), static_cast<uint32_t>(bytes.size()));
  return buffer;
}

class LocalDatabaseTest : public testing::Test {
 protected:
  void SetUp() override {
    auto entry = module_.Get<LocalDatabaseEntry>("LocalDatabase");
    ASSERT_TRUE(entry && entry(&t_));
    ASSERT_TRUE(lastError_ && openHandles_ && releaseIdle_ && failAfter_ && omitSlot_);
    openBefore_ = openHandles_();
    fs::create_directories(folder_);
  }

  uint32_t OpenDb(const std::string& path = "") {
    uint32_t db = 0;
    uint32_t err = 99;
    EXPECT_TRUE(t_.OpenDatabase((path.empty() ? path_ : path).c_str(), 1, &db, &err));
    EXPECT_EQ(err, 0u);
    return db;
  }
  uint32_t OpenTable(uint32_t db, const char* name = "t") {
    uint32_t err = 99;
    uint32_t table = 0;
    t_.CreateTable(db, name, kColumns, kColumnCount, -1, &err);
    EXPECT_TRUE(t_.OpenTable(db, name, &table, &err));
    return table;
  }
  bool Insert(uint32_t table, std::initializer_list<std::pair<const char*, uint32_t>> numbers) {
    bool ok = t_.AddRow(table);
    for (const auto& field : numbers) ok = ok && t_.SetIntField(table, field.first, field.second);
    return ok && t_.PostRow(table, 0);
  }
  // The values of one column over the rows that match condition: integer
  // columns in decimal, others as their bytes.
  std::vector<std::string> Column(uint32_t table, const char* column,
                                  const char* condition = nullptr, bool bytes = false) {
    std::vector<std::string> values;
    uint32_t err = 99;
    EXPECT_TRUE(t_.SelectRows(table, condition));
    while (t_.NextRow(table, &err)) {
      uint32_t value = 0;
      uint8_t* data = nullptr;
      uint32_t size = 0;
      EXPECT_TRUE(bytes ? t_.GetBufferField(table, column, &data, &size)
                        : t_.GetIntField(table, column, &value));
      values.push_back(bytes ? std::string(reinterpret_cast<char*>(data), size)
                             : std::to_string(value));
      delete[] data;
    }
    EXPECT_EQ(err, 0u);
    return values;
  }
  // Removes or replaces a file that a kept connection may hold open; where
  // open files cannot go (Windows), the kept connections are let go first.
  void Move(const fs::path& from, const fs::path& to) {
    std::error_code error;
    to.empty() ? fs::remove(from, error) : (fs::rename(from, to, error), false);
    if (error || fs::exists(from)) {
      EXPECT_GE(releaseIdle_(), 1u);
      to.empty() ? fs::remove(from) : (fs::rename(from, to), false);
    }
  }

  LoadedModule module_{"localdatabase.dll"};
  LocalDatabaseTable t_{};
  uint32_t(HALYX_CDECL* lastError_)() =
      module_.Get<uint32_t(HALYX_CDECL*)()>("LocalDatabaseLastError");
  uint32_t(HALYX_CDECL* openHandles_)() =
      module_.Get<uint32_t(HALYX_CDECL*)()>("LocalDatabaseOpenHandles");
  uint32_t(HALYX_CDECL* releaseIdle_)() =
      module_.Get<uint32_t(HALYX_CDECL*)()>("LocalDatabaseReleaseIdle");
  bool(HALYX_CDECL* failAfter_)(uint32_t, int32_t) =
      module_.Get<bool(HALYX_CDECL*)(uint32_t, int32_t)>("LocalDatabaseFailAfter");
  bool(HALYX_CDECL* omitSlot_)(uint32_t, bool) =
      module_.Get<bool(HALYX_CDECL*)(uint32_t, bool)>("LocalDatabaseOmitSlot");
  uint32_t openBefore_ = 0;
  fs::path folder_ = fs::u8path(testenv::DocumentsFolder()) / "Corvane Files" / "db";
  std::string path_ = (folder_ / "test.db").u8string();
};

using Strings = std::vector<std::string>;

TEST_F(LocalDatabaseTest, RowsHoldExactlyWhatWasSetForThemAndSurviveReopening) {
  const std::string withZeros("a\0b\0\0c", 6);
  const std::string longText(700, 'L');
  // Spelled the Windows way, as the library spells its paths.
  uint32_t db = OpenDb(folder_.u8string() + "\\test.db");
  uint32_t table = OpenTable(db);
  uint32_t err = 99;
  ASSERT_TRUE(t_.BeginTransaction(db, &err));
  // Rows that set different columns alternate, a long text is followed by a
  // shorter one and by none, and a row dropped by AddRow leaves nothing.
  ASSERT_TRUE(t_.AddRow(table));
  ASSERT_TRUE(t_.SetIntField(table, "appId", 4294967295u));
  ASSERT_TRUE(t_.SetBufferField(table, "buffer", Bytes(withZeros)));
  ASSERT_TRUE(t_.SetBufferField(table, "title", Bytes(longText)));
  ASSERT_TRUE(t_.PostRow(table, 0));
  ASSERT_TRUE(Insert(table, {{"msgId", 2}}));
  ASSERT_TRUE(t_.AddRow(table));
  ASSERT_TRUE(t_.SetIntField(table, "APPID", 3));
  ASSERT_TRUE(t_.SetTextField(table, "title", "ab"));
  ASSERT_TRUE(t_.SetBufferField(table, "buffer", Buffer()));
  ASSERT_TRUE(t_.PostRow(table, 0));
  ASSERT_TRUE(t_.AddRow(table));
  ASSERT_TRUE(t_.SetIntField(table, "pushTime", 99));
  ASSERT_TRUE(Insert(table, {{"appId", 5}}));
  ASSERT_TRUE(t_.CommitTransaction(db, &err));
  EXPECT_TRUE(fs::exists(path_ + "-wal"));  // written in WAL mode
  ASSERT_TRUE(t_.CloseDatabase(db));

  uint32_t again = OpenDb();
  EXPECT_NE(again, db);
  EXPECT_FALSE(t_.AddRow(table));  // closed with its database
  table = OpenTable(again);
  EXPECT_EQ(Column(table, "appId"), (Strings{"4294967295", "0", "3", "5"}));
  EXPECT_EQ(Column(table, "msgId"), (Strings{"0", "2", "0", "0"}));
  EXPECT_EQ(Column(table, "pushTime"), (Strings{"0", "0", "0", "0"}));
  EXPECT_EQ(Column(table, "title", nullptr, true), (Strings{longText, "", "ab", ""}));
  EXPECT_EQ(Column(table, "buffer", nullptr, true), (Strings{withZeros, "", "", ""}));
  ASSERT_TRUE(t_.SelectRows(table, "msgId = 2"));
  ASSERT_TRUE(t_.NextRow(table, &err));
  uint8_t* bytes = reinterpret_cast<uint8_t*>(1);
  uint32_t size = 1;
  ASSERT_TRUE(t_.GetBufferField(table, "textHint", &bytes, &size));  // never set
  EXPECT_EQ(bytes, nullptr);
  EXPECT_EQ(size, 0u);
  ASSERT_TRUE(t_.SelectRows(table, "appId = -1"));  // the unsigned value
  ASSERT_TRUE(t_.NextRow(table, &err));
  char* text = nullptr;
  ASSERT_TRUE(t_.GetTextField(table, "buffer", &text));
  EXPECT_STREQ(text, "a");
  delete[] text;
  EXPECT_FALSE(t_.NextRow(table, &err));
  EXPECT_EQ(err, 0u);

  // Negative literals are unsigned values, also inside deletions; a minus
  // between operands still subtracts, and quoted text is left alone.
  EXPECT_TRUE(t_.DeleteRows(table, "appId = 3 - 1 or title = '-1' or appId=-1", 0));
  EXPECT_TRUE(t_.DeleteRows(table, "msgId > 1 and pushTime >= 0 or appId > 4", 0));
  EXPECT_EQ(Column(table, "appId"), (Strings{"0", "3"}));
}

TEST_F(LocalDatabaseTest, MigrationsAddColumnsOnceAndReopenedFilesSeeOtherConnectionsSchema) {
  uint32_t db = OpenDb();
  uint32_t other = OpenDb();
  uint32_t table = OpenTable(db);
  ASSERT_TRUE(Insert(table, {{"msgId", 1}}));
  uint32_t err = 99;
  const char* add = "ALTER TABLE t ADD COLUMN extra INTEGER DEFAULT 7";
  // Added to the open table: the next rows set it; adding it again is refused
  // every time, until the column is gone.
  ASSERT_TRUE(t_.ExecuteSql(db, add, &err));
  ASSERT_TRUE(Insert(table, {{"msgId", 2}, {"extra", 8}}));
  for (const char* again : {add, add, "alter table \"t\" add extra INTEGER"}) {
    EXPECT_FALSE(t_.ExecuteSql(db, again, &err)) << again;
    EXPECT_EQ(err, kError);
  }
  EXPECT_EQ(Column(table, "extra"), (Strings{"7", "8"}));
  ASSERT_TRUE(t_.ExecuteSql(db, "ALTER TABLE t DROP COLUMN extra", &err));
  EXPECT_TRUE(t_.ExecuteSql(db, add, &err));
  ASSERT_TRUE(t_.CloseDatabase(db));

  // While the first connection sits closed, the other rebuilds the table
  // without the column and drops a table the first one knew.
  OpenTable(other, "u");
  ASSERT_TRUE(t_.ExecuteSql(other, "DROP TABLE t", &err));
  ASSERT_TRUE(t_.ExecuteSql(other, "CREATE TABLE t (z INTEGER)", &err));
  ASSERT_TRUE(t_.ExecuteSql(other, "DROP TABLE u", &err));
  db = OpenDb();
  EXPECT_TRUE(t_.ExecuteSql(db, add, &err));
  table = OpenTable(db);
  ASSERT_TRUE(Insert(table, {{"extra", 2}, {"z", 3}}));
  EXPECT_EQ(Column(table, "z"), (Strings{"3"}));
  uint32_t dropped = OpenTable(db, "u");  // created again
  EXPECT_TRUE(Insert(dropped, {{"msgId", 4}}));
  EXPECT_EQ(Column(dropped, "msgId"), (Strings{"4"}));
}

TEST_F(LocalDatabaseTest, BadInputAndInjectedFaultsFailWithTheirCodeAndChangeNothing) {
  uint32_t db = 0;
  uint32_t table = 0;
  uint32_t err = 99;
  std::ofstream(folder_ / "junk.db")
      << "this is not a database file, only some text to fill a page";
  const std::pair<std::string, uint32_t> opens[] = {{(folder_ / "no" / "such.db").u8string(), 14},
                                                    {(folder_ / "junk.db").u8string(), 26}};
  for (const auto& open : opens) {
    EXPECT_FALSE(t_.OpenDatabase(open.first.c_str(), 1, &db, &err));
    EXPECT_EQ(err, open.second) << open.first;
  }
  EXPECT_FALSE(t_.OpenDatabase(nullptr, 1, &db, &err));
  EXPECT_EQ(err, kMisuse);
  db = OpenDb();
  table = OpenTable(db);
  // Unknown handles, 0 included, and handles of the other kind.
  for (uint32_t bad : {0u, 12345u, table}) {
    EXPECT_FALSE(t_.OpenTable(bad, "t", &table, &err) || t_.ExecuteSql(bad, "select 1", &err) ||
                 t_.BeginTransaction(bad, &err) || t_.CloseDatabase(bad));
    EXPECT_EQ(lastError_(), kMisuse);
  }
  for (uint32_t bad : {0u, 12345u, db}) {
    EXPECT_FALSE(t_.SelectRows(bad, nullptr) || t_.NextRow(bad, &err) || t_.AddRow(bad) ||
                 t_.PostRow(bad, 0) || t_.DeleteRows(bad, nullptr, 0) || t_.CloseTable(bad, &err));
    EXPECT_EQ(lastError_(), kMisuse);
  }
  EXPECT_FALSE(t_.OpenTable(db, "nosuchtable", &table, &err));
  EXPECT_EQ(err, kError);
  const ColumnDef badType[] = {{"x", 5, 0}};
  EXPECT_FALSE(t_.CreateTable(db, "bad", badType, 1, -1, &err));
  EXPECT_FALSE(t_.CreateTable(db, "bad", kColumns, 0, -1, &err));
  EXPECT_FALSE(t_.ExecuteSql(db, "this is not sql", &err));
  EXPECT_EQ(err, kError);
  EXPECT_FALSE(t_.CommitTransaction(db, &err));  // none begun

  EXPECT_FALSE(t_.SetIntField(table, "appId", 1));  // no row added
  EXPECT_FALSE(t_.NextRow(table, &err));            // no walk started
  ASSERT_TRUE(t_.AddRow(table));
  EXPECT_FALSE(t_.SetIntField(table, "buffer", 1));
  EXPECT_EQ(lastError_(), kMismatch);
  EXPECT_FALSE(t_.SetBufferField(table, "appId", Bytes("x")) ||
               t_.SetTextField(table, "nosuchcolumn", "x") || t_.SetIntField(table, nullptr, 1) ||
               t_.SetTextField(table, "title", nullptr));
  // A slot armed with n lets n calls through, then fails each until cleared.
  ASSERT_TRUE(failAfter_(33, 1));
  EXPECT_TRUE(t_.SetIntField(table, "appId", 42));
  EXPECT_FALSE(t_.SetIntField(table, "msgId", 1) || t_.SetIntField(table, "msgId", 2));
  EXPECT_EQ(lastError_(), kIoError);
  EXPECT_TRUE(failAfter_(33, -1) && !failAfter_(39, 0) && !omitSlot_(39, true));
  ASSERT_TRUE(t_.PostRow(table, 0));   // with what was set well
  EXPECT_FALSE(t_.PostRow(table, 0));  // nothing pending any more
  EXPECT_EQ(Column(table, "msgId"), (Strings{"0"}));

  ASSERT_TRUE(t_.SelectRows(table, nullptr));
  uint32_t value = 0;
  uint8_t* bytes = nullptr;
  EXPECT_FALSE(t_.GetIntField(table, "appId", &value));  // no current row yet
  ASSERT_TRUE(t_.NextRow(table, &err));
  EXPECT_FALSE(
      t_.GetIntField(table, "title", &value) || t_.GetBufferField(table, "appId", &bytes, &value) ||
      t_.GetIntField(table, "nosuchcolumn", &value) || t_.GetIntField(table, "appId", nullptr));
  EXPECT_FALSE(t_.SelectRows(table, "no such column = 1") ||
               t_.DeleteRows(table, "appId = 42; DELETE FROM t", 0) ||
               t_.DeleteRows(table, "appId ==== 42", 0));
  // A post that the file refuses stores nothing.
  ASSERT_TRUE(t_.ExecuteSql(db, "CREATE UNIQUE INDEX once ON t (appId)", &err));
  EXPECT_FALSE(Insert(table, {{"appId", 42}, {"msgId", 2}}));
  EXPECT_EQ(lastError_(), kConstraint);
  EXPECT_EQ(Column(table, "msgId"), (Strings{"0"}));

  // Omitted slots are null in tables filled from then on.
  ASSERT_TRUE(omitSlot_(24, true));
  LocalDatabaseTable omitted{};
  module_.Get<LocalDatabaseEntry>("LocalDatabase")(&omitted);
  EXPECT_TRUE(omitted.AddRow == nullptr && omitted.PostRow != nullptr);
  ASSERT_TRUE(omitSlot_(24, false));
  EXPECT_TRUE(t_.CloseDatabase(db));
  EXPECT_FALSE(t_.CloseTable(table, &err) || t_.CloseDatabase(db));
  EXPECT_EQ(openHandles_(), openBefore_);
}

TEST_F(LocalDatabaseTest, TransactionsReachOtherConnectionsWholeAndAreNeverUndone) {
  uint32_t writer = OpenDb();
  uint32_t reader = OpenDb();
  uint32_t written = OpenTable(writer);
  uint32_t read = OpenTable(reader);
  EXPECT_EQ(std::set<uint32_t>({writer, reader, written, read}).size(), 4u);
  uint32_t err = 99;
  ASSERT_TRUE(t_.BeginTransaction(writer, &err));
  ASSERT_TRUE(Insert(written, {{"msgId", 1}}));
  EXPECT_TRUE(Column(read, "msgId").empty());
  ASSERT_TRUE(t_.CommitTransaction(writer, &err));
  EXPECT_EQ(Column(read, "msgId"), (Strings{"1"}));
  // A transaction begun and never committed is committed by the next begin,
  // and by closing its database: no write reported done is ever undone.
  ASSERT_TRUE(t_.BeginTransaction(writer, &err));
  ASSERT_TRUE(Insert(written, {{"msgId", 2}}));
  ASSERT_TRUE(t_.BeginTransaction(writer, &err));
  ASSERT_TRUE(Insert(written, {{"msgId", 3}}));
  ASSERT_TRUE(t_.CommitTransaction(writer, &err));
  EXPECT_EQ(Column(read, "msgId"), (Strings{"1", "2", "3"}));
  ASSERT_TRUE(t_.BeginTransaction(writer, &err));
  ASSERT_TRUE(t_.DeleteRows(written, "msgId = 1", 0));
  EXPECT_EQ(Column(read, "msgId"), (Strings{"1", "2", "3"}));
  ASSERT_TRUE(t_.CloseDatabase(writer));
  EXPECT_EQ(Column(read, "msgId"), (Strings{"2", "3"}));
}

TEST_F(LocalDatabaseTest, AReopenedFileIsTheFileNowAtItsPath) {
  uint32_t db = OpenDb();
  ASSERT_TRUE(Insert(OpenTable(db), {{"msgId", 1}}));
  ASSERT_TRUE(t_.CloseDatabase(db));
  // Removed while closed: what is written next lands in a new file at the
  // path, which a connection made afresh then reads.
  Move(path_, "");
  fs::remove(path_ + "-wal");
  fs::remove(path_ + "-shm");
  db = OpenDb();
  uint32_t table = OpenTable(db);
  EXPECT_TRUE(Column(table, "msgId").empty());
  ASSERT_TRUE(Insert(table, {{"msgId", 2}}));
  ASSERT_TRUE(t_.CloseDatabase(db));
  releaseIdle_();
  db = OpenDb();
  EXPECT_EQ(Column(OpenTable(db), "msgId"), (Strings{"2"}));
  ASSERT_TRUE(t_.CloseDatabase(db));

  // Replaced by another database while closed: the other one is read.
  const std::string otherPath = (folder_ / "other.db").u8string();
  uint32_t other = OpenDb(otherPath);
  ASSERT_TRUE(Insert(OpenTable(other), {{"msgId", 3}}));
  ASSERT_TRUE(t_.CloseDatabase(other));
  releaseIdle_();  // the other file is complete on disk, without its log
  Move(otherPath, path_);
  db = OpenDb();
  EXPECT_EQ(Column(OpenTable(db), "msgId"), (Strings{"3"}));
  ASSERT_TRUE(t_.CloseDatabase(db));

  // Let go of, the files can be removed on every system.
  EXPECT_EQ(releaseIdle_(), 1u);
  EXPECT_EQ(releaseIdle_(), 0u);
  fs::remove_all(folder_);
  EXPECT_FALSE(fs::exists(folder_));
  EXPECT_EQ(openHandles_(), openBefore_);
}

}  // namespace
