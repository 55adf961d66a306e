// pushcenter.dll: its table, loaded on first need (modules/servicewrapper.h).
#pragma once

#include "halyx/pushcenter.h"
#include "modules/servicewrapper.h"

class halyx_pushcenter_wrapper : public ServiceWrapper<halyx_pushcenter_wrapper, PushCenterTable> {
 public:
  static constexpr ServiceModule kModule = ServiceModule::PushCenter;
  static constexpr const char* kEntryPoint = "PushCenter";

 private:
  friend class Singlton<halyx_pushcenter_wrapper>;
  halyx_pushcenter_wrapper() = default;
};

// Tells the push center service that the host has read messages of a kind;
// skipped when the service does not offer the entry, and its answer does not
// matter.
void ReportRead(int32_t kind);
