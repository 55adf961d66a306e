#include "localdatabase/tablecache.h"

#include <sqlite3.h>

#include "localdatabase/sqltext.h"

namespace halyx {

int TableCache::Load(sqlite3* db, const std::string& table) {
  Forget();
  Statement select;
  int rc = Statement::Prepare(db, "SELECT * FROM " + Quoted(table) + " LIMIT 0", &select);
  if (rc != SQLITE_OK) {
    return rc;
  }
  // Stepped before its columns are read: a text compiled against a schema
  // that another connection has changed since is compiled again when it runs.
  rc = sqlite3_step(select.get());
  if (rc != SQLITE_DONE) {
    return rc;
  }
  columns_.Read(select.get());
  loaded_ = true;
  return SQLITE_OK;
}

void TableCache::Forget() {
  columns_.Clear();
  loaded_ = false;
  ++version_;
  inserts_.clear();
}

}  // namespace halyx
