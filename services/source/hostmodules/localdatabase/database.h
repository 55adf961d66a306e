// One open SQLite database file: the connection, its transaction, and what it
// knows about its tables.
//
// The file is opened in WAL mode with synchronous=NORMAL, so that a committed
// transaction survives the process being killed, and with a busy timeout, so
// that a second connection to the same file waits for a writer instead of
// failing at once.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "localdatabase/statement.h"
#include "localdatabase/tablecache.h"

struct sqlite3;

namespace halyx {

class Database {
 public:
  // Opens or creates the file at the UTF-8 path, written with '/'. On failure
  // *database stays empty and the SQLite result code comes back.
  static int Open(const std::string& path, std::unique_ptr<Database>* database);

  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;
  // Commits an open transaction. Closing a connection whose file was removed
  // or replaced leaves the files now at its path alone: they belong to
  // whoever made them.
  ~Database();

  sqlite3* get() const { return db_; }
  const std::string& path() const { return path_; }

  // Whether the file at path() is no longer the one this connection has
  // open: removed, or replaced by another. Where open files cannot be
  // removed (Windows) this is always false.
  bool FileMoved();
  // Readies a connection to sit unused: commits a transaction left open and
  // notes the schema version, so that Resume can tell whether another
  // connection changed the schema meanwhile.
  int Suspend();
  // Takes a connection that sat unused back into use: what it knows about
  // its tables is dropped when the schema changed meanwhile.
  int Resume();

  // What the connection knows about a table; created empty on first ask and
  // alive as long as the connection.
  TableCache* CacheOf(const std::string& table) { return &tables_[table]; }

  // Runs the text as it stands, every statement in it. A storage runs the
  // same migrations at every open: a text that added a column the table
  // already had is refused again, without compiling it, until the schema
  // changes.
  int Execute(const char* sql);
  // Begins a write transaction. One that was begun and never committed is
  // committed first. The service offers no way to undo work: every write it
  // reported done is kept, and a transaction only groups writes so that they
  // reach the file together.
  int Begin();
  // On failure the transaction is rolled back, so the connection is never
  // left inside a transaction that nobody will end.
  int Commit();

 private:
  Database(sqlite3* db, std::string path) : db_(db), path_(std::move(path)) {}
  // Runs one of the connection's fixed statements, compiled at its first use
  // and kept: a transaction per stored row must not pay for compiling it.
  int Run(Statement* statement, const char* sql);
  int CommitOpen();
  int ReadSchemaVersion(int64_t* version);
  // Forgets what is known about the tables and the refused texts.
  void ForgetSchema();
  // Notes, as SQLite compiles a text, whether it may change the schema.
  static int Authorize(void* database, int action, const char*, const char*, const char*,
                       const char*);

  sqlite3* db_;
  std::string path_;
  Statement begin_;
  Statement commit_;
  Statement rollback_;
  Statement schemaVersion_;
  int64_t suspendedVersion_ = -1;  // the schema version when it was last suspended
  bool touched_ = false;        // by the statements compiled since Execute began
  bool versionStale_ = false;   // changed through this connection since Suspend
  std::map<std::string, TableCache> tables_;  // by table name as asked
  std::vector<std::string> refused_;
};

}  // namespace halyx
