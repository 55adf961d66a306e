// setting.dll and hyappinfo.dll: values kept in JSON files of the data root.

#include <gtest/gtest.h>
#include <json-c/json.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "halyx/hyappinfo.h"
#include "halyx/setting.h"
#include "modules/loadedmodule.h"

namespace fs = std::filesystem;

namespace {

fs::path DataRoot() {
  return fs::u8path(testenv::DocumentsFolder()) / "Corvane Files" / "Halyx";
}

// The entry points of a freshly loaded module, typed after their declarations.
#define PCW_ENTRY(name)                                                                         \
  decltype(&::name) name = [this] { EXPECT_NE(module.Get<decltype(&::name)>(#name), nullptr) << #name; \
                                    return module.Get<decltype(&::name)>(#name); }();

struct Settings {
  explicit Settings(const std::string& file = "setting.dll") : module(file) {}
  LoadedModule module;
  PCW_ENTRY(stGetRoamBoolean) PCW_ENTRY(stGetRoamNumber) PCW_ENTRY(stGetAppRoamBoolean)
  PCW_ENTRY(stSetAppRoamBoolean) PCW_ENTRY(stSetRoamNumber) PCW_ENTRY(stSetRoamBoolean)
  PCW_ENTRY(stSetFailAll) PCW_ENTRY(stReleaseFiles)
};

// setting.dll copied into the bin folder and loaded beside it: a second instance
// with memory of its own on the same files, as another process has.
struct OtherSettings {
  struct Copy {
    fs::path file;
    explicit Copy(const fs::path& to) : file(to) { fs::copy_file(to.parent_path() / "setting.dll", to); }
    ~Copy() { std::error_code ignored; fs::remove(file, ignored); }
  } copy{fs::u8path(testenv::BinFolder()) /
         ("setting-" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()) + ".dll")};
  Settings st{copy.file.filename().u8string()};
};

struct AppInfo {
  LoadedModule module{"hyappinfo.dll"};
  PCW_ENTRY(HXCheckAppInstalled) PCW_ENTRY(HXQueryAppInfo) PCW_ENTRY(HXSetAppInstalled)
  PCW_ENTRY(HXSetAppInfo) PCW_ENTRY(HXSetFailAll)
  // The value of key, or "<none>" when the module does not know it.
  std::string Query(uint32_t appId, const char* key) const {
    char* value = nullptr;
    const bool known = HXQueryAppInfo(appId, key, &value) != 0;
    EXPECT_EQ(known, value != nullptr);
    const std::string text = value ? value : "<none>";
    delete[] value;
    return text;
  }
};

// Longer than a key kept in place: the whole key, application included, counts.
const char kLongKey[] = "a key of an application that is longer than most";

TEST(SettingsModules, ValuesSurviveAFreshLoadInAtomicallyReplacedFiles) {
  {
    Settings st;
    AppInfo hx;
    ASSERT_TRUE(st.stSetRoamBoolean(9, true) && st.stSetRoamNumber(11, 4294967295u));
    ASSERT_TRUE(st.stSetAppRoamBoolean(7, 6, true) && st.stSetAppRoamBoolean(8, 6, true) &&
                st.stSetAppRoamBoolean(8, 6, false));
    ASSERT_TRUE(hx.HXSetAppInstalled(7, true) && hx.HXSetAppInfo(7, "needPush", "1") &&
                hx.HXSetAppInfo(8, "needPush", "") && hx.HXSetAppInfo(4294967295u, kLongKey, "long"));
    EXPECT_FALSE(hx.HXSetAppInfo(8, nullptr, "x"));
  }
  // Only the files and their lock files are left behind, each file whole JSON.
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(DataRoot())) names.insert(entry.path().filename().u8string());
  EXPECT_EQ(names, (std::set<std::string>{"hyappinfo.json", "hyappinfo.json.lock", "setting.json",
                                          "setting.json.lock"}));
  for (const char* file : {"setting.json", "hyappinfo.json"})
    EXPECT_EQ(json_object_put(json_object_from_file((DataRoot() / file).u8string().c_str())), 1) << file;
  Settings st;
  AppInfo hx;
  EXPECT_TRUE(st.stGetRoamBoolean(9) && st.stGetAppRoamBoolean(7, 6) && hx.HXCheckAppInstalled(7));
  // Booleans, numbers and application booleans of one id do not mix.
  EXPECT_FALSE(st.stGetAppRoamBoolean(8, 6) || hx.HXCheckAppInstalled(8) || st.stGetRoamBoolean(11) ||
               st.stGetAppRoamBoolean(6, 7) || st.stGetRoamNumber(9) != 0);
  EXPECT_EQ(st.stGetRoamNumber(11) + hx.HXQueryAppInfo(7, "needPush", nullptr), 4294967295u);
  EXPECT_EQ(hx.Query(7, "needPush") + "|" + hx.Query(8, "needPush") + "|" + hx.Query(7, "other") + "|" +
                hx.Query(9, "needPush") + "|" + hx.Query(7, nullptr) + "|" + hx.Query(4294967295u, kLongKey) +
                "|" + hx.Query(429496729u, kLongKey), "1||<none>|<none>|<none>|long|<none>");
}

// Each instance keeps what it read; a change made through either one is seen
// by the other at its next read, a change made by hand within 50 ms.
TEST(SettingModule, ChangesThroughAModuleSeenAtOnceChangesByHandSoon) {
  Settings st;
  OtherSettings other;
  EXPECT_EQ(st.stGetRoamNumber(11) + other.st.stGetRoamNumber(11), 0u);
  ASSERT_TRUE(st.stSetRoamNumber(11, 1));
  EXPECT_EQ(other.st.stGetRoamNumber(11), 1u);
  ASSERT_TRUE(other.st.stSetAppRoamBoolean(7, 1, true));
  EXPECT_TRUE(st.stGetAppRoamBoolean(7, 1));
  const auto later = [] { std::this_thread::sleep_for(std::chrono::milliseconds(150)); };
  fs::remove(DataRoot() / "setting.json");
  later();
  EXPECT_EQ(st.stGetRoamNumber(11) + other.st.stGetAppRoamBoolean(7, 1), 0u);
  std::ofstream(DataRoot() / "setting.json") << R"({"numbers": {"number.11": 7}})";
  later();
  EXPECT_EQ(st.stGetRoamNumber(11) * 100 + other.st.stGetRoamNumber(11), 707u);
#if !defined(_WIN32)  // where a file held open can be removed
  // The lock file removed by hand: the next to look makes another one, and the
  // changes counted in it (here by an instance started afresh) are seen at once.
  fs::remove(DataRoot() / "setting.json.lock");
  later();
  EXPECT_EQ(st.stGetRoamNumber(11), 7u);
  ASSERT_TRUE(other.st.stReleaseFiles() && other.st.stSetRoamNumber(11, 8));
  EXPECT_EQ(st.stGetRoamNumber(11), 8u);
#endif
  // Released, a module holds no file open and forgets at once what it read.
  ASSERT_TRUE(st.stReleaseFiles() && other.st.stReleaseFiles());
  fs::remove_all(DataRoot());
  EXPECT_EQ(st.stGetRoamNumber(11), 0u);
}

// Each step moves the documents folder (or not) in another way, then reads the
// number kept in the folder of the moment and writes the next one there.
TEST(SettingModule, FollowsTheDocumentsFolderOfTheMoment) {
#if !defined(_WIN32)  // where the documents folder follows the environment
  Settings st;
  const std::string home = std::getenv("HOME");
  static std::string inPlace;  // in the environment itself once put there
  inPlace = "HOME=" + home + "/one";
  const auto rewrite = [](const char* last) { inPlace.replace(inPlace.size() - 3, 3, last); };
  const struct {
    std::function<void()> change;
    uint32_t expected;
  } steps[] = {
      {[] { putenv(&inPlace[0]); }, 0},                                       // home/one
      {[&] { rewrite("two"); }, 0},                                           // home/two, same entry
      {[&] { rewrite("one"); }, 1},                                           // home/one again
      {[&] { testenv::SetVariable("XDG_DOCUMENTS_DIR", (home + "/xdg").c_str()); }, 0},
      {[&] { testenv::SetVariable("HOME", (home + "/two").c_str()); }, 4},     // the variable wins
      {[] { testenv::SetVariable("XDG_DOCUMENTS_DIR", nullptr); }, 2}};      // home/two
  for (uint32_t i = 0; i < sizeof(steps) / sizeof(steps[0]); ++i) {
    steps[i].change();
    EXPECT_EQ(st.stGetRoamNumber(11), steps[i].expected) << i;
    EXPECT_TRUE(st.stSetRoamNumber(11, i + 1));
  }
  testenv::SetVariable("HOME", home.c_str());
#endif
}

TEST(SettingsModules, DamagedFileReadsEmptyAndFailAllBlocksTheLibrarysCalls) {
  fs::create_directories(DataRoot());
  std::ofstream(DataRoot() / "setting.json") << "{\"numbers\": {\"number.11\": 3";  // cut short
  Settings st;
  AppInfo hx;
  EXPECT_EQ(st.stGetRoamNumber(11), 0u);
  ASSERT_TRUE(st.stSetRoamNumber(12, 4) && hx.HXSetAppInstalled(7, true) && st.stSetFailAll(true) &&
              hx.HXSetFailAll(true));
  EXPECT_FALSE(st.stSetRoamNumber(12, 5) || st.stSetAppRoamBoolean(7, 6, true));
  // The control functions still work; the library's reads answer false or 0.
  EXPECT_TRUE(st.stSetRoamBoolean(9, true) && hx.HXSetAppInfo(7, "needPush", "0"));
  EXPECT_FALSE(st.stGetRoamBoolean(9) || hx.HXCheckAppInstalled(7) || st.stGetRoamNumber(12) != 0);
  EXPECT_EQ(hx.Query(7, "needPush"), "<none>");
  ASSERT_TRUE(st.stSetFailAll(false) && hx.HXSetFailAll(false));
  EXPECT_TRUE(st.stGetRoamBoolean(9) && hx.HXCheckAppInstalled(7) && st.stGetRoamNumber(12) == 4 &&
              !st.stGetAppRoamBoolean(7, 6));
  EXPECT_EQ(hx.Query(7, "needPush"), "0");
}

TEST(SettingsModules, ThreadsOfTwoInstancesLoseNoUpdate) {
  // Threads write values of their own into both files at once, half of them
  // through a second instance; each write reads the file again under the
  // lock file, so an unguarded store loses some.
  const uint32_t kThreads = 4, kEach = 60;
  {
    Settings st;
    OtherSettings other;
    AppInfo hx;
    std::vector<std::thread> threads;
    for (uint32_t t = 0; t < kThreads; ++t) {
      threads.emplace_back([&, t] {
        for (uint32_t appId = t * 1000; appId < t * 1000 + kEach; ++appId)
          EXPECT_TRUE((t % 2 ? other.st : st).stSetAppRoamBoolean(appId, 6, true) &&
                      hx.HXSetAppInfo(appId, "needPush", std::to_string(appId).c_str()));
      });
    }
    for (std::thread& thread : threads) thread.join();
  }
  Settings st;
  AppInfo hx;
  uint32_t kept = 0;
  for (uint32_t appId = 0; appId < kThreads * 1000; ++appId)
    kept += appId % 1000 < kEach && st.stGetAppRoamBoolean(appId, 6) &&
            hx.Query(appId, "needPush") == std::to_string(appId);
  EXPECT_EQ(kept, kThreads * kEach);
}

}  // namespace
