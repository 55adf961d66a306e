#include "localdatabase/pendingrow.h"

#include <sqlite3.h>

#include "localdatabase/sqltext.h"

namespace halyx {

void PendingRow::Clear() {
  for (Value& value : values_) {
    value.set = false;
  }
}

void PendingRow::Set(int column, const std::string& name, Type type, uint32_t integer,
                     const char* bytes, size_t size) {
  const size_t index = static_cast<size_t>(column);
  if (index >= values_.size()) {
    values_.resize(index + 1);
  }
  Value& value = values_[index];
  value.set = true;
  value.name.assign(name);
  value.type = type;
  value.integer = integer;
  value.bytes.assign(bytes ? bytes : "", bytes ? size : 0);
}

uint64_t PendingRow::Mask() const {
  uint64_t mask = 0;
  for (size_t i = 0; i < values_.size(); ++i) {
    if (values_[i].set) {
      if (i >= 64) {
        return 0;
      }
      mask |= uint64_t{1} << i;
    }
  }
  return mask;
}

std::string PendingRow::InsertText(const std::string& quotedTable) const {
  std::string columns;
  std::string parameters;
  for (const Value& value : values_) {
    if (value.set) {
      columns += (columns.empty() ? "" : ",") + Quoted(value.name);
      parameters += parameters.empty() ? "?" : ",?";
    }
  }
  if (columns.empty()) {
    return "INSERT INTO " + quotedTable + " DEFAULT VALUES";
  }
  return "INSERT INTO " + quotedTable + " (" + columns + ") VALUES (" + parameters + ")";
}

int PendingRow::Bind(sqlite3_stmt* insert) const {
  int index = 0;
  for (const Value& value : values_) {
    if (!value.set) {
      continue;
    }
    ++index;
    const int size = static_cast<int>(value.bytes.size());
    int rc = SQLITE_OK;
    if (value.type == Type::kInteger) {
      // Stored as the unsigned 32-bit value, so 4294967295 reads back and
      // compares as itself.
      rc = sqlite3_bind_int64(insert, index, static_cast<sqlite3_int64>(value.integer));
    } else if (value.type == Type::kText) {
      rc = sqlite3_bind_text(insert, index, value.bytes.data(), size, SQLITE_STATIC);
    } else if (size == 0) {
      rc = sqlite3_bind_zeroblob(insert, index, 0);  // an empty blob, never NULL
    } else {
      rc = sqlite3_bind_blob(insert, index, value.bytes.data(), size, SQLITE_STATIC);
    }
    if (rc != SQLITE_OK) {
      return rc;
    }
  }
  return SQLITE_OK;
}

}  // namespace halyx
