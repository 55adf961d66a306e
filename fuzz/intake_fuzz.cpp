// Batches of push records of every kind, from a few applications, with
// mutated JSON payloads, fed to the intake as the push center service does.
// The library runs with the real modules and databases; every few thousand
// batches the centers are cleared so that memory stays bounded.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "fuzzhost.h"
#include "jsonparser.h"
#include "pushcenterwrapper.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  fuzzhost::Prepare(argc != nullptr && *argc > 0 ? (*argv)[0] : nullptr);
  fuzzhost::StartLibrary();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static unsigned batches = 0;
  std::vector<PushRecord> records = fuzzhost::ReadRecords(data, size, 16);
  OnPushBatch(records.data(), static_cast<uint32_t>(records.size()));
  // What was accepted can be listed, counted and given back.
  SystemMsgInfo* msgs = nullptr;
  PushGetSystemMsg(0, &msgs, false);
  PushFreeSystemMsgList(msgs);
  DynamicMsgGroupInfo* groups = nullptr;
  PushGetDynamicMsg(0, 0, &groups, false);
  PushFreeDynamicMsgGroupList(groups);
  ShareMsgGroupInfo* shares = nullptr;
  PushGetShareMsg(0, 0, &shares, false);
  PushFreeShareMsgGroupList(shares);
  if (PushGetAllUnreadMsgCount() != PushGetAllUnreadDynamicMsgCount() +
                                        PushGetAllUnreadShareMsgNum() + PushGetNewSystemMsgNum()) {
    __builtin_trap();
  }
  if (++batches % 2000 == 0) {
    PushWrapperUnInit();
    PushWrapperInit();
  }
  return 0;
}
