// What a connection knows about one of its tables, kept across the Table
// objects that open it: a storage opens its table for every operation, and
// this spares each open reading the columns and compiling the INSERT again.
//
// The columns are trusted until the connection sees the schema change
// (Forget); compiled statements would survive a change, as SQLite compiles
// them again, but the columns they name by index might not.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <utility>

#include "localdatabase/columnset.h"
#include "localdatabase/statement.h"

struct sqlite3;

namespace halyx {

class TableCache {
 public:
  // Whether the columns are known: the table then exists.
  bool loaded() const { return loaded_; }
  // Reads the columns as the file has them now; SQLITE_ERROR when the table
  // does not exist, and the cache then knows nothing.
  int Load(sqlite3* db, const std::string& table);
  void Forget();
  const ColumnSet& columns() const { return columns_; }
  // Grows at every Load and Forget: column indexes taken at one version name
  // the same columns as long as it lasts.
  uint32_t version() const { return version_; }

  // The INSERT for rows that set the columns of the mask (indexes at the
  // current version); an empty statement to compile into when there is none.
  Statement* InsertOf(uint64_t mask) { return &inserts_[mask]; }

  // The compiled walk over every row, taken out for a walk and given back
  // when it ends, so that two walks over the table never share it; empty
  // when none is kept. A walk given back at an older version is dropped.
  Statement TakeSelectAll() { return std::move(selectAll_); }
  void KeepSelectAll(Statement walk, uint32_t takenAt);

 private:
  ColumnSet columns_;
  bool loaded_ = false;
  uint32_t version_ = 0;
  std::map<uint64_t, Statement> inserts_;
  Statement selectAll_;
};

}  // namespace halyx
