// The center registry, start-up and shut-down, and the lazily created
// singletons with their release when the library goes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "modules/singlton.h"
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

namespace {

std::vector<std::string> events;

template <int N>
class Probe : public Singlton<Probe<N>> {
 public:
  void OnInstanceCreated() override { events.push_back("create " + std::to_string(N)); }
  void OnInstanceReleasing() override {
    // Every instance must still be alive while any release hook runs.
    bool othersAlive = Probe<1>::PeekInstance() != nullptr && Probe<2>::PeekInstance() != nullptr;
    events.push_back("release " + std::to_string(N) + (othersAlive ? "" : " alone"));
  }
  ~Probe() override { events.push_back("destroy " + std::to_string(N)); }
};

}  // namespace

TEST(Singlton, ReleasedInCreationOrderWithEveryHookBeforeAnyDestructor) {
  PushWrapper::Instance()->UnInit();  // no center may hold on to a singleton
  events.clear();
  Probe<2>* second = Probe<2>::GetInstance();
  Probe<1>* first = Probe<1>::GetInstance();
  EXPECT_EQ(second, Probe<2>::GetInstance());
  EXPECT_EQ(first, Probe<1>::GetInstance());

  SingltonRegistry::ReleaseAll();
  EXPECT_EQ((std::vector<std::string>{"create 2", "create 1", "release 2", "release 1",
                                      "destroy 2", "destroy 1"}),
            events);
  EXPECT_EQ(nullptr, Probe<1>::PeekInstance());
  EXPECT_EQ(nullptr, Probe<2>::PeekInstance());

  // A later request builds a new instance, released again at the next release.
  events.clear();
  Probe<1>::GetInstance();
  SingltonRegistry::ReleaseAll();
  EXPECT_EQ((std::vector<std::string>{"create 1", "release 1 alone", "destroy 1"}), events);
}
