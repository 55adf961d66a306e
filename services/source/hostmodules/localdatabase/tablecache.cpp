#include "localdatabase/tablecache.h"

#include <sqlite3.h>

#include "localdatabase/sqltext.h"

namespace halyx {

int TableCache::Load(sqlite3* db, const std::string& table) {
  Forget();
  Statement info;
  int rc = Statement::Prepare(db, "SELECT name, type FROM pragma_table_info(?1)", &info);
  if (rc != SQLITE_OK) {
    return rc;
  }
  sqlite3_bind_text(info.get(), 1, table.c_str(), static_cast<int>(table.size()), SQLITE_STATIC);
  while ((rc = sqlite3_step(info.get())) == SQLITE_ROW) {
    columns_.Add(reinterpret_cast<const char*>(sqlite3_column_text(info.get(), 0)),
                 reinterpret_cast<const char*>(sqlite3_column_text(info.get(), 1)));
  }
  if (rc != SQLITE_DONE || columns_.empty()) {
    columns_.Clear();
    return rc != SQLITE_DONE ? rc : SQLITE_ERROR;  // SQLITE_ERROR: no such table
  }
  loaded_ = true;
  return SQLITE_OK;
}

void TableCache::Forget() {
  columns_.Clear();
  loaded_ = false;
  ++version_;
  inserts_.clear();
  selectAll_ = Statement();
}

void TableCache::KeepSelectAll(Statement walk, uint32_t takenAt) {
  if (takenAt == version_) {
    walk.Reset();
    selectAll_ = std::move(walk);
  }
}

}  // namespace halyx
