// Push intake: a batch delivered through pushcenter.dll into centers that are
// at their caps, so every record also evicts the oldest message of its kind,
// beside its floor: converting the same payloads to UTF-8 and parsing them
// with json-c, which no intake can avoid.
#include <benchmark/benchmark.h>
#include <json-c/json.h>

#include <memory>
#include <string>
#include <vector>

#include "benchhost.h"
#include "payloadmaker.h"
#include "platform/win32.h"
#include "support/testenv.h"

namespace {

const uint32_t kGroups = 50;
const uint32_t kPoolSize = 100;  // records whose sizes span the whole payload range

BenchHost& FullHost() {
  BenchHost& host = BenchHost::Shared();
  static const bool filled = [&host] {
    if (!host.Ready()) return false;
    host.FillToCaps();
    // One record more of each kind: the first evictions load
    // localdatabase.dll and make the share storage; measured is what follows.
    host.Fill(PayloadMaker::kDynamic, 1, 1, 1);
    host.Fill(PayloadMaker::kShare, 1, 1, 1);
    host.Fill(PayloadMaker::kSystem, 1, 1, 1);
    return true;
  }();
  (void)filled;
  return host;
}

// kPoolSize records cut into batches of `size`; record i is for application
// 1 + i % 50, so successive batches walk over every group.
std::vector<std::vector<PushRecord>> Batches(PayloadMaker::Kind kind, uint32_t size) {
  std::vector<PushRecord> pool = PayloadMaker::Batch(kind, 1, kGroups, kPoolSize, 1000);
  std::vector<std::vector<PushRecord>> batches;
  for (uint32_t at = 0; at + size <= kPoolSize; at += size) {
    batches.emplace_back(pool.begin() + at, pool.begin() + at + size);
  }
  return batches;
}

int64_t PayloadBytes(const std::vector<std::vector<PushRecord>>& batches, int64_t iterations) {
  int64_t total = 0;
  for (const auto& batch : batches) {
    for (const PushRecord& record : batch) total += int64_t(PayloadMaker::PayloadBytes(record));
  }
  return total * iterations / int64_t(batches.size());
}

// The center's size after the run: anything but its cap means records were
// dropped or evictions failed, and the figures would not be what they claim.
bool AtCap(BenchHost& host, PayloadMaker::Kind kind) {
  return host.Api().PushGetMsgCountByType(kind) == kGroups;
}

// The measured call alone, kept out of line so that a profiler can select it
// by name (valgrind --toggle-collect='*DeliverMeasured*').
__attribute__((noinline)) uint32_t DeliverMeasured(BenchHost& host, std::vector<PushRecord>& batch) {
  return host.Deliver(batch);
}

void BM_Intake(benchmark::State& state, PayloadMaker::Kind kind) {
  BenchHost& host = FullHost();
  if (!host.Ready()) return state.SkipWithError(host.Problem().c_str());
  auto batches = Batches(kind, uint32_t(state.range(0)));
  size_t next = 0;
  int64_t undelivered = 0;
  for (auto _ : state) {
    std::vector<PushRecord>& batch = batches[next++ % batches.size()];
    if (DeliverMeasured(host, batch) != 1) ++undelivered;
  }
  if (undelivered != 0) return state.SkipWithError("a batch reached no callback");
  if (!AtCap(host, kind)) return state.SkipWithError("the center is not at its cap");
  state.SetItemsProcessed(state.iterations() * state.range(0));
  state.SetBytesProcessed(PayloadBytes(batches, state.iterations()));
}

// What WideToUtf8 and the JSON access rule need at the least: the size query,
// the conversion into a zeroed buffer, one parse and the release.
bool ConvertAndParse(const PushRecord& record) {
  const WCHAR* wide = reinterpret_cast<const WCHAR*>(record.payload);
  const int size = WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
  if (size <= 0) return false;
  std::unique_ptr<char[]> utf8(new char[size_t(size)]());
  WideCharToMultiByte(CP_UTF8, 0, wide, -1, utf8.get(), size, nullptr, nullptr);
  json_object* root = json_tokener_parse(utf8.get());
  if (root == nullptr) return false;
  json_object_put(root);
  return true;
}

void BM_IntakeFloor(benchmark::State& state, PayloadMaker::Kind kind) {
  auto batches = Batches(kind, uint32_t(state.range(0)));
  size_t next = 0;
  int64_t failed = 0;
  for (auto _ : state) {
    for (const PushRecord& record : batches[next++ % batches.size()]) {
      if (!ConvertAndParse(record)) ++failed;
    }
  }
  if (failed != 0) return state.SkipWithError("a payload did not parse");
  state.SetItemsProcessed(state.iterations() * state.range(0));
  state.SetBytesProcessed(PayloadBytes(batches, state.iterations()));
}

// The acceptance rule's calls into setting.dll and hyappinfo.dll for the same
// records, alone: how much of the intake is spent in the modules.
struct ModuleCalls {
  decltype(&::stGetRoamBoolean) getBoolean = nullptr;
  decltype(&::stGetRoamNumber) getNumber = nullptr;
  decltype(&::stGetAppRoamBoolean) getAppBoolean = nullptr;
  decltype(&::HXCheckAppInstalled) installed = nullptr;
  decltype(&::HXQueryAppInfo) query = nullptr;

  ModuleCalls() {
    HMODULE setting = LoadLibraryW(testenv::ModulePath("setting.dll").c_str());
    HMODULE appinfo = LoadLibraryW(testenv::ModulePath("hyappinfo.dll").c_str());
    Bind(setting, "stGetRoamBoolean", getBoolean);
    Bind(setting, "stGetRoamNumber", getNumber);
    Bind(setting, "stGetAppRoamBoolean", getAppBoolean);
    Bind(appinfo, "HXCheckAppInstalled", installed);
    Bind(appinfo, "HXQueryAppInfo", query);
  }
  bool Ok() const { return getBoolean && getNumber && getAppBoolean && installed && query; }

  template <class Fn>
  static void Bind(HMODULE module, const char* name, Fn& slot) {
    FARPROC proc = module != nullptr ? GetProcAddress(module, name) : nullptr;
    slot = reinterpret_cast<Fn>(reinterpret_cast<void*>(proc));
  }

  // The calls the library makes for one accepted record of this kind.
  bool Accept(const PushRecord& record) const {
    if (record.kind == PayloadMaker::kShare) return getBoolean(10);
    if (record.kind == PayloadMaker::kSystem) return getBoolean(9);
    const uint32_t policy = getNumber(11);
    if (policy == 0 || (policy == 2 && getAppBoolean(record.appId, 6))) return false;
    if (!installed(record.appId)) return false;
    char* needPush = nullptr;
    const bool answered = query(record.appId, "needPush", &needPush) != 0 && needPush != nullptr;
    const bool wanted = answered && needPush[0] == '1';
    delete[] needPush;
    return wanted;
  }
};

void BM_IntakeModuleCalls(benchmark::State& state, PayloadMaker::Kind kind) {
  BenchHost& host = FullHost();  // the settings and applications it set up
  if (!host.Ready()) return state.SkipWithError(host.Problem().c_str());
  static const ModuleCalls calls;
  if (!calls.Ok()) return state.SkipWithError("setting.dll or hyappinfo.dll not bound");
  auto batches = Batches(kind, uint32_t(state.range(0)));
  size_t next = 0;
  int64_t refused = 0;
  for (auto _ : state) {
    for (const PushRecord& record : batches[next++ % batches.size()]) {
      if (!calls.Accept(record)) ++refused;
    }
  }
  if (refused != 0) return state.SkipWithError("a record was refused");
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

#define PCW_INTAKE(fn)                                              \
  BENCHMARK_CAPTURE(fn, dynamic, PayloadMaker::kDynamic)->Arg(1)->Arg(10)->Arg(100); \
  BENCHMARK_CAPTURE(fn, share, PayloadMaker::kShare)->Arg(1)->Arg(10)->Arg(100);     \
  BENCHMARK_CAPTURE(fn, system, PayloadMaker::kSystem)->Arg(1)->Arg(10)->Arg(100)

PCW_INTAKE(BM_Intake);
PCW_INTAKE(BM_IntakeFloor);
PCW_INTAKE(BM_IntakeModuleCalls);

}  // namespace
