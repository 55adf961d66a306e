#include "modules/halyx_engine_wrapper.h"

#include "modules/serviceloader.h"

EngineTable* halyx_engine_wrapper::GetTable() {
  if (!table) table = LoadServiceTable<EngineTable>(ServiceModule::Engine, "GetHalyxEngine");
  return table.get();
}

void halyx_engine_wrapper::OnInstanceCreated() {}
void halyx_engine_wrapper::OnInstanceReleasing() {}
halyx_engine_wrapper::~halyx_engine_wrapper() = default;
