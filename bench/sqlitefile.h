// A connection of the benchmarks' own to one of the library's database files,
// for the floors: the least SQLite work that a measured path needs, done on
// the same file with the settings that localdatabase.dll uses.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct sqlite3;

class SqliteFile {
 public:
  // One column value, copied out of SQLite so that it outlives the statement.
  struct Value {
    int type = 0;  // SQLITE_INTEGER, SQLITE_FLOAT, SQLITE_TEXT, SQLITE_BLOB or SQLITE_NULL
    int64_t integer = 0;
    double real = 0;
    std::string bytes;
  };
  typedef std::vector<Value> Row;

  enum Mode {
    kPlain,  // opened as it is, nothing asked of the connection
    kWal,    // WAL journal and synchronous NORMAL, as localdatabase.dll opens
  };

  SqliteFile(const std::string& path, Mode mode);
  ~SqliteFile();
  SqliteFile(const SqliteFile&) = delete;
  SqliteFile& operator=(const SqliteFile&) = delete;

  bool Ok() const { return db != nullptr; }

  bool Execute(const std::string& sql);
  // Every row of a table, in rowid order; empty on failure.
  std::vector<Row> ReadRows(const std::string& table);
  // Inserts each row in a transaction of its own, one prepared statement for
  // all; the number of rows committed.
  size_t InsertEach(const std::string& table, const std::vector<Row>& rows);
  // SELECT * of a table, reading every column of every row; the number of
  // rows, and in *bytes the total size of their text and byte columns (plus
  // the low bit of each integer, so that no column read can be left out).
  size_t SelectAll(const std::string& table, size_t* bytes);

 private:
  sqlite3* db = nullptr;
};
