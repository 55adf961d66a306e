// Dynamic messages as a host sees them across a restart of the loaded library.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/startedhost.h"

using libraryhost::CommandRecorder;
using libraryhost::LibraryHost;
using libraryhost::MakeRecord;

namespace {

PushRecord Dynamic(uint32_t appId, uint32_t msgId, uint32_t pushTime, uint32_t serverCount) {
  return MakeRecord(1, appId, msgId, pushTime,
                    "{\"TITLE\":\"t" + std::to_string(msgId) + "\",\"NUM\":" +
                        std::to_string(serverCount) + "}");
}

// One listing, given back to the library when the test is done with it.
struct Listing {
  LibraryHost& host;
  DynamicMsgGroupInfo* groups = nullptr;
  uint32_t count = 0;
  ~Listing() { host.api.PushFreeDynamicMsgGroupList(groups); }
};

class DynamicMessagesTest : public StartedHost {
 protected:
  void SetUp() override {
    StartedHost::SetUp();
    for (uint32_t app : {11u, 12u, 13u}) host.MarkInstalled(app);
  }
};

}  // namespace

// The host-level flow of dynamic messages runs as the pushhost scenario; here
// what only a restart shows.
TEST_F(DynamicMessagesTest, ARestartBringsBackReadMessagesMergedWithThoseBeforeTheFirstListing) {
  host.Deliver({Dynamic(11, 1, 10, 2), Dynamic(12, 2, 20, 1), Dynamic(11, 3, 30, 5),
                Dynamic(13, 4, 40, 1)});
  CommandRecorder recorder;
  ASSERT_TRUE(recorder.Register(host, 77, kDynamicBit, kEventReadState));
  EXPECT_EQ(host.api.PushUpdateDynamicMsgReadState(11, 77, true), 2u);
  EXPECT_TRUE(recorder.commands.empty());  // its own change
  EXPECT_TRUE(host.api.PushShieldDynamicMsgForApp(12, 0));

  ASSERT_TRUE(host.Reload());
  EXPECT_EQ(host.api.PushGetAllUnreadDynamicMsgCount(), 0u);
  // Pushed before the first listing: merged with what was stored, the later
  // server count holding.
  host.Deliver(Dynamic(11, 6, 60, 4));
  Listing back{host};
  back.count = host.api.PushGetDynamicMsg(0, 0, &back.groups, false);
  ASSERT_EQ(back.count, 1u);
  EXPECT_EQ(back.groups[0].appId, 11u);
  EXPECT_EQ(back.groups[0].msgCountOnServer, 4u);
  ASSERT_EQ(back.groups[0].msgCount, 3u);
  EXPECT_EQ(back.groups[0].msgs[0].pushTime, 10u);
  EXPECT_EQ(back.groups[0].msgs[2].pushTime, 60u);
  EXPECT_EQ(std::string(back.groups[0].msgs[0].title), "t1");
  EXPECT_EQ(back.groups[0].msgs[1].newFlag, 0);
  EXPECT_EQ(back.groups[0].msgs[2].newFlag, 1);
  EXPECT_EQ(host.api.PushGetAllUnreadDynamicMsgCount(), 4u);
  Listing unread{host};
  ASSERT_EQ(host.api.PushGetDynamicMsg(0, 0, &unread.groups, true), 1u);
  ASSERT_EQ(unread.groups[0].msgCount, 1u);
  EXPECT_EQ(unread.groups[0].msgs[0].pushTime, 60u);

  // The shield holds after the restart, and the policy it set refuses the
  // shielded application's pushes only.
  EXPECT_TRUE(host.api.PushIsShieldDynamicMsg(12));
  EXPECT_FALSE(host.api.PushIsShieldDynamicMsg(11));
  host.Deliver(Dynamic(12, 5, 50, 1));
  EXPECT_EQ(host.api.PushGetUnreadDynamicMsgCountForApp(12), 0u);
  EXPECT_EQ(host.api.PushGetMsgCountByType(1), 1u);
}
