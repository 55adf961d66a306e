// What a host sees when a module's table lacks an entry that the library
// uses: every such entry of the four run-time modules' tables, one at a time.
// The library must skip the call or count it as failed, keep its memory work
// going, never crash, leave no handle or registration behind that it could
// have released, and keep the files it writes readable once the entry is back.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "halyx/coreserviceengine.h"
#include "halyx/localdatabase.h"
#include "support/libraryhost.h"
#include "support/testenv.h"

using libraryhost::LibraryHost;
using libraryhost::MakeRecord;

namespace fs = std::filesystem;

namespace {

const uint32_t kApp = 11;
const uint32_t kShareApp = 5;

// A module's control function that leaves an entry out of the tables it
// fills from then on.
using OmitFn = bool(HALYX_CDECL*)(uint32_t entry, bool omit);

// What one session with the entry missing did, and what a later session with
// every entry back found of it.
struct Outcome {
  uint32_t delivered;                               // callbacks that a batch reached
  uint32_t countsDelivered;                         // callbacks that unread counts reached
  uint32_t systemHeld, dynamicUnread, shareUnread;  // in memory after the batch
  uint32_t systemRead, dynamicRead, shareRead;      // results of the read marks
  uint32_t reports;                                 // read reports the push center received
  uint32_t systemAfterDelete;
  uint32_t leftRegistered;  // push center callbacks left after shut-down
  bool handlesLeft;         // database or table handles left open after unload
  uint32_t systemStored, dynamicStored,
      shareStored;      // groups or messages listed later
  bool userZeroFolder;  // "sharemsg.db" went to the folder of user number 0
};

std::string Describe(const Outcome& o) {
  const std::pair<const char*, uint32_t> fields[] = {{"delivered", o.delivered},
                                                     {"counts", o.countsDelivered},
                                                     {"systemHeld", o.systemHeld},
                                                     {"dynamicUnread", o.dynamicUnread},
                                                     {"shareUnread", o.shareUnread},
                                                     {"systemRead", o.systemRead},
                                                     {"dynamicRead", o.dynamicRead},
                                                     {"shareRead", o.shareRead},
                                                     {"reports", o.reports},
                                                     {"systemAfterDelete", o.systemAfterDelete},
                                                     {"leftRegistered", o.leftRegistered},
                                                     {"handlesLeft", o.handlesLeft},
                                                     {"systemStored", o.systemStored},
                                                     {"dynamicStored", o.dynamicStored},
                                                     {"shareStored", o.shareStored},
                                                     {"userZeroFolder", o.userZeroFolder}};
  std::string text;
  for (const auto& field : fields)
    text += std::string(field.first) + "=" + std::to_string(field.second) + " ";
  return text;
}

uint32_t AllReports(LibraryHost& host) {
  return host.ctl.PushCenterReadReports(1) + host.ctl.PushCenterReadReports(2) +
         host.ctl.PushCenterReadReports(3);
}

// The data folder of user number 0, where nobody's messages belong.
fs::path UserZeroFolder() {
  return fs::u8path(testenv::DocumentsFolder()) / "Corvane Files" / "Halyx" / "0";
}

// Runs a session of a host with one entry left out of its module's tables,
// then a second session with every entry back, both as the same user.
Outcome Run(OmitFn omit, uint32_t entry, uint32_t user) {
  static auto forget = testenv::ModuleFunction<decltype(&::PushCenterForgetCallbacks)>(
      "pushcenter.dll", "PushCenterForgetCallbacks");
  static auto handles = testenv::ModuleFunction<decltype(&::LocalDatabaseOpenHandles)>(
      "localdatabase.dll", "LocalDatabaseOpenHandles");
  static auto releaseIdle = testenv::ModuleFunction<decltype(&::LocalDatabaseReleaseIdle)>(
      "localdatabase.dll", "LocalDatabaseReleaseIdle");
  Outcome seen{};
  std::error_code ignored;
  releaseIdle();  // a kept connection holds the file open, which Windows cannot remove
  fs::remove_all(UserZeroFolder(), ignored);
  EXPECT_FALSE(fs::exists(UserZeroFolder(), ignored));
  const uint32_t handlesBefore = handles();
  {
    // Left out before the library is loaded: it fills its tables once per load.
    EXPECT_TRUE(omit(entry, true));
    LibraryHost host;
    EXPECT_TRUE(host.Loaded()) << host.Missing();
    host.SignIn(user);
    host.WantEverything();
    host.MarkInstalled(kApp);
    EXPECT_TRUE(host.Start());  // a missing entry never fails the start
    seen.delivered = host.Deliver(
        {MakeRecord(3, 0, 1, 100, R"({"TITLE":"one"})"),
         MakeRecord(3, 0, 2, 200, R"({"TITLE":"two"})"),
         MakeRecord(1, kApp, 3, 300, R"({"TITLE":"d","NUM":2})"),
         MakeRecord(2, kShareApp, 4, 400, R"({"DSTAPPID":"5","SHARETYPE":1,"MSG":"m"})")});
    seen.countsDelivered = host.DeliverUnreadCounts({AppUnreadCount{kApp, 3, 0}});
    SystemMsgInfo* msgs = nullptr;
    host.api.PushGetSystemMsg(0, &msgs, false);
    host.api.PushFreeSystemMsgList(msgs);
    ShareMsgGroupInfo* shares = nullptr;
    host.api.PushGetShareMsg(0, 0, &shares, false);
    host.api.PushFreeShareMsgGroupList(shares);
    seen.systemHeld = host.api.PushGetMsgCountByType(3);
    seen.dynamicUnread = host.api.PushGetAllUnreadDynamicMsgCount();
    seen.shareUnread = host.api.PushGetAllUnreadShareMsgNum();

    const uint32_t reportsBefore = AllReports(host);
    // Both system messages read, one of them deleted again: a deletion that
    // does not reach the database shows as a message listed later.
    seen.systemRead =
        host.api.PushUpdateSystemMsgReadState(1, 1) + host.api.PushUpdateSystemMsgReadState(2, 1);
    seen.dynamicRead = host.api.PushUpdateDynamicMsgReadState(kApp, 0, true);
    seen.shareRead = host.api.PushUpdateShareMsgReadState(kShareApp, 1, 0, 0);
    seen.reports = AllReports(host) - reportsBefore;
    host.api.PushDeleteSystemMsg(2, 200);
    seen.systemAfterDelete = host.api.PushGetMsgCountByType(3);
    EXPECT_TRUE(host.Stop());
    seen.leftRegistered = forget();
  }
  seen.handlesLeft = handles() != handlesBefore;
  EXPECT_TRUE(omit(entry, false));
  seen.userZeroFolder = fs::exists(UserZeroFolder() / "sharemsg.db", ignored);

  LibraryHost later;
  later.SignIn(user);
  later.WantEverything();
  EXPECT_TRUE(later.Start());
  SystemMsgInfo* msgs = nullptr;
  seen.systemStored = later.api.PushGetSystemMsg(0, &msgs, false);
  later.api.PushFreeSystemMsgList(msgs);
  DynamicMsgGroupInfo* groups = nullptr;
  seen.dynamicStored = later.api.PushGetDynamicMsg(0, 0, &groups, false);
  later.api.PushFreeDynamicMsgGroupList(groups);
  ShareMsgGroupInfo* shares = nullptr;
  seen.shareStored = later.api.PushGetShareMsg(0, 0, &shares, false);
  later.api.PushFreeShareMsgGroupList(shares);
  return seen;
}

// A case names the entry left out and what differs from a whole session.
struct Case {
  uint32_t entry;
  void (*differs)(Outcome& want);
};

// A session with every entry there. Two system messages and one message of
// each other kind arrive; the unread counts raise the dynamic count to 3; both
// system messages are marked read and one is deleted; one read report per
// mark reaches the push center; what was read is there for the next session.
const Outcome kWhole = {1, 1, 2, 3, 1, 2, 1, 1, 4, 1, 0, false, 1, 1, 1, false};

void Same(Outcome&) {}

// The dynamic and system storages do not open: their read marks change
// nothing and store nothing; the share center keeps its marks in memory.
void NoDatabase(Outcome& o) {
  o.systemRead = o.dynamicRead = 0;
  o.reports = 1;
  o.systemStored = o.dynamicStored = o.shareStored = 0;
}

void RunCases(const char* module, const char* control, const std::vector<Case>& cases,
              uint32_t firstUser) {
  OmitFn omit = testenv::ModuleFunction<OmitFn>(module, control);
  ASSERT_NE(omit, nullptr) << control;
  EXPECT_FALSE(omit(1000, true));  // an entry beyond the table
  uint32_t user = firstUser;
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(module) + " entry " + std::to_string(c.entry));
    Outcome want = kWhole;
    c.differs(want);
    const Outcome seen = Run(omit, c.entry, ++user);  // a database of its own
    EXPECT_EQ(Describe(seen), Describe(want));
  }
}

}  // namespace

// Entry 0 of every table is one that the library never calls: the control row.
TEST(MissingEntries, PushCenterEntries) {
  RunCases("pushcenter.dll", "PushCenterOmitEntry",
           {{0, Same},
            // Never registered: nothing arrives, so there is nothing to mark.
            {5,
             [](Outcome& o) {
               o = Outcome{};
               o.countsDelivered = 1;
             }},
            // A callback that cannot be unregistered stays with the service.
            {6, [](Outcome& o) { o.leftRegistered = 1; }},
            {7,
             [](Outcome& o) {
               o.countsDelivered = 0;
               o.dynamicUnread = 2;
             }},
            {8, [](Outcome& o) { o.leftRegistered = 1; }},
            // The marks work; only their reports are dropped.
            {10, [](Outcome& o) { o.reports = 0; }}},
           8100);
}

TEST(MissingEntries, StatusServiceEntries) {
  RunCases("statusservice.dll", "HalyxStatusOmitEntry",
           {{0, Same},
            // No user: no dynamic or system storage opens. The engine asks
            // the status service, so it knows no user either, and the shares
            // go to the folder of user number 0.
            {9,
             [](Outcome& o) {
               NoDatabase(o);
               o.userZeroFolder = true;
             }}},
           8200);
}

TEST(MissingEntries, CoreServiceEngineEntries) {
  RunCases("coreserviceengine.dll", "HalyxEngineOmitEntry",
           {{0, Same},
            // The shares go to the folder of user number 0, where the user's
            // next session does not look.
            {6,
             [](Outcome& o) {
               o.shareStored = 0;
               o.userZeroFolder = true;
             }},
            // Rows written without a "UIN" belong to nobody and never load.
            {30, [](Outcome& o) { o.shareStored = 0; }},
            // Nothing decodes during the session; the rows stay intact.
            {31, Same}},
           8300);
}

TEST(MissingEntries, LocalDatabaseSlots) {
  // Rows posted without their leading fields: the share rows lack their
  // "UIN", the system rows the numbers the deletion looks for.
  auto leadingFieldMissing = [](Outcome& o) {
    o.systemStored = 2;
    o.shareStored = 0;
  };
  auto nothingStored = [](Outcome& o) { o.systemStored = o.dynamicStored = o.shareStored = 0; };
  RunCases("localdatabase.dll", "LocalDatabaseOmitSlot",
           {{5, Same},
            {0, NoDatabase},
            {1, [](Outcome& o) { o.handlesLeft = true; }},
            // Storages whose tables do not open keep no handle.
            {2, NoDatabase},
            {3, NoDatabase},
            // The database closes a table with its database.
            {4, Same},
            // A fresh database has every column: the migrations are not needed.
            {7, Same},
            {8, nothingStored},
            // The database commits an abandoned transaction when it closes.
            {9, Same},
            // Reads fail in the session only; the next one loads.
            {11, Same},
            {12, Same},
            {18, Same},
            {19, Same},
            {21, Same},
            {22, Same},
            {23, [](Outcome& o) { o.systemStored = 2; }},
            {24, nothingStored},
            {26, nothingStored},
            {33, leadingFieldMissing},
            {34, Same},
            {36, Same},
            {37, leadingFieldMissing}},
           8400);
}
