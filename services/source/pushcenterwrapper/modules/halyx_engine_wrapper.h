// Loads coreserviceengine.dll on first need and keeps its table for the life of the
// library. A module or entry point that is missing is looked for again at
// every GetTable, so a module that appears later is still found.
#pragma once

#include <memory>

#include "halyx/coreserviceengine.h"
#include "modules/singlton.h"

class halyx_engine_wrapper : public Singlton<halyx_engine_wrapper> {
 public:
  // The table, or null while the module or its entry point is missing.
  EngineTable* GetTable();

  void OnInstanceCreated() override;
  void OnInstanceReleasing() override;
  ~halyx_engine_wrapper() override;

 private:
  friend class Singlton<halyx_engine_wrapper>;
  halyx_engine_wrapper() = default;

  std::unique_ptr<EngineTable> table;
};
