// The columns of one table as the database file declares them, and which
// setters and getters each column accepts.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

struct sqlite3;

namespace halyx {

// What a column holds, from its declared type by SQLite's affinity rules:
// INTEGER and NUMERIC affinity columns hold numbers, TEXT and BLOB affinity
// columns hold bytes or text; REAL columns serve neither kind of access.
enum class ColumnKind { kNumber, kBytes, kOther };

ColumnKind KindOfDeclaredType(const char* declaredType);

// Whether two column names are the same to SQL: equal but for the case of
// ASCII letters. Asked at every field a caller sets or reads, so it is kept
// inline rather than a call into SQLite.
inline bool SameColumnName(const char* a, const char* b) {
  // Callers mostly spell a name as the table does: an exact match is found
  // by the library's own comparison, and only a mismatch is looked at again
  // letter by letter.
  if (std::strcmp(a, b) == 0) {
    return true;
  }
  for (;; ++a, ++b) {
    const unsigned char x = static_cast<unsigned char>(*a);
    const unsigned char y = static_cast<unsigned char>(*b);
    if (x != y) {
      const unsigned char lowerX = (x >= 'A' && x <= 'Z') ? static_cast<unsigned char>(x + 32) : x;
      const unsigned char lowerY = (y >= 'A' && y <= 'Z') ? static_cast<unsigned char>(y + 32) : y;
      if (lowerX != lowerY) {
        return false;
      }
    }
    if (x == 0) {
      return true;
    }
  }
}

class ColumnSet {
 public:
  struct Column {
    std::string name;
    ColumnKind kind;
  };

  // Reads the table's columns; false (and empty) when the table does not
  // exist, with the SQLite result code in *rc.
  bool Load(sqlite3* db, const std::string& table, int* rc);

  // Index of the column of that name (compared as SQL does, ignoring ASCII
  // case), or -1.
  // The search starts at from: writers mostly set the columns in one order,
  // row after row, so the column after the last one found comes first.
  int Find(const char* name, size_t from = 0) const;
  const Column& at(int index) const { return columns_[static_cast<size_t>(index)]; }

 private:
  std::vector<Column> columns_;
};

}  // namespace halyx
