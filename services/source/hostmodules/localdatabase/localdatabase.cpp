// The local database service: SQLite files, reached by handle through the
// slots of a LocalDatabaseTable.
//
// Every slot checks its handles and pointers before it touches anything, so a
// bad input fails cleanly; the result of every call, success or failure, is
// kept as the last error and, where the slot takes one, stored in *err.
//
// Any thread may call any slot: each holds the service's lock for its whole
// run, as SQLite's serialized mode holds a connection's, so the handle tables,
// the pool and the connections see one call at a time. A walk over rows is
// several calls; two threads that step one table handle take turns at it.

#include "halyx/localdatabase.h"

#include <sqlite3.h>

#include <memory>
#include <string>

#include "common/criticalsection.h"
#include "common/entryomission.h"
#include "common/modulestate.h"
#include "localdatabase/connectionpool.h"
#include "localdatabase/database.h"
#include "localdatabase/faultinjector.h"
#include "localdatabase/handletable.h"
#include "localdatabase/resultcode.h"
#include "localdatabase/sqltext.h"
#include "localdatabase/table.h"

namespace {

using halyx::ConnectionPool;
using halyx::Database;
using halyx::Table;

// A host uses three files per user; a few more serve a change of user.
const size_t kPooledConnections = 6;

enum Slot : uint32_t {
  kOpenDatabase = 0,
  kCloseDatabase = 1,
  kCreateTable = 2,
  kOpenTable = 3,
  kCloseTable = 4,
  kExecuteSql = 7,
  kBeginTransaction = 8,
  kCommitTransaction = 9,
  kSelectRows = 11,
  kNextRow = 12,
  kGetIntField = 18,
  kGetNumberField = 19,
  kGetTextField = 21,
  kGetBufferField = 22,
  kDeleteRows = 23,
  kAddRow = 24,
  kPostRow = 26,
  kSetIntField = 33,
  kSetNumberField = 34,
  kSetTextField = 36,
  kSetBufferField = 37,
};

struct Service {
  halyx::CriticalSection lock;  // over everything below
  uint32_t nextHandle = 1;
  halyx::HandleTable<Database> databases{&nextHandle};
  halyx::HandleTable<Table> tables{&nextHandle};
  halyx::FaultInjector faults;
  halyx::EntryOmission<39> omitted;
  uint32_t lastError = 0;
  ConnectionPool pool{kPooledConnections};
};

// The library may close its storages after this module's teardown at exit.
Service& TheService() { return halyx::ModuleState<Service>(); }

// Held by every slot and control function for its whole run.
class Serialized {
 public:
  Serialized() : held_(TheService().lock) {}

 private:
  halyx::CriticalSection::Held held_;
};

// Records the outcome of a call; true when it succeeded. The slots that a
// walk or a row calls per field fetch the state once and pass it on.
bool Finish(Service& service, int rc, uint32_t* err = nullptr) {
  const uint32_t code = halyx::ToErr(rc);
  service.lastError = code;
  if (err) {
    *err = code;
  }
  return code == 0;
}

bool Finish(int rc, uint32_t* err = nullptr) { return Finish(TheService(), rc, err); }

// Whether the slot's call must fail now; the failure is then recorded.
bool Injected(Service& service, uint32_t slot, uint32_t* err = nullptr) {
  if (!service.faults.ShouldFail(slot)) {
    return false;
  }
  Finish(service, SQLITE_IOERR, err);
  return true;
}

bool Injected(uint32_t slot, uint32_t* err = nullptr) { return Injected(TheService(), slot, err); }

const char* TypeName(int32_t typeCode) {
  switch (typeCode) {
    case kColumnInteger:
      return "INTEGER";
    case kColumnBuffer:
      return "BLOB";
    default:
      return nullptr;
  }
}

std::string Quoted(const char* name) {
  std::string quoted = "\"";
  for (const char* p = name; *p; ++p) {
    quoted += *p;
    if (*p == '"') {
      quoted += '"';
    }
  }
  return quoted + "\"";
}

bool HALYX_CDECL OpenDatabase(const char* utf8Path, uint32_t, uint32_t* db, uint32_t* err) {
  Serialized serialized;
  if (Injected(kOpenDatabase, err)) {
    return false;
  }
  if (!utf8Path || !*utf8Path || !db) {
    return Finish(SQLITE_MISUSE, err);
  }
  std::string key = ConnectionPool::KeyOf(utf8Path);
  std::unique_ptr<Database> database = TheService().pool.Take(key);
  if (!database) {
    const int rc = Database::Open(utf8Path, &database);
    if (rc != SQLITE_OK) {
      return Finish(rc, err);
    }
    database->SetPoolKey(std::move(key));
  }
  *db = TheService().databases.Add(std::move(database));
  return Finish(SQLITE_OK, err);
}

// Closes the database's tables first: their statements belong to it. The
// connection itself is kept for the next open of its file.
bool HALYX_CDECL CloseDatabase(uint32_t db) {
  Serialized serialized;
  if (Injected(kCloseDatabase)) {
    return false;
  }
  Service& service = TheService();
  Database* database = service.databases.Find(db);
  if (!database) {
    return Finish(SQLITE_MISUSE);
  }
  service.tables.RemoveIf([database](const Table& table) { return table.database() == database; });
  service.pool.Keep(service.databases.Remove(db));
  return Finish(SQLITE_OK);
}

bool HALYX_CDECL CreateTable(uint32_t db, const char* table, const ColumnDef* columns,
                             uint32_t count, int32_t, uint32_t* err) {
  Serialized serialized;
  if (Injected(kCreateTable, err)) {
    return false;
  }
  Database* database = TheService().databases.Find(db);
  if (!database || !table || !*table || !columns || count == 0) {
    return Finish(SQLITE_MISUSE, err);
  }
  for (uint32_t i = 0; i < count; ++i) {
    if (!columns[i].name || !*columns[i].name || !TypeName(columns[i].typeCode)) {
      return Finish(SQLITE_MISUSE, err);
    }
  }
  // A table whose columns the connection knows exists: creating it "if not
  // exists" would do nothing.
  if (database->CacheOf(table)->Current(database->SchemaGeneration())) {
    return Finish(SQLITE_OK, err);
  }
  std::string sql = "CREATE TABLE IF NOT EXISTS " + Quoted(table) + " (";
  for (uint32_t i = 0; i < count; ++i) {
    sql += (i == 0 ? "" : ", ") + Quoted(columns[i].name) + " " + TypeName(columns[i].typeCode);
  }
  sql += ")";
  const int rc = database->Execute(sql.c_str());
  database->NoteSchemaChange();
  return Finish(rc, err);
}

bool HALYX_CDECL OpenTable(uint32_t db, const char* table, uint32_t* tableHandle, uint32_t* err) {
  Serialized serialized;
  if (Injected(kOpenTable, err)) {
    return false;
  }
  Database* database = TheService().databases.Find(db);
  if (!database || !table || !tableHandle) {
    return Finish(SQLITE_MISUSE, err);
  }
  std::unique_ptr<Table> opened;
  const int rc = Table::Open(database, table, &opened);
  if (rc != SQLITE_OK) {
    return Finish(rc, err);
  }
  *tableHandle = TheService().tables.Add(std::move(opened));
  return Finish(SQLITE_OK, err);
}

bool HALYX_CDECL CloseTable(uint32_t tableHandle, uint32_t* err) {
  Serialized serialized;
  if (Injected(kCloseTable, err)) {
    return false;
  }
  return Finish(TheService().tables.Remove(tableHandle) ? SQLITE_OK : SQLITE_MISUSE, err);
}

bool HALYX_CDECL ExecuteSql(uint32_t db, const char* sql, uint32_t* err) {
  Serialized serialized;
  if (Injected(kExecuteSql, err)) {
    return false;
  }
  Database* database = TheService().databases.Find(db);
  if (!database || !sql) {
    return Finish(SQLITE_MISUSE, err);
  }
  // Adding a column that the table is known to have fails, as SQLite would
  // make it fail, without compiling it against the whole schema.
  if (database->RefusedBefore(sql)) {
    return Finish(SQLITE_ERROR, err);
  }
  std::string table;
  std::string column;
  if (halyx::ParseAddColumn(sql, &table, &column)) {
    halyx::TableCache* cache = database->CacheOf(table);
    if (cache->Current(database->SchemaGeneration()) && cache->columns().Find(column.c_str()) >= 0) {
      database->NoteRefused(sql);
      return Finish(SQLITE_ERROR, err);
    }
  }
  const int rc = database->Execute(sql);
  if (!halyx::ChangesNoSchema(sql)) {
    database->NoteSchemaChange();
  }
  return Finish(rc, err);
}

bool HALYX_CDECL BeginTransaction(uint32_t db, uint32_t* err) {
  Serialized serialized;
  if (Injected(kBeginTransaction, err)) {
    return false;
  }
  Database* database = TheService().databases.Find(db);
  return Finish(database ? database->Begin() : SQLITE_MISUSE, err);
}

bool HALYX_CDECL CommitTransaction(uint32_t db, uint32_t* err) {
  Serialized serialized;
  if (Injected(kCommitTransaction, err)) {
    return false;
  }
  Database* database = TheService().databases.Find(db);
  return Finish(database ? database->Commit() : SQLITE_MISUSE, err);
}

bool HALYX_CDECL SelectRows(uint32_t tableHandle, const char* condition) {
  Serialized serialized;
  if (Injected(kSelectRows)) {
    return false;
  }
  Table* table = TheService().tables.Find(tableHandle);
  return Finish(table ? table->Select(condition) : SQLITE_MISUSE);
}

bool HALYX_CDECL NextRow(uint32_t tableHandle, uint32_t* err) {
  Serialized serialized;
  Service& service = TheService();
  if (Injected(service, kNextRow, err)) {
    return false;
  }
  Table* table = service.tables.Find(tableHandle);
  if (!table) {
    return Finish(service, SQLITE_MISUSE, err);
  }
  const int rc = table->Next();
  Finish(service, rc, err);
  return rc == SQLITE_ROW;
}

bool GetNumber(uint32_t slot, uint32_t tableHandle, const char* column, uint32_t* value) {
  Serialized serialized;
  Service& service = TheService();
  if (Injected(service, slot)) {
    return false;
  }
  Table* table = service.tables.Find(tableHandle);
  if (!table || !column || !value) {
    return Finish(service, SQLITE_MISUSE);
  }
  return Finish(service, table->GetNumber(column, value));
}

bool HALYX_CDECL GetIntField(uint32_t tableHandle, const char* column, uint32_t* value) {
  Serialized serialized;
  return GetNumber(kGetIntField, tableHandle, column, value);
}

bool HALYX_CDECL GetNumberField(uint32_t tableHandle, const char* column, uint32_t* value) {
  Serialized serialized;
  return GetNumber(kGetNumberField, tableHandle, column, value);
}

bool HALYX_CDECL GetTextField(uint32_t tableHandle, const char* column, char** text) {
  Serialized serialized;
  Service& service = TheService();
  if (Injected(service, kGetTextField)) {
    return false;
  }
  Table* table = service.tables.Find(tableHandle);
  if (!table || !column || !text) {
    return Finish(service, SQLITE_MISUSE);
  }
  return Finish(service, table->GetText(column, text));
}

bool HALYX_CDECL GetBufferField(uint32_t tableHandle, const char* column, uint8_t** bytes,
                                uint32_t* size) {
  Serialized serialized;
  Service& service = TheService();
  if (Injected(service, kGetBufferField)) {
    return false;
  }
  Table* table = service.tables.Find(tableHandle);
  if (!table || !column || !bytes || !size) {
    return Finish(service, SQLITE_MISUSE);
  }
  return Finish(service, table->GetBytes(column, bytes, size));
}

bool HALYX_CDECL DeleteRows(uint32_t tableHandle, const char* where, uint32_t) {
  Serialized serialized;
  if (Injected(kDeleteRows)) {
    return false;
  }
  Table* table = TheService().tables.Find(tableHandle);
  return Finish(table ? table->Delete(where) : SQLITE_MISUSE);
}

bool HALYX_CDECL AddRow(uint32_t tableHandle) {
  Serialized serialized;
  Service& service = TheService();
  if (Injected(service, kAddRow)) {
    return false;
  }
  Table* table = service.tables.Find(tableHandle);
  if (!table) {
    return Finish(service, SQLITE_MISUSE);
  }
  table->AddRow();
  return Finish(service, SQLITE_OK);
}

bool HALYX_CDECL PostRow(uint32_t tableHandle, uint32_t) {
  Serialized serialized;
  Service& service = TheService();
  if (Injected(service, kPostRow)) {
    return false;
  }
  Table* table = service.tables.Find(tableHandle);
  return Finish(service, table ? table->Post() : SQLITE_MISUSE);
}

bool SetNumber(uint32_t slot, uint32_t tableHandle, const char* column, uint32_t value) {
  Serialized serialized;
  Service& service = TheService();
  if (Injected(service, slot)) {
    return false;
  }
  Table* table = service.tables.Find(tableHandle);
  if (!table || !column) {
    return Finish(service, SQLITE_MISUSE);
  }
  return Finish(service, table->SetNumber(column, value));
}

bool HALYX_CDECL SetIntField(uint32_t tableHandle, const char* column, uint32_t value) {
  Serialized serialized;
  return SetNumber(kSetIntField, tableHandle, column, value);
}

bool HALYX_CDECL SetNumberField(uint32_t tableHandle, const char* column, uint32_t value) {
  Serialized serialized;
  return SetNumber(kSetNumberField, tableHandle, column, value);
}

bool HALYX_CDECL SetTextField(uint32_t tableHandle, const char* column, const char* text) {
  Serialized serialized;
  Service& service = TheService();
  if (Injected(service, kSetTextField)) {
    return false;
  }
  Table* table = service.tables.Find(tableHandle);
  if (!table || !column || !text) {
    return Finish(service, SQLITE_MISUSE);
  }
  return Finish(service, table->SetText(column, text));
}

bool HALYX_CDECL SetBufferField(uint32_t tableHandle, const char* column, Buffer value) {
  Serialized serialized;
  Service& service = TheService();
  if (Injected(service, kSetBufferField)) {
    return false;
  }
  Table* table = service.tables.Find(tableHandle);
  if (!table || !column) {
    return Finish(service, SQLITE_MISUSE);
  }
  return Finish(service, table->SetBytes(column, value.GetNativeBuf(), value.GetSize()));
}

}  // namespace

extern "C" {

bool LocalDatabase(LocalDatabaseTable* table) {
  if (!table) {
    return false;
  }
  *table = LocalDatabaseTable{};
  table->OpenDatabase = &OpenDatabase;
  table->CloseDatabase = &CloseDatabase;
  table->CreateTable = &CreateTable;
  table->OpenTable = &OpenTable;
  table->CloseTable = &CloseTable;
  table->ExecuteSql = &ExecuteSql;
  table->BeginTransaction = &BeginTransaction;
  table->CommitTransaction = &CommitTransaction;
  table->SelectRows = &SelectRows;
  table->NextRow = &NextRow;
  table->GetIntField = &GetIntField;
  table->GetNumberField = &GetNumberField;
  table->GetTextField = &GetTextField;
  table->GetBufferField = &GetBufferField;
  table->DeleteRows = &DeleteRows;
  table->AddRow = &AddRow;
  table->PostRow = &PostRow;
  table->SetIntField = &SetIntField;
  table->SetNumberField = &SetNumberField;
  table->SetTextField = &SetTextField;
  table->SetBufferField = &SetBufferField;
  Serialized serialized;
  TheService().omitted.Apply(table);
  return true;
}

bool LocalDatabaseFailAfter(uint32_t slot, int32_t n) {
  Serialized serialized;
  return TheService().faults.Arm(slot, n);
}

bool LocalDatabaseOmitSlot(uint32_t slot, bool omit) {
  Serialized serialized;
  return TheService().omitted.Set(slot, omit);
}

uint32_t LocalDatabaseLastError() {
  Serialized serialized;
  return TheService().lastError;
}

uint32_t LocalDatabaseReleaseIdle() {
  Serialized serialized;
  return static_cast<uint32_t>(TheService().pool.Clear());
}

uint32_t LocalDatabaseOpenHandles() {
  Serialized serialized;
  return static_cast<uint32_t>(TheService().databases.size() + TheService().tables.size());
}

}  // extern "C"
