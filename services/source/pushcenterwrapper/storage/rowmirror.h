// RowMirror: the keys of the rows of one table, as far as deletions need them.
//
// Read in full when the table is loaded for a user and kept in step with every
// insert and delete since, a mirror tells whether a deletion's condition can
// meet a row at all. Where it cannot, the deletion is skipped: the table ends
// the same either way. The mirror errs on the side of a deletion: it knows
// nothing before a load that read every row, for any other user, after a
// lack of memory, or while PCW_EXACT_STORAGE asks for every deletion; an
// insert adds its keys even when it fails, and a delete that fails removes
// none.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "storage/exactstorage.h"

template <class Key>
class RowMirror {
 public:
  // Starts over for the user's table; known only when complete is true.
  void Reset(uint32_t user, bool complete) {
    owner_ = user;
    known_ = complete;
    keys_.clear();
  }
  // Starts over with the rows that a load has just appended from first on.
  template <class Row, class KeyOf>
  void Fill(uint32_t user, bool complete, const std::vector<Row>& rows, size_t first, KeyOf keyOf) {
    Reset(user, complete);
    for (size_t i = first; i < rows.size(); ++i) Add(user, keyOf(rows[i]));
  }
  void Add(uint32_t user, const Key& key) {
    if (user != owner_) return;
    try {
      keys_.push_back(key);
    } catch (...) {
      known_ = false;
      throw;
    }
  }
  // Forgets the keys that a deletion which succeeded has removed.
  template <class Condition>
  void Remove(uint32_t user, Condition meets) {
    if (user != owner_) return;
    keys_.erase(std::remove_if(keys_.begin(), keys_.end(), meets), keys_.end());
  }
  // Whether a deletion with this condition may find a row in the user's table.
  template <class Condition>
  bool MayHold(uint32_t user, Condition meets) const {
    if (!known_ || user != owner_ || ExactStorage()) return true;
    return std::any_of(keys_.begin(), keys_.end(), meets);
  }

 private:
  uint32_t owner_ = 0;
  bool known_ = false;
  std::vector<Key> keys_;
};
