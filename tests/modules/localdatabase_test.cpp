// localdatabase.dll against real SQLite files in the test's own data folder.

#include "halyx/localdatabase.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "modules/loadedmodule.h"

namespace fs = std::filesystem;

namespace {

enum : uint32_t { kError = 1, kIoError = 10, kConstraint = 19, kMismatch = 20, kMisuse = 21 };

const ColumnDef kColumns[] = {{"appId", 8, 0},   {"msgId", 8, 0},  {"pushTime", 8, 0},
                              {"buffer", 11, 0}, {"title", 11, 0}, {"textHint", 11, 0}};

using Strings = std::vector<std::string>;
using Numbers = std::initializer_list<std::pair<const char*, uint32_t>>;
using Texts = std::initializer_list<std::pair<const char*, std::string>>;

class LocalDatabaseTest : public testing::Test {
 protected:
  void SetUp() override {
    auto entry = module_.Get<LocalDatabaseEntry>("LocalDatabase");
    ASSERT_TRUE(entry && entry(&t_) && lastError_ && openHandles_ && releaseIdle_ && failAfter_);
    openBefore_ = openHandles_();
    fs::create_directories(folder_);
  }

  uint32_t OpenDb(const std::string& path = "") {
    uint32_t db = 0, err = 99;
    EXPECT_TRUE(t_.OpenDatabase((path.empty() ? path_ : path).c_str(), 1, &db, &err) && err == 0);
    return db;
  }
  uint32_t OpenTable(uint32_t db, const char* name = "t") {
    uint32_t table = 0, err = 99;
    t_.CreateTable(db, name, kColumns, 6, -1, &err);
    EXPECT_TRUE(t_.OpenTable(db, name, &table, &err));
    return table;
  }
  // Texts go through the byte setter.
  bool Insert(uint32_t table, Numbers numbers, Texts texts = {}) {
    bool ok = t_.AddRow(table);
    for (const auto& field : numbers) ok = ok && t_.SetIntField(table, field.first, field.second);
    for (const auto& field : texts) {
      Buffer bytes;
      bytes.CopyFrom(field.second.data(), static_cast<uint32_t>(field.second.size()));
      ok = ok && t_.SetBufferField(table, field.first, bytes);
    }
    return ok && t_.PostRow(table, 0);
  }
  // One column over the rows that match condition, read as numbers (in
  // decimal), as bytes or as zero-terminated text.
  enum Read { kNumbers, kBytes, kText };
  Strings Column(uint32_t table, const char* column, const char* condition = nullptr,
                 Read read = kNumbers) {
    Strings values;
    uint32_t err = 99, value = 0;
    EXPECT_TRUE(t_.SelectRows(table, condition));
    while (t_.NextRow(table, &err)) {
      uint8_t* data = nullptr;
      char* text = nullptr;
      EXPECT_TRUE(read == kBytes  ? t_.GetBufferField(table, column, &data, &value)
                  : read == kText ? t_.GetTextField(table, column, &text)
                                  : t_.GetIntField(table, column, &value));
      EXPECT_EQ(data == nullptr, read != kBytes || value == 0);  // no bytes come back as null
      values.push_back(read == kBytes  ? std::string(reinterpret_cast<char*>(data), value)
                       : read == kText ? std::string(text)
                                       : std::to_string(value));
      delete[] data;
      delete[] text;
    }
    EXPECT_EQ(err, 0u);
    return values;
  }
  LoadedModule module_{"localdatabase.dll"};
  LocalDatabaseTable t_{};
#define CONTROL(name, member) decltype(&name) member = module_.Get<decltype(&name)>(#name)
  CONTROL(LocalDatabaseLastError, lastError_);
  CONTROL(LocalDatabaseOpenHandles, openHandles_);
  CONTROL(LocalDatabaseReleaseIdle, releaseIdle_);
  CONTROL(LocalDatabaseFailAfter, failAfter_);
  uint32_t openBefore_ = 0;
  fs::path folder_ = fs::u8path(testenv::DocumentsFolder()) / "Corvane Files" / "db";
  std::string path_ = (folder_ / "test.db").u8string();
};

TEST_F(LocalDatabaseTest, RowsHoldExactlyWhatWasSetAndConditionsReadNegativeNumbersUnsigned) {
  const std::string withZeros("a\0b\0\0c", 6);
  const std::string longText(700, 'L');
  // Spelled the Windows way, as the library spells its paths.
  uint32_t db = OpenDb(folder_.u8string() + "\\test.db");
  uint32_t table = OpenTable(db);
  // Rows that set different columns alternate, a long text is followed by a
  // shorter one and by none, and a row dropped by AddRow leaves nothing.
  ASSERT_TRUE(
      Insert(table, {{"appId", 4294967295u}}, {{"buffer", withZeros}, {"title", longText}}));
  ASSERT_TRUE(Insert(table, {{"msgId", 2}}));
  ASSERT_TRUE(t_.AddRow(table) && t_.SetIntField(table, "pushTime", 99));
  ASSERT_TRUE(Insert(table, {{"APPID", 3}}, {{"buffer", ""}}));
  ASSERT_TRUE(t_.AddRow(table) && t_.SetTextField(table, "title", "=-1") && t_.PostRow(table, 0));
  EXPECT_TRUE(fs::exists(path_ + "-wal"));  // written in WAL mode
  ASSERT_TRUE(t_.CloseDatabase(db));

  uint32_t again = OpenDb();
  EXPECT_FALSE(again == db || t_.AddRow(table));  // closed with its database
  table = OpenTable(again);
  EXPECT_EQ(Column(table, "appId"), (Strings{"4294967295", "0", "3", "0"}));
  EXPECT_EQ(Column(table, "msgId"), (Strings{"0", "2", "0", "0"}));
  EXPECT_EQ(Column(table, "pushTime"), (Strings{"0", "0", "0", "0"}));
  EXPECT_EQ(Column(table, "title", nullptr, kBytes), (Strings{longText, "", "", "=-1"}));
  EXPECT_EQ(Column(table, "buffer", nullptr, kBytes), (Strings{withZeros, "", "", ""}));
  EXPECT_EQ(Column(table, "buffer", "appId = -1", kText), (Strings{"a"}));
  // Negative literals are unsigned values, also in deletions; a minus between
  // operands still subtracts, and quoted text is left alone.
  EXPECT_TRUE(t_.DeleteRows(table, "appId = 3 - 1 or title = '=-1' or appId=-1", 0));
  EXPECT_TRUE(t_.DeleteRows(table, "msgId > 1 and pushTime >= 0 or appId > 2", 0));
  EXPECT_EQ(Column(table, "msgId"), (Strings{"2"}));
}

TEST_F(LocalDatabaseTest, MigrationsAddColumnsOnceAndReopenedFilesSeeOtherConnectionsSchema) {
  uint32_t db = OpenDb(), other = OpenDb(), err = 99;
  uint32_t table = OpenTable(db);
  ASSERT_TRUE(Insert(table, {{"appId", 0}, {"msgId", 1}}));
  const char* add = "ALTER TABLE t ADD COLUMN extra INTEGER DEFAULT 7";
  // Added to the open table, the next rows set it; added again, it is refused until dropped.
  ASSERT_TRUE(t_.ExecuteSql(db, add, &err));
  ASSERT_TRUE(Insert(table, {{"msgId", 2}, {"extra", 8}}));
  for (const char* again : {add, add, "alter table \"t\" add extra INTEGER"}) {
    EXPECT_FALSE(t_.ExecuteSql(db, again, &err) || err != kError) << again;
  }
  EXPECT_EQ(Column(table, "extra"), (Strings{"7", "8"}));
  EXPECT_TRUE(t_.ExecuteSql(db, "ALTER TABLE t DROP COLUMN extra", &err) &&
              t_.ExecuteSql(db, add, &err));
  OpenTable(db, "u");
  ASSERT_TRUE(t_.CloseDatabase(db));
  // While the first sits closed, the other rebuilds t without it and drops u.
  for (const char* sql : {"DROP TABLE t", "CREATE TABLE t (z INTEGER)", "DROP TABLE u"}) {
    ASSERT_TRUE(t_.ExecuteSql(other, sql, &err)) << sql;
  }
  db = OpenDb();
  EXPECT_TRUE(t_.ExecuteSql(db, add, &err));
  table = OpenTable(db);
  ASSERT_TRUE(Insert(table, {{"extra", 2}, {"z", 3}}));
  EXPECT_TRUE(Insert(OpenTable(db, "u"), {{"msgId", 4}}));  // created again
  // A walk over every row, kept compiled since the last one, reads a column
  // that another connection added meanwhile.
  EXPECT_EQ(Column(table, "z"), (Strings{"3"}));
  ASSERT_TRUE(t_.ExecuteSql(other, "ALTER TABLE t ADD COLUMN late INTEGER DEFAULT 5", &err));
  EXPECT_EQ(Column(table, "late"), (Strings{"5"}));
}

TEST_F(LocalDatabaseTest, BadInputAndInjectedFaultsFailWithTheirCodeAndChangeNothing) {
  uint32_t db = 0, table = 0, err = 99, value = 0;
  std::ofstream(folder_ / "junk.db") << std::string(600, 'x');
  for (const char* file : {"no/such.db", "junk.db"}) {  // cannot open, not a database
    EXPECT_FALSE(t_.OpenDatabase((folder_.u8string() + "/" + file).c_str(), 1, &db, &err));
    EXPECT_EQ(err, *file == 'n' ? 14u : 26u) << file;
  }
  EXPECT_FALSE(t_.OpenDatabase(nullptr, 1, &db, &err) || err != kMisuse);
  db = OpenDb();
  table = OpenTable(db);
  // Unknown handles, 0 included, and handles of the other kind.
  for (auto bad :
       {std::make_pair(0u, 0u), std::make_pair(12345u, 12345u), std::make_pair(table, db)}) {
    EXPECT_FALSE(t_.OpenTable(bad.first, "t", &table, &err) ||
                 t_.ExecuteSql(bad.first, "select 1", &err) ||
                 t_.BeginTransaction(bad.first, &err) || t_.CloseDatabase(bad.first) ||
                 t_.SelectRows(bad.second, nullptr) || t_.NextRow(bad.second, &err) ||
                 t_.AddRow(bad.second) || t_.PostRow(bad.second, 0) ||
                 t_.DeleteRows(bad.second, nullptr, 0) || t_.CloseTable(bad.second, &err) ||
                 lastError_() != kMisuse);
  }
  const ColumnDef badType[] = {{"x", 5, 0}};
  EXPECT_FALSE(t_.CreateTable(db, "bad", badType, 1, -1, &err) ||
               t_.CreateTable(db, "bad", kColumns, 0, -1, &err) ||
               t_.CommitTransaction(db, &err));  // none begun
  EXPECT_FALSE(t_.OpenTable(db, "nosuchtable", &table, &err) || t_.ExecuteSql(db, "not sql", &err));
  EXPECT_EQ(err, kError);
  EXPECT_FALSE(t_.SetIntField(table, "appId", 1) || t_.NextRow(table, &err));  // no row, no walk
  ASSERT_TRUE(t_.AddRow(table));
  EXPECT_FALSE(t_.SetIntField(table, "buffer", 1) || lastError_() != kMismatch);
  EXPECT_FALSE(t_.SetBufferField(table, "appId", Buffer()) || t_.SetTextField(table, "no", "x") ||
               t_.SetIntField(table, nullptr, 1) || t_.SetTextField(table, "title", nullptr));
  // A slot armed with n lets n calls through, then fails each until cleared.
  ASSERT_TRUE(failAfter_(33, 1) && t_.SetIntField(table, "appId", 42));
  EXPECT_FALSE(t_.SetIntField(table, "msgId", 1) || t_.SetIntField(table, "msgId", 2) ||
               lastError_() != kIoError);
  EXPECT_TRUE(failAfter_(33, -1) && !failAfter_(39, 0));
  ASSERT_TRUE(t_.PostRow(table, 0));   // with what was set well
  EXPECT_FALSE(t_.PostRow(table, 0));  // nothing pending any more
  EXPECT_EQ(Column(table, "msgId"), (Strings{"0"}));

  uint8_t* bytes = nullptr;
  ASSERT_TRUE(t_.SelectRows(table, nullptr) && !t_.GetIntField(table, "appId", &value));
  ASSERT_TRUE(t_.NextRow(table, &err));
  EXPECT_FALSE(
      t_.GetIntField(table, "title", &value) || t_.GetBufferField(table, "appId", &bytes, &value) ||
      t_.GetIntField(table, "nosuchcolumn", &value) || t_.GetIntField(table, "appId", nullptr));
  EXPECT_FALSE(t_.SelectRows(table, "no such column = 1") ||
               t_.DeleteRows(table, "appId = 42; DELETE FROM t", 0) ||
               t_.DeleteRows(table, "appId ==== 42", 0));
  // A post that the file refuses stores nothing.
  ASSERT_TRUE(t_.ExecuteSql(db, "CREATE UNIQUE INDEX once ON t (appId)", &err));
  EXPECT_FALSE(Insert(table, {{"appId", 42}, {"msgId", 2}}) || lastError_() != kConstraint);
  EXPECT_EQ(Column(table, "msgId"), (Strings{"0"}));
  EXPECT_TRUE(t_.CloseDatabase(db) && !t_.CloseTable(table, &err) && !t_.CloseDatabase(db));
  EXPECT_EQ(openHandles_(), openBefore_);
}

TEST_F(LocalDatabaseTest, WritesAreNeverUndoneAndAReopenedFileIsTheFileNowAtItsPath) {
  const std::string otherPath = (folder_ / "other.db").u8string();
  uint32_t other = OpenDb(otherPath), err = 99;
  ASSERT_TRUE(Insert(OpenTable(other), {{"msgId", 4}}) && t_.CloseDatabase(other));
  EXPECT_EQ(releaseIdle_(), 1u);  // the other file is complete on disk, without its log
  uint32_t writer = OpenDb(), reader = OpenDb();
  uint32_t written = OpenTable(writer), read = OpenTable(reader);
  ASSERT_TRUE(t_.BeginTransaction(writer, &err) && Insert(written, {{"msgId", 1}}));
  EXPECT_TRUE(Column(read, "msgId").empty());  // a transaction reaches others whole
  // Begun and never committed: committed by the next begin or the close, never undone.
  ASSERT_TRUE(t_.BeginTransaction(writer, &err) && Insert(written, {{"msgId", 2}}) &&
              t_.CommitTransaction(writer, &err));
  EXPECT_EQ(Column(read, "msgId"), (Strings{"1", "2"}));
  ASSERT_TRUE(t_.BeginTransaction(writer, &err) && t_.DeleteRows(written, "msgId = 1", 0));
  ASSERT_TRUE(t_.CloseDatabase(writer));
  EXPECT_EQ(Column(read, "msgId"), (Strings{"2"}));
  ASSERT_TRUE(t_.CloseDatabase(reader));
  // Removed, then replaced by the other file, while its connection is kept: the file now at
  // the path is written and read. Windows moves no open file: the kept connection goes first.
  std::error_code error;
  EXPECT_TRUE(fs::remove(path_, error) || (releaseIdle_() == 1u && fs::remove(path_)));
  for (const char* log : {"-wal", "-shm"}) fs::remove(path_ + log);
  uint32_t db = OpenDb();
  EXPECT_TRUE(Column(OpenTable(db), "msgId").empty());
  ASSERT_TRUE(Insert(OpenTable(db), {{"msgId", 3}}) && t_.CloseDatabase(db));
  fs::rename(otherPath, path_, error);
  EXPECT_TRUE(!error || (releaseIdle_() == 1u && (fs::rename(otherPath, path_), true)));
  for (const char* log : {"-wal", "-shm"}) fs::remove(path_ + log);  // the replaced file's
  db = OpenDb();
  EXPECT_EQ(Column(OpenTable(db), "msgId"), (Strings{"4"}));
  ASSERT_TRUE(t_.CloseDatabase(db));
  EXPECT_TRUE(releaseIdle_() == 1u && releaseIdle_() == 0u);  // then removable everywhere
  fs::remove_all(folder_);
  EXPECT_EQ(openHandles_(), openBefore_);
}

TEST_F(LocalDatabaseTest, TwoThreadsWritingAndWalkingAtOnceEachReadBackTheirOwnRows) {
  // The handle tables and the kept connections are shared: each call holds
  // the service's lock while it uses them.
  auto work = [this](const char* file, uint32_t first, Strings* read) {
    const uint32_t db = OpenDb((folder_ / file).u8string());
    const uint32_t table = OpenTable(db);
    for (uint32_t i = first; i < first + 150; ++i) EXPECT_TRUE(Insert(table, {{"appId", i}}));
    *read = Column(table, "appId", "appId >= 100");
    EXPECT_TRUE(t_.CloseDatabase(db));
  };
  Strings one, two, expected;
  std::thread other(work, "one.db", 0, &one);
  work("two.db", 1000, &two);
  other.join();
  for (uint32_t i = 100; i < 150; ++i) expected.push_back(std::to_string(i));
  EXPECT_EQ(one, expected);
  EXPECT_EQ(two.size(), 150u);
  EXPECT_TRUE(two.front() == "1000" && two.back() == "1149");
  releaseIdle_();
  EXPECT_EQ(openHandles_(), openBefore_);
}

}  // namespace
