#include "storage/usertable.h"

#include <string>

#include "modules/halyx_localdatabase_wrapper.h"
#include "modules/halyx_status_wrapper.h"
#include "storage/datafolder.h"

bool OpenUserTable(const char* fileName, const char* table, const ColumnDef* columns,
                   uint32_t columnCount, uint32_t* dbHandle, uint32_t* tableHandle) {
  const uint32_t user = CurrentUserNumber();
  if (user == 0) return false;
  const std::string folder = GetUserDataFolder(user);
  if (!PathExists(folder.c_str()) && !CreateFolderTree(folder.c_str())) return false;

  CloseUserTable(dbHandle, tableHandle);
  const std::string path = folder + fileName;
  uint32_t err = 0;
  auto openDatabase = LocalDb(&LocalDatabaseTable::OpenDatabase);
  // Asked again rather than reusing `user`: the database service is told who
  // is signed in at the moment of the open (0 when the status service is gone).
  if (openDatabase == nullptr || !openDatabase(path.c_str(), CurrentUserNumber(), dbHandle, &err)) {
    return false;
  }
  return CreateAndOpenTable(*dbHandle, table, columns, columnCount, tableHandle);
}

bool CreateAndOpenTable(uint32_t dbHandle, const char* table, const ColumnDef* columns,
                        uint32_t columnCount, uint32_t* tableHandle) {
  uint32_t err = 0;
  if (auto createTable = LocalDb(&LocalDatabaseTable::CreateTable)) {
    createTable(dbHandle, table, columns, columnCount, -1, &err);
  }
  auto openTable = LocalDb(&LocalDatabaseTable::OpenTable);
  return openTable != nullptr && openTable(dbHandle, table, tableHandle, &err);
}

void CloseUserTable(uint32_t* dbHandle, uint32_t* tableHandle) {
  uint32_t err = 0;
  if (*tableHandle != 0) {
    if (auto closeTable = LocalDb(&LocalDatabaseTable::CloseTable)) closeTable(*tableHandle, &err);
    *tableHandle = 0;
  }
  if (*dbHandle != 0) {
    if (auto closeDatabase = LocalDb(&LocalDatabaseTable::CloseDatabase)) closeDatabase(*dbHandle);
    *dbHandle = 0;
  }
}
