#include "benchhost.h"

#include <memory>

#include "support/testenv.h"

namespace {

std::unique_ptr<BenchHost>& SharedSlot() {
  static std::unique_ptr<BenchHost> host;
  return host;
}

}  // namespace

BenchHost& BenchHost::Shared() {
  std::unique_ptr<BenchHost>& host = SharedSlot();
  if (!host) host.reset(new BenchHost);
  return *host;
}

void BenchHost::Release() { SharedSlot().reset(); }

BenchHost::BenchHost() {
  if (!host.Loaded()) {
    problem = "not bound: " + host.Missing();
    return;
  }
  host.SignIn(kUser);
  host.WantEverything();
  for (uint32_t app = 1; app <= kApps; ++app) host.MarkInstalled(app, "1");
  if (!host.Start()) problem = "PushWrapperInit failed";
}

void BenchHost::Stamp(std::vector<PushRecord>& batch) {
  for (PushRecord& record : batch) {
    record.msgId = nextMsgId++;
    record.pushTime = nextPushTime++;
  }
}

uint32_t BenchHost::Deliver(std::vector<PushRecord>& batch) {
  Stamp(batch);
  return host.Deliver(batch);
}

void BenchHost::Fill(PayloadMaker::Kind kind, uint32_t firstApp, uint32_t groups,
                     uint32_t perGroup) {
  std::vector<PushRecord> batch =
      PayloadMaker::Batch(kind, firstApp, groups, groups * perGroup, nextPayload);
  nextPayload += groups * perGroup;
  Deliver(batch);
}

void BenchHost::FillToCaps() {
  Fill(PayloadMaker::kDynamic, 1, 50, 3);
  Fill(PayloadMaker::kShare, 1, 50, 11);
  Fill(PayloadMaker::kSystem, 1, 50, 1);
}

bool BenchHost::Reload() { return host.Reload(); }

std::string BenchHost::DatabasePath(const char* fileName) {
  return testenv::DocumentsFolder() + "/Corvane Files/Halyx/" + std::to_string(kUser) + "/" +
         fileName;
}
