// ServiceWrapper: a host product module, loaded on first need, with its table
// kept for the life of the library.
//
// A module or entry point that is missing is looked for again at every
// GetTable, so a module that appears later is still found. The four named
// wrappers differ only in their table, their module and its entry point,
// which each names as kModule and kEntryPoint.
#pragma once

#include <memory>

#include "modules/serviceloader.h"
#include "modules/singlton.h"

template <class Wrapper, class Table>
class ServiceWrapper : public Singlton<Wrapper> {
 public:
  // The table, or null while the module or its entry point is missing.
  Table* GetTable() {
    if (!table_) table_ = LoadServiceTable<Table>(Wrapper::kModule, Wrapper::kEntryPoint);
    return table_.get();
  }
  // The table if the module has been loaded, without trying to load it.
  Table* LoadedTable() { return table_.get(); }

  void OnInstanceCreated() override {}
  void OnInstanceReleasing() override {}

 protected:
  ServiceWrapper() = default;

 private:
  std::unique_ptr<Table> table_;
};
