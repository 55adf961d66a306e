// System messages as a host sees them: pushed through pushcenter.dll, listed,
// marked read, and read back after the library has been unloaded.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/startedhost.h"

namespace {

using libraryhost::CommandRecorder;
using libraryhost::MakeRecord;

class SystemConformance : public StartedHost {
 protected:
  std::vector<SystemMsgInfo> List(uint32_t wanted, bool newOnly) {
    SystemMsgInfo* block = nullptr;
    uint32_t n = host.api.PushGetSystemMsg(wanted, &block, newOnly);
    std::vector<SystemMsgInfo> copy(block, block + n);
    host.api.PushFreeSystemMsgList(block);
    return copy;
  }

  static PushRecord System(uint32_t msgId, uint32_t pushTime, const std::string& json) {
    return MakeRecord(3, 0, msgId, pushTime, json);
  }
};

TEST_F(SystemConformance, ReadMessagesSurviveAReloadAndUnreadOnesDoNot) {
  CommandRecorder recorder;
  ASSERT_TRUE(recorder.Register(host, 0, kSystemBit, 0xFFFFFFFFu));
  ASSERT_EQ(host.Deliver({System(1, 100, R"({"TITLE":"one","APPCUSTOMIZE":"k=v"})"),
                          System(2, 200, R"({"TITLE":"two"})"),
                          System(3, 300, R"({"TITLE":"three","SUBTYPE":2})")}),
            1u);
  EXPECT_EQ(recorder.Count(kSystemBit, kEventAdded), 1u);
  EXPECT_EQ(host.api.PushGetNewSystemMsgNum(), 3u);

  uint32_t reports = host.ctl.PushCenterReadReports(3);
  EXPECT_EQ(host.api.PushUpdateSystemMsgReadState(1, 1), 1u);
  EXPECT_EQ(host.api.PushUpdateSystemMsgReadState(3, 1), 1u);
  EXPECT_EQ(host.ctl.PushCenterReadReports(3), reports + 2);
  EXPECT_EQ(recorder.Count(kSystemBit, kEventReadState), 2u);
  EXPECT_EQ(host.api.PushGetUnreadCountByType(3), 1u);
  recorder.Unregister(host);

  ASSERT_TRUE(host.Reload());
  EXPECT_EQ(host.api.PushGetMsgCountByType(3), 0u);  // nothing read back before the first listing
  std::vector<SystemMsgInfo> infos = List(0, false);
  ASSERT_EQ(infos.size(), 2u);
  EXPECT_EQ(infos[0].msgId, 3u);
  EXPECT_STREQ(infos[0].title, "three");
  EXPECT_EQ(infos[0].subType, 2);
  EXPECT_EQ(infos[1].msgId, 1u);
  EXPECT_STREQ(infos[1].buffer, "k%3Dv");
  EXPECT_EQ(infos[1].kind, 3u);
  EXPECT_EQ(host.api.PushGetNewSystemMsgNum(), 0u);
  EXPECT_TRUE(List(0, true).empty());
}

TEST_F(SystemConformance, OfTwoRecordsOfOneMessageInABatchTheFirstIsKeptUnannounced) {
  CommandRecorder recorder;
  ASSERT_TRUE(recorder.Register(host, 0, kSystemBit, kEventAdded));
  host.Deliver({System(5, 500, R"({"TITLE":"first"})"), System(6, 50, R"({"TITLE":"other"})"),
                System(5, 500, R"({"TITLE":"second"})")});
  EXPECT_EQ(recorder.Count(kSystemBit, kEventAdded), 0u);
  std::vector<SystemMsgInfo> infos = List(0, false);
  ASSERT_EQ(infos.size(), 2u);
  EXPECT_STREQ(infos[0].title, "first");
}

}  // namespace
