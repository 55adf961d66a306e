// localdatabase.dll: tables in per-user database files. Its entry point
// "LocalDatabase" fills a LocalDatabaseTable.
//
// Handles are small non-zero 32-bit numbers, never pointers. Every slot
// returns false on failure and stores the database's own error code in *err.
// Byte and text results are allocated with new[] for the caller.
#pragma once

#include "halyx/buffer.h"
#include "halyx/hostapi.h"

#if defined(HALYX_BUILDING_LOCALDATABASE)
#define HALYX_LOCALDATABASE_API HALYX_EXPORT
#else
#define HALYX_LOCALDATABASE_API HALYX_IMPORT
#endif

enum : int32_t {
  kColumnInteger = 8,  // read and written as 32-bit numbers
  kColumnBuffer = 11,  // bytes or text
};

struct ColumnDef {
  const char* name;
  int32_t typeCode;
  int32_t reserved;  // 0
};

// 39 slots; the ones the message storages use are typed, the others null.
struct LocalDatabaseTable {
  bool(HALYX_CDECL* OpenDatabase)(const char* utf8Path, uint32_t userNumber, uint32_t* db,
                                  uint32_t* err);                                           // 0
  bool(HALYX_CDECL* CloseDatabase)(uint32_t db);                                            // 1
  bool(HALYX_CDECL* CreateTable)(uint32_t db, const char* table, const ColumnDef* columns,
                                 uint32_t count, int32_t reserved, uint32_t* err);           // 2
  bool(HALYX_CDECL* OpenTable)(uint32_t db, const char* table, uint32_t* tableHandle,
                               uint32_t* err);                                              // 3
  bool(HALYX_CDECL* CloseTable)(uint32_t tableHandle, uint32_t* err);                       // 4
  HalyxUnusedEntry slot5[2];
  bool(HALYX_CDECL* ExecuteSql)(uint32_t db, const char* sql, uint32_t* err);               // 7
  bool(HALYX_CDECL* BeginTransaction)(uint32_t db, uint32_t* err);                          // 8
  bool(HALYX_CDECL* CommitTransaction)(uint32_t db, uint32_t* err);                         // 9
  HalyxUnusedEntry slot10;
  // Starts a walk over the rows matching condition (null: every row), in the
  // order they were stored. Integer columns hold unsigned 32-bit values; a
  // negative literal compared with one means its two's complement.
  bool(HALYX_CDECL* SelectRows)(uint32_t tableHandle, const char* condition);               // 11
  // True when a row is current; false at the normal end or on failure.
  bool(HALYX_CDECL* NextRow)(uint32_t tableHandle, uint32_t* err);                          // 12
  HalyxUnusedEntry slot13[5];
  bool(HALYX_CDECL* GetIntField)(uint32_t tableHandle, const char* column, uint32_t* value);    // 18
  bool(HALYX_CDECL* GetNumberField)(uint32_t tableHandle, const char* column, uint32_t* value); // 19
  HalyxUnusedEntry slot20;
  bool(HALYX_CDECL* GetTextField)(uint32_t tableHandle, const char* column, char** text);       // 21
  // No bytes (an empty or NULL value) come back as null and size 0.
  bool(HALYX_CDECL* GetBufferField)(uint32_t tableHandle, const char* column, uint8_t** bytes,
                                    uint32_t* size);                                        // 22
  // Deletes the rows matching the WHERE text, or every row when it is null.
  bool(HALYX_CDECL* DeleteRows)(uint32_t tableHandle, const char* where, uint32_t reserved);    // 23
  bool(HALYX_CDECL* AddRow)(uint32_t tableHandle);                                          // 24
  HalyxUnusedEntry slot25;
  bool(HALYX_CDECL* PostRow)(uint32_t tableHandle, uint32_t reserved);                      // 26
  HalyxUnusedEntry slot27[6];
  bool(HALYX_CDECL* SetIntField)(uint32_t tableHandle, const char* column, uint32_t value);     // 33
  bool(HALYX_CDECL* SetNumberField)(uint32_t tableHandle, const char* column, uint32_t value);  // 34
  HalyxUnusedEntry slot35;
  bool(HALYX_CDECL* SetTextField)(uint32_t tableHandle, const char* column, const char* text);  // 36
  bool(HALYX_CDECL* SetBufferField)(uint32_t tableHandle, const char* column, Buffer value);    // 37
  HalyxUnusedEntry slot38;
};
static_assert(sizeof(LocalDatabaseTable) == 39 * sizeof(void*), "LocalDatabaseTable has 39 slots");

typedef bool(HALYX_CDECL* LocalDatabaseEntry)(LocalDatabaseTable* table);

extern "C" {
HALYX_LOCALDATABASE_API bool HALYX_CDECL LocalDatabase(LocalDatabaseTable* table);

// Control functions for hosts and tests.
//
// Makes a slot (0..38) fail after n more calls, every call from then on,
// until it is cleared with n = -1. A failing call does nothing and reports
// the SQLite code SQLITE_IOERR (10). False for a slot out of range.
HALYX_LOCALDATABASE_API bool HALYX_CDECL LocalDatabaseFailAfter(uint32_t slot, int32_t n);
// While omit is set, tables filled from then on hold null in the slot
// (0..38). False for a slot out of range.
HALYX_LOCALDATABASE_API bool HALYX_CDECL LocalDatabaseOmitSlot(uint32_t slot, bool omit);
// The err value of the last slot call, also of slots that take no err.
HALYX_LOCALDATABASE_API uint32_t HALYX_CDECL LocalDatabaseLastError();
// How many database and table handles are open: what a user left unclosed.
HALYX_LOCALDATABASE_API uint32_t HALYX_CDECL LocalDatabaseOpenHandles();
// A closed database's connection is kept for the next open of its file, and
// keeps the file open meanwhile. Closes every kept connection, so that the
// files can be removed (Windows refuses to remove an open file); the number
// closed. Handles still open are not affected.
HALYX_LOCALDATABASE_API uint32_t HALYX_CDECL LocalDatabaseReleaseIdle();
}
