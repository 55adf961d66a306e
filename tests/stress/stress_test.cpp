// The library as a real host runs it: three threads at once, playing the push
// center service, the host (every export, restarts, a callback that calls
// back) and the install module. Afterwards, alone again, the counts must agree
// with the listings, every message marked read and still held must be in its
// database, and the next session may load nothing that was not held. Under
// the tsan preset any data race fails it.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <set>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "conformance/listings.h"
#include "support/each.h"
#include "support/ownshares.h"
#include "support/startedhost.h"

using libraryhost::LibraryHost;
using libraryhost::MakeRecord;
using namespace listings;

namespace {

const uint32_t kRounds = 1000;
const auto kTimeLimit = std::chrono::seconds(3);
const uint32_t kInstalledApps[] = {11, 12, 13};
const uint32_t kComingApps[] = {21, 22};  // installed and removed while pushes arrive

std::atomic<uint32_t> callbacksSeen{0};

void HALYX_CDECL CountCommand(const PushCommand*, uintptr_t) { ++callbacksSeen; }

// Asks the library again from inside its own notification, on whatever thread
// caused it: the lock is recursive.
void HALYX_CDECL ReenterOnCommand(const PushCommand*, uintptr_t userData) {
  reinterpret_cast<LibraryHost*>(userData)->api.PushGetAllUnreadMsgCount();
}

std::vector<PushRecord> Batch(uint32_t round) {
  const uint32_t id = round * 8;
  const uint32_t time = 1000 + round;
  const uint32_t app = round % 2 ? kInstalledApps[round % 3] : kComingApps[round % 2];
  const PushRecord dynamic = Dynamic(app, id + 2, time, std::to_string(round));
  const PushRecord share = Share(5 + round % 3, 1 + round % 2, id + 3, time);
  const PushRecord system = System(id + 1, time);
  return {dynamic, dynamic, share, share, system, system,  // each message twice
          MakeRecord(4, kInstalledApps[round % 3], 0, 0, R"({"Num":)" + std::to_string(round % 4) + "}"),
          MakeRecord(3, 0, id + 5, time, R"({"TITLE": broken)"), MakeRecord(1, 0, id + 6, time, "")};
}

// Messages as the host names them: system ids, and dynamic (app, id).
struct Messages {
  std::set<uint32_t> system;
  std::set<std::pair<uint32_t, uint32_t>> dynamic;
};

// The host's side of one round; `round` picks what it does.
void HostRound(LibraryHost& host, uint32_t round, Messages& marked) {
  auto& api = host.api;
  for (const DynamicMsgGroupInfo& group : DynamicListing(host, round % 2 == 0)) {
    if (round % 5 != 0) break;
    // What was listed is marked, and perhaps a message pushed meanwhile.
    api.PushUpdateDynamicMsgReadState(group.appId, 0, true);
    for (uint32_t m = 0; m < group.msgCount; ++m) marked.dynamic.insert({group.appId, group.msgs[m].msgId});
  }
  {
    const auto system = SystemListing(host);
    for (uint32_t at : {0u, system.count > 0 ? round % system.count : 0u}) {
      if (at < system.count && api.PushUpdateSystemMsgReadState(system[at].msgId, 1) != 0) {
        marked.system.insert(system[at].msgId);
      }
    }
    if (system.count > 1 && round % 7 == 0) api.PushDeleteSystemMsg(system[1].msgId, system[1].pushTime);
  }
  const auto shares = ShareListing(host);
  if (shares.count > 0 && round % 3 == 0) {
    api.PushUpdateShareMsgReadState(shares[0].appId, shares[0].shareType, 0, 0xFFFFFFFFu);
  }
  OwnShareListing(host);
  api.PushGetUnreadDynamicMsgCountForApp(kInstalledApps[round % 3]);
  switch (round % 40) {
    case 9: api.PushClearMsg(1 + round / 40 % 3); break;
    case 19: api.PushShieldDynamicMsgForApp(kInstalledApps[2], 0); break;
    case 29: api.PushDeleteDynamicMsg(kInstalledApps[round % 3], 0); break;
    case 39: api.AddMyShareMsg(OwnShares(8, 1, {1000 + round}).Get()); break;
    case 20:  // a restart: both modules lose and regain the library's callbacks
      host.Stop();
      host.Start();
      api.AddPushCommandCallback(&ReenterOnCommand, reinterpret_cast<uintptr_t>(&host), 0,
                                 0xFFFFFFFFu, 0xFFFFFFFFu);
      break;
    default: break;
  }
  if (round % 4 == 0) {
    api.AddPushCommandCallback(&CountCommand, 0, 0, 0xFFFFFFFFu, 0xFFFFFFFFu);
  } else if (round % 4 == 2) {
    api.RemovePushCommandCallback(&CountCommand);
  }
}

// Every message held; the counts are checked against the listings on the way.
Messages Held(LibraryHost& host) {
  auto& api = host.api;
  Messages held;
  const Ids system = SystemIds(host);
  held.system.insert(system.begin(), system.end());
  const auto dynamic = DynamicListing(host);
  for (const DynamicMsgGroupInfo& group : dynamic) {
    for (uint32_t m = 0; m < group.msgCount; ++m) held.dynamic.insert({group.appId, group.msgs[m].msgId});
  }
  EXPECT_EQ((Values{dynamic.count, ShareListing(host).count, uint32_t(system.size()), OwnShareListing(host).count}),
            (Values{api.PushGetMsgCountByType(1), api.PushGetMsgCountByType(2), api.PushGetMsgCountByType(3),
                    api.PushGetMsgCountByType(4)}))
      << "the counts of each kind and their listings";
  const Values unread{api.PushGetAllUnreadDynamicMsgCount(), api.PushGetAllUnreadShareMsgNum(),
                      api.PushGetNewSystemMsgNum()};
  EXPECT_EQ(unread, (Values{api.PushGetUnreadCountByType(1), api.PushGetUnreadCountByType(2),
                            api.PushGetUnreadCountByType(3)}));
  EXPECT_EQ(api.PushGetAllUnreadMsgCount(), unread[0] + unread[1] + unread[2]);
  return held;
}

// Every element of `part` is in `whole`.
#define PCW_EXPECT_WITHIN(part, whole, what) \
  EXPECT_TRUE(std::includes(whole.begin(), whole.end(), part.begin(), part.end())) << what << ": " << testing::PrintToString(part)

}  // namespace

TEST_F(StartedHost, ThreeThreadsAtOnceLeaveCountsListingsAndDatabasesInAgreement) {
  for (uint32_t app : kInstalledApps) host.MarkInstalled(app);
  ASSERT_TRUE(host.api.AddPushCommandCallback(&ReenterOnCommand, reinterpret_cast<uintptr_t>(&host),
                                              0, 0xFFFFFFFFu, 0xFFFFFFFFu));
  // The host's rounds and the deadline bound the run.
  const auto deadline = std::chrono::steady_clock::now() + kTimeLimit;
  std::atomic<bool> stop{false};
  auto running = [&] { return !stop && std::chrono::steady_clock::now() < deadline; };
  std::atomic<int> rounds[3] = {{0}, {0}, {0}};

  Messages marked;
  std::thread service([&] {
    for (uint32_t round = 0; running(); ++round, ++rounds[0]) {
      host.Deliver(Batch(round));
      host.DeliverUnreadCounts({{kInstalledApps[round % 3], static_cast<uint16_t>(round % 5), 0}});
    }
  });
  std::thread install([&] {
    for (uint32_t round = 0; running(); ++round, ++rounds[1]) {
      const uint32_t app = kComingApps[round % 2];
      const bool installed = round % 3 != 2;
      host.ctl.HXSetAppInstalled(app, installed);
      host.ctl.HXSetAppInfo(app, "needPush", "1");
      host.ctl.HYNotifyAppInstallChanged(app, 0, installed);
    }
  });
  for (uint32_t round = 0; round < kRounds && running(); ++round, ++rounds[2]) {
    HostRound(host, round, marked);
  }
  stop = true;
  service.join();
  install.join();
  // So that something read is held at the end however the threads went.
  host.Deliver(Batch(kRounds + 3));  // application 12: installed, never shielded
  HostRound(host, kRounds + 5, marked);
  EXPECT_GT(rounds[0] + rounds[1] + rounds[2], 30) << "the threads hardly ran";
  EXPECT_GT(callbacksSeen.load(), 0u) << "no callback added meanwhile was ever called";

  // Alone again: the database holds what was read and held, and nothing else.
  const Messages before = Held(host);
  ASSERT_TRUE(host.Reload());
  const Messages after = Held(host);
  PCW_EXPECT_WITHIN(after.system, before.system, "a system message stored but not held");
  PCW_EXPECT_WITHIN(after.dynamic, before.dynamic, "a dynamic message stored but not held");
  Messages markedAndHeld;
  for (uint32_t id : marked.system) {
    if (before.system.count(id)) markedAndHeld.system.insert(id);
  }
  for (const auto& message : marked.dynamic) {
    if (before.dynamic.count(message)) markedAndHeld.dynamic.insert(message);
  }
  EXPECT_FALSE(markedAndHeld.system.empty() || markedAndHeld.dynamic.empty()) << "none held";
  PCW_EXPECT_WITHIN(markedAndHeld.system, after.system, "a system message marked read is not stored");
  PCW_EXPECT_WITHIN(markedAndHeld.dynamic, after.dynamic, "a dynamic message marked read is not stored");
}
