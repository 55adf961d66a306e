// A row that AddRow opened and the setters fill, not yet in the table.
//
// One PendingRow serves every row of its table in turn: Clear forgets the
// values but keeps the room they took, so that a stream of rows of like size
// is filled without allocating.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct sqlite3_stmt;

namespace halyx {

class PendingRow {
 public:
  enum class Type { kInteger, kText, kBytes };

  // Forgets every value; the next row starts with no column set.
  void Clear();
  // The column at that index of the table, of that name, gets the value
  // (the integer, or size bytes; null bytes: none); setting it again replaces
  // the value.
  void Set(int column, const std::string& name, Type type, uint32_t integer, const char* bytes,
           size_t size);

  // Which of the columns 0..63 are set, one bit each: rows with the same mask
  // share their INSERT. 0 when no column or a column beyond 63 is set.
  uint64_t Mask() const;
  // The INSERT that stores this row into the quoted table, its values as
  // parameters in column order.
  std::string InsertText(const std::string& quotedTable) const;
  // Binds the values as parameters 1..n. The statement reads the row's bytes
  // in place: the row must stay unchanged until the statement has been reset.
  int Bind(sqlite3_stmt* insert) const;

 private:
  struct Value {
    bool set = false;
    Type type = Type::kInteger;
    uint32_t integer = 0;
    // Both keep their capacity from row to row. The name is the one the
    // index stood for when it was set, should the columns be read again.
    std::string name;
    std::string bytes;
  };

  std::vector<Value> values_;  // by column index
};

}  // namespace halyx
