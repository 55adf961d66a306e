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

