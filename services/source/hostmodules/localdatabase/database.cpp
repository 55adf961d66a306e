#include "localdatabase/database.h"

#include <sqlite3.h>

#include <string>
#include <utility>

namespace halyx {
namespace {

const int kBusyTimeoutMs = 5000;

}  // namespace

int Database::Open(const char* utf8Path, std::unique_ptr<Database>* database) {
  database->reset();
  // Callers write Windows paths; SQLite takes '/' on every system, while a
  // '\\' elsewhere would end up inside a file name.
  std::string path(utf8Path);
  for (char& c : path) {
    if (c == '\\') c = '/';
  }
  sqlite3* db = nullptr;
  int rc = sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
  // The connection is owned from here on, also when opening failed: SQLite
  // hands back a handle that must still be closed.
  std::unique_ptr<Database> opened(db ? new Database(db) : nullptr);
  if (rc != SQLITE_OK) {
    return rc;
  }
  sqlite3_extended_result_codes(db, 0);
  sqlite3_busy_timeout(db, kBusyTimeoutMs);
  // The storages' migration texts use a double-quoted empty string as a
  // default value; keep accepting that whatever the library's build default.
  sqlite3_db_config(db, SQLITE_DBCONFIG_DQS_DDL, 1, nullptr);
  sqlite3_db_config(db, SQLITE_DBCONFIG_DQS_DML, 1, nullptr);
  // Journal mode is asked for with a query: it answers the mode it got. A
  // file that is not a database fails here rather than later.
  rc = opened->Execute("PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL;");
  if (rc != SQLITE_OK) {
    return rc;
  }
  *database = std::move(opened);
  return SQLITE_OK;
}

Database::~Database() {
  if (!sqlite3_get_autocommit(db_)) {
    Commit();
  }
  begin_ = Statement();
  commit_ = Statement();
  rollback_ = Statement();
  // Statements of this connection belong to tables that are closed before
  // their database; close_v2 still copes with any that remain.
  sqlite3_close_v2(db_);
}

int Database::Execute(const char* sql) {
  return sqlite3_exec(db_, sql, nullptr, nullptr, nullptr);
}

int Database::Run(Statement* statement, const char* sql) {
  if (!*statement) {
    const int rc = Statement::Prepare(db_, sql, statement);
    if (rc != SQLITE_OK) {
      return rc;
    }
  }
  const int rc = sqlite3_step(statement->get());
  statement->Reset();
  return rc == SQLITE_DONE ? SQLITE_OK : rc;
}

int Database::Begin() {
  if (!sqlite3_get_autocommit(db_)) {
    Commit();
  }
  return Run(&begin_, "BEGIN IMMEDIATE");
}

int Database::Commit() {
  const int rc = Run(&commit_, "COMMIT");
  if (rc != SQLITE_OK && !sqlite3_get_autocommit(db_)) {
    Run(&rollback_, "ROLLBACK");
  }
  return rc;
}

}  // namespace halyx
