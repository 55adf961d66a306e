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
 public:
  // False for an entry number out of range.
  bool Set(uint32_t entry, bool omit) {
    if (entry >= Entries) {
      return false;
    }
    omitted_[entry] = omit;
    return true;
  }

  // Clears the omitted entries of a freshly filled table, which must be an
  // array of Entries function pointers.
  template <class Table>
  void Apply(Table* table) const {
    static_assert(sizeof(Table) == Entries * sizeof(void*), "a table of Entries pointers");
    for (uint32_t entry = 0; entry < Entries; ++entry) {
      if (omitted_[entry]) {
        std::memset(reinterpret_cast<unsigned char*>(table) + entry * sizeof(void*), 0,
                    sizeof(void*));
      }
    }
  }

 private:
  bool omitted_[Entries] = {};
};

}  // namespace halyx
