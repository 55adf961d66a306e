// Loads statusservice.dll on first need and keeps its table for the life of the
// library. A module or entry point that is missing is looked for again at
// every GetTable, so a module that appears later is still found.
#pragma once

#include <memory>

#include "halyx/statusservice.h"
#include "modules/singlton.h"

class halyx_status_wrapper : public Singlton<halyx_status_wrapper> {
 public:
  // The table, or null while the module or its entry point is missing.
  StatusTable* GetTable();

  void OnInstanceCreated() override;
  void OnInstanceReleasing() override;
  ~halyx_status_wrapper() override;

 private:
  friend class Singlton<halyx_status_wrapper>;
  halyx_status_wrapper() = default;

  std::unique_ptr<StatusTable> table;
};

// The signed-in user's number; 0 when nobody is signed in or the status
// service or its entry is missing.
uint32_t CurrentUserNumber();
