// What the system-kind unit tests share: a signed-in user with a data folder
// of the test's own, the real modules from the bin folder, and a recorder of
// the notifications the library raises.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "messages/systemmsg.h"
#include "pushcommandregistry.h"
#include "pushwrapper.h"
#include "storage/systemmsgstorage.h"
#include "support/testenv.h"

class SystemFixture : public testing::Test {
 protected:
  template <class Fn>
  static Fn Control(HMODULE module, const char* name) {
    return ProcAs<Fn>(GetProcAddress(module, name));
  }

  void SetUp() override {
    status = LoadLibraryW(testenv::ModulePath("statusservice.dll").c_str());
    pushCenter = LoadLibraryW(testenv::ModulePath("pushcenter.dll").c_str());
    signIn = Control<void(HALYX_CDECL*)(uint32_t)>(status, "HalyxSignIn");
    signOut = Control<void(HALYX_CDECL*)()>(status, "HalyxSignOut");
    readReports = Control<uint32_t(HALYX_CDECL*)(uint32_t)>(pushCenter, "PushCenterReadReports");
    ASSERT_TRUE(signIn && signOut && readReports);
    signIn(4321);
    ASSERT_TRUE(PushWrapper::Instance()->Init());
    ASSERT_TRUE(PushWrapper::Instance()->GetCommandRegistry()->Add(
        &Record, reinterpret_cast<uintptr_t>(&seen), 0, 0xFFFFFFFFu, 0xFFFFFFFFu));
  }

  void TearDown() override {
    PushWrapper::Instance()->UnInit();
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
    EXPECT_TRUE(storage.Open() && storage.LoadRows(rows));
    return rows;
  }

  // A message the host read in an earlier session.
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
  void(HALYX_CDECL* signIn)(uint32_t) = nullptr;
  void(HALYX_CDECL* signOut)() = nullptr;
  uint32_t(HALYX_CDECL* readReports)(uint32_t) = nullptr;
  std::vector<PushCommand> seen;
};
