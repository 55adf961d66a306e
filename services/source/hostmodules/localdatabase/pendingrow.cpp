#include "localdatabase/pendingrow.h"

#include <sqlite3.h>

namespace halyx {

void PendingRow::SetInteger(int column, const std::string& name, uint32_t value) {
  values_[column] = Value{name, Type::kInteger, value, std::string()};
}

void PendingRow::SetText(int column, const std::string& name, const char* text) {
  values_[column] = Value{name, Type::kText, 0, std::string(text)};
}

void PendingRow::SetBytes(int column, const std::string& name, const uint8_t* bytes,
                          uint32_t size) {
  values_[column] = Value{name, Type::kBytes, 0,
                          bytes ? std::string(reinterpret_cast<const char*>(bytes), size) : ""};
}

std::string PendingRow::ColumnList() const {
  // Built for every posted row, as the key of its INSERT: names are appended
  // whole unless a quote in them must be doubled.
  size_t length = 0;
  for (const auto& entry : values_) {
    length += entry.second.name.size() + 3;
  }
  std::string list;
  list.reserve(length);
  for (const auto& entry : values_) {
    if (!list.empty()) {
      list += ',';
    }
    list += '"';
    const std::string& name = entry.second.name;
    if (name.find('"') == std::string::npos) {
      list += name;
    } else {
      for (char c : name) {
        list += c;
        if (c == '"') {
          list += '"';
        }
      }
    }
    list += '"';
  }
  return list;
}

int PendingRow::Bind(sqlite3_stmt* insert) const {
  int index = 1;
  for (const auto& entry : values_) {
    const Value& value = entry.second;
    int rc = SQLITE_OK;
    switch (value.type) {
      case Type::kInteger:
        // Stored as the unsigned 32-bit value, so 4294967295 reads back and
        // compares as itself.
        rc = sqlite3_bind_int64(insert, index, static_cast<sqlite3_int64>(value.integer));
        break;
      case Type::kText:
        rc = sqlite3_bind_text(insert, index, value.bytes.data(),
                               static_cast<int>(value.bytes.size()), SQLITE_STATIC);
        break;
      case Type::kBytes:
        // An empty byte run is stored as an empty blob, never as NULL.
        rc = value.bytes.empty()
                 ? sqlite3_bind_zeroblob(insert, index, 0)
                 : sqlite3_bind_blob(insert, index, value.bytes.data(),
                                     static_cast<int>(value.bytes.size()), SQLITE_STATIC);
        break;
    }
    if (rc != SQLITE_OK) {
      return rc;
    }
    ++index;
  }
  return SQLITE_OK;
}

}  // namespace halyx
