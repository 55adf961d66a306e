#include "modules/halyx_localdatabase_wrapper.h"

#include "modules/serviceloader.h"

LocalDatabaseTable* halyx_localdatabase_wrapper::GetTable() {
  if (!table) table = LoadServiceTable<LocalDatabaseTable>(ServiceModule::LocalDatabase, "LocalDatabase");
  return table.get();
}

void halyx_localdatabase_wrapper::OnInstanceCreated() {}
void halyx_localdatabase_wrapper::OnInstanceReleasing() {}
halyx_localdatabase_wrapper::~halyx_localdatabase_wrapper() = default;
