// The columns of a table, or of the rows a walk reads, and which setters and
// getters each column accepts.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

struct sqlite3_stmt;

namespace halyx {

// What a column holds, from its declared type by SQLite's affinity rules:
// INTEGER and NUMERIC affinity columns hold numbers, TEXT and BLOB affinity
// columns hold bytes or text; REAL columns serve neither kind of access.
enum class ColumnKind { kNumber, kBytes, kOther };

class ColumnSet {
 public:
  struct Column {
    std::string name;
    ColumnKind kind;
  };

  // Takes the columns of the statement's rows, with their declared types:
  // for "SELECT *" of a table, the table's columns in their order.
  void Read(sqlite3_stmt* statement);
  // Adds a column of that declared type (null: none).
  void Add(const char* name, const char* declaredType);
  void Clear() { columns_.clear(); }
  bool empty() const { return columns_.empty(); }

  // Index of the column of that name (compared as SQL does, ignoring ASCII
  // case), or -1. Readers and writers mostly go through the columns in one
  // order, row after row: the search starts after the last column found.
  int Find(const char* name) const;
  const Column& at(int index) const { return columns_[static_cast<size_t>(index)]; }

 private:
  std::vector<Column> columns_;
  mutable size_t next_ = 0;  // where the next search starts
};

}  // namespace halyx
