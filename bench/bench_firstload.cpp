// First load: the first PushGetSystemMsg and PushGetShareMsg of a session on
// a full database (50 read system messages; 50 share groups of 11 read
// messages), which reads the rows back into the centers and lists them,
// beside the floor: a plain SELECT of the same rows through a connection of
// its own, every column read.
#include <benchmark/benchmark.h>

#include <string>

#include "benchhost.h"
#include "sqlitefile.h"

namespace {

const uint32_t kGroups = 50;
const uint32_t kShareGroupSize = 11;

// Both databases full of read messages; the centers are reloaded before
// every measured listing.
BenchHost& StoredHost() {
  BenchHost& host = BenchHost::Shared();
  static const bool stored = [&host] {
    if (!host.Ready()) return false;
    host.Fill(PayloadMaker::kSystem, 1, kGroups, 1);
    host.Fill(PayloadMaker::kShare, 1, kGroups, kShareGroupSize);
    host.Api().PushUpdateReadStateByType(PayloadMaker::kSystem);
    host.Api().PushUpdateReadStateByType(PayloadMaker::kShare);
    return true;
  }();
  (void)stored;
  return host;
}

// Reloads the library before every measured first listing; `list` lists,
// frees and says whether the listing held every stored message.
template <class List>
void FirstLoad(benchmark::State& state, List list) {
  BenchHost& host = StoredHost();
  if (!host.Ready()) return state.SkipWithError(host.Problem().c_str());
  int64_t wrong = 0;
  for (auto _ : state) {
    state.PauseTiming();
    const bool reloaded = host.Reload();
    state.ResumeTiming();
    if (!reloaded) {
      state.SkipWithError("reload failed");
      break;
    }
    if (!list(host.Api())) ++wrong;
  }
  if (wrong != 0) state.SkipWithError("a first listing did not hold every stored message");
}

void BM_FirstLoadSystem(benchmark::State& state) {
  FirstLoad(state, [](hostkit::PushExports& api) {
    SystemMsgInfo* msgs = nullptr;
    const bool whole = api.PushGetSystemMsg(0, &msgs, false) == kGroups;
    api.PushFreeSystemMsgList(msgs);
    return whole;
  });
}

void BM_FirstLoadShare(benchmark::State& state) {
  FirstLoad(state, [](hostkit::PushExports& api) {
    ShareMsgGroupInfo* groups = nullptr;
    const uint32_t count = api.PushGetShareMsg(0, 0, &groups, false);
    const bool whole = count == kGroups && groups[count - 1].msgCount == kShareGroupSize;
    api.PushFreeShareMsgGroupList(groups);
    return whole;
  });
}

void SelectFloor(benchmark::State& state, const char* fileName, const char* table, size_t rows) {
  if (!StoredHost().Ready()) return state.SkipWithError(StoredHost().Problem().c_str());
  const std::string database = BenchHost::DatabasePath(fileName);
  int64_t wrong = 0;
  for (auto _ : state) {
    SqliteFile file(database, SqliteFile::kPlain);
    size_t bytes = 0;
    if (file.SelectAll(table, &bytes) != rows) ++wrong;
    benchmark::DoNotOptimize(bytes);
  }
  if (wrong != 0) state.SkipWithError("the stored rows are not all there");
}

void BM_FirstLoadSystemFloor(benchmark::State& state) {
  SelectFloor(state, "sysmsg.db", "systemmsgtable", kGroups);
}

void BM_FirstLoadShareFloor(benchmark::State& state) {
  SelectFloor(state, "sharemsg.db", "roamsharemsgtable", kGroups * kShareGroupSize);
}

BENCHMARK(BM_FirstLoadSystem)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FirstLoadSystemFloor)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FirstLoadShare)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FirstLoadShareFloor)->Unit(benchmark::kMicrosecond);

}  // namespace
