#include "localdatabase/connectionpool.h"

#include <sqlite3.h>

#include <cstring>
#include <utility>

namespace halyx {
namespace {

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

}  // namespace

std::string ConnectionPool::KeyOf(const char* utf8Path) {
  // Written in place: every storage open asks for its file's key.
  std::string key(std::strlen(utf8Path), '\0');
  size_t size = 0;
  for (const char* p = utf8Path; *p != '\0'; ++p) {
    if (IsSeparator(*p)) {
      if (size > 1 && key[size - 1] == '/') {
        continue;
      }
      key[size++] = '/';
      continue;
    }
    key[size++] = *p;
  }
  key.resize(size);
  const bool rooted = !key.empty() && key[0] == '/';
  const bool drive = key.size() >= 3 && key[1] == ':' && key[2] == '/';
  return rooted || drive ? key : std::string();
}

std::unique_ptr<Database> ConnectionPool::Take(const std::string& key) {
  for (auto it = idle_.begin(); it != idle_.end(); ++it) {
    if (it->key != key) {
      continue;
    }
    std::unique_ptr<Database> database = std::move(it->database);
    idle_.erase(it);
    if (database->FileMoved() || database->Resume() != SQLITE_OK) {
      return nullptr;  // closed on the way out
    }
    return database;
  }
  return nullptr;
}

void ConnectionPool::Keep(std::unique_ptr<Database> database) {
  std::string key = database->poolKey();
  if (key.empty() || capacity_ == 0 || database->Suspend() != SQLITE_OK) {
    return;
  }
  for (auto it = idle_.begin(); it != idle_.end(); ++it) {
    if (it->key == key) {
      idle_.erase(it);  // one connection per file is enough
      break;
    }
  }
  if (idle_.size() >= capacity_) {
    idle_.erase(idle_.begin());
  }
  idle_.push_back(Idle{std::move(key), std::move(database)});
}

size_t ConnectionPool::Clear() {
  const size_t closed = idle_.size();
  idle_.clear();
  return closed;
}

}  // namespace halyx
