// What a connection keeps about one of its tables between the Table objects
// that open it: the columns, and the INSERT and DELETE statements already
// compiled. A pooled connection serves many short-lived tables, so this is
// what spares each of them reading the schema and compiling its statements.
//
// The columns are trusted while the connection's schema generation is the
// one they were read at; statements stay valid across schema changes, as
// SQLite compiles them again when the schema they were made for is gone.
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "localdatabase/columnset.h"
#include "localdatabase/statement.h"

struct sqlite3;

namespace halyx {

class TableCache {
 public:
  // Whether the columns were read at this generation: the table then exists.
  bool Current(uint32_t generation) const { return loaded_ && generation_ == generation; }
  // Reads the columns again; SQLITE_ERROR when the table does not exist, and
  // the cache then knows nothing.
  int Load(sqlite3* db, const std::string& table, uint32_t generation);
  const ColumnSet& columns() const { return columns_; }
  // Grows at every Load: column indexes taken at one version name the same
  // columns as long as it lasts.
  uint32_t version() const { return version_; }

  // The cached statement for that key, or an empty one to compile into.
  Statement* Insert(const std::string& columnList) { return &inserts_[columnList]; }
  // The INSERT last used for rows that set these columns (by index, at the
  // current version), or null; spares building the column list of each row.
  Statement* InsertOf(uint64_t mask) const;
  void NoteInsert(uint64_t mask, Statement* insert);
  // Delete texts are few once their numbers are parameters; an unbounded
  // stream of distinct texts still cannot grow the cache without end.
  Statement* Delete(const std::string& where);

 private:
  ColumnSet columns_;
  bool loaded_ = false;
  uint32_t generation_ = 0;
  uint32_t version_ = 0;
  std::map<std::string, Statement> inserts_;  // by column list
  std::map<std::string, Statement> deletes_;  // by parameterised WHERE text
  // Into inserts_, whose nodes stay put; dropped at every Load.
  std::map<uint64_t, Statement*> insertsByMask_;
};

}  // namespace halyx
