// Shared ground of the dynamic-message unit tests: a signed-in user, a started
// library whose command registry records what the dynamic center raises, and
// short ways to build messages and read the stored rows back.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

#include "messages/dynamicmsg.h"
#include "messages/dynamicmsggroup.h"
#include "platform/win32.h"
#include "pushcenterwrapper.h"
#include "pushcommandregistry.h"
#include "pushwrapper.h"
#include "storage/dynamicmsgstorage.h"
#include "support/testenv.h"

namespace dyntest {

inline void SignIn(uint32_t user) {
  auto signIn = testenv::ModuleFunction<void(HALYX_CDECL*)(uint32_t)>("statusservice.dll", "HalyxSignIn");
  ASSERT_NE(signIn, nullptr);
  signIn(user);
}

inline void SignOut() {
  auto signOut = testenv::ModuleFunction<void(HALYX_CDECL*)()>("statusservice.dll", "HalyxSignOut");
  ASSERT_NE(signOut, nullptr);
  signOut();
}

inline uint32_t ReadReports() {
  auto reports =
      testenv::ModuleFunction<uint32_t(HALYX_CDECL*)(uint32_t)>("pushcenter.dll", "PushCenterReadReports");
  return reports != nullptr ? reports(kDynamicKind) : 0xDEADu;
}

inline DynamicMsg* NewMsg(uint32_t msgId, uint32_t pushTime) {
  DynamicMsg* msg = new DynamicMsg();
  msg->SetMsgId(msgId);
  msg->SetPushTime(pushTime);
  msg->SetNewFlag(1);
  return msg;
}

// A group as the decoder hands it over: messages added one by one.
inline DynamicMsgGroup* NewGroup(uint32_t appId, uint32_t serverCount,
                                 std::initializer_list<DynamicMsg*> msgs) {
  DynamicMsgGroup* group = new DynamicMsgGroup();
  group->SetAppId(appId);
  group->SetMsgCountOnServer(serverCount);
  for (DynamicMsg* msg : msgs) group->AddMsg(msg);
  return group;
}

inline std::vector<DynamicMsgRow> StoredRows() {
  std::vector<DynamicMsgRow> rows;
  DynamicMsgStorage storage;
  EXPECT_TRUE(storage.Open());
  storage.LoadRows(rows);
  return rows;
}

inline std::vector<uint32_t> StoredMsgIds() {
  std::vector<uint32_t> ids;
  for (const DynamicMsgRow& row : StoredRows()) ids.push_back(row.msgId);
  return ids;
}

// Every test starts signed in with a started library and an empty record of
// notifications, and shuts the library down at the end.
class DynamicTest : public testing::Test {
 protected:
  void SetUp() override {
    SignIn(4242);
    PushWrapper::Instance()->Init();
    seen().clear();
    PushWrapper::Instance()->GetCommandRegistry()->Add(&Record, 0, 0, kDynamicBit, 7);
  }
  void TearDown() override { PushWrapper::Instance()->UnInit(); }

  static std::vector<PushCommand>& seen() {
    static std::vector<PushCommand> commands;
    return commands;
  }
  static void HALYX_CDECL Record(const PushCommand* command, uintptr_t) {
    seen().push_back(*command);
  }
};

}  // namespace dyntest
