// What the dynamic-message unit tests share: a started library (see
// support/startedlibrary.h), and short ways to build messages and read the
// stored rows back.
#pragma once

#include <initializer_list>
#include <vector>

#include "messages/dynamicmsg.h"
#include "messages/dynamicmsggroup.h"
#include "storage/dynamicmsgstorage.h"
#include "support/each.h"
#include "support/startedlibrary.h"

namespace dyntest {

using DynamicTest = unithost::StartedLibrary;

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

inline Values StoredMsgIds() { return Each(StoredRows(), &DynamicMsgRow::msgId); }

}  // namespace dyntest
