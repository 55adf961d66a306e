// A row that AddRow opened and the setters fill, not yet in the table.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>

struct sqlite3_stmt;

namespace halyx {

class PendingRow {
 public:
  enum class Type { kInteger, kText, kBytes };

  // The column at that index of the table gets the value; setting it again
  // replaces the value.
  void SetInteger(int column, const std::string& name, uint32_t value);
  void SetText(int column, const std::string& name, const char* text);
  void SetBytes(int column, const std::string& name, const uint8_t* bytes, uint32_t size);

  size_t size() const { return values_.size(); }
  // The column list of the INSERT that stores this row ("a","b"), in table
  // order; rows that set the same columns share it, and so share a statement.
  std::string ColumnList() const;
  // Binds the values, in column-list order, as parameters 1..n. The statement
  // reads the row's bytes in place: the row must outlive its execution.
  int Bind(sqlite3_stmt* insert) const;

 private:
  struct Value {
    std::string name;
    Type type;
    uint32_t integer;
    std::string bytes;
  };
  std::map<int, Value> values_;
};

}  // namespace halyx
