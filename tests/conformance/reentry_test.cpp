// A host's callback may call back into the library while the library is
// still busy building a center: the own-share center reports every stored
// row as it loads them.
#include <gtest/gtest.h>

#include "support/ownshares.h"
#include "support/startedhost.h"

using libraryhost::CommandRecorder;

namespace {

struct ReentryState {
  libraryhost::LibraryHost* host = nullptr;
  int calls = 0;
  uint32_t countSeenInside = 99;
};

using Reentry = StartedHost;

TEST_F(Reentry, CallbackAskingForTheCenterBeingLoadedGetsNoSecondCenter) {
  ASSERT_TRUE(host.api.AddMyShareMsg(OwnShares(31, 1, {100, 101, 102}).Get()));
  ASSERT_TRUE(host.Reload());

  ReentryState reentry;
  reentry.host = &host;
  CommandRecorder recorder;
  recorder.context = &reentry;
  recorder.onCommand = [](CommandRecorder& self, const PushCommand&) {
    auto* state = static_cast<ReentryState*>(self.context);
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
