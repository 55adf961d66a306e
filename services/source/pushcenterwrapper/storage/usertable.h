// The open sequence that the dynamic and system storages share: the signed-in
// user's folder, found or created, and one table in one database file there.
// The share storage, whose file holds two tables, shares the table step.
#pragma once

#include <cstdint>

#include "halyx/localdatabase.h"

// Opens "<user folder><fileName>" and the table in it, creating the table from
// columns when it is missing. Handles already held are closed first, so that
// opening twice leaves nothing behind. False without a signed-in user, a
// folder or the database service, or when the database or the table will not
// open; whatever was opened is then still in the handles, for the storage's
// destructor to close.
bool OpenUserTable(const char* fileName, const char* table, const ColumnDef* columns,
                   uint32_t columnCount, uint32_t* dbHandle, uint32_t* tableHandle);

// Creates the table from columns when the database lacks it, then opens it.
bool CreateAndOpenTable(uint32_t dbHandle, const char* table, const ColumnDef* columns,
                        uint32_t columnCount, uint32_t* tableHandle);

// Closes the table, then the database, of the handles that are held, and
// clears them.
void CloseUserTable(uint32_t* dbHandle, uint32_t* tableHandle);
