#include "modules/halyx_pushcenter_wrapper.h"

#include "modules/serviceloader.h"

PushCenterTable* halyx_pushcenter_wrapper::GetTable() {
  if (!table) table = LoadServiceTable<PushCenterTable>(ServiceModule::PushCenter, "PushCenter");
  return table.get();
}

void halyx_pushcenter_wrapper::OnInstanceCreated() {}
void halyx_pushcenter_wrapper::OnInstanceReleasing() {}
halyx_pushcenter_wrapper::~halyx_pushcenter_wrapper() = default;
