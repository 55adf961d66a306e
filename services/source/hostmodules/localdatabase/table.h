// One open table of a database: a walk over selected rows, and a row being
// filled. Integer columns hold unsigned 32-bit values. A table belongs to its
// Database and must be destroyed before it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "localdatabase/columnset.h"
#include "localdatabase/pendingrow.h"
#include "localdatabase/sqltext.h"
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
  // Gives a walk over every row back to the connection's cache.
  ~Table();

  Database* database() const { return db_; }

  // Starts a walk over the rows matching condition (null: every row), in the
  // order they were stored. Any earlier walk ends.
  int Select(const char* condition);
  // SQLITE_ROW when a row is current, SQLITE_DONE at the normal end; the walk
  // ends with either, or with an error.
  int Next();
  // Getters read the current row. A NULL value reads as 0 or as no bytes.
  int GetNumber(const char* column, uint32_t* value);
  // *text: a zero-terminated copy allocated with new[], ending at the first
  // zero of the bytes.
  int GetText(const char* column, char** text);
  // *bytes: a copy allocated with new[], or null when there are no bytes.
  int GetBytes(const char* column, uint8_t** bytes, uint32_t* size);

  // Deletes the rows matching where (null: every row).
  int Delete(const char* where);

  // Opens a new pending row; one still pending is dropped.
  void AddRow();
  // A setter that fails (no pending row, unknown column, a column of the
  // other kind) changes nothing, and the row stays pending.
  int Set(const char* column, PendingRow::Type type, uint32_t integer, const char* bytes,
          size_t size);
  // Stores the pending row as one INSERT, so a failure stores nothing. The
  // row is no longer pending afterwards, whatever the outcome.
  int Post();

 private:
  Table(Database* db, const std::string& name, TableCache* cache)
      : db_(db), name_(name), quotedName_(Quoted(name)), cache_(cache) {}

  // The value of a column of the current row, which must be of that kind.
  int CurrentValue(const char* name, ColumnKind kind, sqlite3_value** value);
  // The current row's bytes in that column, valid until the walk moves on.
  int CurrentBytes(const char* column, const void** data, size_t* length);
  void EndWalk();

  Database* db_;
  std::string name_;
  std::string quotedName_;
  TableCache* cache_;  // the connection's, which outlives the table

  Statement walk_;
  bool walkAll_ = false;      // walk_ is the cache's walk over every row
  uint32_t walkVersion_ = 0;  // the columns' version when it was taken
  bool rowCurrent_ = false;
  ColumnSet walkColumns_;  // read at the walk's first row

  PendingRow pending_;  // holds a row only while rowOpen_
  bool rowOpen_ = false;
  uint32_t rowVersion_ = 0;  // the columns' version when the row was opened
};

}  // namespace halyx
