// Listing: the host's full listings of each kind, with their free functions,
// on centers at their caps, beside the floor: allocating and zero-filling the
// same bytes and copying the same texts into them, then releasing them.
#include <benchmark/benchmark.h>

#include <cstring>
#include <string>
#include <vector>

#include "benchhost.h"

namespace {

const uint32_t kGroups = 50;

BenchHost& FullHost() {
  BenchHost& host = BenchHost::Shared();
  static const bool filled = [&host] {
    if (!host.Ready()) return false;
    host.FillToCaps();
    // The first listing of each kind reads its database; what is measured
    // here is every listing after it.
    DynamicMsgGroupInfo* dynamic = nullptr;
    host.Api().PushGetDynamicMsg(0, 0, &dynamic, false);
    host.Api().PushFreeDynamicMsgGroupList(dynamic);
    ShareMsgGroupInfo* share = nullptr;
    host.Api().PushGetShareMsg(0, 0, &share, false);
    host.Api().PushFreeShareMsgGroupList(share);
    SystemMsgInfo* system = nullptr;
    host.Api().PushGetSystemMsg(0, &system, false);
    host.Api().PushFreeSystemMsgList(system);
    return true;
  }();
  (void)filled;
  return host;
}

// At most size - 1 bytes and the terminator, as every listed text is written.
template <size_t N>
void CopyText(char (&field)[N], const std::string& text) {
  const size_t length = strnlen(text.c_str(), N - 1);
  std::memcpy(field, text.c_str(), length);
  field[length] = '\0';
}

// What one listing hands out, copied once from the library's own answer, so
// that the floor copies exactly the texts the library copies.
struct DynamicGroupCopy {
  DynamicMsgGroupInfo head;  // msgs cleared
  std::vector<DynamicMsgInfo> numbers;
  std::vector<std::string> titles, texts, buttons, buffers;
};
struct ShareGroupCopy {
  ShareMsgGroupInfo head;
  std::vector<ShareMsgInfo> numbers;
  std::vector<std::string> texts, buffers, pictures, titles, descriptions;
};
struct SystemCopy {
  SystemMsgInfo numbers;
  std::string title, text, picture, jump, button, buffer;
};

std::vector<DynamicGroupCopy> CopyDynamic(BenchHost& host) {
  std::vector<DynamicGroupCopy> copies;
  DynamicMsgGroupInfo* groups = nullptr;
  const uint32_t count = host.Api().PushGetDynamicMsg(0, 0, &groups, false);
  for (uint32_t g = 0; g < count; ++g) {
    DynamicGroupCopy copy;
    copy.head = groups[g];
    copy.head.msgs = nullptr;
    for (uint32_t m = 0; m < groups[g].msgCount; ++m) {
      const DynamicMsgInfo& msg = groups[g].msgs[m];
      copy.numbers.push_back(msg);
      copy.titles.push_back(msg.title);
      copy.texts.push_back(msg.text);
      copy.buttons.push_back(msg.buttonText);
      copy.buffers.push_back(msg.buffer);
    }
    copies.push_back(std::move(copy));
  }
  host.Api().PushFreeDynamicMsgGroupList(groups);
  return copies;
}

std::vector<ShareGroupCopy> CopyShare(BenchHost& host) {
  std::vector<ShareGroupCopy> copies;
  ShareMsgGroupInfo* groups = nullptr;
  const uint32_t count = host.Api().PushGetShareMsg(0, 0, &groups, false);
  for (uint32_t g = 0; g < count; ++g) {
    ShareGroupCopy copy;
    copy.head = groups[g];
    copy.head.msgs = nullptr;
    for (uint32_t m = 0; m < groups[g].msgCount; ++m) {
      const ShareMsgInfo& msg = groups[g].msgs[m];
      copy.numbers.push_back(msg);
      copy.texts.push_back(msg.text);
      copy.buffers.push_back(msg.buffer);
      copy.pictures.push_back(msg.picURL);
      copy.titles.push_back(msg.title);
      copy.descriptions.push_back(msg.appDesc);
    }
    copies.push_back(std::move(copy));
  }
  host.Api().PushFreeShareMsgGroupList(groups);
  return copies;
}

std::vector<SystemCopy> CopySystem(BenchHost& host) {
  std::vector<SystemCopy> copies;
  SystemMsgInfo* msgs = nullptr;
  const uint32_t count = host.Api().PushGetSystemMsg(0, &msgs, false);
  for (uint32_t i = 0; i < count; ++i) {
    const SystemMsgInfo& msg = msgs[i];
    copies.push_back({msg, msg.title, msg.text, msg.pictureUrl, msg.jumpUrl, msg.buttonText,
                      msg.buffer});
  }
  host.Api().PushFreeSystemMsgList(msgs);
  return copies;
}

void BM_ListDynamic(benchmark::State& state) {
  BenchHost& host = FullHost();
  if (!host.Ready()) return state.SkipWithError(host.Problem().c_str());
  int64_t wrong = 0;
  for (auto _ : state) {
    DynamicMsgGroupInfo* groups = nullptr;
    if (host.Api().PushGetDynamicMsg(0, 0, &groups, false) != kGroups) ++wrong;
    benchmark::DoNotOptimize(groups);
    host.Api().PushFreeDynamicMsgGroupList(groups);
  }
  if (wrong != 0) state.SkipWithError("a listing did not hold every group");
}

void BM_ListDynamicFloor(benchmark::State& state) {
  const std::vector<DynamicGroupCopy> copies = CopyDynamic(FullHost());
  if (copies.size() != kGroups) return state.SkipWithError("the center is not at its cap");
  for (auto _ : state) {
    DynamicMsgGroupInfo* groups = new DynamicMsgGroupInfo[copies.size()]();
    for (size_t g = 0; g < copies.size(); ++g) {
      const DynamicGroupCopy& copy = copies[g];
      groups[g] = copy.head;
      groups[g].msgs = new DynamicMsgInfo[copy.numbers.size()]();
      for (size_t m = 0; m < copy.numbers.size(); ++m) {
        DynamicMsgInfo& msg = groups[g].msgs[m];
        msg.msgId = copy.numbers[m].msgId;
        msg.openType = copy.numbers[m].openType;
        msg.pushTime = copy.numbers[m].pushTime;
        CopyText(msg.title, copy.titles[m]);
        CopyText(msg.text, copy.texts[m]);
        CopyText(msg.buttonText, copy.buttons[m]);
        msg.voiceIndex = copy.numbers[m].voiceIndex;
        CopyText(msg.buffer, copy.buffers[m]);
        msg.newFlag = copy.numbers[m].newFlag;
      }
    }
    benchmark::DoNotOptimize(groups);
    benchmark::ClobberMemory();
    // The records a host sees own nothing: each group's messages go first, as
    // in the library's free function.
    for (size_t g = 0; g < copies.size(); ++g) delete[] groups[g].msgs;
    delete[] groups;
  }
}

void BM_ListShare(benchmark::State& state) {
  BenchHost& host = FullHost();
  if (!host.Ready()) return state.SkipWithError(host.Problem().c_str());
  int64_t wrong = 0;
  for (auto _ : state) {
    ShareMsgGroupInfo* groups = nullptr;
    if (host.Api().PushGetShareMsg(0, 0, &groups, false) != kGroups) ++wrong;
    benchmark::DoNotOptimize(groups);
    host.Api().PushFreeShareMsgGroupList(groups);
  }
  if (wrong != 0) state.SkipWithError("a listing did not hold every group");
}

void BM_ListShareFloor(benchmark::State& state) {
  const std::vector<ShareGroupCopy> copies = CopyShare(FullHost());
  if (copies.size() != kGroups) return state.SkipWithError("the center is not at its cap");
  for (auto _ : state) {
    ShareMsgGroupInfo* groups = new ShareMsgGroupInfo[copies.size()]();
    for (size_t g = 0; g < copies.size(); ++g) {
      const ShareGroupCopy& copy = copies[g];
      groups[g] = copy.head;
      groups[g].msgs = new ShareMsgInfo[copy.numbers.size()]();
      for (size_t m = 0; m < copy.numbers.size(); ++m) {
        ShareMsgInfo& msg = groups[g].msgs[m];
        msg.msgId = copy.numbers[m].msgId;
        msg.openType = copy.numbers[m].openType;
        msg.pushTime = copy.numbers[m].pushTime;
        msg.uin = copy.numbers[m].uin;
        msg.appId = copy.numbers[m].appId;
        CopyText(msg.text, copy.texts[m]);
        CopyText(msg.buffer, copy.buffers[m]);
        CopyText(msg.picURL, copy.pictures[m]);
        CopyText(msg.title, copy.titles[m]);
        CopyText(msg.appDesc, copy.descriptions[m]);
      }
    }
    benchmark::DoNotOptimize(groups);
    benchmark::ClobberMemory();
    // The records a host sees own nothing: each group's messages go first, as
    // in the library's free function.
    for (size_t g = 0; g < copies.size(); ++g) delete[] groups[g].msgs;
    delete[] groups;
  }
}

void BM_ListSystem(benchmark::State& state) {
  BenchHost& host = FullHost();
  if (!host.Ready()) return state.SkipWithError(host.Problem().c_str());
  int64_t wrong = 0;
  for (auto _ : state) {
    SystemMsgInfo* msgs = nullptr;
    if (host.Api().PushGetSystemMsg(0, &msgs, false) != kGroups) ++wrong;
    benchmark::DoNotOptimize(msgs);
    host.Api().PushFreeSystemMsgList(msgs);
  }
  if (wrong != 0) state.SkipWithError("a listing did not hold every message");
}

void BM_ListSystemFloor(benchmark::State& state) {
  const std::vector<SystemCopy> copies = CopySystem(FullHost());
  if (copies.size() != kGroups) return state.SkipWithError("the center is not at its cap");
  for (auto _ : state) {
    SystemMsgInfo* msgs = new SystemMsgInfo[copies.size()]();
    for (size_t i = 0; i < copies.size(); ++i) {
      const SystemCopy& copy = copies[i];
      SystemMsgInfo& msg = msgs[i];
      msg.msgId = copy.numbers.msgId;
      msg.kind = copy.numbers.kind;
      msg.openType = copy.numbers.openType;
      msg.pushTime = copy.numbers.pushTime;
      CopyText(msg.title, copy.title);
      CopyText(msg.text, copy.text);
      CopyText(msg.pictureUrl, copy.picture);
      CopyText(msg.jumpUrl, copy.jump);
      CopyText(msg.buttonText, copy.button);
      msg.appId = copy.numbers.appId;
      msg.subType = copy.numbers.subType;
      msg.btnType = copy.numbers.btnType;
      CopyText(msg.buffer, copy.buffer);
    }
    benchmark::DoNotOptimize(msgs);
    benchmark::ClobberMemory();
    delete[] msgs;
  }
}

BENCHMARK(BM_ListDynamic);
BENCHMARK(BM_ListDynamicFloor);
BENCHMARK(BM_ListShare);
BENCHMARK(BM_ListShareFloor);
BENCHMARK(BM_ListSystem);
BENCHMARK(BM_ListSystemFloor);

}  // namespace
