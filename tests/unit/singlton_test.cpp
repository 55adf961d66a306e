// Lazily created singletons and their release when the library goes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "modules/singlton.h"
#include "pushwrapper.h"

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
