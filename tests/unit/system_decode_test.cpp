// Kind-3 records through the intake's decoder, with the real json-c parser
// and the real system center.
#include <cstring>
#include <string>

#include "assertion.h"
#include "centers/msgcenter.h"
#include "jsonparser.h"
#include "system_fixture.h"

namespace {

class DecodeSystemRecordTest : public SystemFixture {
 protected:
  // Decodes one record; what it queued, or null.
  SystemMsg* Decode(uint32_t msgId, uint32_t pushTime, const std::string& json) {
    PushRecord record;
    std::memset(&record, 0, sizeof(record));
    record.msgId = msgId;
    record.pushTime = pushTime;
    record.kind = 3;
    testenv::WideString wide = testenv::Wide(json);
    std::memcpy(record.payload, wide.data(), wide.size() * sizeof(WCHAR));
    size_t before = parser.SystemMsgs().size();
    decoded = parser.DecodeSystemRecord(&record);
    return parser.SystemMsgs().size() > before ? parser.SystemMsgs().front() : nullptr;
  }

  JsonParser parser;
  bool decoded = false;
};

TEST_F(DecodeSystemRecordTest, MapsEveryKey) {
  SystemMsg* msg = Decode(12, 3400, R"json({"OPTYPE":7,"TEXT":"Body","TITLE":"Head","PICURL":"p",
      "JUMPURL":"j","BOTTON":"Go","BUTTON":"no","DSTAPPID":"0x1A","APPCUSTOMIZE":"a b-c\u00e9(1)",
      "SUBTYPE":2,"BTNTYPE":3})json");
  ASSERT_TRUE(decoded && msg);
  EXPECT_EQ(msg->GetMsgId(), 12u);
  EXPECT_EQ(msg->GetPushTime(), 3400u);
  EXPECT_EQ(msg->GetOpenType(), 7);  // kept as it came; only the load corrects it
  EXPECT_EQ(msg->TextRef(), "Body");
  EXPECT_EQ(msg->TitleRef(), "Head");
  EXPECT_EQ(msg->PictureUrlRef(), "p");
  EXPECT_EQ(msg->JumpUrlRef(), "j");
  EXPECT_EQ(msg->ButtonTextRef(), "Go");
  EXPECT_EQ(msg->GetAppId(), 26u);
  EXPECT_EQ(msg->BufferRef(), "a%20b%2Dc%C3%A9(1)");
  EXPECT_EQ(msg->GetSubType(), 2);
  EXPECT_EQ(msg->GetBtnType(), 3);
}

TEST_F(DecodeSystemRecordTest, MissingAndOutOfRangeValuesFallBack) {
  SystemMsg* empty = Decode(1, 10, "{}");
  ASSERT_NE(empty, nullptr);
  EXPECT_EQ(empty->GetOpenType(), 1);
  EXPECT_EQ(empty->GetAppId(), 0u);
  EXPECT_TRUE(empty->TitleRef().empty() && empty->TextRef().empty());
  for (int32_t bad : {0, 4, -1}) {
    std::string value = std::to_string(bad);
    SystemMsg* msg = Decode(2, 20, R"({"SUBTYPE":)" + value + R"(,"BTNTYPE":)" + value +
                                       R"(,"DSTAPPID":"12abc"})");
    ASSERT_NE(msg, nullptr) << bad;
    EXPECT_EQ(msg->GetSubType(), 1) << bad;
    EXPECT_EQ(msg->GetBtnType(), 1) << bad;
    EXPECT_EQ(msg->GetAppId(), 0u);
  }
  EXPECT_EQ(parser.SystemMsgs().back(), empty);  // each record went to the front
}

int reportedLine = 0;
void NoteAssertion(const char*, const char* source, int line) {
  reportedLine = std::strcmp(source, kJsonParserSource) == 0 ? line : -1;
}

TEST_F(DecodeSystemRecordTest, BrokenRecordsYieldNothingButStillCount) {
  MsgCenter* center = PushWrapper::Instance()->GetCenter(3);
  ASSERT_NE(center, nullptr);
  center->NotePushTime(0);
  EXPECT_EQ(Decode(5, 777, "{not json"), nullptr);
  EXPECT_FALSE(decoded);
  EXPECT_EQ(center->GetLatestPushTime(), 777u);  // noted before the payload was read

  AssertionObserver before = SetAssertionObserver(&NoteAssertion);
  EXPECT_FALSE(parser.DecodeSystemRecord(nullptr));
  SetAssertionObserver(before);
  EXPECT_EQ(reportedLine, 346);
}

}  // namespace
