// What a host sees when the modules around the library fail: an entry missing
// from a module's table, a database slot that starts failing, a damaged file.
// The library must keep its memory work going, never crash, leave no handle
// or registration behind, and keep its files readable once the module is
// whole. (A missing module gives the same null entries.)
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "conformance/listings.h"
#include "halyx/localdatabase.h"
#include "support/testenv.h"

namespace fs = std::filesystem;

using libraryhost::LibraryHost;
using namespace listings;

namespace {

const uint32_t kApp = 11;
const uint32_t kShareApp = 5;

// What one session with the fault did, and what a later session with every
// module whole found of it, by name.
using Outcome = std::map<std::string, uint32_t>;

// A session with every module whole. Two system messages and one message of
// each other kind arrive; the unread counts raise the dynamic count to 3; both
// system messages are marked read and one is deleted; one read report per
// mark reaches the push center; what was read is there for the next session.
Outcome Whole() {
  return {{"delivered", 1}, {"countsDelivered", 1},                  // callbacks that batch and counts reached
          {"systemHeld", 2}, {"dynamicUnread", 3}, {"shareUnread", 1},  // in memory after the batch
          {"systemRead", 2}, {"dynamicRead", 1}, {"shareRead", 1},      // results of the read marks
          {"reports", 4}, {"systemAfterDelete", 1},  // read reports the push center received; held after a delete
          {"cleared", 0}, {"leftRegistered", 0},     // PushClearMsg emptied memory; callbacks left after shut-down
          {"handlesLeft", 0}, {"userZeroFolder", 0},  // handles left after unload; "sharemsg.db" for user 0
          {"systemStored", 1}, {"dynamicStored", 1}, {"shareStored", 1},  // listed by the later session
          {"laterWrite", 1}};  // the later session marked a new message read
}

// The dynamic and system storages do not open: their read marks change
// nothing and store nothing; the share center keeps its marks in memory.
const Outcome kNoDatabase = {{"systemRead", 0}, {"dynamicRead", 0}, {"reports", 1},
                             {"systemStored", 0}, {"dynamicStored", 0}, {"shareStored", 0}};

// A whole session's outcome with the given fields changed.
Outcome WholeBut(const Outcome& changes) {
  Outcome o = Whole();
  for (const auto& [name, value] : changes) o.at(name) = value;
  return o;
}

// How a fault comes and goes around a session.
struct Fault {
  std::function<void()> beforeLoad;             // the library fills its tables once per load
  std::function<void()> afterStart;
  std::function<void()> repair;                 // after the session's host is gone
  bool clear = false;                           // end the session with PushClearMsg
};

fs::path UserZeroFolder() {
  return fs::u8path(testenv::DocumentsFolder()) / "Corvane Files" / "Halyx" / "0";
}

// A control function of a stand-in module, by its declared name.
#define PCW_CONTROL(module, name) testenv::ModuleFunction<decltype(&::name)>(module, #name)

Outcome RunSession(const Fault& fault, uint32_t user) {
  static auto forget = PCW_CONTROL("pushcenter.dll", PushCenterForgetCallbacks);
  static auto handles = PCW_CONTROL("localdatabase.dll", LocalDatabaseOpenHandles);
  static auto releaseIdle = PCW_CONTROL("localdatabase.dll", LocalDatabaseReleaseIdle);
  EXPECT_TRUE(forget && handles && releaseIdle);
  Outcome seen;
  for (const auto& field : Whole()) seen[field.first] = 0;
  std::error_code ignored;
  releaseIdle();  // a kept connection holds the file open, which Windows cannot remove
  fs::remove_all(UserZeroFolder(), ignored);
  const uint32_t handlesBefore = handles();
  {
    if (fault.beforeLoad) fault.beforeLoad();
    LibraryHost host;
    host.MarkInstalled(kApp);
    EXPECT_TRUE(Started(host, user)) << host.Missing();  // a failing module never fails the start
    if (fault.afterStart) fault.afterStart();
    seen["delivered"] =
        host.Deliver({System(1, 100), System(2, 200), Dynamic(kApp, 3, 300, "2"), Share(kShareApp, 1, 4, 400)});
    seen["countsDelivered"] = host.DeliverUnreadCounts({AppUnreadCount{kApp, 3, 0}});
    SystemListing(host);  // the first listings load what is stored
    ShareListing(host);
    seen["systemHeld"] = host.api.PushGetMsgCountByType(3);
    seen["dynamicUnread"] = host.api.PushGetAllUnreadDynamicMsgCount();
    seen["shareUnread"] = host.api.PushGetAllUnreadShareMsgNum();

    auto reports = [&host] { return host.ctl.PushCenterReadReports(1) + host.ctl.PushCenterReadReports(2) +
                                    host.ctl.PushCenterReadReports(3); };
    const uint32_t reportsBefore = reports();
    // Both system messages read, one of them deleted again: a deletion that
    // does not reach the database shows as a message listed later.
    seen["systemRead"] = host.api.PushUpdateSystemMsgReadState(1, 1) + host.api.PushUpdateSystemMsgReadState(2, 1);
    seen["dynamicRead"] = host.api.PushUpdateDynamicMsgReadState(kApp, 0, true);
    seen["shareRead"] = host.api.PushUpdateShareMsgReadState(kShareApp, 1, 0, 0);
    seen["reports"] = reports() - reportsBefore;
    host.api.PushDeleteSystemMsg(2, 200);
    seen["systemAfterDelete"] = host.api.PushGetMsgCountByType(3);
    if (fault.clear) {
      host.api.PushDeleteDynamicMsg(kApp, 0);
      host.api.PushClearMsg(2);
      host.api.PushClearMsg(3);
      seen["cleared"] = host.api.PushGetAllUnreadMsgCount() == 0 && host.api.PushGetMsgCountByType(3) == 0 &&
                     host.api.PushGetMsgCountByType(1) == 0;
    }
    EXPECT_TRUE(host.Stop());
    seen["leftRegistered"] = forget();
  }
  seen["handlesLeft"] = handles() != handlesBefore;
  if (fault.repair) fault.repair();
  seen["userZeroFolder"] = fs::exists(UserZeroFolder() / "sharemsg.db", ignored);

  LibraryHost later;
  EXPECT_TRUE(Started(later, user));
  seen["systemStored"] = SystemListing(later).count;
  seen["dynamicStored"] = DynamicListing(later).count;
  seen["shareStored"] = ShareListing(later).count;
  later.Deliver(System(9, 900));
  seen["laterWrite"] = later.api.PushUpdateSystemMsgReadState(9, 1);
  return seen;
}

// A case names the entry left out and what differs from a whole session.
struct Case {
  uint32_t entry;
  Outcome differs;
};

void RunOmitted(const char* module, const char* control, const std::vector<Case>& cases, uint32_t firstUser) {
  using OmitFn = bool(HALYX_CDECL*)(uint32_t entry, bool omit);
  OmitFn omit = testenv::ModuleFunction<OmitFn>(module, control);
  ASSERT_NE(omit, nullptr);
  EXPECT_FALSE(omit(1000, true));  // an entry beyond the table
  uint32_t user = firstUser;
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(module) + " entry " + std::to_string(c.entry));
    Fault fault;
    fault.beforeLoad = [&] { EXPECT_TRUE(omit(c.entry, true)); };
    fault.repair = [&] { EXPECT_TRUE(omit(c.entry, false)); };
    EXPECT_EQ(RunSession(fault, ++user), WholeBut(c.differs));  // a database of its own
  }
}

}  // namespace

// Entry 0 of every table is one that the library never calls: the control row.
// A callback that cannot be unregistered stays with the service (6, 8).
TEST(Faults, PushCenterEntriesMissing) {
  RunOmitted("pushcenter.dll", "PushCenterOmitEntry",
             {{0, {}}, {6, {{"leftRegistered", 1}}}, {8, {{"leftRegistered", 1}}},
              {5, {{"delivered", 0}, {"systemHeld", 0}, {"dynamicUnread", 0}, {"shareUnread", 0}, {"systemRead", 0},
                   {"dynamicRead", 0}, {"shareRead", 0}, {"reports", 0}, {"systemAfterDelete", 0},
                   {"systemStored", 0}, {"dynamicStored", 0}, {"shareStored", 0}}},  // nothing arrives
              {7, {{"countsDelivered", 0}, {"dynamicUnread", 2}}},
              {10, {{"reports", 0}}}},  // the marks work; only their reports are dropped
             8100);
}

// No user (status 9): no storage opens. The engine asks the status service,
// so it knows no user either; the shares go to no folder of user number 0
// (engine 6). Rows written without a "UIN" belong to nobody and never load
// (30). Nothing decodes during the session; the rows stay intact (31).
TEST(Faults, StatusAndEngineEntriesMissing) {
  RunOmitted("statusservice.dll", "HalyxStatusOmitEntry", {{0, {}}, {9, kNoDatabase}}, 8200);
  RunOmitted("coreserviceengine.dll", "HalyxEngineOmitEntry",
             {{0, {}}, {6, {{"shareStored", 0}}}, {30, {{"shareStored", 0}}}, {31, {}}}, 8300);
}

// Whole sessions: the table's control row (5); a table closes with its
// database (4); a fresh database has every column, so the migrations are not
// needed (7); an abandoned transaction is committed when the database closes
// (9); reads fail in the session only, the next one loads (11-22); the number
// and text setters (34, 36). Storages whose database or tables do not open
// keep no handle (0, 2, 3). Rows posted without their leading fields (33,
// 37): the share rows lack their "UIN"; the system rows lack the numbers the
// deletion looks for, and, alike in those numbers, load as one message.
TEST(Faults, LocalDatabaseSlotsMissing) {
  std::vector<Case> cases = {{1, {{"handlesLeft", 1}}}, {23, {{"systemStored", 2}}}};
  for (uint32_t slot : {5, 4, 7, 9, 11, 12, 18, 19, 21, 22, 34, 36}) cases.push_back({slot, {}});
  for (uint32_t slot : {0, 2, 3}) cases.push_back({slot, kNoDatabase});
  for (uint32_t slot : {8, 24, 26}) cases.push_back({slot, {{"systemStored", 0}, {"dynamicStored", 0}, {"shareStored", 0}}});
  for (uint32_t slot : {33, 37}) cases.push_back({slot, {{"shareStored", 0}}});
  RunOmitted("localdatabase.dll", "LocalDatabaseOmitSlot", cases, 8400);
}

// A slot that starts failing part-way: what is held in memory, deletions and
// clears do not depend on the database; read marks do once it cannot open.
TEST(Faults, DatabaseSlotFailuresKeepMemoryWorkingAndLeaveNothingOpen) {
  auto failAfter = PCW_CONTROL("localdatabase.dll", LocalDatabaseFailAfter);
  ASSERT_NE(failAfter, nullptr);
  // Slot numbers of the database's table, with how many calls pass first.
  const std::pair<uint32_t, int32_t> cases[] = {
      {0, 0},  {3, 0},  {2, 0},  {8, 0},  {9, 0},  {11, 0}, {12, 0}, {18, 0}, {21, 0}, {22, 0},
      {23, 0}, {24, 0}, {26, 0}, {33, 0}, {34, 0}, {36, 0}, {37, 0}, {0, 1},  {26, 1}, {12, 3}};
  uint32_t user = 7300;
  for (const auto& c : cases) {
    SCOPED_TRACE("slot " + std::to_string(c.first) + " after " + std::to_string(c.second));
    Fault fault;
    fault.afterStart = [&] { ASSERT_TRUE(failAfter(c.first, c.second)); };
    fault.repair = [&] { failAfter(c.first, -1); };
    fault.clear = true;
    Outcome seen = RunSession(fault, ++user);
    if (c.second == 0 && (c.first == 0 || c.first == 3)) {
      EXPECT_EQ(seen["systemRead"] + seen["dynamicRead"], 0u);
    }
    // A storage closes whatever it opened, also after a failed step, and the
    // files it leaves behind still open and take writes.
    for (const char* same : {"systemHeld", "dynamicUnread", "shareUnread", "systemAfterDelete", "handlesLeft",
                             "laterWrite"}) {
      EXPECT_EQ(seen[same], Whole()[same]) << same;
    }
    EXPECT_EQ(seen["cleared"], 1u);
  }
}

// A database file is input too: a disk cuts a file short, a user copies
// something else over it, a folder takes its name. With all three files of
// the user damaged in one way the library answers as it does when no
// database opens, keeps nothing open, and the next session, with the damage
// removed, starts afresh.
TEST(Faults, DamagedDatabaseFilesAnswerAsDatabasesThatDoNotOpen) {
  static auto releaseIdle = PCW_CONTROL("localdatabase.dll", LocalDatabaseReleaseIdle);
  const uint32_t source = 8500;  // whose whole session leaves real files to cut
  EXPECT_EQ(RunSession(Fault{}, source), Whole());
  releaseIdle();
  const fs::path halyx = fs::u8path(testenv::DocumentsFolder()) / "Corvane Files" / "Halyx";
  const char* const files[] = {"dynmsg.db", "sysmsg.db", "sharemsg.db"};
  auto cutAt = [&](uintmax_t length) {
    return [&halyx, length](const char* file, const fs::path& path) {
      fs::copy_file(halyx / std::to_string(source) / file, path);
      fs::resize_file(path, length);
    };
  };
  auto writeText = [](const std::string& text) {
    return [text](const char*, const fs::path& path) { std::ofstream(path, std::ios::binary) << text; };
  };
  const std::pair<const char*, std::function<void(const char*, const fs::path&)>> damages[] = {
      {"cut in its header", cutAt(40)},
      {"cut after its first page", cutAt(4096)},
      {"the header of a database and nothing else", writeText(std::string("SQLite format 3", 16))},
      {"not a database", writeText(std::string(3000, 'x'))},
      {"a folder", [](const char*, const fs::path& path) { fs::create_directories(path / "x"); }}};
  uint32_t user = 8510;
  for (const auto& damage : damages) {
    SCOPED_TRACE(damage.first);
    const fs::path folder = halyx / std::to_string(++user);
    Fault fault;
    fault.beforeLoad = [&] {
      fs::create_directories(folder);
      for (const char* file : files) damage.second(file, folder / file);
    };
    fault.repair = [&] {
      releaseIdle();
      for (const char* file : files) fs::remove_all(folder / file);
    };
    EXPECT_EQ(RunSession(fault, user), WholeBut(kNoDatabase));
  }
}
