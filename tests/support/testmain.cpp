// The main of every suite: each test gets a data folder of its own (testenv).
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "hostkit/hostos.h"
#include "support/testenv.h"

namespace {

class FreshDataFolder : public testing::EmptyTestEventListener {
 public:
  void OnTestStart(const testing::TestInfo&) override {
    const std::string problem = testenv::FreshDataFolder();
    if (!problem.empty()) FAIL() << problem;
  }
  void OnTestEnd(const testing::TestInfo&) override { testenv::DropDataFolder(); }
};

}  // namespace

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  if (std::getenv("HalyxBinPath") == nullptr) hostos::SetEnv("HalyxBinPath", hostos::ExecutableFolder());
  testing::UnitTest::GetInstance()->listeners().Append(new FreshDataFolder);
  return RUN_ALL_TESTS();
}
