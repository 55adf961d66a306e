// Entries that a module leaves out of the tables its entry point fills, so
// that a host can see what its user does when an entry it needs is missing.
// Tables filled before an entry is left out keep it: a user notices only
// when it asks for the table again (a fresh load of the user).
#pragma once

#include <cstdint>
#include <cstring>

namespace halyx {

template <uint32_t Entries>
class EntryOmission {
  static_assert(Entries <= 64, "one bit an entry");

 public:
  // False for an entry number out of range.
  bool Set(uint32_t entry, bool omit) {
    if (entry >= Entries) {
      return false;
    }
    const uint64_t bit = uint64_t{1} << entry;
    omitted_ = omit ? (omitted_ | bit) : (omitted_ & ~bit);
    return true;
  }

  // Clears the omitted entries of a freshly filled table, which must be an
  // array of Entries function pointers. Some tables are filled at every call
  // of a user's: with nothing left out, this is one test.
  template <class Table>
  void Apply(Table* table) const {
    static_assert(sizeof(Table) == Entries * sizeof(void*), "a table of Entries pointers");
    if (omitted_ == 0) return;
    for (uint32_t entry = 0; entry < Entries; ++entry) {
      if ((omitted_ >> entry & 1) != 0) {
        std::memset(reinterpret_cast<unsigned char*>(table) + entry * sizeof(void*), 0,
                    sizeof(void*));
      }
    }
  }

 private:
  uint64_t omitted_ = 0;  // bit n: entry n left out
};

}  // namespace halyx
