// A database file is input too: disks corrupt files and users copy profiles.
// Each input puts the signed-in user's three database files in place before
// the library starts: the right tables holding rows made from the input
// (oversized texts and blobs, NULLs, values of the wrong type, negative and
// huge numbers, repeated keys, thousands of rows), or raw bytes, a file cut
// short, or a folder where the file belongs. Then the library loads them,
// lists every kind, marks read, deletes and evicts through the exports, and
// is shut down and released, which closes every file again.
#include <sqlite3.h>
#include <sys/stat.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "fuzzhost.h"
#include "jsonparser.h"
#include "modules/singlton.h"
#include "platform/win32.h"
#include "pushcenterwrapper.h"

namespace fs = std::filesystem;

namespace {

using fuzzhost::CheckTexts;
using fuzzhost::Fail;

struct Input {
  const uint8_t* data;
  size_t size;
  size_t at = 0;
  uint8_t Byte() { return at < size ? data[at++] : 0; }
  uint64_t Bytes(int n) {
    uint64_t value = 0;
    for (int i = 0; i < n; ++i) value = (value << 8) | Byte();
    return value;
  }
  std::string Text(size_t length) {
    std::string text;
    while (text.size() < length && at < size) text += static_cast<char>(data[at++]);
    return text;
  }
};

struct Table {
  const char* name;
  std::vector<const char*> columns;
};

// The tables as the storages create them, the system table with its added
// columns (an older file without them is also made: the storage adds them).
const Table kDynamic = {"dynmsgtable",
                        {"appId", "msgId", "voiceIndex", "openType", "pushTime", "msgCountOnServer",
                         "buttonText", "buffer", "textHint", "title"}};
const Table kSystem = {"systemmsgtable",
                       {"title", "pictureUrl", "jumpUrl", "buttonText", "pushTime", "text", "msgId",
                        "openType", "appId", "buffer", "subType", "btnType"}};
const Table kOwnShares = {"mysharemsgtable",
                          {"UIN", "appId", "shareType", "picURL", "title", "shareTime", "buffer",
                           "textHint", "appDesc"}};
const Table kShares = {"roamsharemsgtable",
                       {"msgId", "UIN", "appId", "openType", "shareType", "picURL", "title",
                        "shareTime", "buffer", "textHint", "appDesc"}};

struct File {
  const char* name;
  std::vector<const Table*> tables;
};
const File kFiles[] = {{"dynmsg.db", {&kDynamic}},
                       {"sysmsg.db", {&kSystem}},
                       {"sharemsg.db", {&kOwnShares, &kShares}}};

std::string UserFolder() {
  return std::string(std::getenv("HOME")) + "/Documents/Corvane Files/Halyx/4242/";
}

// One value of any type, chosen by the input; answers its size in bytes.
size_t BindValue(Input& in, sqlite3_stmt* insert, int index) {
  std::string bytes;
  switch (in.Byte() % 9) {
    case 0: sqlite3_bind_null(insert, index); break;
    case 1: sqlite3_bind_int64(insert, index, static_cast<int8_t>(in.Byte())); break;
    case 2: sqlite3_bind_int64(insert, index, static_cast<int64_t>(in.Bytes(4))); break;
    case 3: sqlite3_bind_int64(insert, index, static_cast<int64_t>(in.Bytes(8))); break;
    case 4: sqlite3_bind_double(insert, index, in.Byte() & 1 ? -1e300 : in.Byte() / 7.0); break;
    case 5:  // any bytes, NULs and broken UTF-8 included
      bytes = in.Text(in.Byte());
      sqlite3_bind_text(insert, index, bytes.data(), static_cast<int>(bytes.size()), SQLITE_TRANSIENT);
      break;
    case 6:
      bytes = in.Text(in.Byte());
      sqlite3_bind_blob(insert, index, bytes.data(), static_cast<int>(bytes.size()), SQLITE_TRANSIENT);
      break;
    case 7:  // far beyond any field of the host's records
      bytes.assign(1000u * (in.Byte() % 64), static_cast<char>('A' + in.Byte() % 26));
      sqlite3_bind_text(insert, index, bytes.data(), static_cast<int>(bytes.size()), SQLITE_TRANSIENT);
      break;
    default: sqlite3_bind_int64(insert, index, in.Byte() % 4); break;  // keys that repeat
  }
  return 8 + bytes.size();
}

// A file of a few megabytes at most, so that an input runs in well under a
// second.
const size_t kFileBytes = 4u << 20;

// The file's tables with rows from the input: up to eight kinds of row, each
// stored once or hundreds of times.
void WriteRows(Input& in, const std::string& path, const File& file) {
  sqlite3* db = nullptr;
  if (sqlite3_open(path.c_str(), &db) != SQLITE_OK) Fail("cannot write a database");
  sqlite3_exec(db, "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF; BEGIN", nullptr, nullptr, nullptr);
  const bool older = in.Byte() & 1;  // the system table without its added columns
  for (const Table* table : file.tables) {
    const size_t columns = table == &kSystem && older ? 8 : table->columns.size();
    std::string create = std::string("CREATE TABLE ") + table->name + " (";
    std::string insert = std::string("INSERT INTO ") + table->name + " VALUES (";
    for (size_t c = 0; c < columns; ++c) {
      create += std::string(c ? ", " : "") + table->columns[c];
      insert += c ? ", ?" : "?";
    }
    sqlite3_exec(db, (create + ")").c_str(), nullptr, nullptr, nullptr);
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(db, (insert + ")").c_str(), -1, &statement, nullptr);
    size_t written = 0;
    for (int kind = in.Byte() % 9; kind > 0 && statement != nullptr; --kind) {
      size_t row = 0;
      for (size_t c = 0; c < columns; ++c) row += BindValue(in, statement, static_cast<int>(c + 1));
      size_t copies = in.Byte() & 0x80 ? 400 : 1;
      if (written + row * copies > kFileBytes) copies = written + row < kFileBytes ? 1 : 0;
      written += row * copies;
      for (; copies > 0; --copies) {
        sqlite3_step(statement);
        sqlite3_reset(statement);
      }
    }
    sqlite3_finalize(statement);
  }
  sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
  sqlite3_close(db);
}

// What the input puts where the file belongs.
void PlaceFile(Input& in, const std::string& folder, const File& file) {
  const std::string path = folder + file.name;
  switch (in.Byte() % 5) {
    case 0: case 1: WriteRows(in, path, file); break;
    case 2: {  // rows, then cut anywhere
      WriteRows(in, path, file);
      std::error_code ignored;
      fs::resize_file(path, 64u * in.Byte(), ignored);
      break;
    }
    case 3: {  // not a database, or one whose header alone is right
      std::string bytes = in.Byte() & 1 ? std::string("SQLite format 3", 16) : std::string();
      bytes += in.Text(in.Byte() * 4u);
      if (FILE* out = std::fopen(path.c_str(), "wb")) {
        std::fwrite(bytes.data(), 1, bytes.size(), out);
        std::fclose(out);
      }
      break;
    }
    default: mkdir(path.c_str(), 0700); break;  // a folder in its place
  }
}

// Lists every kind, reading every text, and answers one application and one
// system message that were listed.
void ListAll(uint32_t* someApp, uint32_t* someSystem) {
  DynamicMsgGroupInfo* dynamic = nullptr;
  const uint32_t groups = PushGetDynamicMsg(0, 0, &dynamic, false);
  for (uint32_t g = 0; g < groups; ++g) {
    *someApp = dynamic[g].appId;
    for (uint32_t m = 0; m < dynamic[g].msgCount; ++m) CheckTexts(dynamic[g].msgs[m]);
  }
  PushFreeDynamicMsgGroupList(dynamic);
  SystemMsgInfo* system = nullptr;
  const uint32_t count = PushGetSystemMsg(0, &system, false);
  for (uint32_t i = 0; i < count; ++i) {
    *someSystem = system[i].msgId;
    CheckTexts(system[i]);
  }
  PushFreeSystemMsgList(system);
  ShareMsgGroupInfo* shares = nullptr;
  const uint32_t shareGroups = PushGetShareMsg(0, 0, &shares, false);
  for (uint32_t g = 0; g < shareGroups; ++g) {
    for (uint32_t m = 0; m < shares[g].msgCount; ++m) CheckTexts(shares[g].msgs[m]);
  }
  PushFreeShareMsgGroupList(shares);
  MyShareMsgGroupInfo* mine = nullptr;
  const uint32_t ownGroups = GetMyShareMsg(0, 0, &mine);
  for (uint32_t g = 0; g < ownGroups; ++g) {
    for (uint32_t m = 0; m < mine[g].msgCount; ++m) CheckTexts(mine[g].msgs[m]);
  }
  FreeMyLocalShareMsgGroupList(mine);
  fuzzhost::CheckUnreadTotal();
}

// New pushes that evict: more system messages than the center keeps, and
// dynamic and share messages of the applications the files may name.
void PushToEvict(uint8_t round) {
  std::vector<PushRecord> batch;
  const char system[] = R"({"TITLE":"new"})";
  const char dynamic[] = R"({"TITLE":"d","NUM":2})";
  const char share[] = R"({"DSTAPPID":"3","SHARETYPE":1,"FUIN":9,"MSG":"m"})";
  for (uint8_t i = 0; i < 60; ++i) {
    batch.push_back(fuzzhost::MakeRecord(3, 0, static_cast<uint8_t>(round + i), i,
                                         reinterpret_cast<const uint8_t*>(system), sizeof(system) - 1));
  }
  for (uint8_t i = 0; i < 8; ++i) {
    batch.push_back(fuzzhost::MakeRecord(1, i, i, static_cast<uint8_t>(200 + i),
                                         reinterpret_cast<const uint8_t*>(dynamic), sizeof(dynamic) - 1));
    batch.push_back(fuzzhost::MakeRecord(2, 0, i, static_cast<uint8_t>(200 + i),
                                         reinterpret_cast<const uint8_t*>(share), sizeof(share) - 1));
  }
  OnPushBatch(batch.data(), static_cast<uint32_t>(batch.size()));
}

uint32_t (*releaseIdle)() = nullptr;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  fuzzhost::Prepare(argc != nullptr && *argc > 0 ? (*argv)[0] : nullptr);
  fuzzhost::StartLibrary();
  const std::string path = std::string(std::getenv("HalyxBinPath")) + "/localdatabase.dll";
  const std::basic_string<WCHAR> wide(path.begin(), path.end());
  releaseIdle = ProcAs<uint32_t (*)()>(GetProcAddress(LoadLibraryW(wide.c_str()), "LocalDatabaseReleaseIdle"));
  if (releaseIdle == nullptr) Fail("no LocalDatabaseReleaseIdle");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Input in{data, size};
  // Nothing of the library or the database module may hold a file now.
  PushWrapperUnInit();
  SingltonRegistry::ReleaseAll();
  releaseIdle();
  const std::string folder = UserFolder();
  std::error_code ignored;
  fs::remove_all(folder, ignored);
  fs::create_directories(folder, ignored);
  for (const File& file : kFiles) PlaceFile(in, folder, file);

  PushWrapperInit();
  uint32_t app = 0;
  uint32_t system = 0;
  ListAll(&app, &system);  // the first loads
  PushUpdateDynamicMsgReadState(app, 0, true);
  PushUpdateSystemMsgReadState(system, 1);
  PushUpdateShareMsgReadState(3, 1, 0, 0xFFFFFFFFu);
  for (int32_t kind = 1; kind <= 3; ++kind) PushUpdateReadStateByType(kind);
  PushToEvict(in.Byte());
  PushDeleteDynamicMsg(app, 0);
  PushDeleteSystemMsg(system, 0);
  ListAll(&app, &system);
  return 0;
}
