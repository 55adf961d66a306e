// Finding and loading the service modules: the folder from HalyxBinPath, and
// the retry while a module or its entry point is missing.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "modules/halyx_status_wrapper.h"
#include "modules/modulepaths.h"
#include "pushwrapper.h"
#include "support/testenv.h"

namespace fs = std::filesystem;

namespace {

std::string PathOf(ServiceModule module) { return testenv::Narrow(ServiceModulePath(module)); }

// Restores HalyxBinPath, the computed paths and fresh wrappers afterwards.
class BinPathTest : public testing::Test {
 protected:
  void SetUp() override {
    saved_ = testenv::BinFolder();
    PushWrapper::Instance()->UnInit();
  }
  void TearDown() override {
    testenv::SetVariable("HalyxBinPath", saved_.c_str());
    ComputeServiceModulePaths();
    SingltonRegistry::ReleaseAll();
  }
  std::string saved_;
};

}  // namespace

TEST_F(BinPathTest, ModulePathsFollowTheVariableWithOneBackslash) {
  testenv::SetVariable("HalyxBinPath", "D:\\svc");
  ComputeServiceModulePaths();
  EXPECT_EQ("D:\\svc\\pushcenter.dll", PathOf(ServiceModule::PushCenter));
  EXPECT_EQ("D:\\svc\\localdatabase.dll", PathOf(ServiceModule::LocalDatabase));
  EXPECT_EQ("D:\\svc\\statusservice.dll", PathOf(ServiceModule::Status));
  EXPECT_EQ("D:\\svc\\coreserviceengine.dll", PathOf(ServiceModule::Engine));

  // Unset, or too long for a Windows path: no folder part at all.
  testenv::SetVariable("HalyxBinPath", nullptr);
  ComputeServiceModulePaths();
  EXPECT_EQ("pushcenter.dll", PathOf(ServiceModule::PushCenter));
  testenv::SetVariable("HalyxBinPath", std::string(300, 'a').c_str());
  ComputeServiceModulePaths();
  EXPECT_EQ("pushcenter.dll", PathOf(ServiceModule::PushCenter));
}

TEST_F(BinPathTest, MissingModuleOrEntryPointIsLookedForAgainAtEveryCall) {
  const fs::path bin = fs::temp_directory_path() / "pcw-retry-bin";
  std::error_code ignored;
  fs::remove_all(bin, ignored);
  fs::create_directories(bin);
  testenv::SetVariable("HalyxBinPath", bin.string().c_str());
  ComputeServiceModulePaths();
  SingltonRegistry::ReleaseAll();
  halyx_status_wrapper* wrapper = halyx_status_wrapper::GetInstance();
  EXPECT_EQ(nullptr, wrapper->GetTable());

  // A module without the entry point must be let go again, or the real file
  // put in its place would never be loaded.
  const fs::path target = bin / "statusservice.dll";
  fs::copy_file(testenv::Join(saved_, "base.dll"), target);
  EXPECT_EQ(nullptr, wrapper->GetTable());
  fs::remove(target);
  fs::copy_file(testenv::Join(saved_, "statusservice.dll"), target);
  StatusTable* table = wrapper->GetTable();
  ASSERT_NE(nullptr, table);
  EXPECT_NE(nullptr, table->currentUser);
  EXPECT_EQ(table, wrapper->GetTable());
  // The module stays loaded for the life of the process; on Windows its file
  // cannot go before then.
  fs::remove_all(bin, ignored);
}
