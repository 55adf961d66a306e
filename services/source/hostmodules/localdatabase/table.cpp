#include "localdatabase/table.h"

#include <sqlite3.h>

#include <cstring>
#include <new>
#include <utility>

#include "localdatabase/conditiontext.h"
#include "localdatabase/database.h"

namespace halyx {

int Table::Open(Database* db, const std::string& name, std::unique_ptr<Table>* table) {
  table->reset();
  TableCache* cache = db->CacheOf(name);
  if (!cache->Current(db->SchemaGeneration())) {
    const int rc = cache->Load(db->get(), name, db->SchemaGeneration());
    if (rc != SQLITE_OK) {
      return rc;
    }
  }
  table->reset(new Table(db, name, cache));
  return SQLITE_OK;
}

std::string Table::QuotedName() const {
  std::string quoted = "\"";
  for (char c : name_) {
    quoted += c;
    if (c == '"') {
      quoted += '"';
    }
  }
  return quoted + "\"";
}

void Table::EndWalk() {
  if (walk_) {
    walk_->Reset();
  }
  walk_ = nullptr;
  rowCurrent_ = false;
  walkColumns_.clear();
  nextColumn_ = 0;
}

int Table::Select(const char* condition) {
  EndWalk();
  Statement* walk = &selectAll_;
  if (condition) {
    const int rc = Statement::Prepare(
        db_->get(), "SELECT * FROM " + QuotedName() + " WHERE " + UnsignedCondition(condition),
        &selectWhere_);
    if (rc != SQLITE_OK) {
      return rc;
    }
    walk = &selectWhere_;
  } else if (!selectAll_) {
    const int rc = Statement::Prepare(db_->get(), "SELECT * FROM " + QuotedName(), &selectAll_);
    if (rc != SQLITE_OK) {
      return rc;
    }
  }
  walk_ = walk;
  return SQLITE_OK;
}

int Table::Next() {
  if (!walk_) {
    return SQLITE_MISUSE;
  }
  const int rc = sqlite3_step(walk_->get());
  if (rc == SQLITE_ROW) {
    rowCurrent_ = true;
    return rc;
  }
  EndWalk();
  return rc;
}

int Table::FindCurrent(const char* name, ColumnKind kind, int* index) {
  if (!rowCurrent_) {
    return SQLITE_MISUSE;
  }
  if (walkColumns_.empty()) {
    sqlite3_stmt* row = walk_->get();
    const int count = sqlite3_column_count(row);
    for (int i = 0; i < count; ++i) {
      walkColumns_.push_back(
          WalkColumn{sqlite3_column_name(row, i), KindOfDeclaredType(sqlite3_column_decltype(row, i))});
    }
  }
  // Readers mostly ask for the columns in one order, row after row: start
  // where the last read found its column.
  const size_t count = walkColumns_.size();
  size_t i = nextColumn_ < count ? nextColumn_ : 0;
  for (size_t step = 0; step < count; ++step, i = i + 1 < count ? i + 1 : 0) {
    const WalkColumn& column = walkColumns_[i];
    if (column.name != nullptr && SameColumnName(column.name, name)) {
      if (column.kind != kind) {
        return SQLITE_MISMATCH;
      }
      nextColumn_ = i + 1;
      *index = static_cast<int>(i);
      return SQLITE_OK;
    }
  }
  return SQLITE_ERROR;
}

sqlite3_value* Table::CurrentValue(int index) {
  // The row's own value, read in place: one call into SQLite per field
  // instead of one for the bytes and one for their size. The value is used
  // at once, on the thread that stepped the walk, before anything else runs
  // on the connection.
  return sqlite3_column_value(walk_->get(), index);
}

int Table::GetNumber(const char* column, uint32_t* value) {
  int index = 0;
  const int rc = FindCurrent(column, ColumnKind::kNumber, &index);
  if (rc != SQLITE_OK) {
    return rc;
  }
  *value = static_cast<uint32_t>(sqlite3_column_int64(walk_->get(), index));
  return SQLITE_OK;
}

int Table::GetText(const char* column, char** text) {
  int index = 0;
  const int rc = FindCurrent(column, ColumnKind::kBytes, &index);
  if (rc != SQLITE_OK) {
    return rc;
  }
  // A blob is read as its bytes as they stand; the copy ends at its first zero.
  sqlite3_value* value = CurrentValue(index);
  const void* bytes = sqlite3_value_blob(value);
  const int size = bytes ? sqlite3_value_bytes(value) : 0;
  char* copy = new (std::nothrow) char[static_cast<size_t>(size) + 1];
  if (!copy) {
    return SQLITE_NOMEM;
  }
  if (size > 0) {
    std::memcpy(copy, bytes, static_cast<size_t>(size));
  }
  copy[size] = '\0';
  *text = copy;
  return SQLITE_OK;
}

int Table::GetBytes(const char* column, uint8_t** bytes, uint32_t* size) {
  int index = 0;
  const int rc = FindCurrent(column, ColumnKind::kBytes, &index);
  if (rc != SQLITE_OK) {
    return rc;
  }
  sqlite3_value* value = CurrentValue(index);
  const void* data = sqlite3_value_blob(value);
  const int length = data ? sqlite3_value_bytes(value) : 0;
  if (length <= 0) {
    *bytes = nullptr;
    *size = 0;
    return SQLITE_OK;
  }
  uint8_t* copy = new (std::nothrow) uint8_t[static_cast<size_t>(length)];
  if (!copy) {
    return SQLITE_NOMEM;
  }
  std::memcpy(copy, data, static_cast<size_t>(length));
  *bytes = copy;
  *size = static_cast<uint32_t>(length);
  return SQLITE_OK;
}

int Table::Delete(const char* where) {
  std::vector<int64_t>& values = deleteValues_;
  values.clear();
  const std::string key = where ? ParameterisedCondition(UnsignedCondition(where), &values)
                                : std::string();
  Statement* statement = cache_->Delete(key);
  if (!*statement) {
    std::string sql = "DELETE FROM " + QuotedName();
    if (where) {
      sql += " WHERE " + key;
    }
    const int rc = Statement::Prepare(db_->get(), sql, statement);
    if (rc != SQLITE_OK) {
      return rc;
    }
  }
  int rc = SQLITE_OK;
  for (size_t i = 0; i < values.size() && rc == SQLITE_OK; ++i) {
    rc = sqlite3_bind_int64(statement->get(), static_cast<int>(i + 1), values[i]);
  }
  if (rc == SQLITE_OK) {
    rc = sqlite3_step(statement->get());
  }
  statement->Reset();
  return rc == SQLITE_DONE ? SQLITE_OK : rc;
}

void Table::AddRow() {
  pending_.Clear();
  rowOpen_ = true;
  rowVersion_ = cache_->version();
}

int Table::FindColumn(const char* name, ColumnKind kind, int* index) {
  if (!rowOpen_) {
    return SQLITE_MISUSE;
  }
  int found =
      cache_->Current(db_->SchemaGeneration()) ? cache_->columns().Find(name, nextSetColumn_) : -1;
  if (found < 0) {
    // Columns may have been added since they were read, also by another
    // connection: read them again once.
    const int rc = cache_->Load(db_->get(), name_, db_->SchemaGeneration());
    if (rc != SQLITE_OK) {
      return rc;
    }
    found = cache_->columns().Find(name);
    if (found < 0) {
      return SQLITE_ERROR;
    }
  }
  if (cache_->columns().at(found).kind != kind) {
    return SQLITE_MISMATCH;
  }
  nextSetColumn_ = static_cast<size_t>(found) + 1;
  *index = found;
  return SQLITE_OK;
}

int Table::SetNumber(const char* column, uint32_t value) {
  int index = 0;
  const int rc = FindColumn(column, ColumnKind::kNumber, &index);
  if (rc == SQLITE_OK) {
    pending_.SetInteger(index, cache_->columns().at(index).name, value);
  }
  return rc;
}

int Table::SetText(const char* column, const char* text) {
  int index = 0;
  const int rc = FindColumn(column, ColumnKind::kBytes, &index);
  if (rc == SQLITE_OK) {
    pending_.SetText(index, cache_->columns().at(index).name, text);
  }
  return rc;
}

int Table::SetBytes(const char* column, const uint8_t* bytes, uint32_t size) {
  int index = 0;
  const int rc = FindColumn(column, ColumnKind::kBytes, &index);
  if (rc == SQLITE_OK) {
    pending_.SetBytes(index, cache_->columns().at(index).name, bytes, size);
  }
  return rc;
}

int Table::Post() {
  if (!rowOpen_) {
    return SQLITE_MISUSE;
  }
  rowOpen_ = false;
  // Rows that set the same columns mostly follow each other: their INSERT is
  // found by the columns' indexes, while these still name the same columns.
  const uint64_t mask = rowVersion_ == cache_->version() ? pending_.Mask() : 0;
  Statement* insert = mask != 0 ? cache_->InsertOf(mask) : nullptr;
  if (insert == nullptr) {
    const std::string columns = pending_.ColumnList();
    insert = cache_->Insert(columns);
    if (!*insert) {
      std::string sql = "INSERT INTO " + QuotedName();
      if (columns.empty()) {
        sql += " DEFAULT VALUES";
      } else {
        sql += " (" + columns + ") VALUES (";
        for (size_t i = 0; i < pending_.size(); ++i) {
          sql += i == 0 ? "?" : ",?";
        }
        sql += ")";
      }
      const int rc = Statement::Prepare(db_->get(), sql, insert);
      if (rc != SQLITE_OK) {
        return rc;
      }
    }
    if (mask != 0) {
      cache_->NoteInsert(mask, insert);
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
