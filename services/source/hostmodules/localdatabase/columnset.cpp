#include "localdatabase/columnset.h"

#include <sqlite3.h>

#include <cctype>
#include <cstring>

namespace halyx {
namespace {

ColumnKind KindOfDeclaredType(const char* declaredType) {
  std::string upper = declaredType ? declaredType : "";
  for (char& c : upper) {
    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  }
  auto has = [&upper](const char* part) { return upper.find(part) != std::string::npos; };
  if (has("INT")) {
    return ColumnKind::kNumber;
  }
  if (has("CHAR") || has("CLOB") || has("TEXT") || has("BLOB") || upper.empty()) {
    return ColumnKind::kBytes;
  }
  if (has("REAL") || has("FLOA") || has("DOUB")) {
    return ColumnKind::kOther;
  }
  return ColumnKind::kNumber;
}

// Asked at every field a caller sets or reads: callers mostly spell a name as
// the table does, so an exact match is tried first and only a mismatch is
// looked at again letter by letter.
bool SameColumnName(const char* a, const char* b) {
  if (std::strcmp(a, b) == 0) {
    return true;
  }
  auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
  for (;; ++a, ++b) {
    if (lower(*a) != lower(*b)) {
      return false;
    }
    if (*a == '\0') {
      return true;
    }
  }
}

}  // namespace

void ColumnSet::Read(sqlite3_stmt* statement) {
  columns_.clear();
  next_ = 0;
  const int count = sqlite3_column_count(statement);
  for (int i = 0; i < count; ++i) {
    Add(sqlite3_column_name(statement, i), sqlite3_column_decltype(statement, i));
  }
}

void ColumnSet::Add(const char* name, const char* declaredType) {
  columns_.push_back(Column{name ? name : "", KindOfDeclaredType(declaredType)});
}

int ColumnSet::Find(const char* name) const {
  const size_t count = columns_.size();
  size_t i = next_ < count ? next_ : 0;
  for (size_t step = 0; step < count; ++step) {
    if (SameColumnName(columns_[i].name.c_str(), name)) {
      next_ = i + 1;
      return static_cast<int>(i);
    }
    if (++i == count) i = 0;
  }
  return -1;
}

}  // namespace halyx
