// What the system-kind unit tests share: a started library (see
// support/startedlibrary.h), messages, and the rows of sysmsg.db.
#pragma once

#include <vector>

#include "messages/systemmsg.h"
#include "storage/systemmsgstorage.h"
#include "support/startedlibrary.h"

class SystemFixture : public unithost::StartedLibrary {
 protected:
  // The system suites sign in a user of their own, whose folder some tests
  // reach directly.
  void SetUp() override {
    StartedLibrary::SetUp();
    unithost::SignIn(4321);
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
};
