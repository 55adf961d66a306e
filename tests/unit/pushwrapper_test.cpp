// The center registry, start-up and shut-down.
#include <gtest/gtest.h>

#include "pushcommandregistry.h"
#include "unit/recordingcenter.h"

using Log = std::vector<std::string>;

TEST(PushWrapper, CentersAreMadeOnceForKnownKindsOnly) {
  RecordingCenters centers;
  PushWrapper* wrapper = PushWrapper::Instance();
  for (int32_t kind : {0, 6, -1}) EXPECT_EQ(nullptr, wrapper->GetCenter(kind)) << kind;
  EXPECT_EQ(0, centers.created);
  MsgCenter* dynamic = wrapper->GetCenter(1);
  ASSERT_NE(nullptr, dynamic);
  EXPECT_EQ(dynamic, wrapper->GetCenter(1));
  EXPECT_EQ(1, dynamic->GetCenterKind());
  EXPECT_EQ(1, centers.created);

  // A creation that fails is tried again at the next request.
  int attempts = 0;
  wrapper->SetCenterFactoryForTesting(2, [&attempts]() -> MsgCenter* {
    ++attempts;
    return nullptr;
  });
  EXPECT_EQ(nullptr, wrapper->GetCenter(2));
  EXPECT_EQ(nullptr, wrapper->GetCenter(2));
  EXPECT_EQ(2, attempts);
}

TEST(PushWrapper, ShutDownDestroysCentersInKindOrderAndStartsOver) {
  RecordingCenters centers;
  PushWrapper* wrapper = PushWrapper::Instance();
  for (int32_t kind : {5, 3, 1}) wrapper->GetCenter(kind);
  ASSERT_NE(nullptr, wrapper->GetCommandRegistry());
  ASSERT_NE(nullptr, wrapper->GetPendingRecords());

  EXPECT_TRUE(wrapper->UnInit());
  EXPECT_EQ((Log{"destroy 1", "destroy 3", "destroy 5"}), centers.log);
  EXPECT_EQ(nullptr, wrapper->GetCommandRegistry());
  EXPECT_EQ(nullptr, wrapper->GetPendingRecords());
  // Centers are made on demand whatever the state of start-up.
  EXPECT_NE(nullptr, wrapper->GetCenter(2));
  EXPECT_EQ(4, centers.created);

  // A second start keeps what the first one made.
  EXPECT_TRUE(wrapper->Init());
  PushCommandRegistry* registry = wrapper->GetCommandRegistry();
  EXPECT_TRUE(wrapper->Init());
  EXPECT_EQ(registry, wrapper->GetCommandRegistry());
}
