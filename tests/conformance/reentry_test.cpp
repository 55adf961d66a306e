// A host's callback may call back into the library while the library is
// still busy building a center: the own-share center reports every stored
// row as it loads them.
#include <gtest/gtest.h>

#include <cstring>

#include "support/libraryhost.h"

using libraryhost::CommandRecorder;
using libraryhost::LibraryHost;

namespace {

struct Reentry {
  LibraryHost* host = nullptr;
  int calls = 0;
  uint32_t countSeenInside = 99;
};

TEST(Reentry, CallbackAskingForTheCenterBeingLoadedGetsNoSecondCenter) {
  LibraryHost host;
  ASSERT_TRUE(host.Loaded()) << "not bound: " << host.Missing();
  host.SignIn(7007);
  ASSERT_TRUE(host.Start());
  MyShareMsgInfo msgs[3] = {};
  for (uint32_t i = 0; i < 3; ++i) {
    msgs[i].shareTime = 100 + i;
    std::strcpy(msgs[i].title, "own");
  }
  MyShareMsgGroupInfo group{};
  group.kind = 4;
  group.appId = 31;
  group.shareType = 1;
  group.msgCount = 3;
  group.msgs = msgs;
  const bool added = host.api.AddMyShareMsg(&group);
  group.msgs = nullptr;  // the record's destructor would free the array it points to
  ASSERT_TRUE(added);
  ASSERT_TRUE(host.Reload());

  Reentry reentry;
  reentry.host = &host;
  CommandRecorder recorder;
  recorder.context = &reentry;
  recorder.onCommand = [](CommandRecorder& self, const PushCommand&) {
    auto* state = static_cast<Reentry*>(self.context);
    // Bounded, so that a library that builds a center inside the callback
    // fails this test instead of exhausting the stack.
    if (++state->calls > 10) return;
    state->countSeenInside = state->host->api.GetAllMyShareMsgNum();
  };
  ASSERT_TRUE(recorder.Register(host, 0, 16, 1));
  // The first call loads the three stored rows, one notification each.
  EXPECT_EQ(host.api.GetAllMyShareMsgNum(), 1u);
  EXPECT_EQ(reentry.calls, 3);
  EXPECT_EQ(reentry.countSeenInside, 0u);  // no center while it is being built
  EXPECT_EQ(host.api.GetAllMyShareMsgNum(), 1u);
  EXPECT_EQ(reentry.calls, 3);
  recorder.Unregister(host);
}

}  // namespace
