// One open SQLite database file: the connection and its transaction.
//
// The file is opened in WAL mode with synchronous=NORMAL, so that a committed
// transaction survives the process being killed, and with a busy timeout, so
// that a second connection to the same file waits for a writer instead of
// failing at once.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "localdatabase/statement.h"

struct sqlite3;

namespace halyx {

class Database {
 public:
  // Opens or creates the file at utf8Path. On failure *database stays empty
  // and the SQLite result code comes back.
  static int Open(const char* utf8Path, std::unique_ptr<Database>* database);

  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;
  ~Database();

  sqlite3* get() const { return db_; }

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

 private:
  explicit Database(sqlite3* db) : db_(db) {}
  // Runs one of the transaction statements, compiled at its first use and
  // kept: a transaction per stored row must not pay for compiling its text.
  int Run(Statement* statement, const char* sql);

  sqlite3* db_;
  Statement begin_;
  Statement commit_;
  Statement rollback_;
  uint32_t schemaGeneration_ = 0;
};

}  // namespace halyx
