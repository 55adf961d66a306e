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
  static PushRecord Record(uint32_t msgId, uint32_t pushTime, const std::string& json) {
    PushRecord record;
    std::memset(&record, 0, sizeof(record));
    record.msgId = msgId;
    record.pushTime = pushTime;
    record.kind = 3;
    testenv::WideString wide = testenv::Wide(json);
    std::memcpy(record.payload, wide.data(), wide.size() * sizeof(WCHAR));
    return record;
  }

  // Decodes one record and returns what it queued (null when nothing).
  SystemMsg* Decode(const PushRecord& record) {
    decoded = parser.DecodeSystemRecord(&record);
    return parser.SystemMsgs().empty() ? nullptr : parser.SystemMsgs().front();
  }

  JsonParser parser;
  bool decoded = false;
};

TEST_F(DecodeSystemRecordTest, MapsEveryKey) {
  SystemMsg* msg = Decode(Record(12, 3400, R"({"OPTYPE":7,"TEXT":"Body","TITLE":"Head",
      "PICURL":"p","JUMPURL":"j","BOTTON":"Go","BUTTON":"no","DSTAPPID":"0x1A",
      "APPCUSTOMIZE":"a b-c_d.\u00e9x=(1)!","SUBTYPE":2,"BTNTYPE":3})"));
  ASSERT_TRUE(decoded);
  ASSERT_NE(msg, nullptr);
  EXPECT_EQ(msg->GetMsgId(), 12u);
  EXPECT_EQ(msg->GetPushTime(), 3400u);
  EXPECT_EQ(msg->GetOpenType(), 7);
  EXPECT_EQ(msg->TextRef(), "Body");
  EXPECT_EQ(msg->TitleRef(), "Head");
  EXPECT_EQ(msg->PictureUrlRef(), "p");
  EXPECT_EQ(msg->JumpUrlRef(), "j");
  EXPECT_EQ(msg->ButtonTextRef(), "Go");
  EXPECT_EQ(msg->GetAppId(), 26u);
  EXPECT_EQ(msg->BufferRef(), "a%20b%2Dc%5Fd%2E%C3%A9x%3D(1)!");
  EXPECT_EQ(msg->GetSubType(), 2);
  EXPECT_EQ(msg->GetBtnType(), 3);
  EXPECT_FALSE(msg->GetReadState());
}

TEST_F(DecodeSystemRecordTest, MissingAndOutOfRangeValuesFallBack) {
  SystemMsg* empty = Decode(Record(1, 10, "{}"));
  ASSERT_NE(empty, nullptr);
  EXPECT_EQ(empty->GetOpenType(), 1);
  EXPECT_EQ(empty->GetSubType(), 1);
  EXPECT_EQ(empty->GetBtnType(), 1);
  EXPECT_EQ(empty->GetAppId(), 0u);
  EXPECT_TRUE(empty->TitleRef().empty() && empty->TextRef().empty());

  const struct {
    const char* json;
    int32_t subType, btnType;
    uint32_t appId;
  } cases[] = {
      {R"({"SUBTYPE":0,"BTNTYPE":4,"DSTAPPID":"123"})", 1, 1, 123},
      {R"({"SUBTYPE":-1,"BTNTYPE":2,"DSTAPPID":"12abc"})", 1, 2, 0},
      {R"({"SUBTYPE":4,"BTNTYPE":-1,"DSTAPPID":"4294967296"})", 1, 1, 0},
      {R"({"SUBTYPE":3,"BTNTYPE":1,"DSTAPPID":"4294967295"})", 3, 1, 4294967295u},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.json);
    SystemMsg* msg = Decode(Record(2, 20, c.json));
    ASSERT_NE(msg, nullptr);
    EXPECT_EQ(msg->GetSubType(), c.subType);
    EXPECT_EQ(msg->GetBtnType(), c.btnType);
    EXPECT_EQ(msg->GetAppId(), c.appId);
  }
  // Each record went to the front: the queue holds them newest first.
  EXPECT_EQ(parser.SystemMsgs().size(), 5u);
  EXPECT_EQ(parser.SystemMsgs().back(), empty);
}

TEST_F(DecodeSystemRecordTest, BrokenPayloadStillWidensThePushTimeRange) {
  MsgCenter* center = PushWrapper::Instance()->GetCenter(3);
  ASSERT_NE(center, nullptr);
  center->NotePushTime(0);
  EXPECT_EQ(Decode(Record(5, 777, "{not json")), nullptr);
  EXPECT_FALSE(decoded);
  EXPECT_EQ(center->GetLatestPushTime(), 777u);
  EXPECT_EQ(center->GetEarliestPushTime(), 777u);
}

int reportedLine = 0;
void NoteAssertion(const char*, const char* source, int line) {
  reportedLine = std::strcmp(source, kJsonParserSource) == 0 ? line : -1;
}

TEST_F(DecodeSystemRecordTest, NullRecordIsReportedAtItsLine) {
  AssertionObserver before = SetAssertionObserver(&NoteAssertion);
  EXPECT_FALSE(parser.DecodeSystemRecord(nullptr));
  SetAssertionObserver(before);
  EXPECT_EQ(reportedLine, 346);
}

}  // namespace
