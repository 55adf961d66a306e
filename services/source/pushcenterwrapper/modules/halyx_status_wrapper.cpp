#include "modules/halyx_status_wrapper.h"

#include "modules/serviceentry.h"
#include "modules/serviceloader.h"

StatusTable* halyx_status_wrapper::GetTable() {
  if (!table) table = LoadServiceTable<StatusTable>(ServiceModule::Status, "GetHalyxStatus");
  return table.get();
}

void halyx_status_wrapper::OnInstanceCreated() {}
void halyx_status_wrapper::OnInstanceReleasing() {}
halyx_status_wrapper::~halyx_status_wrapper() = default;

uint32_t CurrentUserNumber() {
  auto currentUser = ServiceEntry<halyx_status_wrapper>(&StatusTable::currentUser);
  return currentUser != nullptr ? currentUser() : 0;
}
