// The centers under a lack of memory: every allocation that one operation
// makes fails in turn, and what the operation leaves behind must still have
// exactly one owner. A message left in two groups is deleted twice when they
// go; a listing dropped half-way leaks; both show in the count of blocks that
// this program's allocator keeps.
//
// Only operations that stay in the library while failures are armed are
// driven here, so that no failure is injected into a stand-in module.
#include <gtest/gtest.h>

#include <cstdlib>
#include <deque>
#include <functional>
#include <memory>
#include <new>

#include "centers/dynamicmsgcenter.h"
#include "centers/mysharemsgcenter.h"
#include "centers/sharemsgcenter.h"
#include "centers/systemmsgcenter.h"
#include "jsonparser.h"
#include "messages/dynamicmsg.h"
#include "messages/dynamicmsggroup.h"
#include "messages/mysharegroup.h"
#include "messages/myshareitem.h"
#include "messages/sharemsg.h"
#include "messages/sharemsggroup.h"
#include "messages/systemmsg.h"
#include "modules/singlton.h"
#include "pushcenterwrapper.h"

namespace {

long liveBlocks = 0;      // allocated and not yet released
long failCountdown = -1;  // allocations left before the one that fails; -1: none fails
bool failureHit = false;

void* Allocate(size_t size) {
  if (failCountdown == 0) {
    failCountdown = -1;
    failureHit = true;
    return nullptr;
  }
  if (failCountdown > 0) --failCountdown;
  void* block = std::malloc(size != 0 ? size : 1);
  if (block != nullptr) ++liveBlocks;
  return block;
}

void Release(void* block) {
  if (block == nullptr) return;
  --liveBlocks;
  std::free(block);
}

}  // namespace

void* operator new(size_t size) {
  void* block = Allocate(size);
  if (block == nullptr) throw std::bad_alloc();
  return block;
}
void* operator new[](size_t size) { return operator new(size); }
void* operator new(size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void* operator new[](size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void operator delete(void* block) noexcept { Release(block); }
void operator delete[](void* block) noexcept { Release(block); }
void operator delete(void* block, size_t) noexcept { Release(block); }
void operator delete[](void* block, size_t) noexcept { Release(block); }

namespace {

// Runs the scenario once to create what lives for the whole program, then
// once for every allocation of the operation, that allocation failing, until
// the operation runs through. A scenario builds its objects, calls arm() just
// before the operation, and destroys everything it built before it returns.
void FailEachAllocation(const std::function<void(const std::function<void()>&)>& scenario) {
  scenario([] {});
  for (long k = 0; k < 1000; ++k) {
    const long before = liveBlocks;
    failureHit = false;
    scenario([k] { failCountdown = k; });
    failCountdown = -1;
    ASSERT_EQ(liveBlocks, before) << "with allocation " << k << " of the operation failing";
    if (!failureHit) return;
  }
  FAIL() << "the operation never ran through";
}

// Swallows what the operation lets escape, as the exports and the intake do.
// A template, so that wrapping the operation allocates nothing while armed.
template <class Operation>
void Attempt(Operation operation) {
  try {
    operation();
  } catch (const std::bad_alloc&) {
  }
  failCountdown = -1;
}

template <class Msg>
Msg* NewMsg(uint32_t msgId, uint32_t pushTime) {
  Msg* msg = new Msg();
  msg->SetMsgId(msgId);
  msg->SetPushTime(pushTime);
  return msg;
}

class AllocationFailure : public testing::Test {
 protected:
  void TearDown() override { SingltonRegistry::ReleaseAll(); }
};

// A group of one application with n messages of one push time. A held share
// group without messages counts one unread, or the center would discard it.
void Fill(DynamicMsgGroup& group, int n) {
  for (int i = 0; i < n; ++i) group.AddMsg(NewMsg<DynamicMsg>(i + 1, 30));
}
void Fill(ShareMsgGroup& group, int n) {
  group.SetShareType(1);
  if (n == 0) group.SetUnreadCount(1);
  for (int i = 0; i < n; ++i) group.AddMsg(NewMsg<ShareMsg>(i + 1, 30));
}
void Fill(MyShareGroup& group, int n) {
  group.SetShareType(1);
  for (int i = 0; i < n; ++i) {
    MyShareItem* item = new MyShareItem();
    item->SetShareTime(30);
    group.AddItem(item);
  }
}
template <class Group>
Group* GroupOf(int n, uint32_t appId = 7) {
  Group* group = new Group();
  group->SetAppId(appId);
  Fill(*group, n);
  return group;
}

// Merging moves messages one by one into a group that is held already; the
// second one of an equal push time goes to the front. Each merge starts from a
// held group without messages, so that the group must grow while messages
// move in.
template <class Holder, class Group>
void MergeFailingEachAllocation(void (Holder::*add)(Group*)) {
  FailEachAllocation([add](const std::function<void()>& arm) {
    Holder holder;
    (holder.*add)(GroupOf<Group>(0));
    Group* incoming = GroupOf<Group>(2);
    arm();
    Attempt([&] { (holder.*add)(incoming); });
  });
}

TEST_F(AllocationFailure, MergesLeaveEveryMessageWithOneOwner) {
  MergeFailingEachAllocation(&DynamicMsgCenter::AddDynamicMsg);
  MergeFailingEachAllocation(&ShareMsgCenter::AddShareMsg);
  MergeFailingEachAllocation(&MyShareMsgCenter::AddMyShareGroup);
  // The intake folds a batch's records of one application into one group.
  MergeFailingEachAllocation(&JsonParser::QueueDynamicMsg);
  MergeFailingEachAllocation(&JsonParser::QueueShareMsg);

  // The intake destroys whatever is still in its list when a hand-over stops.
  FailEachAllocation([](const std::function<void()>& arm) {
    SystemMsgCenter center;
    std::deque<SystemMsg*> batch{NewMsg<SystemMsg>(2, 20), NewMsg<SystemMsg>(1, 10)};
    arm();
    Attempt([&] { center.AddSystemMsgs(&batch); });
    for (SystemMsg* msg : batch) delete msg;
  });
}

// Lists through `list`, each allocation of the listing failing in turn.
template <class Info>
void ListFailingEachAllocation(const std::function<uint32_t(Info**)>& list) {
  FailEachAllocation([&](const std::function<void()>& arm) {
    Info* out = nullptr;
    arm();
    Attempt([&] { list(&out); });
    delete[] out;
  });
}

TEST_F(AllocationFailure, ListingsCutShortLeaveNothingBehind) {
  ShareMsgCenter share;
  ShareMsgGroupInfo* shareOut = nullptr;
  share.GetShareMsg(0, 0, &shareOut, false);  // the first listing reads the database
  MyShareMsgCenter myShare;
  for (uint32_t app = 1; app <= 2; ++app) {
    share.AddShareMsg(GroupOf<ShareMsgGroup>(1, app));
    myShare.AddMyShareGroup(GroupOf<MyShareGroup>(1, app));
  }
  ListFailingEachAllocation<ShareMsgGroupInfo>([&](auto out) { return share.GetShareMsg(0, 0, out, false); });
  ListFailingEachAllocation<MyShareMsgGroupInfo>([&](auto out) { return myShare.GetMyShareMsg(0, 0, out); });
}

// A clear that runs out of memory part-way is no success to report. The
// system center's clear succeeds even without a database, which this program
// does not have.
TEST_F(AllocationFailure, AClearCutShortAnswersFalse) {
  ASSERT_TRUE(PushClearMsg(kSystemKind));  // the center, and all it uses, made once
  for (long k = 0;; ++k) {
    ASSERT_LT(k, 1000) << "the clear never ran through";
    failureHit = false;
    failCountdown = k;
    const bool cleared = PushClearMsg(kSystemKind);
    failCountdown = -1;
    if (!failureHit) break;
    EXPECT_FALSE(cleared) << "allocation " << k << " failing";
  }
  PushWrapperUnInit();
}

}  // namespace
