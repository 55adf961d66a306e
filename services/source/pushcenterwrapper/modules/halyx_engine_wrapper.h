// coreserviceengine.dll: its table, loaded on first need (modules/servicewrapper.h).
#pragma once

#include "halyx/coreserviceengine.h"
#include "modules/servicewrapper.h"

class halyx_engine_wrapper : public ServiceWrapper<halyx_engine_wrapper, EngineTable> {
 public:
  static constexpr ServiceModule kModule = ServiceModule::Engine;
  static constexpr const char* kEntryPoint = "GetHalyxEngine";

 private:
  friend class Singlton<halyx_engine_wrapper>;
  halyx_engine_wrapper() = default;
};
