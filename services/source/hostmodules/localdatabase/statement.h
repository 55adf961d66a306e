// A prepared SQLite statement, owned: moving hands it on, destruction
// finalizes it. An empty Statement holds nothing.
#pragma once

#include <string>

struct sqlite3;
struct sqlite3_stmt;

namespace halyx {

class Statement {
 public:
  Statement() = default;
  explicit Statement(sqlite3_stmt* statement) : statement_(statement) {}
  Statement(Statement&& other) noexcept;
  Statement& operator=(Statement&& other) noexcept;
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;
  ~Statement();

  // Compiles sql, which must hold exactly one statement; on failure
  // *statement stays empty and the SQLite result code comes back.
  static int Prepare(sqlite3* db, const std::string& sql, Statement* statement);

  sqlite3_stmt* get() const { return statement_; }
  explicit operator bool() const { return statement_ != nullptr; }
  // Ends a walk or a write and drops the bindings, keeping the compiled form
  // for the next use. Releases the read snapshot that an unfinished walk holds.
  void Reset();

 private:
  sqlite3_stmt* statement_ = nullptr;
};

}  // namespace halyx
