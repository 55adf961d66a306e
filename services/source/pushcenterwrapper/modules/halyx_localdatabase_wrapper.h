// Loads localdatabase.dll on first need and keeps its table for the life of the
// library. A module or entry point that is missing is looked for again at
// every GetTable, so a module that appears later is still found.
#pragma once

#include <memory>

#include "halyx/localdatabase.h"
#include "modules/serviceentry.h"
#include "modules/singlton.h"

class halyx_localdatabase_wrapper : public Singlton<halyx_localdatabase_wrapper> {
 public:
  // The table, or null while the module or its entry point is missing.
  LocalDatabaseTable* GetTable();

  void OnInstanceCreated() override;
  void OnInstanceReleasing() override;
  ~halyx_localdatabase_wrapper() override;

 private:
  friend class Singlton<halyx_localdatabase_wrapper>;
  halyx_localdatabase_wrapper() = default;

  std::unique_ptr<LocalDatabaseTable> table;
};

// An entry of the local database table, or null while the module, its table or
// the entry is missing.
template <class Fn>
Fn LocalDb(Fn LocalDatabaseTable::*entry) {
  return ServiceEntry<halyx_localdatabase_wrapper>(entry);
}
