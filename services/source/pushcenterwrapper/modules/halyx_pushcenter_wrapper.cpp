#include "modules/halyx_pushcenter_wrapper.h"

#include "modules/serviceentry.h"
#include "modules/serviceloader.h"

PushCenterTable* halyx_pushcenter_wrapper::GetTable() {
  if (!table) table = LoadServiceTable<PushCenterTable>(ServiceModule::PushCenter, "PushCenter");
  return table.get();
}

void halyx_pushcenter_wrapper::OnInstanceCreated() {}
void halyx_pushcenter_wrapper::OnInstanceReleasing() {}
halyx_pushcenter_wrapper::~halyx_pushcenter_wrapper() = default;

void ReportRead(int32_t kind) {
  if (auto report = ServiceEntry<halyx_pushcenter_wrapper>(&PushCenterTable::reportRead)) {
    report(kind, 0, 0xFFFFFFFFu, 0, 0, 0);
  }
}
