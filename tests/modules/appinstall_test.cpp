// appinstall.dll: registered callbacks and what reaches them. (The push
// center module's table and read reports show in every fault session and
// pushhost scenario.)

#include <gtest/gtest.h>

#include <numeric>
#include <utility>
#include <vector>

#include "halyx/appinstall.h"
#include "modules/loadedmodule.h"

namespace {

// What the callbacks below saw; they are plain functions, as a host's are.
std::vector<int> calls;
std::vector<uint32_t> seenAppIds;
bool(HALYX_CDECL* registerInstall)(AppInstallCallback, uint32_t) = nullptr;
bool(HALYX_CDECL* unregisterInstall)(AppInstallCallback, uint32_t) = nullptr;

void HALYX_CDECL Third(uint32_t, uint32_t, bool) { calls.push_back(3); }
void HALYX_CDECL Second(uint32_t, uint32_t, bool) { calls.push_back(2); }
// Takes itself out and the second one too, and brings in the third.
void HALYX_CDECL First(uint32_t appId, uint32_t arg, bool installed) {
  calls.push_back(1);
  seenAppIds.push_back(appId + arg + (installed ? 1000 : 0));
  unregisterInstall(&First, 0);
  unregisterInstall(&Second, 0);
  registerInstall(&Third, 0);
}

template <int N>
void HALYX_CDECL Nth(uint32_t, uint32_t, bool) { calls.push_back(N); }

template <int... N>
bool RegisterEach(std::integer_sequence<int, N...>) { return (registerInstall(&Nth<N>, 0) && ...); }

struct AppInstallModule : testing::Test {
  LoadedModule module{"appinstall.dll"};
  uint32_t(HALYX_CDECL* notify)(uint32_t, uint32_t, bool) =
      module.Get<decltype(notify)>("HYNotifyAppInstallChanged");
  void SetUp() override {
    registerInstall = module.Get<decltype(registerInstall)>("HYRegisterAppInstallCallback");
    unregisterInstall = module.Get<decltype(unregisterInstall)>("HYUnRegisterAppInstallCallback");
    ASSERT_TRUE(registerInstall && unregisterInstall && notify);
    calls.clear();
    seenAppIds.clear();
  }
};

// More callbacks than a delivery keeps on its stack: each called once, in order.
TEST_F(AppInstallModule, EveryCallbackOfALongListCalledOnce) {
  ASSERT_TRUE(RegisterEach(std::make_integer_sequence<int, 12>()));
  std::vector<int> expected(12);
  std::iota(expected.begin(), expected.end(), 0);
  EXPECT_EQ(notify(7, 0, true), 12u);
  EXPECT_EQ(calls, expected);
}

TEST_F(AppInstallModule, CallbacksMayChangeTheListWhileBeingCalled) {
  EXPECT_EQ(notify(7, 0, true), 0u);
  EXPECT_TRUE(registerInstall(&First, 0));
  EXPECT_FALSE(registerInstall(&First, 0));  // kept once
  EXPECT_TRUE(registerInstall(&Second, 0));
  EXPECT_FALSE(registerInstall(nullptr, 0));

  // Second was taken out before its turn; Third came in during the delivery.
  EXPECT_EQ(notify(7, 5, true), 1u);
  EXPECT_EQ(calls, std::vector<int>{1});
  EXPECT_EQ(seenAppIds, std::vector<uint32_t>{1012});
  EXPECT_EQ(notify(8, 0, false), 1u);
  EXPECT_EQ(calls, (std::vector<int>{1, 3}));
  EXPECT_FALSE(unregisterInstall(&Second, 0));
  EXPECT_TRUE(unregisterInstall(&Third, 0));
  EXPECT_EQ(notify(9, 0, true), 0u);
}

}  // namespace
