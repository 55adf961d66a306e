// Marking read: PushUpdateReadStateByType over 50 unread system messages and
// over 50 dynamic groups of 3 unread messages, each message stored in its own
// transaction, beside the floor: the very rows that the library stored,
// inserted into the same file with the same settings (WAL, synchronous
// NORMAL, so that every committed row survives a crash of the process), one
// transaction each, through one connection opened for the operation as the
// library opens one.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "benchhost.h"
#include "sqlitefile.h"

namespace {

const uint32_t kGroups = 50;
const char kFloorTable[] = "benchfloor";

struct Path {
  PayloadMaker::Kind kind;
  uint32_t perGroup;
  const char* file;
  const char* table;
};
const Path kSystemPath = {PayloadMaker::kSystem, 1, "sysmsg.db", "systemmsgtable"};
const Path kDynamicPath = {PayloadMaker::kDynamic, 3, "dynmsg.db", "dynmsgtable"};

BenchHost& Host() {
  BenchHost& host = BenchHost::Shared();
  return host;
}

// A full load of unread messages: the new ones push the read ones out.
void FillUnread(BenchHost& host, const Path& path) {
  host.Fill(path.kind, 1, kGroups, path.perGroup);
}

bool AllRead(BenchHost& host, const Path& path) {
  return host.Api().PushGetUnreadCountByType(path.kind) == 0;
}

void BM_MarkRead(benchmark::State& state, Path path) {
  BenchHost& host = Host();
  if (!host.Ready()) return state.SkipWithError(host.Problem().c_str());
  int64_t wrong = 0;
  for (auto _ : state) {
    state.PauseTiming();
    FillUnread(host, path);
    state.ResumeTiming();
    if (host.Api().PushUpdateReadStateByType(path.kind) == 0) ++wrong;
  }
  if (wrong != 0 || !AllRead(host, path)) return state.SkipWithError("messages left unread");
  SqliteFile file(BenchHost::DatabasePath(path.file), SqliteFile::kPlain);
  const size_t rows = file.ReadRows(path.table).size();
  if (rows != kGroups * path.perGroup) return state.SkipWithError("stored rows are missing");
  state.SetItemsProcessed(state.iterations() * int64_t(rows));
}

// The rows that one marking stores, as the library wrote them.
std::vector<SqliteFile::Row> StoredRows(BenchHost& host, const Path& path) {
  FillUnread(host, path);
  host.Api().PushUpdateReadStateByType(path.kind);
  SqliteFile file(BenchHost::DatabasePath(path.file), SqliteFile::kPlain);
  return file.ReadRows(path.table);
}

void BM_MarkReadFloor(benchmark::State& state, Path path) {
  BenchHost& host = Host();
  if (!host.Ready()) return state.SkipWithError(host.Problem().c_str());
  const std::vector<SqliteFile::Row> rows = StoredRows(host, path);
  if (rows.size() != kGroups * path.perGroup) return state.SkipWithError("no stored rows to copy");
  const std::string database = BenchHost::DatabasePath(path.file);
  SqliteFile keeper(database, SqliteFile::kWal);
  keeper.Execute(std::string("DROP TABLE IF EXISTS ") + kFloorTable);
  if (!keeper.Execute(std::string("CREATE TABLE ") + kFloorTable + " AS SELECT * FROM " +
                      path.table + " WHERE 0")) {
    return state.SkipWithError("cannot make the floor's table");
  }
  int64_t wrong = 0;
  for (auto _ : state) {
    state.PauseTiming();
    keeper.Execute(std::string("DELETE FROM ") + kFloorTable);
    state.ResumeTiming();
    SqliteFile file(database, SqliteFile::kWal);
    if (file.InsertEach(kFloorTable, rows) != rows.size()) ++wrong;
  }
  keeper.Execute(std::string("DROP TABLE ") + kFloorTable);
  if (wrong != 0) return state.SkipWithError("a row was not committed");
  state.SetItemsProcessed(state.iterations() * int64_t(rows.size()));
}

BENCHMARK_CAPTURE(BM_MarkRead, system, kSystemPath)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_MarkReadFloor, system, kSystemPath)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_MarkRead, dynamic, kDynamicPath)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_MarkReadFloor, dynamic, kDynamicPath)->Unit(benchmark::kMillisecond);

}  // namespace
