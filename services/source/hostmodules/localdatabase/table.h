// One open table of a database: a walk over selected rows, a row being
// filled, and the statements that serve them, compiled once and kept.
//
// Integer columns hold unsigned 32-bit values. A table belongs to its
// Database and must be destroyed before it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "localdatabase/columnset.h"
#include "localdatabase/pendingrow.h"
#include "localdatabase/statement.h"
#include "localdatabase/tablecache.h"

struct sqlite3_value;

namespace halyx {

class Database;

// Every operation answers an SQLite result code: SQLITE_OK when done.
class Table {
 public:
  // Fails with SQLITE_ERROR when the database has no table of that name.
  static int Open(Database* db, const std::string& name, std::unique_ptr<Table>* table);

  Table(const Table&) = delete;
  Table& operator=(const Table&) = delete;

  Database* database() const { return db_; }

  // Starts a walk over the rows matching condition (null: every row), in the
  // order they were stored. Any earlier walk ends.
  int Select(const char* condition);
  // SQLITE_ROW when a row is current, SQLITE_DONE at the normal end; the walk
  // ends with either, or with an error.
  int Next();
  // Getters read the current row. A NULL value reads as 0 or as no bytes.
  int GetNumber(const char* column, uint32_t* value);
  // *text: a zero-terminated copy allocated with new[].
  int GetText(const char* column, char** text);
  // *bytes: a copy allocated with new[], or null when there are no bytes.
  int GetBytes(const char* column, uint8_t** bytes, uint32_t* size);

  // Deletes the rows matching where (null: every row).
  int Delete(const char* where);

  // Opens a new pending row; one still pending is dropped.
  void AddRow();
  // A setter that fails (no pending row, unknown column, a column of the
  // other kind) changes nothing, and the row stays pending.
  int SetNumber(const char* column, uint32_t value);
  int SetText(const char* column, const char* text);
  int SetBytes(const char* column, const uint8_t* bytes, uint32_t size);
  // Stores the pending row as one INSERT, so a failure stores nothing. The
  // row is no longer pending afterwards, whatever the outcome.
  int Post();

 private:
  Table(Database* db, const std::string& name, TableCache* cache)
      : db_(db), name_(name), cache_(cache) {}

  std::string QuotedName() const;
  // Finds a column of the table for a setter, looking at the table's columns
  // again when statements may have changed them.
  int FindColumn(const char* name, ColumnKind kind, int* index);
  // Finds a column of the current row for a getter. The walk's columns are
  // read once, at its first row: its statement is fixed for the whole walk.
  int FindCurrent(const char* name, ColumnKind kind, int* index);
  void EndWalk();
  // The value of a column of the current row.
  sqlite3_value* CurrentValue(int index);

  struct WalkColumn {
    const char* name;  // SQLite's, valid while the walk's statement is
    ColumnKind kind;
  };

  Database* db_;
  std::string name_;
  TableCache* cache_;  // the connection's, which outlives the table

  Statement selectAll_;
  Statement selectWhere_;
  Statement* walk_ = nullptr;
  bool rowCurrent_ = false;
  std::vector<WalkColumn> walkColumns_;  // empty until the walk's first read
  size_t nextColumn_ = 0;  // where the next read's column most likely is

  std::vector<int64_t> deleteValues_;  // kept for its room between deletions
  size_t nextSetColumn_ = 0;  // where the next setter's column most likely is
  // Kept from row to row for its storage; holds a row only while rowOpen_.
  PendingRow pending_;
  bool rowOpen_ = false;
  uint32_t rowVersion_ = 0;  // the columns' version when the row was opened
};

}  // namespace halyx
