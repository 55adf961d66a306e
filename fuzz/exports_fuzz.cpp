// The exports in any order with any arguments, after any pushes: the input
// is a program of one-byte operations followed by their argument bytes.
// Every array handed out is read to its end and given back, and the unread
// total must be the sum of its parts after every step. (A system message
// deleted while new keeps counting as new, so no count bounds another.)
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "fuzzhost.h"
#include "jsonparser.h"
#include "pushcenterwrapper.h"

namespace {

using fuzzhost::CheckTexts;
using fuzzhost::Fail;

struct Input {
  const uint8_t* data;
  size_t size;
  size_t at = 0;
  bool Done() const { return at >= size; }
  uint8_t Byte() { return at < size ? data[at++] : 0; }
  uint32_t Small() { return Byte() % 8; }
  uint32_t Word() { return Byte() | (static_cast<uint32_t>(Byte()) << 8); }
  uint32_t App() { return fuzzhost::kApps[Byte() % 4]; }
};

const char* const kPayloads[] = {
    R"({"TITLE":"t","TEXT":"x","NUM":3,"BOTTON":"b","VOICE":1,"APPCUSTOMIZE":"a=b"})",
    R"({"DSTAPPID":"7","SHARETYPE":1,"FUIN":5,"MSG":"m","TITLE":"s","APPDESC":"d"})",
    R"({"DSTAPPID":"8","SHARETYPE":2,"MSG":"map","APPDESC":"other"})",
    R"({"TITLE":"sys","SUBTYPE":2,"BTNTYPE":1,"DSTAPPID":"0x9","JUMPURL":"u"})",
    R"({"Num":4})",
    R"({"TITLE":)",
};

// How many elements a listing handed out. The listings for one application
// hand out a single element and answer its message count; the others answer
// the number of elements.
template <class Group>
uint32_t Elements(bool forApp, uint32_t answer, const Group* groups) {
  if (answer != 0 && groups == nullptr) Fail("a count without an array");
  if (!forApp) return answer;
  if (groups == nullptr) return 0;
  if (groups[0].msgCount != answer) Fail("one application's count is not its element's");
  return 1;
}

void Push(Input& in) {
  const uint8_t kind = static_cast<uint8_t>(in.Byte());
  const char* payload = kPayloads[in.Byte() % 6];
  PushRecord record = fuzzhost::MakeRecord(kind, in.Byte(), in.Byte(), in.Byte(),
                                           reinterpret_cast<const uint8_t*>(payload),
                                           std::strlen(payload));
  OnPushBatch(&record, 1);
}

void ListDynamic(Input& in) {
  DynamicMsgGroupInfo* groups = nullptr;
  const bool forApp = in.Byte() & 1;
  uint32_t n = forApp ? PushGetDynamicMsgForApp(in.App(), in.Small(), &groups, in.Byte() & 1)
                      : PushGetDynamicMsg(in.Small(), in.Small(), &groups, in.Byte() & 1);
  n = Elements(forApp, n, groups);
  for (uint32_t g = 0; g < n; ++g) {
    for (uint32_t m = 0; m < groups[g].msgCount; ++m) CheckTexts(groups[g].msgs[m]);
  }
  PushFreeDynamicMsgGroupList(groups);
}

void ListShare(Input& in) {
  ShareMsgGroupInfo* groups = nullptr;
  const bool forApp = in.Byte() & 1;
  uint32_t n = forApp ? PushGetShareMsgForApp(in.App(), static_cast<int32_t>(in.Small()) - 1,
                                              in.Small(), &groups, in.Byte() & 1)
                      : PushGetShareMsg(in.Small(), in.Small(), &groups, in.Byte() & 1);
  n = Elements(forApp, n, groups);
  for (uint32_t g = 0; g < n; ++g) {
    for (uint32_t m = 0; m < groups[g].msgCount; ++m) CheckTexts(groups[g].msgs[m]);
  }
  PushFreeShareMsgGroupList(groups);
}

void ListSystem(Input& in) {
  SystemMsgInfo* msgs = nullptr;
  uint32_t n = PushGetSystemMsg(in.Small(), &msgs, in.Byte() & 1);
  if (n != 0 && msgs == nullptr) Fail("a count without an array");
  for (uint32_t i = 0; i < n; ++i) CheckTexts(msgs[i]);
  PushFreeSystemMsgList(msgs);
}

void MyShares(Input& in) {
  if (in.Byte() & 1) {
    MyShareMsgGroupInfo group;
    std::memset(static_cast<void*>(&group), 0, sizeof(group));
    group.shareType = static_cast<int32_t>(in.Small()) - 1;
    group.appId = in.App();
    group.msgCount = in.Small();
    group.msgs = group.msgCount != 0 ? new MyShareMsgInfo[group.msgCount]() : nullptr;
    for (uint32_t i = 0; i < group.msgCount; ++i) {
      group.msgs[i].shareTime = in.Word();
      // Full fields without a terminator: the library must bound its reads.
      std::memset(group.msgs[i].text, 'a' + static_cast<int>(in.Small()), sizeof(group.msgs[i].text));
      std::memset(group.msgs[i].appDesc, 'd', in.Byte() & 1 ? sizeof(group.msgs[i].appDesc) : 3);
    }
    AddMyShareMsg(&group);
  } else {
    MyShareMsgGroupInfo* groups = nullptr;
    const bool forApp = !(in.Byte() & 1);
    uint32_t n = forApp ? GetMyShareMsgForApp(in.App(), static_cast<int32_t>(in.Small()) - 1,
                                              in.Small(), &groups)
                        : GetMyShareMsg(in.Small(), in.Small(), &groups);
    n = Elements(forApp, n, groups);
    for (uint32_t g = 0; g < n; ++g) {
      for (uint32_t m = 0; m < groups[g].msgCount; ++m) CheckTexts(groups[g].msgs[m]);
    }
    FreeMyLocalShareMsgGroupList(groups);
    const char* desc = getAppDesc();
    if (desc != nullptr) (void)std::strlen(desc);
  }
}

void Step(Input& in) {
  switch (in.Byte() % 16) {
    case 0: case 1: Push(in); break;
    case 2: ListDynamic(in); break;
    case 3: ListShare(in); break;
    case 4: ListSystem(in); break;
    case 5: MyShares(in); break;
    case 6: PushUpdateDynamicMsgReadState(in.App(), in.Small(), in.Byte() & 1); break;
    case 7: PushUpdateShareMsgReadState(in.App(), static_cast<int32_t>(in.Small()) - 1, 0, in.Byte()); break;
    case 8: PushUpdateSystemMsgReadState(in.Byte(), in.Small()); break;
    case 9: PushDeleteDynamicMsg(in.App(), in.Small()); break;
    case 10: PushDeleteShareMsg(in.App(), in.Byte()); break;
    case 11: PushDeleteSystemMsg(in.Byte(), in.Byte()); break;
    case 12: PushClearMsg(static_cast<int32_t>(in.Small()) - 1); break;
    case 13: PushUpdateReadStateByType(static_cast<int32_t>(in.Small()) - 1); break;
    case 14:
      PushResetUnreadDynamicMsgCount(in.App(), in.Byte(), in.Small());
      PushShieldDynamicMsgForApp(in.App(), 0);
      PushDeleteMyShareMsg(in.App(), in.Small());
      break;
    default:
      PushWrapperUnInit();
      PushWrapperInit();
      break;
  }
  fuzzhost::CheckUnreadTotal();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  fuzzhost::Prepare(argc != nullptr && *argc > 0 ? (*argv)[0] : nullptr);
  fuzzhost::StartLibrary();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Input in{data, size};
  for (int steps = 0; steps < 64 && !in.Done(); ++steps) Step(in);
  // Each input starts from empty centers and databases.
  for (int32_t kind = 1; kind <= 4; ++kind) PushClearMsg(kind);
  return 0;
}
