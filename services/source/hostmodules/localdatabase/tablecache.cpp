#include "localdatabase/tablecache.h"

namespace halyx {
namespace {

const size_t kMaxCachedDeletes = 16;

}  // namespace

int TableCache::Load(sqlite3* db, const std::string& table, uint32_t generation) {
  int rc = 0;
  loaded_ = columns_.Load(db, table, &rc);
  generation_ = generation;
  ++version_;
  insertsByMask_.clear();
  return rc;
}

Statement* TableCache::InsertOf(uint64_t mask) const {
  auto found = insertsByMask_.find(mask);
  return found == insertsByMask_.end() ? nullptr : found->second;
}

void TableCache::NoteInsert(uint64_t mask, Statement* insert) { insertsByMask_[mask] = insert; }

Statement* TableCache::Delete(const std::string& where) {
  auto found = deletes_.find(where);
  if (found != deletes_.end()) {
    return &found->second;
  }
  if (deletes_.size() >= kMaxCachedDeletes) {
    deletes_.clear();
  }
  return &deletes_[where];
}

}  // namespace halyx
