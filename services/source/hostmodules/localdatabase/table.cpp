#include "localdatabase/table.h"

#include <sqlite3.h>

#include <cstring>
#include <new>

#include "localdatabase/database.h"

namespace halyx {

int Table::Open(Database* db, const std::string& name, std::unique_ptr<Table>* table) {
  table->reset();
  TableCache* cache = db->CacheOf(name);
  if (!cache->loaded()) {
    const int rc = cache->Load(db->get(), name);
    if (rc != SQLITE_OK) {
      return rc;
    }
  }
  table->reset(new Table(db, name, cache));
  return SQLITE_OK;
}

Table::~Table() { EndWalk(); }

void Table::EndWalk() {
  if (walkAll_ && walk_) {
    cache_->KeepSelectAll(std::move(walk_), walkVersion_);
  }
  walk_ = Statement();
  walkAll_ = false;
  rowCurrent_ = false;
  walkColumns_.Clear();
}

int Table::Select(const char* condition) {
  EndWalk();
  if (!condition) {
    // Every first load walks every row: compiled once per connection.
    walkAll_ = true;
    walkVersion_ = cache_->version();
    walk_ = cache_->TakeSelectAll();
    if (walk_) {
      return SQLITE_OK;
    }
  }
  std::string sql = "SELECT * FROM " + quotedName_;
  if (condition) {
    sql += " WHERE " + UnsignedCondition(condition);
  }
  return Statement::Prepare(db_->get(), sql, &walk_);
}

int Table::Next() {
  if (!walk_) {
    return SQLITE_MISUSE;
  }
  const int rc = sqlite3_step(walk_.get());
  if (rc == SQLITE_ROW) {
    rowCurrent_ = true;
  } else {
    EndWalk();
  }
  return rc;
}

int Table::CurrentValue(const char* name, ColumnKind kind, sqlite3_value** value) {
  if (!rowCurrent_) {
    return SQLITE_MISUSE;
  }
  // Read once per walk: its statement, and so its columns, stay fixed.
  if (walkColumns_.empty()) {
    walkColumns_.Read(walk_.get());
  }
  const int index = walkColumns_.Find(name);
  if (index < 0) {
    return SQLITE_ERROR;
  }
  if (walkColumns_.at(index).kind != kind) {
    return SQLITE_MISMATCH;
  }
  // The row's own value, read in place: one call into SQLite per field.
  *value = sqlite3_column_value(walk_.get(), index);
  return SQLITE_OK;
}

int Table::GetNumber(const char* column, uint32_t* value) {
  sqlite3_value* current = nullptr;
  const int rc = CurrentValue(column, ColumnKind::kNumber, &current);
  if (rc == SQLITE_OK) {
    *value = static_cast<uint32_t>(sqlite3_value_int64(current));
  }
  return rc;
}

int Table::CurrentBytes(const char* column, const void** data, size_t* length) {
  sqlite3_value* current = nullptr;
  const int rc = CurrentValue(column, ColumnKind::kBytes, &current);
  if (rc == SQLITE_OK) {
    // A text is read as its bytes as they stand.
    *data = sqlite3_value_blob(current);
    *length = *data ? static_cast<size_t>(sqlite3_value_bytes(current)) : 0;
  }
  return rc;
}

int Table::GetText(const char* column, char** text) {
  const void* data = nullptr;
  size_t length = 0;
  const int rc = CurrentBytes(column, &data, &length);
  if (rc != SQLITE_OK) {
    return rc;
  }
  char* copy = new (std::nothrow) char[length + 1];
  if (!copy) {
    return SQLITE_NOMEM;
  }
  if (length > 0) {
    std::memcpy(copy, data, length);
  }
  copy[length] = '\0';
  *text = copy;
  return SQLITE_OK;
}

int Table::GetBytes(const char* column, uint8_t** bytes, uint32_t* size) {
  const void* data = nullptr;
  size_t length = 0;
  const int rc = CurrentBytes(column, &data, &length);
  if (rc != SQLITE_OK) {
    return rc;
  }
  uint8_t* copy = length > 0 ? new (std::nothrow) uint8_t[length] : nullptr;
  if (length > 0 && !copy) {
    return SQLITE_NOMEM;
  }
  if (length > 0) {
    std::memcpy(copy, data, length);
  }
  *bytes = copy;
  *size = static_cast<uint32_t>(length);
  return SQLITE_OK;
}

int Table::Delete(const char* where) {
  std::string sql = "DELETE FROM " + quotedName_;
  if (where) {
    sql += " WHERE " + UnsignedCondition(where);
  }
  Statement statement;
  int rc = Statement::Prepare(db_->get(), sql, &statement);
  if (rc == SQLITE_OK) {
    rc = sqlite3_step(statement.get());
  }
  return rc == SQLITE_DONE ? SQLITE_OK : rc;
}

void Table::AddRow() {
  pending_.Clear();
  rowOpen_ = true;
  rowVersion_ = cache_->version();
}

int Table::Set(const char* column, PendingRow::Type type, uint32_t integer, const char* bytes,
               size_t size) {
  if (!rowOpen_) {
    return SQLITE_MISUSE;
  }
  int index = cache_->loaded() ? cache_->columns().Find(column) : -1;
  if (index < 0) {
    // Columns may have been added since they were read, also by another
    // connection: read them again once.
    const int rc = cache_->Load(db_->get(), name_);
    if (rc != SQLITE_OK) {
      return rc;
    }
    index = cache_->columns().Find(column);
    if (index < 0) {
      return SQLITE_ERROR;
    }
  }
  const ColumnSet::Column& found = cache_->columns().at(index);
  if (found.kind !=
      (type == PendingRow::Type::kInteger ? ColumnKind::kNumber : ColumnKind::kBytes)) {
    return SQLITE_MISMATCH;
  }
  pending_.Set(index, found.name, type, integer, bytes, size);
  return SQLITE_OK;
}

int Table::Post() {
  if (!rowOpen_) {
    return SQLITE_MISUSE;
  }
  rowOpen_ = false;
  // Rows that set the same columns share their INSERT, found by the columns'
  // indexes while these still name the same columns; any other row compiles
  // its own.
  const uint64_t mask = rowVersion_ == cache_->version() ? pending_.Mask() : 0;
  Statement ownInsert;
  Statement* insert = mask != 0 ? cache_->InsertOf(mask) : &ownInsert;
  if (!*insert) {
    const int rc = Statement::Prepare(db_->get(), pending_.InsertText(quotedName_), insert);
    if (rc != SQLITE_OK) {
      return rc;
    }
  }
  int rc = pending_.Bind(insert->get());
  if (rc == SQLITE_OK) {
    rc = sqlite3_step(insert->get());
  }
  // Drops the bindings, which point into the pending row's storage.
  insert->Reset();
  return rc == SQLITE_DONE ? SQLITE_OK : rc;
}

}  // namespace halyx
