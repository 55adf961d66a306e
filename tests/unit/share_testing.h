// What the share tests share: the modules' control functions, push records
// and a fixture that leaves no storage open on a previous test's folder.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "halyx/pushcenter.h"
#include "modules/singlton.h"
#include "platform/win32.h"
#include "support/testenv.h"

namespace sharetest {

inline void SignIn(uint32_t user) {
  auto signIn = testenv::ModuleFunction<void(HALYX_CDECL*)(uint32_t)>("statusservice.dll", "HalyxSignIn");
  ASSERT_NE(signIn, nullptr);
  signIn(user);
}

inline uint32_t ReadReports(uint32_t kind) {
  auto reports = testenv::ModuleFunction<uint32_t(HALYX_CDECL*)(uint32_t)>("pushcenter.dll", "PushCenterReadReports");
  return reports != nullptr ? reports(kind) : 0xDEADu;
}

// A share record; json is ASCII.
inline PushRecord ShareRecord(uint32_t msgId, uint32_t pushTime, const std::string& json) {
  PushRecord record{};
  record.pushTime = pushTime;
  record.msgId = msgId;
  record.kind = 2;
  for (size_t i = 0; i < json.size() && i + 1 < kPushPayloadUnits; ++i) {
    record.payload[i] = static_cast<uint8_t>(json[i]);
  }
  return record;
}

// Signs a user in before the test; releases every module-wide singleton,
// the share storage among them, after it.
class SignedIn : public ::testing::Test {
 protected:
  void SetUp() override { SignIn(4242); }
  void TearDown() override { SingltonRegistry::ReleaseAll(); }
};

}  // namespace sharetest
