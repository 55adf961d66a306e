// statusservice.dll: its table, loaded on first need (modules/servicewrapper.h).
#pragma once

#include "halyx/statusservice.h"
#include "modules/servicewrapper.h"

class halyx_status_wrapper : public ServiceWrapper<halyx_status_wrapper, StatusTable> {
 public:
  static constexpr ServiceModule kModule = ServiceModule::Status;
  static constexpr const char* kEntryPoint = "GetHalyxStatus";

 private:
  friend class Singlton<halyx_status_wrapper>;
  halyx_status_wrapper() = default;
};

// The signed-in user's number; 0 when nobody is signed in or the status
// service or its entry is missing.
uint32_t CurrentUserNumber();
