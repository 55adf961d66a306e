/* A host of pushcenterwrapper.dll in C.
 *
 * It links the library through its import library and includes only the
 * public header. The host product's modules are the test kit's stand-ins in
 * the bin folder (HalyxBinPath): the host signs a user in and lets the push
 * center deliver two system notices through their control functions, which
 * it looks up at run time, as a product host would have the real modules.
 *
 *   HalyxBinPath=<package>/bin example_host
 *
 * Exit status: 0 when everything went as the comments say, 1 when not, 2
 * when the test kit is missing. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#if defined(_WIN32)
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>
#define PATH_SEPARATOR "\\"
#else
#include <dlfcn.h>
#define PATH_SEPARATOR "/"
#endif

#include "pushcenterwrapper.h"

/* The test kit's push record: one push of 2064 bytes, the payload JSON in
 * UTF-16 with a terminating zero unit. */
typedef struct TestKitPush {
  uint32_t appId;
  uint32_t pushTime;
  uint32_t msgId;
  uint8_t kind; /* 3: a system notice */
  uint8_t reserved;
  uint16_t payload[1025];
} TestKitPush;

typedef void (*AnyFunction)(void);
typedef void(PCW_CALL* SignInFunction)(uint32_t user);
typedef bool(PCW_CALL* SetRoamBooleanFunction)(uint32_t id, bool value);
typedef uint32_t(PCW_CALL* DeliverBatchFunction)(const TestKitPush* pushes, uint32_t count);

enum { kUser = 20002, kSettingSystemWanted = 9, kSystemPush = 3 };

/* A control function of a test kit module in the bin folder, or null. */
static AnyFunction TestKitFunction(const char* binFolder, const char* module, const char* name) {
  char path[1024];
  snprintf(path, sizeof path, "%s" PATH_SEPARATOR "%s", binFolder, module);
#if defined(_WIN32)
  HMODULE handle = LoadLibraryA(path);
  return handle != NULL ? (AnyFunction)GetProcAddress(handle, name) : NULL;
#else
  void* handle = dlopen(path, RTLD_NOW);
  return handle != NULL ? (AnyFunction)dlsym(handle, name) : NULL;
#endif
}

static void SetPush(TestKitPush* push, uint32_t msgId, uint32_t pushTime, const char* json) {
  size_t i;
  memset(push, 0, sizeof *push);
  push->msgId = msgId;
  push->pushTime = pushTime;
  push->kind = kSystemPush;
  for (i = 0; json[i] != '\0' && i + 1 < sizeof push->payload / sizeof push->payload[0]; ++i) {
    push->payload[i] = (uint16_t)(unsigned char)json[i];
  }
}

/* Counts the batches of system notices that were added. Called on the thread
 * that delivered the pushes; it only records what it is told. */
static void PCW_CALL OnCommand(const PushCommand* command, uintptr_t userData) {
  unsigned* added = (unsigned*)userData;
  printf("callback: kind bit %u, event bit %u\n", (unsigned)command->kindBit,
         (unsigned)command->eventBit);
  if (command->kindBit == kSystemBit && command->eventBit == kEventAdded) ++*added;
}

static int failures = 0;
#define EXPECT(condition)                                                   \
  do {                                                                      \
    if (!(condition)) {                                                     \
      fprintf(stderr, "example_host: line %d: %s failed\n", __LINE__, #condition); \
      ++failures;                                                           \
    }                                                                       \
  } while (0)

int main(void) {
  const char* bin = getenv("HalyxBinPath");
  SignInFunction signIn;
  SetRoamBooleanFunction setRoamBoolean;
  DeliverBatchFunction deliver;
  TestKitPush pushes[2];
  SystemMsgInfo* notices = NULL;
  unsigned added = 0;
  uint32_t count, i;

  if (bin == NULL || *bin == '\0') {
    fprintf(stderr, "example_host: set HalyxBinPath to the bin folder of the test kit\n");
    return 2;
  }
  signIn = (SignInFunction)TestKitFunction(bin, "statusservice.dll", "HalyxSignIn");
  setRoamBoolean = (SetRoamBooleanFunction)TestKitFunction(bin, "setting.dll", "stSetRoamBoolean");
  deliver = (DeliverBatchFunction)TestKitFunction(bin, "pushcenter.dll", "PushCenterDeliverBatch");
  if (signIn == NULL || setRoamBoolean == NULL || deliver == NULL) {
    fprintf(stderr, "example_host: no test kit in %s\n", bin);
    return 2;
  }

  /* The product signs the user in before the library starts. */
  signIn(kUser);
  EXPECT(setRoamBoolean(kSettingSystemWanted, true));

  EXPECT(PushWrapperInit());
  EXPECT(PushClearMsg(kSystemKind)); /* start from no notices */
  EXPECT(AddPushCommandCallback(OnCommand, (uintptr_t)&added, 0, kSystemBit,
                                kEventAdded | kEventReadState));

  /* Two notices in one batch: one notification. */
  SetPush(&pushes[0], 1, 1767603600, "{\"TITLE\":\"Welcome\",\"TEXT\":\"Your account is ready\"}");
  SetPush(&pushes[1], 2, 1767603700, "{\"TITLE\":\"Update\",\"TEXT\":\"Version 1.0.0 is out\"}");
  deliver(pushes, 2);
  EXPECT(added == 1);
  EXPECT(PushGetNewSystemMsgNum() == 2);

  /* The listing is the library's array: read it, then give it back. */
  count = PushGetSystemMsg(0, &notices, false);
  EXPECT(count == 2);
  for (i = 0; i < count; ++i) {
    printf("notice %u (pushed at %u): %s: %s\n", (unsigned)notices[i].msgId,
           (unsigned)notices[i].pushTime, notices[i].title, notices[i].text);
  }
  PushFreeSystemMsgList(notices);

  /* Reading one leaves one new. */
  EXPECT(PushUpdateSystemMsgReadState(1, 1) == 1);
  EXPECT(PushGetNewSystemMsgNum() == 1);
  EXPECT(PushGetAllUnreadMsgCount() >= 1);

  /* The one export with a C++ name, reached from C through the header. */
  EXPECT(PushShieldDynamicMsgForApp(7, 0));
  EXPECT(PushIsShieldDynamicMsg(7));

  EXPECT(RemovePushCommandCallback(OnCommand));
  EXPECT(PushWrapperUnInit());
  printf("example_host: %s\n", failures == 0 ? "every step as expected" : "FAILED");
  return failures == 0 ? 0 : 1;
}
