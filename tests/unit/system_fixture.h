// What the system-kind unit tests share: a signed-in user with a data folder
// of the test's own, the real modules from the bin folder, and a recorder of
// the notifications the library raises.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "messages/systemmsg.h"
#include "platform/win32.h"
#include "pushcenterwrapper.h"
#include "pushcommandregistry.h"
#include "pushwrapper.h"
#include "storage/systemmsgstorage.h"
#include "support/testenv.h"

class SystemFixture : public testing::Test {
 protected:
  typedef void(HALYX_CDECL* SignInFn)(uint32_t);
  typedef void(HALYX_CDECL* SignOutFn)();
  typedef uint32_t(HALYX_CDECL* ReportsFn)(uint32_t);

  void SetUp() override {
    status = LoadLibraryW(testenv::ModulePath("statusservice.dll").c_str());
    pushCenter = LoadLibraryW(testenv::ModulePath("pushcenter.dll").c_str());
    ASSERT_NE(status, nullptr);
    ASSERT_NE(pushCenter, nullptr);
    signIn = reinterpret_cast<SignInFn>(GetProcAddress(status, "HalyxSignIn"));
    signOut = reinterpret_cast<SignOutFn>(GetProcAddress(status, "HalyxSignOut"));
    readReports = reinterpret_cast<ReportsFn>(GetProcAddress(pushCenter, "PushCenterReadReports"));
    ASSERT_TRUE(signIn && signOut && readReports);
    signIn(4321);
    ASSERT_TRUE(PushWrapper::Instance()->Init());
    ASSERT_TRUE(PushWrapper::Instance()->GetCommandRegistry()->Add(
        &Record, reinterpret_cast<uintptr_t>(&seen), 0, 0xFFFFFFFFu, 0xFFFFFFFFu));
  }

  void TearDown() override {
    PushWrapper::Instance()->UnInit();
    if (signIn) signIn(4321);
    if (pushCenter) FreeLibrary(pushCenter);
    if (status) FreeLibrary(status);
  }

  static void HALYX_CDECL Record(const PushCommand* command, uintptr_t user) {
    reinterpret_cast<std::vector<PushCommand>*>(user)->push_back(*command);
  }

  static SystemMsg* Msg(uint32_t msgId, uint32_t pushTime) {
    SystemMsg* msg = new SystemMsg();
    msg->SetMsgId(msgId);
    msg->SetPushTime(pushTime);
    return msg;
  }

  // Every row of sysmsg.db as the storage reads it back.
  static std::vector<SystemMsgRow> StoredRows() {
    std::vector<SystemMsgRow> rows;
    SystemMsgStorage storage;
    EXPECT_TRUE(storage.Open());
    EXPECT_TRUE(storage.LoadRows(rows));
    return rows;
  }

  static void Store(uint32_t msgId, uint32_t pushTime) {
    SystemMsgStorage storage;
    ASSERT_TRUE(storage.Open());
    SystemMsg msg;
    msg.SetMsgId(msgId);
    msg.SetPushTime(pushTime);
    SaveSystemMsg(storage, msg);
  }

  HMODULE status = nullptr;
  HMODULE pushCenter = nullptr;
  SignInFn signIn = nullptr;
  SignOutFn signOut = nullptr;
  ReportsFn readReports = nullptr;
  std::vector<PushCommand> seen;
};
