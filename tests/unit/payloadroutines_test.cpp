// The routines that every decoder shares.
#include <gtest/gtest.h>

#include <json-c/json.h>

#include <string>
#include <vector>

#include "jsonparser.h"
#include "support/libraryhost.h"

using libraryhost::MakeRawRecord;
using libraryhost::MakeRecord;

TEST(PercentEncode, KeepsLettersDigitsAndSixMarksAndEncodesEveryOtherByte) {
  EXPECT_EQ("a%20b", PercentEncode("a b"));
  EXPECT_EQ("%2D%5F%2E", PercentEncode("-_."));
  EXPECT_EQ("~!*()'", PercentEncode("~!*()'"));
  EXPECT_EQ("azAZ09", PercentEncode("azAZ09"));
  EXPECT_EQ("%C3%BC%2F%3D%26%25%7F", PercentEncode("\xC3\xBC/=&%\x7F"));
  EXPECT_EQ("", PercentEncode(""));
  EXPECT_EQ("", PercentEncode(nullptr));
}

TEST(ParseUnsigned, AcceptsOnlyWholeDecimalOrHexadecimalNumbersThatFit) {
  EXPECT_EQ(42u, ParseUnsigned("  42 "));
  EXPECT_EQ(7u, ParseUnsigned("+7"));
  EXPECT_EQ(31u, ParseUnsigned("0x1F"));
  EXPECT_EQ(31u, ParseUnsigned("0X1f"));
  EXPECT_EQ(4294967295u, ParseUnsigned("4294967295"));
  EXPECT_EQ(4294967295u, ParseUnsigned("0xFFFFFFFF"));
  for (const char* rejected : {"4294967296", "42949672950", "0x100000000", "12a", "-5", "", "0x",
                               "+", " ", "1 2", "++1"}) {
    EXPECT_EQ(0u, ParseUnsigned(rejected)) << '"' << rejected << '"';
  }
  EXPECT_EQ(0u, ParseUnsigned(nullptr));
}

TEST(PayloadToUtf8, StopsAtTheTerminatorOrAtTheEndOfTheRecord) {
  const std::string text = "{\"TEXT\":\"\xC3\xBC\xE6\x96\x87\xF0\x9F\x93\x81\"}";  // every plane
  EXPECT_EQ(text, PayloadToUtf8(MakeRecord(1, 0, 0, 0, text)));

  // No terminator: the text is cut after the record's last unit, and the
  // record that follows in the batch is not read.
  std::vector<uint16_t> units(1025, u'x');
  units[1024] = u'Z';
  std::vector<PushRecord> batch = {MakeRawRecord(1, 0, 0, 0, units),
                                   MakeRecord(1, 0, 0, 0, "after")};
  const std::string cut = PayloadToUtf8(batch[0]);
  EXPECT_EQ(1025u, cut.size());
  EXPECT_EQ('Z', cut.back());
  EXPECT_EQ(std::string::npos, cut.find("after"));
}

TEST(JsonAccess, ParsedPayloadsAndMembersCountOnlyWhenUsable) {
  EXPECT_FALSE(IsJsonUsable(nullptr));
  EXPECT_FALSE(IsJsonUsable(reinterpret_cast<void*>(static_cast<intptr_t>(-1))));
  EXPECT_FALSE(IsJsonUsable(reinterpret_cast<void*>(static_cast<intptr_t>(-3999))));

  EXPECT_EQ(nullptr, ParsePayload(MakeRecord(1, 0, 0, 0, "{\"a\":")));
  EXPECT_EQ(nullptr, ParsePayload(MakeRecord(1, 0, 0, 0, std::string(100, '['))));
  json_object* root = ParsePayload(MakeRecord(1, 0, 0, 0, R"({"Num":3,"TEXT":null})"));
  ASSERT_NE(nullptr, root);
  ASSERT_NE(nullptr, JsonMember(root, "Num"));
  EXPECT_EQ(3, json_object_get_int(JsonMember(root, "Num")));
  EXPECT_EQ(nullptr, JsonMember(root, "TEXT"));
  EXPECT_EQ(nullptr, JsonMember(root, "num"));
  json_object_put(root);

  json_object* array = ParsePayload(MakeRecord(1, 0, 0, 0, "[1]"));
  ASSERT_NE(nullptr, array);
  EXPECT_EQ(nullptr, JsonMember(array, "Num"));
  json_object_put(array);
}
