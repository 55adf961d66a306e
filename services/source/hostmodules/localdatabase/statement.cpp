#include "localdatabase/statement.h"

#include <sqlite3.h>

#include <cctype>
#include <utility>

namespace halyx {

Statement::Statement(Statement&& other) noexcept
    : statement_(std::exchange(other.statement_, nullptr)) {}

Statement& Statement::operator=(Statement&& other) noexcept {
  if (this != &other) {
    sqlite3_finalize(statement_);
    statement_ = std::exchange(other.statement_, nullptr);
  }
  return *this;
}

Statement::~Statement() { sqlite3_finalize(statement_); }

int Statement::Prepare(sqlite3* db, const std::string& sql, Statement* statement) {
  sqlite3_stmt* compiled = nullptr;
  const char* tail = nullptr;
  const int rc = sqlite3_prepare_v2(db, sql.c_str(), static_cast<int>(sql.size() + 1), &compiled,
                                    &tail);
  if (rc != SQLITE_OK) {
    sqlite3_finalize(compiled);
    *statement = Statement();
    return rc;
  }
  // A second statement in the text would silently not run: refuse the text.
  while (tail && *tail != '\0') {
    if (!std::isspace(static_cast<unsigned char>(*tail))) {
      sqlite3_finalize(compiled);
      *statement = Statement();
      return SQLITE_ERROR;
    }
    ++tail;
  }
  if (!compiled) {
    // Text with no statement in it (blank or only a comment).
    *statement = Statement();
    return SQLITE_MISUSE;
  }
  *statement = Statement(compiled);
  return SQLITE_OK;
}

void Statement::Reset() {
  if (statement_) {
    sqlite3_reset(statement_);
    sqlite3_clear_bindings(statement_);
  }
}

}  // namespace halyx
