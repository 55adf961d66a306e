// setting.dll and hyappinfo.dll: values kept in JSON files of the data root.

#include <gtest/gtest.h>
#include <json-c/json.h>

#include <filesystem>
#include <fstream>
#include <iterator>
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

std::string FileText(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// The entry points of a freshly loaded module, bound by name and typed after
// their declarations.
#define PCW_ENTRY(name) decltype(&::name) name = Need<decltype(&::name)>(module, #name);

template <class Fn>
Fn Need(const LoadedModule& module, const char* name) {
  Fn fn = module.Get<Fn>(name);
  EXPECT_NE(fn, nullptr) << name;
  return fn;
}

struct Settings {
  LoadedModule module{"setting.dll"};
  PCW_ENTRY(stGetRoamBoolean) PCW_ENTRY(stGetRoamNumber) PCW_ENTRY(stGetAppRoamBoolean)
  PCW_ENTRY(stSetAppRoamBoolean) PCW_ENTRY(stSetRoamNumber) PCW_ENTRY(stSetRoamBoolean)
  PCW_ENTRY(stSetFailAll)
};

struct AppInfo {
  LoadedModule module{"hyappinfo.dll"};
  PCW_ENTRY(HXCheckAppInstalled) PCW_ENTRY(HXQueryAppInfo) PCW_ENTRY(HXSetAppInstalled)
  PCW_ENTRY(HXSetAppInfo) PCW_ENTRY(HXSetFailAll)
  // The value of key, or "<none>" when the module does not know it.
  std::string Query(uint32_t appId, const char* key) const {
    char* value = nullptr;
    if (!HXQueryAppInfo(appId, key, &value)) {
      EXPECT_EQ(value, nullptr);
      return "<none>";
    }
    std::string text = value ? value : "<null>";
    delete[] value;
    return text;
  }
};

TEST(SettingModule, ValuesSurviveAFreshLoadInOneAtomicallyReplacedFile) {
  {
    Settings st;
    EXPECT_FALSE(st.stGetRoamBoolean(9));
    EXPECT_EQ(st.stGetRoamNumber(11), 0u);
    EXPECT_FALSE(st.stGetAppRoamBoolean(7, 6));
    ASSERT_TRUE(st.stSetRoamBoolean(9, true));
    ASSERT_TRUE(st.stSetRoamNumber(11, 4294967295u));
    ASSERT_TRUE(st.stSetAppRoamBoolean(7, 6, true));
    ASSERT_TRUE(st.stSetAppRoamBoolean(8, 6, true));
    ASSERT_TRUE(st.stSetAppRoamBoolean(8, 6, false));
    // Booleans, numbers and application booleans of one id do not mix.
    EXPECT_EQ(st.stGetRoamNumber(9), 0u);
    EXPECT_FALSE(st.stGetRoamBoolean(11));
    EXPECT_FALSE(st.stGetAppRoamBoolean(6, 7));
  }
  // Only the file and its lock file are left behind, and the file is whole JSON.
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(DataRoot())) {
    names.insert(entry.path().filename().u8string());
  }
  EXPECT_EQ(names, (std::set<std::string>{"setting.json", "setting.json.lock"}));
  json_object* document = json_tokener_parse(FileText(DataRoot() / "setting.json").c_str());
  EXPECT_NE(document, nullptr);
  json_object_put(document);
  Settings st;
  EXPECT_TRUE(st.stGetRoamBoolean(9));
  EXPECT_EQ(st.stGetRoamNumber(11), 4294967295u);
  EXPECT_TRUE(st.stGetAppRoamBoolean(7, 6));
  EXPECT_FALSE(st.stGetAppRoamBoolean(8, 6));
}

TEST(SettingModule, LoadedModuleForgetsValuesWhoseFileWasRemoved) {
  Settings st;
  ASSERT_TRUE(st.stSetRoamBoolean(9, true));
  ASSERT_TRUE(st.stSetAppRoamBoolean(7, 6, true));
  ASSERT_TRUE(st.stGetRoamBoolean(9));
  // Another process (or a host's clean-up) takes the file away: what was set
  // is gone, not served from memory.
  fs::remove_all(DataRoot());
  EXPECT_FALSE(st.stGetRoamBoolean(9));
  EXPECT_FALSE(st.stGetAppRoamBoolean(7, 6));
  ASSERT_TRUE(st.stSetRoamNumber(11, 2));
  EXPECT_EQ(st.stGetRoamNumber(11), 2u);
}

TEST(SettingModule, FollowsTheDocumentsFolderOfTheMoment) {
#if defined(_WIN32)
  GTEST_SKIP() << "the documents folder of Windows is the profile's, not HOME";
#else
  Settings st;
  const std::string home = std::getenv("HOME");
  ASSERT_TRUE(st.stSetRoamNumber(11, 5));
  const std::string otherHome = home + "/other";
  testenv::SetVariable("HOME", otherHome.c_str());
  EXPECT_EQ(st.stGetRoamNumber(11), 0u);
  ASSERT_TRUE(st.stSetRoamNumber(11, 6));
  testenv::SetVariable("HOME", home.c_str());
  EXPECT_EQ(st.stGetRoamNumber(11), 5u);
  testenv::SetVariable("HOME", otherHome.c_str());
  EXPECT_EQ(st.stGetRoamNumber(11), 6u);
  testenv::SetVariable("HOME", home.c_str());
#endif
}

TEST(SettingModule, DamagedFileReadsEmptyAndFailAllBlocksTheLibrarysCalls) {
  fs::create_directories(DataRoot());
  std::ofstream(DataRoot() / "setting.json") << "{\"numbers\": {\"number.11\": 3";  // cut short
  Settings st;
  EXPECT_EQ(st.stGetRoamNumber(11), 0u);
  ASSERT_TRUE(st.stSetRoamNumber(12, 4));
  EXPECT_EQ(st.stGetRoamNumber(12), 4u);

  ASSERT_TRUE(st.stSetFailAll(true));
  EXPECT_FALSE(st.stSetRoamNumber(12, 5));
  EXPECT_FALSE(st.stSetAppRoamBoolean(7, 6, true));
  EXPECT_EQ(st.stGetRoamNumber(12), 0u);
  EXPECT_TRUE(st.stSetRoamBoolean(9, true));  // the control function still works
  EXPECT_FALSE(st.stGetRoamBoolean(9));
  ASSERT_TRUE(st.stSetFailAll(false));
  EXPECT_EQ(st.stGetRoamNumber(12), 4u);
  EXPECT_TRUE(st.stGetRoamBoolean(9));
  EXPECT_FALSE(st.stGetAppRoamBoolean(7, 6));
}

TEST(AppInfoModule, InstalledFlagsAndInfoSurviveAFreshLoad) {
  {
    AppInfo hx;
    EXPECT_FALSE(hx.HXCheckAppInstalled(7));
    EXPECT_EQ(hx.Query(7, "needPush"), "<none>");
    EXPECT_EQ(hx.HXQueryAppInfo(7, "needPush", nullptr), 0u);
    ASSERT_TRUE(hx.HXSetAppInstalled(7, true));
    ASSERT_TRUE(hx.HXSetAppInfo(7, "needPush", "1"));
    ASSERT_TRUE(hx.HXSetAppInfo(8, "needPush", ""));
    EXPECT_FALSE(hx.HXSetAppInfo(8, nullptr, "x"));
  }
  AppInfo hx;
  EXPECT_TRUE(hx.HXCheckAppInstalled(7));
  EXPECT_FALSE(hx.HXCheckAppInstalled(8));
  EXPECT_EQ(hx.Query(7, "needPush"), "1");
  EXPECT_EQ(hx.Query(8, "needPush"), "");
  EXPECT_EQ(hx.Query(7, "other"), "<none>");
  EXPECT_EQ(hx.Query(9, "needPush"), "<none>");
  EXPECT_EQ(hx.Query(7, nullptr), "<none>");

  ASSERT_TRUE(hx.HXSetFailAll(true));
  EXPECT_FALSE(hx.HXCheckAppInstalled(7));
  EXPECT_EQ(hx.Query(7, "needPush"), "<none>");
  ASSERT_TRUE(hx.HXSetFailAll(false));
  EXPECT_TRUE(hx.HXCheckAppInstalled(7));
}

TEST(SettingsModules, ThreadsOfOneProcessLoseNoUpdate) {
  // Every thread writes values of its own into both files at once; each
  // write reads the file again, so an unguarded store loses some.
  const uint32_t kThreads = 4;
  const uint32_t kEach = 60;
  {
    Settings st;
    AppInfo hx;
    std::vector<std::thread> threads;
    for (uint32_t t = 0; t < kThreads; ++t) {
      threads.emplace_back([&, t] {
        for (uint32_t i = 0; i < kEach; ++i) {
          const uint32_t appId = t * 1000 + i;
          EXPECT_TRUE(st.stSetAppRoamBoolean(appId, 6, true));
          EXPECT_TRUE(hx.HXSetAppInfo(appId, "needPush", std::to_string(appId).c_str()));
          EXPECT_TRUE(st.stGetAppRoamBoolean(appId, 6));
        }
      });
    }
    for (std::thread& thread : threads) thread.join();
  }
  Settings st;
  AppInfo hx;
  uint32_t kept = 0;
  for (uint32_t t = 0; t < kThreads; ++t) {
    for (uint32_t i = 0; i < kEach; ++i) {
      const uint32_t appId = t * 1000 + i;
      kept += st.stGetAppRoamBoolean(appId, 6) && hx.Query(appId, "needPush") == std::to_string(appId);
    }
  }
  EXPECT_EQ(kept, kThreads * kEach);
}

}  // namespace
