// The library as a real host runs it: three threads at once. One plays the
// push center service (batches of every kind, unread counts, duplicates,
// broken records), one the host (listings and their free functions, counts,
// read marks, deletes, clears, shields, own shares, restarts, callbacks added
// and removed, one of which calls back into the library), one the install
// module (applications installed and removed, parked records replayed). Bounded by
// rounds and by time. Afterwards, alone again, the counts must agree with the
// listings, every message marked read and still held must be in its database,
// and the next session may load nothing that was not held. Run under the tsan
// preset, any data race fails it.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <set>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "support/ownshares.h"
#include "support/startedhost.h"

using libraryhost::LibraryHost;
using libraryhost::MakeRecord;

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
  const std::string n = std::to_string(round);
  const uint32_t app = round % 2 ? kInstalledApps[round % 3] : kComingApps[round % 2];
  const PushRecord dynamic =
      MakeRecord(1, app, id + 2, time, R"({"TITLE":"d)" + n + R"(","NUM":)" + n + "}");
  const PushRecord share = MakeRecord(2, 0, id + 3, time,
                                      R"({"DSTAPPID":")" + std::to_string(5 + round % 3) +
                                          R"(","SHARETYPE":)" + std::to_string(1 + round % 2) +
                                          R"(,"MSG":"m)" + n + "\"}");
  const PushRecord system = MakeRecord(3, 0, id + 1, time, R"({"TITLE":"s)" + n + "\"}");
  return {dynamic, dynamic, share, share, system, system,  // each message twice
          MakeRecord(4, kInstalledApps[round % 3], 0, 0, R"({"Num":)" + std::to_string(round % 4) + "}"),
          MakeRecord(3, 0, id + 5, time, R"({"TITLE": broken)"),
          MakeRecord(1, 0, id + 6, time, "")};
}

// Messages as the host names them: system ids, and dynamic (app, id).
struct Messages {
  std::set<uint32_t> system;
  std::set<std::pair<uint32_t, uint32_t>> dynamic;
};

// The host's side of one round; `round` picks what it does. What it marks
// read goes into `marked`.
void HostRound(LibraryHost& host, uint32_t round, Messages& marked) {
  auto& api = host.api;
  DynamicMsgGroupInfo* dynamic = nullptr;
  const uint32_t groups = api.PushGetDynamicMsg(0, 0, &dynamic, round % 2 == 0);
  for (uint32_t g = 0; g < groups && round % 5 == 0; ++g) {
    // What was listed is marked, and perhaps a message pushed meanwhile.
    api.PushUpdateDynamicMsgReadState(dynamic[g].appId, 0, true);
    for (uint32_t m = 0; m < dynamic[g].msgCount; ++m) {
      marked.dynamic.insert({dynamic[g].appId, dynamic[g].msgs[m].msgId});
    }
  }
  api.PushFreeDynamicMsgGroupList(dynamic);
  SystemMsgInfo* system = nullptr;
  const uint32_t listed = api.PushGetSystemMsg(0, &system, false);
  for (uint32_t at : {0u, listed > 0 ? round % listed : 0u}) {
    if (at < listed && api.PushUpdateSystemMsgReadState(system[at].msgId, 1) != 0) {
      marked.system.insert(system[at].msgId);
    }
  }
  if (listed > 1 && round % 7 == 0) api.PushDeleteSystemMsg(system[1].msgId, system[1].pushTime);
  api.PushFreeSystemMsgList(system);
  ShareMsgGroupInfo* shares = nullptr;
  const uint32_t shareGroups = api.PushGetShareMsg(0, 0, &shares, false);
  if (shareGroups > 0 && round % 3 == 0) {
    api.PushUpdateShareMsgReadState(shares[0].appId, shares[0].shareType, 0, 0xFFFFFFFFu);
  }
  api.PushFreeShareMsgGroupList(shares);
  MyShareMsgGroupInfo* mine = nullptr;
  api.GetMyShareMsg(0, 0, &mine);
  api.FreeMyLocalShareMsgGroupList(mine);
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

// Every message held, checking on the way that each count agrees with its
// listing.
Messages Held(LibraryHost& host) {
  Messages held;
  SystemMsgInfo* all = nullptr;
  const uint32_t count = host.api.PushGetSystemMsg(0, &all, false);
  EXPECT_EQ(count, host.api.PushGetMsgCountByType(3)) << "the system count and its listing";
  for (uint32_t i = 0; i < count; ++i) held.system.insert(all[i].msgId);
  host.api.PushFreeSystemMsgList(all);
  DynamicMsgGroupInfo* groups = nullptr;
  const uint32_t groupCount = host.api.PushGetDynamicMsg(0, 0, &groups, false);
  EXPECT_EQ(groupCount, host.api.PushGetMsgCountByType(1)) << "the dynamic count and its listing";
  for (uint32_t g = 0; g < groupCount; ++g) {
    for (uint32_t m = 0; m < groups[g].msgCount; ++m) {
      held.dynamic.insert({groups[g].appId, groups[g].msgs[m].msgId});
    }
  }
  host.api.PushFreeDynamicMsgGroupList(groups);
  ShareMsgGroupInfo* shares = nullptr;
  const uint32_t shareGroups = host.api.PushGetShareMsg(0, 0, &shares, false);
  EXPECT_EQ(shareGroups, host.api.PushGetMsgCountByType(2)) << "the share count and its listing";
  host.api.PushFreeShareMsgGroupList(shares);
  MyShareMsgGroupInfo* mine = nullptr;
  const uint32_t ownGroups = host.api.GetMyShareMsg(0, 0, &mine);
  EXPECT_EQ(ownGroups, host.api.PushGetMsgCountByType(4)) << "the own-share count and its listing";
  host.api.FreeMyLocalShareMsgGroupList(mine);
  EXPECT_EQ(host.api.PushGetAllUnreadMsgCount(), host.api.PushGetAllUnreadDynamicMsgCount() +
                                                     host.api.PushGetAllUnreadShareMsgNum() +
                                                     host.api.PushGetNewSystemMsgNum());
  return held;
}

// Every element of `part` is in `whole`.
template <class Set>
void ExpectWithin(const Set& part, const Set& whole, const char* what) {
  for (const auto& element : part) {
    EXPECT_EQ(whole.count(element), 1u) << what << ": " << testing::PrintToString(element);
  }
}

}  // namespace

TEST_F(StartedHost, ThreeThreadsAtOnceLeaveCountsListingsAndDatabasesInAgreement) {
  for (uint32_t app : kInstalledApps) host.MarkInstalled(app);
  ASSERT_TRUE(host.api.AddPushCommandCallback(&ReenterOnCommand, reinterpret_cast<uintptr_t>(&host),
                                              0, 0xFFFFFFFFu, 0xFFFFFFFFu));
  // The host's rounds bound the run, and the deadline; the other two threads
  // go on until the host is done.
  const auto deadline = std::chrono::steady_clock::now() + kTimeLimit;
  std::atomic<bool> stop{false};
  auto running = [&] { return !stop && std::chrono::steady_clock::now() < deadline; };
  std::atomic<int> rounds[3] = {{0}, {0}, {0}};

  Messages marked;
  std::thread service([&] {
    for (uint32_t round = 0; running(); ++round, ++rounds[0]) {
      host.Deliver(Batch(round));
      const AppUnreadCount counts[] = {{kInstalledApps[round % 3], static_cast<uint16_t>(round % 5), 0}};
      host.ctl.PushCenterDeliverUnreadCounts(counts, 1);
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
  // One last batch and round, so that something read is held at the end
  // however the threads went.
  host.Deliver(Batch(kRounds + 3));  // application 12: installed, never shielded
  HostRound(host, kRounds + 5, marked);
  EXPECT_GT(rounds[0] + rounds[1] + rounds[2], 30) << "the threads hardly ran";
  EXPECT_GT(callbacksSeen.load(), 0u) << "no callback added meanwhile was ever called";

  // Alone again: the counts agree with the listings; what was marked read
  // and is still held is in its database, and the database holds nothing
  // that is not held.
  const Messages before = Held(host);
  ASSERT_TRUE(host.Reload());
  const Messages after = Held(host);
  ExpectWithin(after.system, before.system, "a system message stored but not held");
  ExpectWithin(after.dynamic, before.dynamic, "a dynamic message stored but not held");
  Messages markedAndHeld;
  for (uint32_t id : marked.system) {
    if (before.system.count(id)) markedAndHeld.system.insert(id);
  }
  for (const auto& message : marked.dynamic) {
    if (before.dynamic.count(message)) markedAndHeld.dynamic.insert(message);
  }
  EXPECT_FALSE(markedAndHeld.system.empty() || markedAndHeld.dynamic.empty()) << "none held";
  ExpectWithin(markedAndHeld.system, after.system, "a system message marked read is not stored");
  ExpectWithin(markedAndHeld.dynamic, after.dynamic, "a dynamic message marked read is not stored");
}
