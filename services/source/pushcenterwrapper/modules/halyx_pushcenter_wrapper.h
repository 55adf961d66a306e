// Loads pushcenter.dll on first need and keeps its table for the life of the
// library. A module or entry point that is missing is looked for again at
// every GetTable, so a module that appears later is still found.
#pragma once

#include <memory>

#include "halyx/pushcenter.h"
#include "modules/singlton.h"

class halyx_pushcenter_wrapper : public Singlton<halyx_pushcenter_wrapper> {
 public:
  // The table, or null while the module or its entry point is missing.
  PushCenterTable* GetTable();
  // The table if the module has been loaded, without trying to load it.
  PushCenterTable* LoadedTable() { return table.get(); }

  void OnInstanceCreated() override;
  void OnInstanceReleasing() override;
  ~halyx_pushcenter_wrapper() override;

 private:
  friend class Singlton<halyx_pushcenter_wrapper>;
  halyx_pushcenter_wrapper() = default;

  std::unique_ptr<PushCenterTable> table;
};

// Tells the push center service that the host has read messages of a kind;
// skipped when the service does not offer the entry, and its answer does not
// matter.
void ReportRead(int32_t kind);
