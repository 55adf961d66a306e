#include "localdatabase/columnset.h"

#include <sqlite3.h>

#include <cctype>

#include "localdatabase/statement.h"

namespace halyx {
namespace {

bool Contains(const std::string& upper, const char* part) {
  return upper.find(part) != std::string::npos;
}

}  // namespace

ColumnKind KindOfDeclaredType(const char* declaredType) {
  std::string upper = declaredType ? declaredType : "";
  for (char& c : upper) {
    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  }
  if (Contains(upper, "INT")) {
    return ColumnKind::kNumber;
  }
  if (Contains(upper, "CHAR") || Contains(upper, "CLOB") || Contains(upper, "TEXT") ||
      Contains(upper, "BLOB") || upper.empty()) {
    return ColumnKind::kBytes;
  }
  if (Contains(upper, "REAL") || Contains(upper, "FLOA") || Contains(upper, "DOUB")) {
    return ColumnKind::kOther;
  }
  return ColumnKind::kNumber;
}

bool ColumnSet::Load(sqlite3* db, const std::string& table, int* rc) {
  columns_.clear();
  Statement info;
  *rc = Statement::Prepare(db, "SELECT name, type FROM pragma_table_info(?1)", &info);
  if (*rc != SQLITE_OK) {
    return false;
  }
  sqlite3_bind_text(info.get(), 1, table.c_str(), static_cast<int>(table.size()), SQLITE_STATIC);
  int step;
  while ((step = sqlite3_step(info.get())) == SQLITE_ROW) {
    const char* name = reinterpret_cast<const char*>(sqlite3_column_text(info.get(), 0));
    const char* type = reinterpret_cast<const char*>(sqlite3_column_text(info.get(), 1));
    columns_.push_back(Column{name ? name : "", KindOfDeclaredType(type)});
  }
  if (step != SQLITE_DONE) {
    *rc = step;
    columns_.clear();
    return false;
  }
  if (columns_.empty()) {
    *rc = SQLITE_ERROR;  // no such table
    return false;
  }
  *rc = SQLITE_OK;
  return true;
}

int ColumnSet::Find(const char* name, size_t from) const {
  const size_t count = columns_.size();
  for (size_t step = 0; step < count; ++step) {
    const size_t i = (from + step) % count;
    if (SameColumnName(columns_[i].name.c_str(), name)) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

}  // namespace halyx
