// localdatabase.dll: its table, loaded on first need (modules/servicewrapper.h).
#pragma once

#include "halyx/localdatabase.h"
#include "modules/serviceentry.h"
#include "modules/servicewrapper.h"

class halyx_localdatabase_wrapper
    : public ServiceWrapper<halyx_localdatabase_wrapper, LocalDatabaseTable> {
 public:
  static constexpr ServiceModule kModule = ServiceModule::LocalDatabase;
  static constexpr const char* kEntryPoint = "LocalDatabase";

 private:
  friend class Singlton<halyx_localdatabase_wrapper>;
  halyx_localdatabase_wrapper() = default;
};

// An entry of the local database table, or null while the module, its table or
// the entry is missing.
template <class Fn>
Fn LocalDb(Fn LocalDatabaseTable::*entry) {
  return ServiceEntry<halyx_localdatabase_wrapper>(entry);
}
