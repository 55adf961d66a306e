// The insert, load and deletion steps that every storage's table shares; each
// storage brings its handles, its rows and its columns.
//
// columns(io, row) names a row's columns in the order their fields are set and
// read, once for both directions: io is a RowWriter over a const row or a
// RowReader over a fresh one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "modules/halyx_localdatabase_wrapper.h"
#include "storage/rowreader.h"
#include "storage/rowwriter.h"

// What an insert does when AddRow refuses a row: a storage that is closed
// right after leaves the transaction open, so that the database drops the
// rows already written with it; a storage that stays open commits them.
enum class RefusedRow { kAbandon, kCommit };

// Appends the rows in one transaction; before(row) runs before each row is
// begun. A row whose fields cannot all be set is still posted and makes the
// result false; a row that cannot be begun ends the insert as refused says.
template <class Row, class Columns, class Before>
bool InsertTableRows(uint32_t db, uint32_t table, const std::vector<Row>& rows, Columns columns,
                     Before before, RefusedRow refused) {
  if (db == 0 || table == 0) return false;
  uint32_t err = 0;
  auto begin = LocalDb(&LocalDatabaseTable::BeginTransaction);
  if (begin == nullptr || !begin(db, &err)) return false;
  auto commit = [db, &err]() {
    if (auto end = LocalDb(&LocalDatabaseTable::CommitTransaction)) end(db, &err);
  };
  auto add = LocalDb(&LocalDatabaseTable::AddRow);
  auto post = LocalDb(&LocalDatabaseTable::PostRow);
  bool result = true;
  for (const Row& row : rows) {
    before(row);
    if (add == nullptr || !add(table)) {
      if (refused == RefusedRow::kCommit) commit();
      return false;
    }
    RowWriter writer(table);
    columns(writer, row);
    if (!writer.Ok()) result = false;
    if (post == nullptr || !post(table, 0)) result = false;
  }
  commit();
  return result;
}

// Appends every row that reads back whole, in the order the database gives
// them; *complete tells whether every row did. expected rows are made room
// for at once: a growing vector would copy each row's buffers one by one.
template <class Row, class Columns>
bool LoadTableRows(uint32_t table, std::vector<Row>& out, size_t expected, Columns columns,
                   bool* complete) {
  if (table == 0) return false;
  auto select = LocalDb(&LocalDatabaseTable::SelectRows);
  auto next = LocalDb(&LocalDatabaseTable::NextRow);
  if (select == nullptr || next == nullptr || !select(table, nullptr)) return false;
  out.reserve(out.size() + expected);
  uint32_t err = 0;
  *complete = true;
  while (next(table, &err)) {
    out.emplace_back();
    RowReader reader(table);
    columns(reader, out.back());
    if (!reader.Ok()) {
      out.pop_back();
      *complete = false;
    }
  }
  return true;
}

// Deletes the rows that meet where, or every row for a null where.
inline bool DeleteTableRows(uint32_t table, const char* where) {
  auto remove = LocalDb(&LocalDatabaseTable::DeleteRows);
  return table != 0 && remove != nullptr && remove(table, where, 0);
}
