// The library's own code started for the unit suites: a signed-in user,
// PushWrapperInit done, every notification kept in `seen`; afterwards every
// module-wide singleton released, so that no database stays open on an
// earlier test's folder.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "halyx/hostapi.h"
#include "modules/singlton.h"
#include "pushcommandregistry.h"
#include "pushwrapper.h"
#include "support/libraryhost.h"
#include "support/testenv.h"

namespace unithost {

const uint32_t kUser = 4242;

// The status module's sign-in: the data folder follows the signed-in user,
// and nobody signed in means no database opens.
inline void SignIn(uint32_t user = kUser) {
  auto signIn = testenv::ModuleFunction<void(HALYX_CDECL*)(uint32_t)>("statusservice.dll", "HalyxSignIn");
  ASSERT_NE(signIn, nullptr);
  signIn(user);
}

inline void SignOut() {
  auto signOut = testenv::ModuleFunction<void(HALYX_CDECL*)()>("statusservice.dll", "HalyxSignOut");
  ASSERT_NE(signOut, nullptr);
  signOut();
}

// Read reports that the push center module received for a kind.
inline uint32_t ReadReports(uint32_t kind) {
  auto reports = testenv::ModuleFunction<uint32_t(HALYX_CDECL*)(uint32_t)>("pushcenter.dll",
                                                                           "PushCenterReadReports");
  return reports != nullptr ? reports(kind) : 0xDEADu;
}

class StartedLibrary : public testing::Test {
 protected:
  void SetUp() override {
    SignIn();
    ASSERT_TRUE(PushWrapper::Instance()->Init());
    ASSERT_TRUE(PushWrapper::Instance()->GetCommandRegistry()->Add(
        recorder_.Callback(), recorder_.UserData(), 0, 0xFFFFFFFFu, 0xFFFFFFFFu));
  }
  void TearDown() override {
    PushWrapper::Instance()->UnInit();
    SingltonRegistry::ReleaseAll();
  }

  // The last slot: a test's own recorders start from the first.
  libraryhost::CommandRecorder recorder_{7};
  std::vector<PushCommand>& seen = recorder_.commands;
};

}  // namespace unithost
