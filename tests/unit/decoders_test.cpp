// The decoders of the three message kinds, with the real json-c parser: what
// each key fills beyond what the pushhost scenarios list, what stands in for a
// missing or unusable value, and what a record that cannot become a message
// leaves behind; and the routines that every decoder shares.
#include <gtest/gtest.h>
#include <json-c/json.h>

#include <cstring>
#include <string>
#include <vector>

#include "assertion.h"
#include "centers/msgcenter.h"
#include "jsonparser.h"
#include "messages/dynamicmsg.h"
#include "messages/dynamicmsggroup.h"
#include "messages/sharemsg.h"
#include "messages/sharemsggroup.h"
#include "messages/systemmsg.h"
#include "pushwrapper.h"
#include "support/libraryhost.h"

using libraryhost::MakeRawRecord;
using libraryhost::MakeRecord;

namespace {

bool Decode(JsonParser& parser, const PushRecord& record) {
  switch (record.kind) {
    case kDynamicKind: return parser.DecodeDynamicRecord(&record);
    case kShareKind: return parser.DecodeShareRecord(&record);
    default: return parser.DecodeSystemRecord(&record);
  }
}

// The message that one share or system record became.
ShareMsg* OnlyShare(JsonParser& parser, const std::string& json) {
  if (!Decode(parser, MakeRecord(kShareKind, 0, 1, 10, json)) || parser.ShareGroups().size() != 1) {
    return nullptr;
  }
  return parser.ShareGroups().front()->GetMsgs().front();
}

SystemMsg* LatestSystem(JsonParser& parser, const std::string& json) {
  const size_t before = parser.SystemMsgs().size();
  Decode(parser, MakeRecord(kSystemKind, 0, 2, 20, json));
  return parser.SystemMsgs().size() > before ? parser.SystemMsgs().front() : nullptr;
}

int reportedLine = 0;
void NoteAssertion(const char*, const char* source, int line) {
  reportedLine = std::strcmp(source, kJsonParserSource) == 0 ? line : -1;
}

}  // namespace

TEST(Decoders, UnusableRecordsYieldNothingButTheirPushTimeCounts) {
  struct Case {
    uint8_t kind;
    int assertionLine;  // reported for a null record; 0: none
  } cases[] = {{kDynamicKind, 0}, {kShareKind, 224}, {kSystemKind, 346}};
  for (const Case& c : cases) {
    MsgCenter* center = PushWrapper::Instance()->GetCenter(c.kind);
    ASSERT_NE(center, nullptr);
    center->NotePushTime(0);
    JsonParser parser;
    // The push time reaches the center before the payload is looked at.
    EXPECT_FALSE(Decode(parser, MakeRecord(c.kind, 7, 1, 4000, "{\"TITLE\":"))) << int(c.kind);
    EXPECT_EQ(center->GetLatestPushTime(), 4000u) << int(c.kind);
    EXPECT_TRUE(parser.DynamicGroups().empty() && parser.ShareGroups().empty() &&
                parser.SystemMsgs().empty());

    reportedLine = 0;
    AssertionObserver before = SetAssertionObserver(&NoteAssertion);
    PushRecord* none = nullptr;
    const bool decoded = c.kind == kDynamicKind ? parser.DecodeDynamicRecord(none)
                         : c.kind == kShareKind ? parser.DecodeShareRecord(none)
                                                : parser.DecodeSystemRecord(none);
    SetAssertionObserver(before);
    EXPECT_FALSE(decoded);
    EXPECT_EQ(reportedLine, c.assertionLine) << int(c.kind);
  }
}

TEST(Decoders, DynamicRecordFillsEveryKeyAndFoldsOneApplication) {
  JsonParser parser;
  ASSERT_TRUE(Decode(parser, MakeRecord(kDynamicKind, 7, 1, 100,
      "{\"OPTYPE\":3,\"NUM\":4,\"TEXT\":\"caf\xC3\xA9\",\"TITLE\":\"T1\",\"BOTTON\":\"Go\","
      "\"VOICE\":2,\"APPCUSTOMIZE\":\"a-b c~!*()'\xC3\xA9\",\"OTHER\":1}")));
  ASSERT_EQ(parser.DynamicGroups().size(), 1u);
  DynamicMsgGroup* group = parser.DynamicGroups().front();
  DynamicMsg* msg = group->GetMsgs().front();
  EXPECT_EQ(group->GetMsgCountOnServer(), 4u);
  EXPECT_EQ(msg->GetOpenType(), 3);
  EXPECT_EQ(msg->TextRef(), "caf\xC3\xA9");
  EXPECT_EQ(msg->BufferRef(), "a%2Db%20c~!*()'%C3%A9");

  // A count of 0 ends the new mark of what the application sent before, not
  // of the message that carries it.
  ASSERT_TRUE(Decode(parser, MakeRecord(kDynamicKind, 8, 2, 150, "{}")));
  ASSERT_TRUE(Decode(parser, MakeRecord(kDynamicKind, 7, 3, 200, "{\"NUM\":0,\"TITLE\":\"T3\"}")));
  ASSERT_EQ(parser.DynamicGroups().size(), 2u);
  ASSERT_EQ(group->GetMsgs().size(), 2u);
  EXPECT_EQ(group->GetMsgCountOnServer(), 0u);
  EXPECT_EQ(group->GetMsgs()[0]->TitleRef(), "T3");
  EXPECT_EQ(group->GetMsgs()[0]->GetNewFlag(), 1);
  EXPECT_EQ(group->GetMsgs()[1]->GetNewFlag(), 0);

  // Without any known key only the record's own numbers are set.
  DynamicMsgGroup* bare = parser.DynamicGroups().front();
  EXPECT_EQ(bare->GetAppId(), 8u);
  EXPECT_EQ(bare->GetMsgs().front()->GetOpenType(), 1);
  EXPECT_EQ(bare->GetMsgs().front()->GetVoiceIndex(), 0);
  EXPECT_EQ(bare->GetMsgCountOnServer(), 0u);
}

TEST(Decoders, ShareRecordFillsEveryKeyAndNeedsItsApplication) {
  JsonParser parser;
  ShareMsg* msg = OnlyShare(parser,
      R"({"OPTYPE":3,"FUIN":777,"MSG":"hello","DSTAPPID":"1234","SHARETYPE":2,)"
      R"("APPCUSTOMIZE":"a-b c","PICURL":"http://p/x.png","TITLE":"T","APPDESC":"D","X":1})");
  ASSERT_NE(msg, nullptr);
  ShareMsgGroup* group = parser.ShareGroups().front();
  EXPECT_EQ(group->GetUnreadCount(), 1u);
  EXPECT_EQ(group->GetLatestPushTime(), 10u);
  EXPECT_EQ(msg->GetOpenType(), 3);
  EXPECT_EQ(msg->PicURLRef(), "http://p/x.png");
  EXPECT_FALSE(msg->GetReadState());

  // The application comes as text or as a number; anything else is 0.
  for (auto [json, appId] : {std::pair<const char*, uint32_t>{R"({"DSTAPPID":5678,"SHARETYPE":1})", 5678},
                             {R"({"DSTAPPID":"abc","SHARETYPE":1})", 0}}) {
    JsonParser other;
    ShareMsg* decoded = OnlyShare(other, json);
    ASSERT_NE(decoded, nullptr) << json;
    EXPECT_EQ(other.ShareGroups().front()->GetAppId(), appId) << json;
    EXPECT_EQ(decoded->GetAppId(), appId) << json;
    EXPECT_EQ(decoded->GetOpenType(), 1);
    EXPECT_EQ(decoded->GetUin(), 0u);
    EXPECT_TRUE(decoded->TextRef().empty() && decoded->TitleRef().empty());
  }

  // Without an application nothing is decoded; without a share type the
  // group is decoded but never queued.
  JsonParser unfiled;
  EXPECT_FALSE(Decode(unfiled, MakeRecord(kShareKind, 0, 2, 10, R"({"SHARETYPE":1,"MSG":"m"})")));
  EXPECT_TRUE(Decode(unfiled, MakeRecord(kShareKind, 0, 3, 10, R"({"DSTAPPID":"9"})")));
  EXPECT_TRUE(unfiled.ShareGroups().empty());
}

TEST(Decoders, SystemRecordFillsEveryKeyAndFallsBackOnOddValues) {
  JsonParser parser;
  SystemMsg* msg = LatestSystem(parser, R"json({"OPTYPE":7,"TEXT":"Body","TITLE":"Head","PICURL":"p",
      "JUMPURL":"j","BOTTON":"Go","BUTTON":"no","DSTAPPID":"0x1A","APPCUSTOMIZE":"a b-c\u00e9(1)",
      "SUBTYPE":2,"BTNTYPE":3})json");
  ASSERT_NE(msg, nullptr);
  // The open type is kept as it came; only the load corrects it.
  EXPECT_EQ((std::vector<int32_t>{msg->GetOpenType(), msg->GetSubType(), msg->GetBtnType()}),
            (std::vector<int32_t>{7, 2, 3}));
  EXPECT_EQ(msg->PictureUrlRef() + "|" + msg->ButtonTextRef() + "|" + msg->BufferRef(), "p|Go|a%20b%2Dc%C3%A9(1)");

  SystemMsg* empty = LatestSystem(parser, "{}");
  ASSERT_NE(empty, nullptr);
  EXPECT_EQ(empty->GetOpenType(), 1);
  EXPECT_EQ(empty->GetAppId(), 0u);
  EXPECT_TRUE(empty->TitleRef().empty() && empty->TextRef().empty());
  // Numbers where texts belong are read as their digits.
  SystemMsg* numbers = LatestSystem(parser, R"({"DSTAPPID":26,"BOTTON":7})");
  ASSERT_NE(numbers, nullptr);
  EXPECT_EQ(numbers->GetAppId(), 26u);
  EXPECT_EQ(numbers->ButtonTextRef(), "7");
  for (int32_t bad : {0, 4, -1}) {
    const std::string value = std::to_string(bad);
    SystemMsg* odd = LatestSystem(parser, R"({"SUBTYPE":)" + value + R"(,"BTNTYPE":)" + value +
                                              R"(,"DSTAPPID":"12abc"})");
    ASSERT_NE(odd, nullptr) << bad;
    EXPECT_EQ(odd->GetSubType(), 1) << bad;
    EXPECT_EQ(odd->GetBtnType(), 1) << bad;
    EXPECT_EQ(odd->GetAppId(), 0u);
  }
  EXPECT_EQ(parser.SystemMsgs().back(), msg);  // each record went to the front
}

TEST(PayloadToUtf8, StopsAtTheTerminatorOrAtTheEndOfTheRecord) {
  const std::string text = "{\"TEXT\":\"\xC3\xBC\xE6\x96\x87\xF0\x9F\x93\x81\"}";  // every plane
  EXPECT_EQ(text, PayloadToUtf8(MakeRecord(1, 0, 0, 0, text)));

  // No terminator: the text is cut after the record's last unit, and the
  // record that follows in the batch (its first unit an 'A') is not read.
  std::vector<uint16_t> units(1025, u'x');
  units[1024] = u'Z';
  std::vector<PushRecord> batch = {MakeRawRecord(1, 0, 0, 0, units),
                                   MakeRecord(1, 'A', 0, 0, "after")};
  const std::string cut = PayloadToUtf8(batch[0]);
  EXPECT_EQ(1025u, cut.size());
  EXPECT_EQ('Z', cut.back());
  EXPECT_EQ(std::string::npos, cut.find("after"));
}


// The intake parses each payload with one kept tokener and the length it
// already knows; what it accepts must be what json_tokener_parse accepts from
// the same text, record after record, whatever the record before left behind.
TEST(ParsePayload, AcceptsWhatTheParserAcceptsFromTheWholeText) {
  const auto dump = [](json_object* root) {
    std::string text = root != nullptr ? json_object_to_json_string(root) : "(none)";
    if (root != nullptr) json_object_put(root);
    return text;
  };
  std::string filled = "{\"T\":\"" + std::string(1025 - 8, 'x') + "\"}";  // 1025 units, no terminator
  const struct {
    std::string text;
    bool usable;
  } cases[] = {
      {R"({"a":1})", true},         {"123", true},          {"-1.5e3", true},
      {"true", true},               {"tru", false},         {"nul", false},
      {"null", false},              {R"("text")", true},    {"", false},
      {" \t\r\n", false},           {R"({"a":)", false},    {"1}", true},
      {R"({"a":1} trailing)", true}, {R"({"a":1}})", true},  {R"(/* c */ {"a":2})", true},
      {R"({"a":"x\u0000y"})", true}, {R"({"a":"\ud800"})", true}, {std::string(31, '[') + std::string(31, ']'), true},
      {std::string(33, '[') + std::string(33, ']'), false}, {R"({"a":[1,2)", false}, {filled, true},
      {filled.substr(0, filled.size() - 1) + "!", false},
  };
  for (const auto& c : cases) {
    const PushRecord record = c.text.size() == 1025
                                  ? MakeRawRecord(1, 0, 0, 0, std::vector<uint16_t>(c.text.begin(), c.text.end()))
                                  : MakeRecord(1, 0, 0, 0, c.text);
    const std::string expected = dump(json_tokener_parse(c.text.c_str()));
    EXPECT_EQ(expected != "(none)", c.usable) << c.text.substr(0, 40);
    EXPECT_EQ(dump(ParsePayload(record)), expected) << c.text.substr(0, 40);
  }
}
