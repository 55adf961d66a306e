// The local database service: SQLite files, reached by handle through the
// slots of a LocalDatabaseTable.
//
// Every slot checks its handles and pointers before it touches anything, so a
// bad input fails cleanly; the result of every call, success or failure, is
// kept as the last error and, where the slot takes one, stored in *err.
//
// Any thread may call any slot: each holds the service's lock for its whole
// run, as SQLite's serialized mode holds a connection's, so the handle tables,
// the idle connections and the connections see one call at a time. A walk
// over rows is several calls; two threads that step one table handle take
// turns at it.

#include "halyx/localdatabase.h"

#include <sqlite3.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "common/entryomission.h"
#include "common/modulestate.h"
#include "common/shortlock.h"
#include "localdatabase/database.h"
#include "localdatabase/handletable.h"
#include "localdatabase/sqltext.h"
#include "localdatabase/table.h"

namespace {

using halyx::Database;
using halyx::Table;
using Type = halyx::PendingRow::Type;

const uint32_t kSlots = 39;
// A host uses three files per user; this serves changes between four users
// without closing a file that is opened again soon after (under Wine a file
// whose journal files are still being removed can fail to open).
const size_t kIdleConnections = 12;

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
  Service() { failAfter.fill(-1); }

  halyx::ShortLock lock;  // over everything below
  uint32_t nextHandle = 1;
  halyx::HandleTable<Database> databases{&nextHandle};
  halyx::HandleTable<Table> tables{&nextHandle};
  // Per slot, how many more calls succeed before every call fails; -1: none
  // fails.
  std::array<int32_t, kSlots> failAfter;
  halyx::EntryOmission<kSlots> omitted;
  uint32_t lastError = 0;
  // Connections whose database was closed, kept for the next open of the same
  // file, one per file, the least recently closed first: a storage that lives
  // for one operation then does not pay for a new connection, the schema
  // read again and its statements compiled again each time.
  std::vector<std::unique_ptr<Database>> idle;
};

// The library may close its storages after this module's teardown at exit.
Service& TheService() { return halyx::ModuleState<Service>(); }

// 0 for success (SQLITE_OK, SQLITE_ROW and SQLITE_DONE alike), otherwise the
// primary SQLite result code, so that callers see stable numbers whatever
// extended code SQLite chose.
uint32_t ToErr(int rc) {
  const int primary = rc & 0xFF;
  return primary == SQLITE_OK || primary == SQLITE_ROW || primary == SQLITE_DONE
             ? 0
             : static_cast<uint32_t>(primary);
}

// Runs a slot's body under the lock, unless a fault armed for the slot fails
// the call first (it then does nothing and reports SQLITE_IOERR); records the
// result. True when the call succeeded.
template <typename Body>
bool Call(uint32_t slot, uint32_t* err, Body body) {
  Service& service = TheService();
  halyx::ShortLock::Held held(service.lock);
  int32_t& remaining = service.failAfter[slot];
  const bool fail = remaining == 0;
  if (remaining > 0) {
    --remaining;
  }
  const uint32_t code = ToErr(fail ? SQLITE_IOERR : body(service));
  service.lastError = code;
  if (err) {
    *err = code;
  }
  return code == 0;
}

// A slot on a database handle; valid: the slot's other arguments are.
template <typename Body>
bool OnDatabase(uint32_t slot, uint32_t db, bool valid, uint32_t* err, Body body) {
  return Call(slot, err, [&](Service& service) {
    Database* database = service.databases.Find(db);
    return database && valid ? body(service, database) : SQLITE_MISUSE;
  });
}

// A slot on a table handle; valid: the slot's other arguments are.
template <typename Body>
bool OnTable(uint32_t slot, uint32_t tableHandle, bool valid, Body body) {
  return Call(slot, nullptr, [&](Service& service) {
    Table* table = service.tables.Find(tableHandle);
    return table && valid ? body(table) : SQLITE_MISUSE;
  });
}

// A relative path names a file that depends on the current folder: its
// connection is never kept.
bool Absolute(const std::string& path) {
  return (!path.empty() && path[0] == '/') ||
         (path.size() >= 3 && path[1] == ':' && path[2] == '/');
}

// The kept connection to the file at path, ready for use, or null. One whose
// file was removed or replaced is closed instead, so that nothing is ever
// written into a file that is gone. Where an open file cannot be removed
// (Windows), whoever must remove the files releases the kept connections.
std::unique_ptr<Database> TakeIdle(Service& service, const std::string& path) {
  for (auto it = service.idle.begin(); it != service.idle.end(); ++it) {
    if ((*it)->path() == path) {
      std::unique_ptr<Database> database = std::move(*it);
      service.idle.erase(it);
      if (database->FileMoved() || database->Resume() != SQLITE_OK) {
        return nullptr;
      }
      return database;
    }
  }
  return nullptr;
}

void KeepIdle(Service& service, std::unique_ptr<Database> database) {
  if (!Absolute(database->path()) || database->Suspend() != SQLITE_OK) {
    return;
  }
  auto same = std::find_if(
      service.idle.begin(), service.idle.end(),
      [&](const std::unique_ptr<Database>& kept) { return kept->path() == database->path(); });
  if (same != service.idle.end()) {
    service.idle.erase(same);
  } else if (service.idle.size() >= kIdleConnections) {
    service.idle.erase(service.idle.begin());
  }
  service.idle.push_back(std::move(database));
}

const char* TypeName(int32_t typeCode) {
  return typeCode == kColumnInteger ? "INTEGER" : typeCode == kColumnBuffer ? "BLOB" : nullptr;
}

bool HALYX_CDECL OpenDatabase(const char* utf8Path, uint32_t, uint32_t* db, uint32_t* err) {
  return Call(kOpenDatabase, err, [&](Service& service) {
    if (!utf8Path || !*utf8Path || !db) {
      return SQLITE_MISUSE;
    }
    // Callers write Windows paths; SQLite takes '/' on every system, while a
    // '\\' elsewhere would end up inside a file name.
    std::string path(utf8Path);
    std::replace(path.begin(), path.end(), '\\', '/');
    std::unique_ptr<Database> database = TakeIdle(service, path);
    if (!database) {
      const int rc = Database::Open(path, &database);
      if (rc != SQLITE_OK) {
        return rc;
      }
    }
    *db = service.databases.Add(std::move(database));
    return SQLITE_OK;
  });
}

// Closes the database's tables first: their statements belong to it. The
// connection itself is kept for the next open of its file.
bool HALYX_CDECL CloseDatabase(uint32_t db) {
  return OnDatabase(kCloseDatabase, db, true, nullptr, [&](Service& service, Database* database) {
    service.tables.RemoveIf(
        [database](const Table& table) { return table.database() == database; });
    KeepIdle(service, service.databases.Remove(db));
    return SQLITE_OK;
  });
}

bool HALYX_CDECL CreateTable(uint32_t db, const char* table, const ColumnDef* columns,
                             uint32_t count, int32_t, uint32_t* err) {
  const bool valid = table && *table && columns && count > 0;
  return OnDatabase(kCreateTable, db, valid, err, [&](Service&, Database* database) {
    for (uint32_t i = 0; i < count; ++i) {
      if (!columns[i].name || !*columns[i].name || !TypeName(columns[i].typeCode)) {
        return SQLITE_MISUSE;
      }
    }
    // A table that exists needs no CREATE: its columns, read once for the
    // connection and kept until the schema changes, tell. Running the CREATE
    // "if not exists" anyway would do nothing to the file, yet it counts as a
    // schema change here and would make every table's columns be read again.
    halyx::TableCache* cache = database->CacheOf(table);
    if (cache->loaded() || cache->Load(database->get(), table) == SQLITE_OK) {
      return SQLITE_OK;
    }
    std::string sql = "CREATE TABLE IF NOT EXISTS " + halyx::Quoted(table) + " (";
    for (uint32_t i = 0; i < count; ++i) {
      sql += (i == 0 ? "" : ", ") + halyx::Quoted(columns[i].name) + " " +
             TypeName(columns[i].typeCode);
    }
    return database->Execute((sql + ")").c_str());
  });
}

bool HALYX_CDECL OpenTable(uint32_t db, const char* table, uint32_t* tableHandle, uint32_t* err) {
  const bool valid = table && tableHandle;
  return OnDatabase(kOpenTable, db, valid, err, [&](Service& service, Database* database) {
    std::unique_ptr<Table> opened;
    const int rc = Table::Open(database, table, &opened);
    if (rc == SQLITE_OK) {
      *tableHandle = service.tables.Add(std::move(opened));
    }
    return rc;
  });
}

bool HALYX_CDECL CloseTable(uint32_t tableHandle, uint32_t* err) {
  return Call(kCloseTable, err, [&](Service& service) {
    return service.tables.Remove(tableHandle) ? SQLITE_OK : SQLITE_MISUSE;
  });
}

bool HALYX_CDECL ExecuteSql(uint32_t db, const char* sql, uint32_t* err) {
  return OnDatabase(kExecuteSql, db, sql != nullptr, err,
                    [&](Service&, Database* database) { return database->Execute(sql); });
}

bool HALYX_CDECL BeginTransaction(uint32_t db, uint32_t* err) {
  return OnDatabase(kBeginTransaction, db, true, err,
                    [](Service&, Database* database) { return database->Begin(); });
}

bool HALYX_CDECL CommitTransaction(uint32_t db, uint32_t* err) {
  return OnDatabase(kCommitTransaction, db, true, err,
                    [](Service&, Database* database) { return database->Commit(); });
}

bool HALYX_CDECL SelectRows(uint32_t tableHandle, const char* condition) {
  return OnTable(kSelectRows, tableHandle, true,
                 [&](Table* table) { return table->Select(condition); });
}

bool HALYX_CDECL NextRow(uint32_t tableHandle, uint32_t* err) {
  int rc = SQLITE_DONE;
  const bool ok = Call(kNextRow, err, [&](Service& service) {
    Table* table = service.tables.Find(tableHandle);
    return rc = table ? table->Next() : SQLITE_MISUSE;
  });
  return ok && rc == SQLITE_ROW;
}

bool HALYX_CDECL GetIntField(uint32_t tableHandle, const char* column, uint32_t* value) {
  return OnTable(kGetIntField, tableHandle, column && value,
                 [&](Table* table) { return table->GetNumber(column, value); });
}

bool HALYX_CDECL GetNumberField(uint32_t tableHandle, const char* column, uint32_t* value) {
  return OnTable(kGetNumberField, tableHandle, column && value,
                 [&](Table* table) { return table->GetNumber(column, value); });
}

bool HALYX_CDECL GetTextField(uint32_t tableHandle, const char* column, char** text) {
  return OnTable(kGetTextField, tableHandle, column && text,
                 [&](Table* table) { return table->GetText(column, text); });
}

bool HALYX_CDECL GetBufferField(uint32_t tableHandle, const char* column, uint8_t** bytes,
                                uint32_t* size) {
  return OnTable(kGetBufferField, tableHandle, column && bytes && size,
                 [&](Table* table) { return table->GetBytes(column, bytes, size); });
}

bool HALYX_CDECL DeleteRows(uint32_t tableHandle, const char* where, uint32_t) {
  return OnTable(kDeleteRows, tableHandle, true,
                 [&](Table* table) { return table->Delete(where); });
}

bool HALYX_CDECL AddRow(uint32_t tableHandle) {
  return OnTable(kAddRow, tableHandle, true, [](Table* table) {
    table->AddRow();
    return SQLITE_OK;
  });
}

bool HALYX_CDECL PostRow(uint32_t tableHandle, uint32_t) {
  return OnTable(kPostRow, tableHandle, true, [](Table* table) { return table->Post(); });
}

bool HALYX_CDECL SetIntField(uint32_t tableHandle, const char* column, uint32_t value) {
  return OnTable(kSetIntField, tableHandle, column != nullptr, [&](Table* table) {
    return table->Set(column, Type::kInteger, value, nullptr, 0);
  });
}

bool HALYX_CDECL SetNumberField(uint32_t tableHandle, const char* column, uint32_t value) {
  return OnTable(kSetNumberField, tableHandle, column != nullptr, [&](Table* table) {
    return table->Set(column, Type::kInteger, value, nullptr, 0);
  });
}

bool HALYX_CDECL SetTextField(uint32_t tableHandle, const char* column, const char* text) {
  return OnTable(kSetTextField, tableHandle, column && text, [&](Table* table) {
    return table->Set(column, Type::kText, 0, text, std::strlen(text));
  });
}

bool HALYX_CDECL SetBufferField(uint32_t tableHandle, const char* column, Buffer value) {
  return OnTable(kSetBufferField, tableHandle, column != nullptr, [&](Table* table) {
    return table->Set(column, Type::kBytes, 0, reinterpret_cast<const char*>(value.GetNativeBuf()),
                      value.GetSize());
  });
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
  halyx::ShortLock::Held held(TheService().lock);
  TheService().omitted.Apply(table);
  return true;
}

bool LocalDatabaseFailAfter(uint32_t slot, int32_t n) {
  halyx::ShortLock::Held held(TheService().lock);
  if (slot >= kSlots) {
    return false;
  }
  TheService().failAfter[slot] = n < 0 ? -1 : n;
  return true;
}

bool LocalDatabaseOmitSlot(uint32_t slot, bool omit) {
  halyx::ShortLock::Held held(TheService().lock);
  return TheService().omitted.Set(slot, omit);
}

uint32_t LocalDatabaseLastError() {
  halyx::ShortLock::Held held(TheService().lock);
  return TheService().lastError;
}

uint32_t LocalDatabaseReleaseIdle() {
  halyx::ShortLock::Held held(TheService().lock);
  const size_t closed = TheService().idle.size();
  TheService().idle.clear();
  return static_cast<uint32_t>(closed);
}

uint32_t LocalDatabaseOpenHandles() {
  halyx::ShortLock::Held held(TheService().lock);
  return static_cast<uint32_t>(TheService().databases.size() + TheService().tables.size());
}

}  // extern "C"
