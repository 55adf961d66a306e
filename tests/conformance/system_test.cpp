// System messages as a host sees them, pushed through pushcenter.dll.
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

// The host-level flow of system messages runs as the pushhost scenario; here
// a batch that carries one message twice.
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
