// localdatabase.dll against real SQLite files in the test's own data folder.

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "halyx/localdatabase.h"
#include "modules/loadedmodule.h"

namespace fs = std::filesystem;

namespace {

enum : uint32_t { kMisuse = 21, kError = 1, kMismatch = 20, kConstraint = 19 };

const ColumnDef kDynColumns[] = {
    {"appId", 8, 0},          {"msgId", 8, 0},      {"voiceIndex", 8, 0}, {"openType", 8, 0},
    {"pushTime", 8, 0},       {"msgCountOnServer", 8, 0}, {"buttonText", 11, 0},
    {"buffer", 11, 0},        {"textHint", 11, 0},  {"title", 11, 0}};

const ColumnDef kSystemColumns[] = {{"title", 11, 0},      {"pictureUrl", 11, 0},
                                   {"jumpUrl", 11, 0},    {"buttonText", 11, 0},
                                   {"pushTime", 8, 0},    {"text", 11, 0},
                                   {"msgId", 8, 0},       {"openType", 8, 0}};

Buffer Bytes(const std::string& bytes) {
  Buffer buffer;
  buffer.CopyFrom(bytes.data(), static_cast<uint32_t>(bytes.size()));
  return buffer;
}

class LocalDatabaseTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(module_.loaded());
    auto entry = module_.Get<LocalDatabaseEntry>("LocalDatabase");
    ASSERT_NE(entry, nullptr);
    ASSERT_TRUE(entry(&t_));
    lastError_ = module_.Get<uint32_t(HALYX_CDECL*)()>("LocalDatabaseLastError");
    openHandles_ = module_.Get<uint32_t(HALYX_CDECL*)()>("LocalDatabaseOpenHandles");
    releaseIdle_ = module_.Get<uint32_t(HALYX_CDECL*)()>("LocalDatabaseReleaseIdle");
    ASSERT_TRUE(lastError_ && openHandles_ && releaseIdle_);
    openBefore_ = openHandles_();
    folder_ = fs::u8path(testenv::DocumentsFolder()) / "Corvane Files" / "db";
    fs::create_directories(folder_);
    path_ = (folder_ / "test.db").u8string();
  }

  uint32_t OpenDb(const std::string& path) {
    uint32_t db = 0;
    uint32_t err = 99;
    EXPECT_TRUE(t_.OpenDatabase(path.c_str(), 1, &db, &err));
    EXPECT_EQ(err, 0u);
    return db;
  }

  uint32_t OpenTable(uint32_t db, const char* name, const ColumnDef* columns, uint32_t count) {
    uint32_t err = 99;
    t_.CreateTable(db, name, columns, count, -1, &err);
    uint32_t table = 0;
    EXPECT_TRUE(t_.OpenTable(db, name, &table, &err));
    return table;
  }

  bool Insert(uint32_t table, std::initializer_list<std::pair<const char*, uint32_t>> numbers) {
    if (!t_.AddRow(table)) return false;
    for (const auto& field : numbers) {
      if (!t_.SetIntField(table, field.first, field.second)) return false;
    }
    return t_.PostRow(table, 0);
  }

  // Removes or replaces a file that a kept connection may hold open. Where
  // open files cannot go (Windows), the kept connections are let go first.
  void Remove(const fs::path& path) {
    std::error_code error;
    if (!fs::remove(path, error) && fs::exists(path)) {
      EXPECT_GE(releaseIdle_(), 1u);
      ASSERT_TRUE(fs::remove(path));
    }
  }
  void Replace(const fs::path& from, const fs::path& to) {
    std::error_code error;
    fs::rename(from, to, error);
    if (error) {
      EXPECT_GE(releaseIdle_(), 1u);
      fs::rename(from, to);
    }
  }

  // The values of one integer column over the rows that match condition.
  std::vector<uint32_t> Column(uint32_t table, const char* column, const char* condition = nullptr) {
    std::vector<uint32_t> values;
    uint32_t err = 99;
    EXPECT_TRUE(t_.SelectRows(table, condition));
    while (t_.NextRow(table, &err)) {
      uint32_t value = 0;
      EXPECT_TRUE(t_.GetIntField(table, column, &value));
      values.push_back(value);
    }
    EXPECT_EQ(err, 0u);
    return values;
  }

  LoadedModule module_{"localdatabase.dll"};
  LocalDatabaseTable t_{};
  uint32_t(HALYX_CDECL* lastError_)() = nullptr;
  uint32_t(HALYX_CDECL* openHandles_)() = nullptr;
  uint32_t(HALYX_CDECL* releaseIdle_)() = nullptr;
  uint32_t openBefore_ = 0;
  fs::path folder_;
  std::string path_;
};

TEST_F(LocalDatabaseTest, RoundTripsEveryColumnTypeThroughTheFile) {
  const std::string withZeros("a\0b\0\0c", 6);
  {
    // Spelled the Windows way, as the library spells its paths.
    uint32_t db = OpenDb(folder_.u8string() + "\\test.db");
    uint32_t table = OpenTable(db, "dynmsgtable", kDynColumns, 10);
    uint32_t err = 99;
    ASSERT_TRUE(t_.BeginTransaction(db, &err));
    ASSERT_TRUE(t_.AddRow(table));
    ASSERT_TRUE(t_.SetIntField(table, "appId", 4294967295u));
    ASSERT_TRUE(t_.SetBufferField(table, "buffer", Bytes(withZeros)));
    ASSERT_TRUE(t_.SetBufferField(table, "title", Buffer()));
    ASSERT_TRUE(t_.PostRow(table, 0));
    ASSERT_TRUE(t_.CommitTransaction(db, &err));
    EXPECT_EQ(err, 0u);
    // Written in WAL mode: the log sits beside the file while it is open.
    EXPECT_TRUE(fs::exists(path_ + "-wal"));
    EXPECT_TRUE(t_.CloseDatabase(db));
  }
  uint32_t db = OpenDb(path_);
  uint32_t table = OpenTable(db, "dynmsgtable", kDynColumns, 10);
  uint32_t err = 99;
  ASSERT_TRUE(t_.SelectRows(table, nullptr));
  ASSERT_TRUE(t_.NextRow(table, &err));
  uint32_t value = 1;
  EXPECT_TRUE(t_.GetIntField(table, "appId", &value));
  EXPECT_EQ(value, 4294967295u);
  EXPECT_TRUE(t_.GetIntField(table, "pushTime", &value));  // never set: NULL
  EXPECT_EQ(value, 0u);

  uint8_t* bytes = nullptr;
  uint32_t size = 0;
  ASSERT_TRUE(t_.GetBufferField(table, "buffer", &bytes, &size));
  EXPECT_EQ(std::string(reinterpret_cast<char*>(bytes), size), withZeros);
  delete[] bytes;
  for (const char* empty : {"title", "textHint"}) {  // empty, and never set
    ASSERT_TRUE(t_.GetBufferField(table, empty, &bytes, &size)) << empty;
    EXPECT_EQ(bytes, nullptr);
    EXPECT_EQ(size, 0u);
  }
  char* text = nullptr;
  ASSERT_TRUE(t_.GetTextField(table, "buffer", &text));
  EXPECT_STREQ(text, "a");
  delete[] text;

  EXPECT_FALSE(t_.NextRow(table, &err));
  EXPECT_EQ(err, 0u);
}

// The storages run their SQL through this module in their own suites, a
// migration that runs twice among it; here the columns that a migration adds
// to a table the storage has open.
TEST_F(LocalDatabaseTest, ColumnsAddedToAnOpenTableTakeItsSetters) {
  uint32_t db = OpenDb(path_);
  uint32_t system = OpenTable(db, "systemmsgtable", kSystemColumns, 8);
  ASSERT_TRUE(Insert(system, {{"msgId", 1}}));
  uint32_t err = 99;
  for (const char* sql : {"ALTER TABLE systemmsgtable ADD COLUMN buffer TEXT(600) DEFAULT \"\"",
                          "ALTER TABLE systemmsgtable ADD COLUMN subType INTEGER DEFAULT 1"}) {
    EXPECT_TRUE(t_.ExecuteSql(db, sql, &err)) << sql;
  }
  ASSERT_TRUE(t_.AddRow(system));
  ASSERT_TRUE(t_.SetIntField(system, "msgId", 2));
  ASSERT_TRUE(t_.SetTextField(system, "buffer", "hello"));
  ASSERT_TRUE(t_.SetNumberField(system, "subType", 3));
  ASSERT_TRUE(t_.PostRow(system, 0));
  EXPECT_EQ(Column(system, "subType"), (std::vector<uint32_t>{1, 3}));
  ASSERT_TRUE(t_.SelectRows(system, "msgId = 2"));
  ASSERT_TRUE(t_.NextRow(system, &err));
  char* text = nullptr;
  ASSERT_TRUE(t_.GetTextField(system, "buffer", &text));
  EXPECT_STREQ(text, "hello");
  delete[] text;
}

TEST_F(LocalDatabaseTest, BadInputFailsWithTheCodeAndChangesNothing) {
  uint32_t db = 0;
  uint32_t table = 0;
  uint32_t err = 99;
  EXPECT_FALSE(t_.OpenDatabase(nullptr, 1, &db, &err));
  EXPECT_EQ(err, kMisuse);
  const std::string missingFolder = (folder_ / "no" / "such.db").u8string();
  EXPECT_FALSE(t_.OpenDatabase(missingFolder.c_str(), 1, &db, &err));
  EXPECT_EQ(err, 14u);  // cannot open
  const fs::path notADatabase = folder_ / "junk.db";
  std::ofstream(notADatabase) << "this is not a database file, only some text to fill a page";
  EXPECT_FALSE(t_.OpenDatabase(notADatabase.u8string().c_str(), 1, &db, &err));
  EXPECT_EQ(err, 26u);  // not a database

  // Unknown handles, 0 included, on every slot kind.
  for (uint32_t bad : {0u, 12345u}) {
    EXPECT_FALSE(t_.OpenTable(bad, "dynmsgtable", &table, &err));
    EXPECT_EQ(err, kMisuse);
    EXPECT_FALSE(t_.ExecuteSql(bad, "select 1", &err));
    EXPECT_FALSE(t_.BeginTransaction(bad, &err));
    EXPECT_FALSE(t_.CloseDatabase(bad));
    EXPECT_FALSE(t_.SelectRows(bad, nullptr));
    EXPECT_FALSE(t_.NextRow(bad, &err));
    EXPECT_FALSE(t_.AddRow(bad));
    EXPECT_FALSE(t_.PostRow(bad, 0));
    EXPECT_FALSE(t_.DeleteRows(bad, nullptr, 0));
    EXPECT_FALSE(t_.CloseTable(bad, &err));
    EXPECT_EQ(lastError_(), kMisuse);
  }

  db = OpenDb(path_);
  EXPECT_FALSE(t_.OpenTable(db, "nosuchtable", &table, &err));
  EXPECT_EQ(err, kError);
  const ColumnDef badType[] = {{"x", 5, 0}};
  EXPECT_FALSE(t_.CreateTable(db, "bad", badType, 1, -1, &err));
  EXPECT_FALSE(t_.CreateTable(db, "bad", kDynColumns, 0, -1, &err));
  EXPECT_FALSE(t_.ExecuteSql(db, "this is not sql", &err));
  EXPECT_EQ(err, kError);
  EXPECT_FALSE(t_.CommitTransaction(db, &err));  // none begun

  table = OpenTable(db, "dynmsgtable", kDynColumns, 10);
  EXPECT_FALSE(t_.SetIntField(table, "appId", 1));  // no row added
  EXPECT_FALSE(t_.NextRow(table, &err));            // no walk started
  EXPECT_EQ(err, kMisuse);
  ASSERT_TRUE(t_.AddRow(table));
  EXPECT_FALSE(t_.SetIntField(table, "buffer", 1));
  EXPECT_EQ(lastError_(), kMismatch);
  EXPECT_FALSE(t_.SetBufferField(table, "appId", Bytes("x")));
  EXPECT_FALSE(t_.SetTextField(table, "nosuchcolumn", "x"));
  EXPECT_FALSE(t_.SetIntField(table, nullptr, 1));
  EXPECT_FALSE(t_.SetTextField(table, "title", nullptr));
  // The failures left the row pending with what was set well.
  ASSERT_TRUE(t_.SetIntField(table, "appId", 42));
  ASSERT_TRUE(t_.PostRow(table, 0));
  EXPECT_FALSE(t_.PostRow(table, 0));  // nothing pending any more
  EXPECT_EQ(Column(table, "appId"), (std::vector<uint32_t>{42}));

  ASSERT_TRUE(t_.SelectRows(table, nullptr));
  uint32_t value = 0;
  uint8_t* bytes = nullptr;
  uint32_t size = 0;
  EXPECT_FALSE(t_.GetIntField(table, "appId", &value));  // no current row yet
  ASSERT_TRUE(t_.NextRow(table, &err));
  EXPECT_FALSE(t_.GetIntField(table, "title", &value));
  EXPECT_FALSE(t_.GetBufferField(table, "appId", &bytes, &size));
  EXPECT_FALSE(t_.GetIntField(table, "nosuchcolumn", &value));
  EXPECT_FALSE(t_.GetIntField(table, "appId", nullptr));
  EXPECT_FALSE(t_.SelectRows(table, "no such column = 1"));
  EXPECT_FALSE(t_.DeleteRows(table, "appId = 42; DELETE FROM dynmsgtable", 0));
  EXPECT_FALSE(t_.DeleteRows(table, "appId ==== 42", 0));
  EXPECT_EQ(Column(table, "appId").size(), 1u);

  // A post that the file refuses stores nothing.
  ASSERT_TRUE(t_.ExecuteSql(db, "CREATE TABLE once (k INTEGER UNIQUE, v INTEGER)", &err));
  uint32_t once = 0;
  ASSERT_TRUE(t_.OpenTable(db, "once", &once, &err));
  EXPECT_TRUE(Insert(once, {{"k", 1}, {"v", 1}}));
  EXPECT_FALSE(Insert(once, {{"k", 1}, {"v", 2}}));
  EXPECT_EQ(lastError_(), kConstraint);
  EXPECT_EQ(Column(once, "v"), (std::vector<uint32_t>{1}));

  // Closing a database closes its tables; closed handles stay invalid.
  EXPECT_TRUE(t_.CloseTable(once, &err));
  EXPECT_FALSE(t_.CloseTable(once, &err));
  EXPECT_TRUE(t_.CloseDatabase(db));
  EXPECT_FALSE(t_.AddRow(table));
  EXPECT_FALSE(t_.CloseDatabase(db));
  EXPECT_EQ(openHandles_(), openBefore_);
}

TEST_F(LocalDatabaseTest, HandlesAreSmallDistinctAndNeverReused) {
  std::vector<uint32_t> handles;
  uint32_t first = OpenDb(path_);
  uint32_t second = OpenDb(path_);  // a second connection to the same file
  handles = {first, second, OpenTable(first, "dynmsgtable", kDynColumns, 10),
             OpenTable(second, "dynmsgtable", kDynColumns, 10)};
  EXPECT_TRUE(t_.CloseDatabase(first));
  handles.push_back(OpenDb(path_));
  for (size_t i = 0; i < handles.size(); ++i) {
    EXPECT_GT(handles[i], 0u);
    EXPECT_LT(handles[i], 1000u);
    for (size_t j = 0; j < i; ++j) EXPECT_NE(handles[i], handles[j]);
  }
  EXPECT_FALSE(t_.AddRow(handles[2]));  // closed with its database
  EXPECT_TRUE(t_.AddRow(handles[3]));
  // A handle of one kind is never taken for one of the other.
  uint32_t err = 0;
  EXPECT_FALSE(t_.ExecuteSql(handles[3], "select 1", &err));
  EXPECT_FALSE(t_.AddRow(handles[1]));
  EXPECT_EQ(openHandles_(), openBefore_ + 3);
}

TEST_F(LocalDatabaseTest, TransactionsReachOtherConnectionsWholeAndAreNeverUndone) {
  uint32_t writer = OpenDb(path_);
  uint32_t reader = OpenDb(path_);
  uint32_t written = OpenTable(writer, "dynmsgtable", kDynColumns, 10);
  uint32_t read = OpenTable(reader, "dynmsgtable", kDynColumns, 10);
  uint32_t err = 99;
  ASSERT_TRUE(t_.BeginTransaction(writer, &err));
  ASSERT_TRUE(Insert(written, {{"msgId", 1}}));
  EXPECT_TRUE(Column(read, "msgId").empty());
  ASSERT_TRUE(t_.CommitTransaction(writer, &err));
  EXPECT_EQ(Column(read, "msgId"), (std::vector<uint32_t>{1}));

  // A transaction begun and never committed is committed by the next begin,
  // and by closing its database: no write reported done is ever undone.
  ASSERT_TRUE(t_.BeginTransaction(writer, &err));
  ASSERT_TRUE(Insert(written, {{"msgId", 2}}));
  ASSERT_TRUE(t_.BeginTransaction(writer, &err));
  ASSERT_TRUE(Insert(written, {{"msgId", 3}}));
  ASSERT_TRUE(t_.CommitTransaction(writer, &err));
  EXPECT_EQ(Column(read, "msgId"), (std::vector<uint32_t>{1, 2, 3}));
  ASSERT_TRUE(t_.BeginTransaction(writer, &err));
  ASSERT_TRUE(t_.DeleteRows(written, "msgId = 1", 0));
  EXPECT_EQ(Column(read, "msgId"), (std::vector<uint32_t>{1, 2, 3}));
  ASSERT_TRUE(t_.CloseDatabase(writer));
  EXPECT_EQ(Column(read, "msgId"), (std::vector<uint32_t>{2, 3}));
}

TEST_F(LocalDatabaseTest, AReopenedFileIsTheFileNowAtItsPath) {
  uint32_t db = OpenDb(path_);
  uint32_t table = OpenTable(db, "dynmsgtable", kDynColumns, 10);
  ASSERT_TRUE(Insert(table, {{"msgId", 1}}));
  ASSERT_TRUE(t_.CloseDatabase(db));
  // Closed and opened again: the same content, under a new handle.
  uint32_t again = OpenDb(path_);
  EXPECT_NE(again, db);
  EXPECT_FALSE(t_.AddRow(table));
  table = OpenTable(again, "dynmsgtable", kDynColumns, 10);
  EXPECT_EQ(Column(table, "msgId"), (std::vector<uint32_t>{1}));
  ASSERT_TRUE(t_.CloseDatabase(again));

  // Removed while closed: what is written next lands in a new file at the
  // path, which a connection made afresh then reads.
  Remove(path_);
  fs::remove(path_ + "-wal");
  fs::remove(path_ + "-shm");
  db = OpenDb(path_);
  table = OpenTable(db, "dynmsgtable", kDynColumns, 10);
  EXPECT_TRUE(Column(table, "msgId").empty());
  ASSERT_TRUE(Insert(table, {{"msgId", 2}}));
  ASSERT_TRUE(t_.CloseDatabase(db));
  releaseIdle_();
  db = OpenDb(path_);
  table = OpenTable(db, "dynmsgtable", kDynColumns, 10);
  EXPECT_EQ(Column(table, "msgId"), (std::vector<uint32_t>{2}));
  ASSERT_TRUE(t_.CloseDatabase(db));

  // Replaced by another database while closed: the other one is read.
  const std::string otherPath = (folder_ / "other.db").u8string();
  uint32_t other = OpenDb(otherPath);
  ASSERT_TRUE(Insert(OpenTable(other, "dynmsgtable", kDynColumns, 10), {{"msgId", 3}}));
  ASSERT_TRUE(t_.CloseDatabase(other));
  releaseIdle_();  // the other file is complete on disk, without its log
  Replace(otherPath, path_);
  db = OpenDb(path_);
  table = OpenTable(db, "dynmsgtable", kDynColumns, 10);
  EXPECT_EQ(Column(table, "msgId"), (std::vector<uint32_t>{3}));
  ASSERT_TRUE(t_.CloseDatabase(db));

  // Let go of, the files can be removed on every system.
  EXPECT_EQ(releaseIdle_(), 1u);
  EXPECT_EQ(releaseIdle_(), 0u);
  fs::remove_all(folder_);
  EXPECT_FALSE(fs::exists(folder_));
  EXPECT_EQ(openHandles_(), openBefore_);
}

TEST_F(LocalDatabaseTest, AReopenedFileSeesSchemaChangesMadeMeanwhile) {
  const ColumnDef columns[] = {{"a", 8, 0}};
  uint32_t first = OpenDb(path_);
  uint32_t second = OpenDb(path_);
  uint32_t table = OpenTable(first, "t", columns, 1);
  ASSERT_TRUE(Insert(table, {{"a", 1}}));
  ASSERT_TRUE(t_.CloseDatabase(first));
  // Another connection rebuilds the table without the column, and drops a
  // table the first one knew.
  uint32_t err = 99;
  OpenTable(second, "u", columns, 1);
  ASSERT_TRUE(t_.ExecuteSql(second, "DROP TABLE t", &err));
  ASSERT_TRUE(t_.ExecuteSql(second, "CREATE TABLE t (z INTEGER)", &err));
  ASSERT_TRUE(t_.ExecuteSql(second, "DROP TABLE u", &err));

  uint32_t db = OpenDb(path_);
  EXPECT_TRUE(t_.ExecuteSql(db, "ALTER TABLE t ADD COLUMN a INTEGER", &err));
  EXPECT_EQ(err, 0u);
  EXPECT_FALSE(t_.ExecuteSql(db, "alter table \"t\" add a INTEGER", &err));
  EXPECT_EQ(err, kError);
  table = OpenTable(db, "t", columns, 1);
  ASSERT_TRUE(Insert(table, {{"a", 2}, {"z", 3}}));
  EXPECT_EQ(Column(table, "z"), (std::vector<uint32_t>{3}));
  uint32_t dropped = OpenTable(db, "u", columns, 1);  // created again
  EXPECT_TRUE(Insert(dropped, {{"a", 4}}));
  EXPECT_EQ(Column(dropped, "a"), (std::vector<uint32_t>{4}));
}

TEST_F(LocalDatabaseTest, DeletionsThatDifferOnlyByTheirNumbersEachDeleteTheirOwnRows) {
  uint32_t db = OpenDb(path_);
  uint32_t table = OpenTable(db, "dynmsgtable", kDynColumns, 10);
  for (uint32_t id = 1; id <= 20; ++id) {
    ASSERT_TRUE(Insert(table, {{"msgId", id}, {"pushTime", id * 10}, {"appId", id % 2}}));
  }
  for (uint32_t id : {3u, 17u, 4u}) {
    const std::string where = "msgId = " + std::to_string(id) + " and pushTime <= " +
                              std::to_string(id * 10);
    EXPECT_TRUE(t_.DeleteRows(table, where.c_str(), 0)) << where;
  }
  EXPECT_TRUE(t_.DeleteRows(table, "msgId = 5 and pushTime <= 49", 0));  // pushed later: stays
  EXPECT_TRUE(t_.DeleteRows(table, "pushTime<=20", 0));
  EXPECT_TRUE(t_.DeleteRows(table, "msgId IN (6,7) AND appId = 1", 0));
  EXPECT_TRUE(t_.DeleteRows(table, "msgId > 0x12 or msgId = 1e1", 0));
  EXPECT_EQ(Column(table, "msgId"),
            (std::vector<uint32_t>{5, 6, 8, 9, 11, 12, 13, 14, 15, 16, 18}));
}

TEST_F(LocalDatabaseTest, EachPostedRowHoldsOnlyWhatWasSetForIt) {
  uint32_t db = OpenDb(path_);
  uint32_t table = OpenTable(db, "dynmsgtable", kDynColumns, 10);
  // Rows that set different columns alternate, and a long text is followed
  // by a shorter one and by none: nothing of one row reaches the next.
  const std::string longText(700, 'L');
  ASSERT_TRUE(t_.AddRow(table));
  ASSERT_TRUE(t_.SetIntField(table, "appId", 1));
  ASSERT_TRUE(t_.SetBufferField(table, "title", Bytes(longText)));
  ASSERT_TRUE(t_.SetIntField(table, "msgId", 10));
  ASSERT_TRUE(t_.PostRow(table, 0));
  ASSERT_TRUE(Insert(table, {{"appId", 2}}));
  ASSERT_TRUE(t_.AddRow(table));
  ASSERT_TRUE(t_.SetIntField(table, "appId", 3));
  ASSERT_TRUE(t_.SetBufferField(table, "title", Bytes("ab")));
  ASSERT_TRUE(t_.SetIntField(table, "msgId", 30));
  ASSERT_TRUE(t_.PostRow(table, 0));
  ASSERT_TRUE(Insert(table, {{"msgId", 40}, {"appId", 4}}));
  // A row dropped by AddRow leaves nothing behind either.
  ASSERT_TRUE(t_.AddRow(table));
  ASSERT_TRUE(t_.SetIntField(table, "pushTime", 99));
  ASSERT_TRUE(t_.AddRow(table));
  ASSERT_TRUE(t_.SetIntField(table, "appId", 5));
  ASSERT_TRUE(t_.PostRow(table, 0));

  EXPECT_EQ(Column(table, "appId"), (std::vector<uint32_t>{1, 2, 3, 4, 5}));
  EXPECT_EQ(Column(table, "msgId"), (std::vector<uint32_t>{10, 0, 30, 40, 0}));
  EXPECT_EQ(Column(table, "pushTime"), (std::vector<uint32_t>{0, 0, 0, 0, 0}));
  std::vector<std::string> titles;
  uint32_t err = 99;
  ASSERT_TRUE(t_.SelectRows(table, nullptr));
  while (t_.NextRow(table, &err)) {
    uint8_t* bytes = nullptr;
    uint32_t size = 0;
    ASSERT_TRUE(t_.GetBufferField(table, "title", &bytes, &size));
    titles.emplace_back(reinterpret_cast<char*>(bytes), size);
    delete[] bytes;
  }
  EXPECT_EQ(titles, (std::vector<std::string>{longText, "", "ab", "", ""}));

  // A column added between rows is written by the next row that sets it.
  ASSERT_TRUE(t_.ExecuteSql(db, "ALTER TABLE dynmsgtable ADD COLUMN extra INTEGER", &err));
  ASSERT_TRUE(Insert(table, {{"appId", 6}, {"extra", 7}}));
  ASSERT_TRUE(Insert(table, {{"appId", 8}}));
  EXPECT_EQ(Column(table, "extra", "appId >= 6"), (std::vector<uint32_t>{7, 0}));
  // Adding it again is refused every time, until the column is gone.
  const char* add = "ALTER TABLE dynmsgtable ADD COLUMN extra INTEGER";
  EXPECT_FALSE(t_.ExecuteSql(db, add, &err));
  EXPECT_FALSE(t_.ExecuteSql(db, add, &err));
  EXPECT_EQ(err, kError);
  ASSERT_TRUE(t_.ExecuteSql(db, "ALTER TABLE dynmsgtable DROP COLUMN extra", &err));
  EXPECT_TRUE(t_.ExecuteSql(db, add, &err));
}

}  // namespace
