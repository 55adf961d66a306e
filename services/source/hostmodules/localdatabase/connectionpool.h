// Connections whose database was closed, kept for the next open of the same
// file: a storage that lives for one operation then does not pay for a new
// connection, the schema read again and the journal set up again each time.
//
// A kept connection is handed out again only while the file at its path is
// still the one it has open; one whose file was removed or replaced is closed
// instead, so that nothing is ever written into a file that is gone. Where an
// open file cannot be removed (Windows), whoever must remove the files asks
// for the kept connections to be closed first (Clear).
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "localdatabase/database.h"

namespace halyx {

class ConnectionPool {
 public:
  explicit ConnectionPool(size_t capacity) : capacity_(capacity) {}
  ConnectionPool(const ConnectionPool&) = delete;
  ConnectionPool& operator=(const ConnectionPool&) = delete;

  // The path under which a file's connection is kept: separators unified and
  // repeated ones folded (two spellings of one file only cost a second kept
  // connection, never a wrong one: reuse checks the file itself). Empty
  // for a relative path, whose file depends on the current folder: such a
  // connection is never kept.
  static std::string KeyOf(const char* utf8Path);

  // A kept connection to the file at key, ready for use, or null. A kept
  // connection that no longer fits is closed here.
  std::unique_ptr<Database> Take(const std::string& key);
  // Keeps a connection that its user closed, under its pool key; the least
  // recently kept goes when the pool is full. One that cannot be kept is
  // closed.
  void Keep(std::unique_ptr<Database> database);
  // Closes every kept connection; the number closed.
  size_t Clear();

  size_t size() const { return idle_.size(); }

 private:
  struct Idle {
    std::string key;
    std::unique_ptr<Database> database;
  };
  size_t capacity_;
  std::vector<Idle> idle_;  // least recently kept first
};

}  // namespace halyx
