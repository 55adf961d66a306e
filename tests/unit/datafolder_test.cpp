// The per-user data folder under the documents folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "storage/datafolder.h"
#include "support/testenv.h"

namespace fs = std::filesystem;

namespace {

fs::path Native(const std::string& utf8) {
  std::string path = utf8;
#if !defined(_WIN32)
  for (char& c : path) {
    if (c == '\\') c = '/';
  }
#endif
  return fs::u8path(path);
}

}  // namespace

TEST(DataFolder, UserFolderIsMadeUnderTheDocumentsAndEndsWithOneBackslash) {
  const std::string documents = GetDocumentsFolder();
  ASSERT_FALSE(documents.empty());
  EXPECT_EQ('\\', documents.back());

  const std::string folder = GetUserDataFolder(4294967295u);
  EXPECT_EQ(documents + "Corvane Files\\Halyx\\4294967295\\", folder);
  EXPECT_TRUE(fs::is_directory(Native(folder)));
  EXPECT_TRUE(PathExists(folder.c_str()));

  // An existing folder is found, not created again (creating it would fail).
  EXPECT_FALSE(CreateFolderTree(folder.c_str()));
  EXPECT_EQ(folder, GetUserDataFolder(4294967295u));
  EXPECT_EQ(documents + "Corvane Files\\Halyx\\0\\", GetUserDataFolder(0));
  EXPECT_FALSE(PathExists((folder + "nothing.db").c_str()));
}

TEST(DataFolder, NonAsciiDocumentsPathSurvivesTheRoundTrip) {
#if defined(_WIN32)
  GTEST_SKIP() << "the documents folder belongs to the Windows profile";
#else
  const std::string name = "Dokumente-\xC3\xBC\xE6\x96\x87\xF0\x9F\x93\x81";  // ü 文 U+1F4C1
  const fs::path documents = fs::u8path(testenv::DocumentsFolder()).parent_path() / fs::u8path(name);
  testenv::SetVariable("XDG_DOCUMENTS_DIR", documents.u8string().c_str());
  const std::string folder = GetUserDataFolder(12);
  testenv::SetVariable("XDG_DOCUMENTS_DIR", nullptr);
  ASSERT_FALSE(folder.empty());
  EXPECT_NE(std::string::npos, folder.find(name + "\\Corvane Files\\Halyx\\12\\"));
  EXPECT_TRUE(fs::is_directory(documents / "Corvane Files" / "Halyx" / "12"));
#endif
}
