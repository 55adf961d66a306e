// Delivery of change notifications to the host's registrations. Masks and
// owners as a host meets them run as the pushhost scenarios; here what a
// callback may do to the registry while it is called, and what needs the
// started library.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "centers/appupdatemsgcenter.h"
#include "pushcommandregistry.h"
#include "pushwrapper.h"
#include "support/libraryhost.h"

using libraryhost::CommandRecorder;

namespace {

// What the callbacks of one test see, in the order they are called.
struct Seen {
  std::vector<std::string> calls;
  std::vector<const PushCommand*> addresses;
};

Seen* seen = nullptr;
PushCommandRegistry* live = nullptr;

void PCW_CALL Second(const PushCommand* command, uintptr_t) {
  seen->calls.push_back("second " + std::to_string(command->value1));
  seen->addresses.push_back(command);
}
void PCW_CALL Third(const PushCommand* command, uintptr_t) {
  seen->calls.push_back("third " + std::to_string(command->value1));
}
// Changes the registry while a notification is being delivered.
void PCW_CALL First(const PushCommand* command, uintptr_t) {
  seen->calls.push_back("first " + std::to_string(command->value1));
  seen->addresses.push_back(command);
  if (command->value1 == 1) {
    live->Remove(&Second);
    live->Add(&Third, 0, 0, 0xFF, 0xFF);
  } else if (command->value1 == 2) {
    live->Notify(kSystemBit, kEventAdded, 20, 0, 0, 0, 0);  // nested
    seen->calls.push_back("first still sees " + std::to_string(command->value1));
    live->Remove(&First);
  }
}

}  // namespace

TEST(PushCommandRegistry, CallbacksMayChangeTheRegistryDuringDelivery) {
  Seen record;
  PushCommandRegistry registry;
  seen = &record;
  live = &registry;
  ASSERT_TRUE(registry.Add(&First, 0, 0, 0xFF, 0xFF));
  ASSERT_TRUE(registry.Add(&Second, 0, 0, 0xFF, 0xFF));
  registry.Notify(kSystemBit, kEventAdded, 0, 0, 0, 0, 0);
  EXPECT_EQ(record.addresses[0], record.addresses[1]) << "one record, one address";

  record.calls.clear();
  // Second is removed by First before its turn; Third, added meanwhile, waits
  // for the next notification.
  registry.Notify(kSystemBit, kEventAdded, 1, 0, 0, 0, 0);
  EXPECT_EQ((std::vector<std::string>{"first 1"}), record.calls);

  record.calls.clear();
  // A nested notification reaches everybody at once, and the outer record is
  // back when it returns. First removes itself: Third is still called.
  registry.Notify(kSystemBit, kEventAdded, 2, 0, 0, 0, 0);
  EXPECT_EQ((std::vector<std::string>{"first 2", "first 20", "third 20", "first still sees 2",
                                      "third 2"}),
            record.calls);
  record.calls.clear();
  registry.Notify(kSystemBit, kEventAdded, 3, 0, 0, 0, 0);
  EXPECT_EQ((std::vector<std::string>{"third 3"}), record.calls);
  seen = nullptr;
  live = nullptr;
}

TEST(PushCommandRegistry, NotificationsNeedTheStartedLibrary) {
  PushWrapper* wrapper = PushWrapper::Instance();
  wrapper->UnInit();
  CommandRecorder recorder;
  NotifyPushCommand(kSystemBit, kEventAdded, 0, 0, 1, 0, 0);  // dropped, nothing to reach

  ASSERT_TRUE(wrapper->Init());
  ASSERT_TRUE(wrapper->GetCommandRegistry()->Add(recorder.Callback(), recorder.UserData(), 0,
                                                 kAppUpdateBit, kEventReadState));
  // The application-update center tells on every change, also to the same value.
  auto* center = static_cast<AppUpdateMsgCenter*>(wrapper->GetCenter(kAppUpdateKind));
  EXPECT_EQ(0u, center->GetAppUpdateState());
  center->SetAppUpdateState(3);
  center->SetAppUpdateState(3);
  EXPECT_EQ(3u, center->GetAppUpdateState());
  ASSERT_EQ(2u, recorder.Count(kAppUpdateBit, kEventReadState));
  EXPECT_EQ(0u, recorder.commands[0].value1);
  EXPECT_EQ(1u, recorder.commands[0].value2);

  wrapper->UnInit();
  EXPECT_EQ(nullptr, wrapper->GetCommandRegistry());
  NotifyPushCommand(kAppUpdateBit, kEventReadState, 0, 0, 1, 0, 0);
  EXPECT_EQ(2u, recorder.commands.size());
}
