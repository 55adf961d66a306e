#include <gtest/gtest.h>

#include <string>

#include "support/testenv.h"

using testenv::Wide;
using testenv::WideString;

namespace {

// A folder below the test's own data folder (emptied before every test).
std::string Scratch(const std::string& relative) {
  return testenv::Join(testenv::Join(testenv::DocumentsFolder(), "Corvane Files"), relative);
}

}  // namespace

TEST(EnvironmentVariable, ReportsSizesAsWindowsDoes) {
  WCHAR buffer[16];
  testenv::SetVariable("PCW_PROBE", nullptr);
  SetLastError(0);
  EXPECT_EQ(GetEnvironmentVariableW(W32_TEXT("PCW_PROBE"), buffer, 16), 0u);
  EXPECT_EQ(GetLastError(), DWORD(ERROR_ENVVAR_NOT_FOUND));

  testenv::SetVariable("PCW_PROBE", "x\xE2\x82\xAC\xF0\x9F\x98\x80");  // 4 units
  EXPECT_EQ(GetEnvironmentVariableW(W32_TEXT("PCW_PROBE"), nullptr, 0), 5u);
  std::fill(buffer, buffer + 16, WCHAR(0x2A));
  EXPECT_EQ(GetEnvironmentVariableW(W32_TEXT("PCW_PROBE"), buffer, 4), 5u);
  EXPECT_EQ(buffer[4], WCHAR(0x2A));
  ASSERT_EQ(GetEnvironmentVariableW(W32_TEXT("PCW_PROBE"), buffer, 5), 4u);
  EXPECT_TRUE(WideString(buffer) == (WideString{u'x', 0x20AC, 0xD83D, 0xDE00}));
  testenv::SetVariable("PCW_PROBE", nullptr);
}

TEST(FolderCreation, CreatesEveryParentThenReportsAlreadyExists) {
  const std::string deep = Scratch("a\xC3\xA9\\b \xF0\x9F\x98\x80\\c");
  SetLastError(0);
  EXPECT_EQ(SHCreateDirectoryExW(nullptr, Wide(deep).c_str(), nullptr), ERROR_SUCCESS);
  const DWORD attributes = GetFileAttributesW(Wide(deep).c_str());
  ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
  EXPECT_NE(attributes & FILE_ATTRIBUTE_DIRECTORY, 0u);

  EXPECT_EQ(SHCreateDirectoryExW(nullptr, Wide(deep).c_str(), nullptr), ERROR_ALREADY_EXISTS);
  EXPECT_EQ(SHCreateDirectoryExW(nullptr, Wide(deep + "\\").c_str(), nullptr),
            ERROR_ALREADY_EXISTS);
  EXPECT_EQ(SHCreateDirectoryExW(nullptr, W32_TEXT("relative\\folder"), nullptr),
            ERROR_BAD_PATHNAME);
  // The library asks only whether a path exists, and loads modules by name.
  EXPECT_EQ(GetFileAttributesW(Wide(Scratch("missing\\missing")).c_str()), INVALID_FILE_ATTRIBUTES);
}

#if !defined(_WIN32)
TEST(DocumentsFolder, FollowsXdgThenHome) {
  const std::string home = std::getenv("HOME");
  WCHAR path[MAX_PATH];
  ASSERT_TRUE(SHGetSpecialFolderPathW(nullptr, path, CSIDL_PERSONAL, FALSE));
  EXPECT_EQ(testenv::Narrow(path), home + "/Documents");

  const std::string xdg = home + "/Dok\xC3\xBCmente/deep";
  testenv::SetVariable("XDG_DOCUMENTS_DIR", xdg.c_str());
  ASSERT_TRUE(SHGetSpecialFolderPathW(nullptr, path, CSIDL_PERSONAL, TRUE));
  EXPECT_EQ(testenv::Narrow(path), xdg);
  EXPECT_NE(GetFileAttributesW(path) & FILE_ATTRIBUTE_DIRECTORY, 0u);

  const std::string tooLong = "/" + std::string(MAX_PATH, 'x');
  testenv::SetVariable("XDG_DOCUMENTS_DIR", tooLong.c_str());
  EXPECT_FALSE(SHGetSpecialFolderPathW(nullptr, path, CSIDL_PERSONAL, FALSE));
}
#endif

TEST(ModuleLoading, BindsByNameAndReportsWhatIsMissing) {
  HMODULE probe = LoadLibraryW(testenv::ModulePath("platformprobe.dll").c_str());
  ASSERT_NE(probe, nullptr) << testenv::BinFolder();
  auto answer = ProcAs<int (*)()>(GetProcAddress(probe, "ProbeAnswer"));
  ASSERT_NE(answer, nullptr);
  EXPECT_EQ(answer(), 42);
  EXPECT_EQ(GetProcAddress(probe, "NoSuchFunction"), nullptr);
  EXPECT_TRUE(FreeLibrary(probe));

  EXPECT_EQ(LoadLibraryW(testenv::ModulePath("nosuchmodule.dll").c_str()), nullptr);
}
