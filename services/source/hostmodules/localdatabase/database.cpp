#include "localdatabase/database.h"

#include <sqlite3.h>

#include <cstring>
#include <utility>

namespace halyx {
namespace {

const int kBusyTimeoutMs = 5000;
// A storage has a handful of migrations; a stream of other refused texts
// replaces the oldest rather than growing the list.
const size_t kMaxRefused = 8;

}  // namespace

int Database::Open(const std::string& path, std::unique_ptr<Database>* database) {
  database->reset();
  sqlite3* db = nullptr;
  // The service's lock already serializes every use of a connection, so
  // SQLite's own per-connection mutex would only be taken a second time on
  // every step and every field read.
  int rc = sqlite3_open_v2(path.c_str(), &db,
                           SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
  // The connection is owned from here on, also when opening failed: SQLite
  // hands back a handle that must still be closed.
  std::unique_ptr<Database> opened(db ? new Database(db, path) : nullptr);
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
  rc = sqlite3_exec(db, "PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL;", nullptr, nullptr,
                    nullptr);
  if (rc == SQLITE_OK) {
    sqlite3_set_authorizer(db, &Database::Authorize, opened.get());
    *database = std::move(opened);
  }
  return rc;
}

Database::~Database() {
  CommitOpen();
  if (FileMoved()) {
    // The last connection to a file removes its -wal and -shm files by name
    // when it closes; under that name there may now be another database's.
    int persist = 1;
    sqlite3_file_control(db_, "main", SQLITE_FCNTL_PERSIST_WAL, &persist);
  }
  tables_.clear();
  begin_ = Statement();
  commit_ = Statement();
  rollback_ = Statement();
  schemaVersion_ = Statement();
  // Statements of this connection belong to tables that are closed before
  // their database; close_v2 still copes with any that remain.
  sqlite3_close_v2(db_);
}

bool Database::FileMoved() {
  int moved = 0;
  const int rc = sqlite3_file_control(db_, "main", SQLITE_FCNTL_HAS_MOVED, &moved);
  // The Windows file layer does not answer: there a file that a connection
  // holds open cannot be removed or replaced. Any other failure counts as
  // moved, so that the connection is not reused.
  if (rc == SQLITE_NOTFOUND) {
    return false;
  }
  return rc != SQLITE_OK || moved != 0;
}

int Database::Authorize(void* database, int action, const char*, const char* value, const char*,
                        const char*) {
  // Reading, writing rows, transactions and pragmas that read leave the
  // schema as it is; any other statement (creating, altering, dropping,
  // attaching...) may change it.
  switch (action) {
    case SQLITE_PRAGMA:
      if (value == nullptr) break;
      [[fallthrough]];
    case SQLITE_SELECT:
    case SQLITE_READ:
    case SQLITE_INSERT:
    case SQLITE_UPDATE:
    case SQLITE_DELETE:
    case SQLITE_FUNCTION:
    case SQLITE_TRANSACTION:
    case SQLITE_RECURSIVE:
      break;
    default:
      static_cast<Database*>(database)->touched_ = true;
  }
  return SQLITE_OK;
}

void Database::ForgetSchema() {
  for (auto& table : tables_) {
    table.second.Forget();
  }
  refused_.clear();
}

int Database::ReadSchemaVersion(int64_t* version) {
  if (!schemaVersion_) {
    const int rc = Statement::Prepare(db_, "PRAGMA schema_version", &schemaVersion_);
    if (rc != SQLITE_OK) {
      return rc;
    }
  }
  const int rc = sqlite3_step(schemaVersion_.get());
  if (rc == SQLITE_ROW) {
    *version = sqlite3_column_int64(schemaVersion_.get(), 0);
  }
  schemaVersion_.Reset();
  return rc == SQLITE_ROW ? SQLITE_OK : rc;
}

int Database::Suspend() {
  const int rc = CommitOpen();
  if (rc != SQLITE_OK || (suspendedVersion_ >= 0 && !versionStale_)) {
    return rc;
  }
  versionStale_ = false;
  return ReadSchemaVersion(&suspendedVersion_);
}

int Database::Resume() {
  int64_t version = -1;
  int rc = ReadSchemaVersion(&version);
  if (rc != SQLITE_OK || version == suspendedVersion_) {
    return rc;
  }
  // SQLite checks its copy of the schema when a statement runs, not when one
  // is compiled, so a text compiled now could still be judged against the old
  // schema ("duplicate column"). Running one statement that reads the schema
  // table makes it read the schema again.
  rc = sqlite3_exec(db_, "SELECT 1 FROM sqlite_master LIMIT 1", nullptr, nullptr, nullptr);
  ForgetSchema();
  suspendedVersion_ = version;
  return rc;
}

int Database::Execute(const char* sql) {
  for (const std::string& text : refused_) {
    if (std::strcmp(text.c_str(), sql) == 0) {
      return SQLITE_ERROR;
    }
  }
  touched_ = false;
  const int rc = sqlite3_exec(db_, sql, nullptr, nullptr, nullptr);
  const bool single = std::strchr(sql, ';') == nullptr;
  if (rc == SQLITE_ERROR && single &&
      std::strncmp(sqlite3_errmsg(db_), "duplicate column name", 21) == 0) {
    if (refused_.size() >= kMaxRefused) {
      refused_.erase(refused_.begin());
    }
    refused_.emplace_back(sql);
  }
  // A single statement that fails changes nothing.
  if (touched_ && (rc == SQLITE_OK || !single)) {
    ForgetSchema();
    versionStale_ = true;
  }
  return rc;
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
  CommitOpen();
  return Run(&begin_, "BEGIN IMMEDIATE");
}

int Database::Commit() {
  const int rc = Run(&commit_, "COMMIT");
  if (rc != SQLITE_OK && !sqlite3_get_autocommit(db_)) {
    Run(&rollback_, "ROLLBACK");
  }
  return rc;
}

int Database::CommitOpen() { return sqlite3_get_autocommit(db_) ? SQLITE_OK : Commit(); }

}  // namespace halyx
