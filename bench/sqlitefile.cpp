#include "sqlitefile.h"

#include <sqlite3.h>

namespace {

// Owns a prepared statement for the length of one call.
class Statement {
 public:
  Statement(sqlite3* db, const std::string& sql) {
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK) {
      sqlite3_finalize(stmt);
      stmt = nullptr;
    }
  }
  ~Statement() { sqlite3_finalize(stmt); }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;
  sqlite3_stmt* get() const { return stmt; }

 private:
  sqlite3_stmt* stmt = nullptr;
};

void Bind(sqlite3_stmt* stmt, int at, const SqliteFile::Value& value) {
  switch (value.type) {
    case SQLITE_INTEGER:
      sqlite3_bind_int64(stmt, at, value.integer);
      break;
    case SQLITE_FLOAT:
      sqlite3_bind_double(stmt, at, value.real);
      break;
    case SQLITE_TEXT:
      sqlite3_bind_text(stmt, at, value.bytes.data(), int(value.bytes.size()), SQLITE_STATIC);
      break;
    case SQLITE_BLOB:
      sqlite3_bind_blob(stmt, at, value.bytes.data(), int(value.bytes.size()), SQLITE_STATIC);
      break;
    default:
      sqlite3_bind_null(stmt, at);
  }
}

}  // namespace

SqliteFile::SqliteFile(const std::string& path, Mode mode) {
  if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
    sqlite3_close_v2(db);
    db = nullptr;
    return;
  }
  if (mode == kWal && !Execute("PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL;")) {
    sqlite3_close_v2(db);
    db = nullptr;
  }
}

SqliteFile::~SqliteFile() { sqlite3_close_v2(db); }

bool SqliteFile::Execute(const std::string& sql) {
  return db != nullptr && sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
}

std::vector<SqliteFile::Row> SqliteFile::ReadRows(const std::string& table) {
  std::vector<Row> rows;
  if (db == nullptr) return rows;
  Statement select(db, "SELECT * FROM \"" + table + "\" ORDER BY rowid");
  if (select.get() == nullptr) return rows;
  while (sqlite3_step(select.get()) == SQLITE_ROW) {
    Row row(size_t(sqlite3_column_count(select.get())));
    for (int i = 0; i < int(row.size()); ++i) {
      Value& value = row[size_t(i)];
      value.type = sqlite3_column_type(select.get(), i);
      value.integer = sqlite3_column_int64(select.get(), i);
      value.real = sqlite3_column_double(select.get(), i);
      if (value.type == SQLITE_TEXT || value.type == SQLITE_BLOB) {
        const void* data = sqlite3_column_blob(select.get(), i);
        const int size = sqlite3_column_bytes(select.get(), i);
        if (data != nullptr) value.bytes.assign(static_cast<const char*>(data), size_t(size));
      }
    }
    rows.push_back(std::move(row));
  }
  return rows;
}

size_t SqliteFile::InsertEach(const std::string& table, const std::vector<Row>& rows) {
  if (db == nullptr || rows.empty()) return 0;
  std::string sql = "INSERT INTO \"" + table + "\" VALUES (";
  for (size_t i = 0; i < rows.front().size(); ++i) sql += i == 0 ? "?" : ",?";
  sql += ")";
  Statement insert(db, sql);
  Statement begin(db, "BEGIN IMMEDIATE");
  Statement commit(db, "COMMIT");
  if (insert.get() == nullptr || begin.get() == nullptr || commit.get() == nullptr) return 0;
  size_t committed = 0;
  for (const Row& row : rows) {
    if (sqlite3_step(begin.get()) != SQLITE_DONE) break;
    sqlite3_reset(begin.get());
    for (size_t i = 0; i < row.size(); ++i) Bind(insert.get(), int(i + 1), row[i]);
    const bool inserted = sqlite3_step(insert.get()) == SQLITE_DONE;
    sqlite3_reset(insert.get());
    const bool done = sqlite3_step(commit.get()) == SQLITE_DONE;
    sqlite3_reset(commit.get());
    if (!inserted || !done) break;
    ++committed;
  }
  return committed;
}

size_t SqliteFile::SelectAll(const std::string& table, size_t* bytes) {
  *bytes = 0;
  if (db == nullptr) return 0;
  Statement select(db, "SELECT * FROM \"" + table + "\"");
  if (select.get() == nullptr) return 0;
  size_t rows = 0;
  const int columns = sqlite3_column_count(select.get());
  while (sqlite3_step(select.get()) == SQLITE_ROW) {
    for (int i = 0; i < columns; ++i) {
      if (sqlite3_column_type(select.get(), i) == SQLITE_INTEGER) {
        *bytes += size_t(sqlite3_column_int64(select.get(), i) & 1);
      } else {
        sqlite3_column_blob(select.get(), i);
        *bytes += size_t(sqlite3_column_bytes(select.get(), i));
      }
    }
    ++rows;
  }
  return rows;
}
