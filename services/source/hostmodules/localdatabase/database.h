// One open SQLite database file: the connection and its transaction.
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
  // Opens or creates the file at utf8Path. On failure *database stays empty
  // and the SQLite result code comes back.
  static int Open(const char* utf8Path, std::unique_ptr<Database>* database);

  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;
  // Closing a connection whose file was removed or replaced leaves the files
  // now at its path alone: they belong to whoever made them.
  ~Database();

  sqlite3* get() const { return db_; }
  // The path as SQLite was given it, with '/' separators.
  const std::string& path() const { return path_; }
  // The name under which a pool keeps this connection once it is closed;
  // empty: it is not kept.
  const std::string& poolKey() const { return poolKey_; }
  void SetPoolKey(std::string key) { poolKey_ = std::move(key); }

  // Whether the file at path() is no longer the one this connection has
  // open: removed, or replaced by another. Where open files cannot be
  // removed (Windows) this is always false.
  bool FileMoved();
  // Makes an idle connection fit for a new user: ends a transaction left
  // open, and notes the schema version (when this connection may have changed
  // it since Resume), so that Resume can tell whether another connection
  // changed the schema meanwhile.
  int Suspend();
  // Takes an idle connection back into use. When the schema changed since
  // Suspend, what the tables' caches know is dropped.
  int Resume();

  // What the connection keeps about a table; created empty on first ask and
  // alive as long as the connection.
  TableCache* CacheOf(const std::string& table) { return &tables_[table]; }

  // Runs the text as it stands, every statement in it.
  int Execute(const char* sql);
  // Begins a write transaction. One that was begun and never committed is
  // committed first. The service offers no way to undo work: every write it
  // reported done is kept, and a transaction only groups writes so that they
  // reach the file together. Closing commits an open transaction likewise.
  int Begin();
  // On failure the transaction is rolled back, so the connection is never
  // left inside a transaction that nobody will end.
  int Commit();

  // Changes whenever statements of unknown content ran, which may have altered
  // the tables; tables compare it to know when to look at their columns again.
  uint32_t SchemaGeneration() const { return schemaGeneration_; }
  // Counts schema changes that went through this connection.
  void NoteSchemaChange() { ++schemaGeneration_; }

  // Texts that added a column its table already had, as long as no schema
  // change has been noted since: a storage that runs the same migrations at
  // every open has them refused at the cost of a comparison each.
  bool RefusedBefore(const char* sql) const;
  void NoteRefused(const char* sql);

 private:
  Database(sqlite3* db, std::string path) : db_(db), path_(std::move(path)) {}
  // Runs one of the transaction statements, compiled at its first use and
  // kept: a transaction per stored row must not pay for compiling its text.
  int Run(Statement* statement, const char* sql);
  int ReadSchemaVersion(int64_t* version);

  sqlite3* db_;
  std::string path_;
  std::string poolKey_;
  Statement begin_;
  Statement commit_;
  Statement rollback_;
  Statement schemaVersion_;
  int64_t suspendedVersion_ = -1;
  uint32_t resumedGeneration_ = 0;
  uint32_t schemaGeneration_ = 0;
  std::map<std::string, TableCache> tables_;  // by table name as asked
  std::vector<std::string> refused_;
  uint32_t refusedGeneration_ = 0;  // the generation refused_ holds for
};

}  // namespace halyx
