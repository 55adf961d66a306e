// setting.dll and hyappinfo.dll: values kept in JSON files of the data root.

#include <gtest/gtest.h>
#include <json-c/json.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

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

// The entry points of setting.dll, bound by name.
struct Settings {
  explicit Settings(const LoadedModule& m)
      : getRoamBoolean(m.Get<decltype(getRoamBoolean)>("stGetRoamBoolean")),
        getRoamNumber(m.Get<decltype(getRoamNumber)>("stGetRoamNumber")),
        getAppRoamBoolean(m.Get<decltype(getAppRoamBoolean)>("stGetAppRoamBoolean")),
        setAppRoamBoolean(m.Get<decltype(setAppRoamBoolean)>("stSetAppRoamBoolean")),
        setRoamNumber(m.Get<decltype(setRoamNumber)>("stSetRoamNumber")),
        setRoamBoolean(m.Get<decltype(setRoamBoolean)>("stSetRoamBoolean")),
        setFailAll(m.Get<decltype(setFailAll)>("stSetFailAll")) {}
  bool complete() const {
    return getRoamBoolean && getRoamNumber && getAppRoamBoolean && setAppRoamBoolean &&
           setRoamNumber && setRoamBoolean && setFailAll;
  }
  bool(HALYX_CDECL* getRoamBoolean)(uint32_t);
  uint32_t(HALYX_CDECL* getRoamNumber)(uint32_t);
  bool(HALYX_CDECL* getAppRoamBoolean)(uint32_t, uint32_t);
  bool(HALYX_CDECL* setAppRoamBoolean)(uint32_t, uint32_t, bool);
  bool(HALYX_CDECL* setRoamNumber)(uint32_t, uint32_t);
  bool(HALYX_CDECL* setRoamBoolean)(uint32_t, bool);
  bool(HALYX_CDECL* setFailAll)(bool);
};

struct AppInfo {
  explicit AppInfo(const LoadedModule& m)
      : checkInstalled(m.Get<decltype(checkInstalled)>("HXCheckAppInstalled")),
        query(m.Get<decltype(query)>("HXQueryAppInfo")),
        setInstalled(m.Get<decltype(setInstalled)>("HXSetAppInstalled")),
        setInfo(m.Get<decltype(setInfo)>("HXSetAppInfo")),
        setFailAll(m.Get<decltype(setFailAll)>("HXSetFailAll")) {}
  bool complete() const { return checkInstalled && query && setInstalled && setInfo && setFailAll; }
  // The value of key, or "<none>" when the module does not know it.
  std::string Query(uint32_t appId, const char* key) const {
    char* value = nullptr;
    if (!query(appId, key, &value)) {
      EXPECT_EQ(value, nullptr);
      return "<none>";
    }
    std::string text = value ? value : "<null>";
    delete[] value;
    return text;
  }
  bool(HALYX_CDECL* checkInstalled)(uint32_t);
  uint32_t(HALYX_CDECL* query)(uint32_t, const char*, char**);
  bool(HALYX_CDECL* setInstalled)(uint32_t, bool);
  bool(HALYX_CDECL* setInfo)(uint32_t, const char*, const char*);
  bool(HALYX_CDECL* setFailAll)(bool);
};

TEST(SettingModule, ValuesSurviveAFreshLoadInOneAtomicallyReplacedFile) {
  {
    LoadedModule module("setting.dll");
    Settings st(module);
    ASSERT_TRUE(st.complete());
    EXPECT_FALSE(st.getRoamBoolean(9));
    EXPECT_EQ(st.getRoamNumber(11), 0u);
    EXPECT_FALSE(st.getAppRoamBoolean(7, 6));
    ASSERT_TRUE(st.setRoamBoolean(9, true));
    ASSERT_TRUE(st.setRoamNumber(11, 4294967295u));
    ASSERT_TRUE(st.setAppRoamBoolean(7, 6, true));
    ASSERT_TRUE(st.setAppRoamBoolean(8, 6, true));
    ASSERT_TRUE(st.setAppRoamBoolean(8, 6, false));
    // Booleans, numbers and application booleans of one id do not mix.
    EXPECT_EQ(st.getRoamNumber(9), 0u);
    EXPECT_FALSE(st.getRoamBoolean(11));
    EXPECT_FALSE(st.getAppRoamBoolean(6, 7));
  }
  // Only the file itself is left behind, and it is whole JSON.
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(DataRoot())) {
    names.push_back(entry.path().filename().u8string());
  }
  EXPECT_EQ(names, std::vector<std::string>{"setting.json"});
  json_object* document = json_tokener_parse(FileText(DataRoot() / "setting.json").c_str());
  EXPECT_NE(document, nullptr);
  json_object_put(document);

  LoadedModule module("setting.dll");
  Settings st(module);
  ASSERT_TRUE(st.complete());
  EXPECT_TRUE(st.getRoamBoolean(9));
  EXPECT_EQ(st.getRoamNumber(11), 4294967295u);
  EXPECT_TRUE(st.getAppRoamBoolean(7, 6));
  EXPECT_FALSE(st.getAppRoamBoolean(8, 6));
}

TEST(SettingModule, LoadedModuleForgetsValuesWhoseFileWasRemoved) {
  LoadedModule module("setting.dll");
  Settings st(module);
  ASSERT_TRUE(st.complete());
  ASSERT_TRUE(st.setRoamBoolean(9, true));
  ASSERT_TRUE(st.setAppRoamBoolean(7, 6, true));
  ASSERT_TRUE(st.getRoamBoolean(9));
  // Another process (or a host's clean-up) takes the file away: what was set
  // is gone, not served from memory.
  fs::remove_all(DataRoot());
  EXPECT_FALSE(st.getRoamBoolean(9));
  EXPECT_FALSE(st.getAppRoamBoolean(7, 6));
  ASSERT_TRUE(st.setRoamNumber(11, 2));
  EXPECT_EQ(st.getRoamNumber(11), 2u);
}

TEST(SettingModule, FollowsTheDocumentsFolderOfTheMoment) {
#if defined(_WIN32)
  GTEST_SKIP() << "the documents folder of Windows is the profile's, not HOME";
#else
  LoadedModule module("setting.dll");
  Settings st(module);
  ASSERT_TRUE(st.complete());
  const std::string home = std::getenv("HOME");
  ASSERT_TRUE(st.setRoamNumber(11, 5));
  const std::string otherHome = home + "/other";
  testenv::SetVariable("HOME", otherHome.c_str());
  EXPECT_EQ(st.getRoamNumber(11), 0u);
  ASSERT_TRUE(st.setRoamNumber(11, 6));
  testenv::SetVariable("HOME", home.c_str());
  EXPECT_EQ(st.getRoamNumber(11), 5u);
  testenv::SetVariable("HOME", otherHome.c_str());
  EXPECT_EQ(st.getRoamNumber(11), 6u);
  testenv::SetVariable("HOME", home.c_str());
#endif
}

TEST(SettingModule, DamagedFileReadsEmptyAndFailAllBlocksTheLibrarysCalls) {
  fs::create_directories(DataRoot());
  std::ofstream(DataRoot() / "setting.json") << "{\"numbers\": {\"number.11\": 3";  // cut short
  LoadedModule module("setting.dll");
  Settings st(module);
  ASSERT_TRUE(st.complete());
  EXPECT_EQ(st.getRoamNumber(11), 0u);
  ASSERT_TRUE(st.setRoamNumber(12, 4));
  EXPECT_EQ(st.getRoamNumber(12), 4u);

  ASSERT_TRUE(st.setFailAll(true));
  EXPECT_FALSE(st.setRoamNumber(12, 5));
  EXPECT_FALSE(st.setAppRoamBoolean(7, 6, true));
  EXPECT_EQ(st.getRoamNumber(12), 0u);
  EXPECT_TRUE(st.setRoamBoolean(9, true));  // the control function still works
  EXPECT_FALSE(st.getRoamBoolean(9));
  ASSERT_TRUE(st.setFailAll(false));
  EXPECT_EQ(st.getRoamNumber(12), 4u);
  EXPECT_TRUE(st.getRoamBoolean(9));
  EXPECT_FALSE(st.getAppRoamBoolean(7, 6));
}

TEST(AppInfoModule, InstalledFlagsAndInfoSurviveAFreshLoad) {
  {
    LoadedModule module("hyappinfo.dll");
    AppInfo hx(module);
    ASSERT_TRUE(hx.complete());
    EXPECT_FALSE(hx.checkInstalled(7));
    EXPECT_EQ(hx.Query(7, "needPush"), "<none>");
    EXPECT_EQ(hx.query(7, "needPush", nullptr), 0u);
    ASSERT_TRUE(hx.setInstalled(7, true));
    ASSERT_TRUE(hx.setInfo(7, "needPush", "1"));
    ASSERT_TRUE(hx.setInfo(8, "needPush", ""));
    EXPECT_FALSE(hx.setInfo(8, nullptr, "x"));
  }
  LoadedModule module("hyappinfo.dll");
  AppInfo hx(module);
  ASSERT_TRUE(hx.complete());
  EXPECT_TRUE(hx.checkInstalled(7));
  EXPECT_FALSE(hx.checkInstalled(8));
  EXPECT_EQ(hx.Query(7, "needPush"), "1");
  EXPECT_EQ(hx.Query(8, "needPush"), "");
  EXPECT_EQ(hx.Query(7, "other"), "<none>");
  EXPECT_EQ(hx.Query(9, "needPush"), "<none>");
  EXPECT_EQ(hx.Query(7, nullptr), "<none>");

  ASSERT_TRUE(hx.setFailAll(true));
  EXPECT_FALSE(hx.checkInstalled(7));
  EXPECT_EQ(hx.Query(7, "needPush"), "<none>");
  ASSERT_TRUE(hx.setFailAll(false));
  EXPECT_TRUE(hx.checkInstalled(7));
}

}  // namespace
