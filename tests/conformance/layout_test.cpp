// The arrays that the listing exports hand out, read as a host reads them:
// bytes at the record sizes and field offsets of the host's records, written
// out here as numbers rather than taken from the declarations. A group element
// is 20 bytes where a pointer is 4 (the shipped DLL's data model), 24 where it
// is 8; its message count is at 12 and its records' pointer at 16 on both.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "conformance/listings.h"
#include "support/ownshares.h"
#include "support/startedhost.h"

using libraryhost::MakeRecord;
using namespace listings;
using Texts = std::vector<std::string>;

namespace {

const size_t kElement = sizeof(void*) == 4 ? 20 : 24;

// A field at a fixed offset: a 32-bit number, or a zero-terminated text.
struct Field {
  size_t offset;
  bool text;
};

std::string Read(const unsigned char* at, const std::vector<Field>& fields) {
  std::string out;
  for (const Field& field : fields) {
    if (!out.empty()) out += ' ';
    uint32_t number;
    std::memcpy(&number, at + field.offset, sizeof(number));
    out += field.text ? reinterpret_cast<const char*>(at + field.offset) : std::to_string(number);
  }
  return out;
}

// Each element as "<element fields>: [record] [record]...", sorted.
Texts ReadGroups(const void* array, uint32_t count,
                                    const std::vector<Field>& element, size_t recordSize,
                                    const std::vector<Field>& record) {
  Texts groups;
  for (uint32_t g = 0; g < count; ++g) {
    const unsigned char* at = static_cast<const unsigned char*>(array) + g * kElement;
    uint32_t msgCount;
    const unsigned char* records;
    std::memcpy(&msgCount, at + 12, sizeof(msgCount));
    std::memcpy(&records, at + 16, sizeof(records));
    std::string text = Read(at, element) + ":";
    for (uint32_t m = 0; m < msgCount; ++m) text += " [" + Read(records + m * recordSize, record) + "]";
    groups.push_back(text);
  }
  std::sort(groups.begin(), groups.end());
  return groups;
}

}  // namespace

TEST_F(StartedHost, ListingsPutEveryFieldWhereAHostOfThisPointerSizeReadsIt) {
  host.MarkInstalled(7);
  host.MarkInstalled(8);
  ASSERT_EQ(1u, host.Deliver({
                    MakeRecord(1, 7, 11, 1000, R"({"TITLE":"d11","VOICE":3})"),
                    MakeRecord(1, 7, 12, 1001, R"({"TITLE":"d12","VOICE":4})"),
                    MakeRecord(1, 8, 13, 1002, R"({"TITLE":"d13","VOICE":5})"),
                    MakeRecord(2, 0, 21, 1003, R"({"DSTAPPID":"8","SHARETYPE":1,"MSG":"s21","APPDESC":"a"})"),
                    MakeRecord(2, 0, 22, 1004, R"({"DSTAPPID":"8","SHARETYPE":1,"MSG":"s22","APPDESC":"b"})"),
                    MakeRecord(2, 0, 23, 1005, R"({"DSTAPPID":"9","SHARETYPE":2,"MSG":"s23","APPDESC":"c"})"),
                    MakeRecord(3, 0, 31, 1006, R"({"TITLE":"y31","DSTAPPID":"7","BTNTYPE":2})"),
                    MakeRecord(3, 0, 32, 1007, R"({"TITLE":"y32","DSTAPPID":"8","BTNTYPE":3})"),
                }));
  OwnShares mine7(7, 1, {100, 101}, "m7"), mine9(9, 2, {200}, "m9");
  ASSERT_TRUE(host.api.AddMyShareMsg(mine7.Get()));
  ASSERT_TRUE(host.api.AddMyShareMsg(mine9.Get()));

  // DynamicMsgInfo, 1532 bytes: msgId 0, title 12, voiceIndex 924.
  const auto dynamic = DynamicListing(host);
  EXPECT_EQ(ReadGroups(dynamic.items, dynamic.count, {{4, false}}, 1532, {{0, false}, {12, true}, {924, false}}),
            (Texts{"7: [11 d11 3] [12 d12 4]", "8: [13 d13 5]"}));

  // ShareMsgGroupInfo: kind 0, shareType 4, appId 8. ShareMsgInfo, 2660
  // bytes: msgId 0, appId 16, text 20, appDesc 2060.
  const auto shares = ShareListing(host);
  EXPECT_EQ(ReadGroups(shares.items, shares.count, {{0, false}, {4, false}, {8, false}}, 2660,
                       {{0, false}, {16, false}, {20, true}, {2060, true}}),
            (Texts{"2 1 8: [21 8 s21 a] [22 8 s22 b]", "2 2 9: [23 9 s23 c]"}));

  // The same element with kind 4. MyShareMsgInfo, 2648 bytes: shareTime 0,
  // uin 4, text 8, title 1808, appDesc 2048; the newest first.
  const auto own = OwnShareListing(host);
  EXPECT_EQ(ReadGroups(own.items, own.count, {{0, false}, {4, false}, {8, false}}, 2648,
                       {{0, false}, {4, false}, {8, true}, {1808, true}, {2048, true}}),
            (Texts{"4 1 7: [101 1101 text 101 title 101 m7] [100 1100 text 100 title 100 m7]",
                   "4 2 9: [200 1200 text 200 title 200 m9]"}));

  // SystemMsgInfo, 2740 bytes, a plain array: msgId 0, title 16, appId 2128,
  // btnType 2736, the last field.
  Texts notices;
  const auto system = SystemListing(host);
  for (uint32_t i = 0; i < system.count; ++i) {
    notices.push_back(Read(reinterpret_cast<const unsigned char*>(system.items) + i * 2740,
                           {{0, false}, {16, true}, {2128, false}, {2736, false}}));
  }
  EXPECT_EQ(notices, (Texts{"32 y32 8 3", "31 y31 7 2"}));
}
