// The storages skip an eviction's deletion when it can meet no row, which
// must leave every table as the deletion would: one randomised run of every
// operation goes with every deletion made (PCW_EXACT_STORAGE=1) and with the
// shortcut, for users of its own each, and the tables are compared row by row.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "conformance/listings.h"
#include "support/testenv.h"

using libraryhost::LibraryHost;
using libraryhost::MakeRecord;
using namespace listings;

namespace {

const uint32_t kApps = 56;  // more than the 50 groups a center keeps

// Every row of every table of one user, each row as a line of text, sorted:
// the tables as sets of rows, whatever order SQLite keeps them in.
std::vector<std::string> Rows(uint32_t user) {
  const std::string folder = testenv::Join(
      testenv::Join(testenv::Join(testenv::DocumentsFolder(), "Corvane Files"), "Halyx"), std::to_string(user));
  const std::pair<const char*, const char*> tables[] = {{"dynmsg.db", "dynmsgtable"}, {"sysmsg.db", "systemmsgtable"},
      {"sharemsg.db", "roamsharemsgtable"}, {"sharemsg.db", "mysharemsgtable"}};
  std::vector<std::string> rows;
  for (const auto& [file, table] : tables) {
    sqlite3* db = nullptr;
    const std::string path = testenv::Join(folder, file);
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
      sqlite3_close(db);
      rows.push_back(std::string(file) + ": none");
      continue;
    }
    sqlite3_stmt* select = nullptr;
    if (sqlite3_prepare_v2(db, ("SELECT * FROM " + std::string(table)).c_str(), -1, &select, nullptr) == SQLITE_OK) {
      while (sqlite3_step(select) == SQLITE_ROW) {
        std::string line = table;
        for (int c = 0; c < sqlite3_column_count(select); ++c) {
          const unsigned char* text = sqlite3_column_text(select, c);
          line += "|" + std::string(text != nullptr ? reinterpret_cast<const char*>(text) : "NULL",
                                    static_cast<size_t>(sqlite3_column_bytes(select, c)));
        }
        rows.push_back(line);
      }
    }
    sqlite3_finalize(select);
    sqlite3_close(db);
  }
  std::sort(rows.begin(), rows.end());
  return rows;
}

// One run of the sequence that `seed` draws, for users first and first + 1.
void RunSequence(uint32_t seed, bool exact, uint32_t firstUser) {
  testenv::SetVariable("PCW_EXACT_STORAGE", exact ? "1" : nullptr);
  std::mt19937 random(seed);
  auto draw = [&random](uint32_t n) { return static_cast<uint32_t>(random() % n); };
  uint32_t user = firstUser;
  LibraryHost host;
  ASSERT_TRUE(Started(host, user)) << host.Missing();
  for (uint32_t app = 1; app <= kApps; ++app) host.MarkInstalled(app);

  uint32_t nextId = 1, now = 1000;
  std::vector<PushRecord> sent;  // pushed again now and then, as a service redelivers
  auto some = [&]() -> const PushRecord& { return sent[draw(static_cast<uint32_t>(sent.size()))]; };
  for (int step = 0; step < 600; ++step) {
    const uint32_t app = 1 + draw(kApps);
    now += draw(3);  // equal times happen
    const uint32_t time = draw(8) == 0 ? now - draw(200) : now;  // and late arrivals
    const uint32_t what = draw(16);
    if (what < 9) {  // batches of one to three new messages
      const uint32_t id = nextId++;
      sent.push_back(what < 3   ? Dynamic(app, id, time, std::to_string(draw(4)))
                     : what < 6 ? Share(app, int(1 + draw(2)), id, time)
                                : System(id, time));
      const size_t batch = std::min<size_t>(sent.size(), 1 + draw(3));
      host.Deliver(std::vector<PushRecord>(sent.end() - static_cast<std::ptrdiff_t>(batch), sent.end()));
    } else if (what == 9) {
      if (!sent.empty()) host.Deliver(some());
    } else if (what == 10) {
      host.api.PushUpdateDynamicMsgReadState(app, 0, false);
      host.api.PushUpdateShareMsgReadState(app, 1, 0, 0);
    } else if (what == 11 && !sent.empty()) {
      const PushRecord& record = some();
      host.api.PushUpdateSystemMsgReadState(record.msgId, draw(3) != 0);
      host.api.PushUpdateShareMsgReadState(record.appId, 2, 0, record.pushTime);
    } else if (what == 12) {
      host.api.PushUpdateReadStateByType(static_cast<int32_t>(1 + draw(3)));
    } else if (what == 13) {
      if (!sent.empty()) {
        const PushRecord& record = some();
        host.api.PushDeleteSystemMsg(record.msgId, record.pushTime);
        host.api.PushDeleteShareMsg(record.appId, record.pushTime);
      }
      host.api.PushDeleteDynamicMsg(app, 0);
    } else if (what == 14) {
      host.Deliver(MakeRecord(4, app, nextId++, time, R"({"Num":)" + std::to_string(draw(3)) + "}"));
    } else if (what == 15) {
      const uint32_t choice = draw(6);
      if (choice == 0) {
        host.api.PushClearMsg(static_cast<int32_t>(1 + draw(3)));
      } else if (choice < 3) {  // the centers keep the other user's messages until a restart
        user = user == firstUser ? firstUser + 1 : firstUser;
        host.SignIn(user);
      } else {
        ASSERT_TRUE(host.Reload());
        host.WantEverything();
      }
    }
  }
  // The other user signs in without a restart: what is read now is stored in
  // that user's tables while the centers hold what they held, and newer pushes
  // then take some of the held messages out again.
  host.SignIn(user == firstUser ? firstUser + 1 : firstUser);
  for (int32_t kind = 1; kind <= 3; ++kind) host.api.PushUpdateReadStateByType(kind);
  for (uint32_t round = 0; round < 4; ++round) {
    for (uint32_t app = 1; app <= kApps / 3; ++app) host.Deliver(Dynamic(app, nextId++, ++now));
    host.Deliver(System(nextId++, ++now));
  }
}

}  // namespace

TEST(StorageShortcut, LeavesEveryTableAsTheDeletionsWould) {
  auto releaseIdle = testenv::ModuleFunction<uint32_t(HALYX_CDECL*)()>("localdatabase.dll", "LocalDatabaseReleaseIdle");
  ASSERT_NE(releaseIdle, nullptr);
  for (uint32_t seed : {1u, 2u, 3u}) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    const uint32_t exactUser = 9000 + seed * 10, shortUser = 9500 + seed * 10;
    RunSequence(seed, true, exactUser);
    RunSequence(seed, false, shortUser);
    releaseIdle();
    for (uint32_t n = 0; n < 2; ++n) {
      const std::vector<std::string> exact = Rows(exactUser + n);
      ASSERT_GT(exact.size(), 10u) << "a run that stored next to nothing proves nothing";
      EXPECT_EQ(Rows(shortUser + n), exact) << "user " << n;
    }
  }
  testenv::SetVariable("PCW_EXACT_STORAGE", nullptr);
}
