#include "localdatabase/pendingrow.h"

#include <sqlite3.h>

namespace halyx {

void PendingRow::Clear() {
  for (Value& value : values_) {
    value.set = false;
  }
  count_ = 0;
}

PendingRow::Value& PendingRow::Slot(int column, const std::string& name) {
  const size_t index = static_cast<size_t>(column);
  if (index >= values_.size()) {
    values_.resize(index + 1);
  }
  Value& value = values_[index];
  if (!value.set) {
    value.set = true;
    ++count_;
  }
  value.name.assign(name);
  return value;
}

void PendingRow::SetInteger(int column, const std::string& name, uint32_t value) {
  Value& slot = Slot(column, name);
  slot.type = Type::kInteger;
  slot.integer = value;
}

void PendingRow::SetText(int column, const std::string& name, const char* text) {
  Value& slot = Slot(column, name);
  slot.type = Type::kText;
  slot.bytes.assign(text);
}

void PendingRow::SetBytes(int column, const std::string& name, const uint8_t* bytes, uint32_t size) {
  Value& slot = Slot(column, name);
  slot.type = Type::kBytes;
  if (bytes) {
    slot.bytes.assign(reinterpret_cast<const char*>(bytes), size);
  } else {
    slot.bytes.clear();
  }
}

uint64_t PendingRow::Mask() const {
  uint64_t mask = 0;
  for (size_t i = 0; i < values_.size(); ++i) {
    if (!values_[i].set) {
      continue;
    }
    if (i >= 64) {
      return 0;
    }
    mask |= uint64_t{1} << i;
  }
  return mask;
}

std::string PendingRow::ColumnList() const {
  std::string list;
  for (size_t i = 0; i < values_.size(); ++i) {
    if (!values_[i].set) {
      continue;
    }
    if (!list.empty()) {
      list += ',';
    }
    list += '"';
    for (char c : values_[i].name) {
      list += c;
      if (c == '"') {
        list += '"';
      }
    }
    list += '"';
  }
  return list;
}

int PendingRow::Bind(sqlite3_stmt* insert) const {
  int index = 1;
  for (const Value& value : values_) {
    if (!value.set) {
      continue;
    }
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
