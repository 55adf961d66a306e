#include <gtest/gtest.h>

#include <string>

#include "assertion.h"
#include "centers/msgcenter.h"
#include "jsonparser.h"
#include "messages/sharemsg.h"
#include "messages/sharemsggroup.h"
#include "pushwrapper.h"
#include "share_testing.h"

namespace {

using sharetest::ShareRecord;

int lastAssertionLine = 0;
void RecordAssertion(const char*, const char*, int line) { lastAssertionLine = line; }

ShareMsg* OnlyMsg(JsonParser& parser) {
  EXPECT_EQ(parser.ShareGroups().size(), 1u);
  if (parser.ShareGroups().size() != 1 || parser.ShareGroups().front()->GetMsgs().size() != 1) {
    return nullptr;
  }
  return parser.ShareGroups().front()->GetMsgs().front();
}

TEST(ShareRecordDecoding, FillsEveryFieldAndEncodesTheAppPayload) {
  JsonParser parser;
  const PushRecord record = ShareRecord(
      77, 1500,
      R"({"OPTYPE":3,"FUIN":777,"MSG":"hello","DSTAPPID":"1234","SHARETYPE":2,)"
      R"("APPCUSTOMIZE":"a-b c","PICURL":"http://p/x.png","TITLE":"T","APPDESC":"D","X":1})");
  ASSERT_TRUE(parser.DecodeShareRecord(&record));
  ShareMsg* msg = OnlyMsg(parser);
  ASSERT_NE(msg, nullptr);
  ShareMsgGroup* group = parser.ShareGroups().front();
  EXPECT_EQ(group->GetShareType(), 2);
  EXPECT_EQ(group->GetAppId(), 1234u);
  EXPECT_EQ(group->GetUnreadCount(), 1u);
  EXPECT_EQ(group->GetLatestPushTime(), 1500u);
  EXPECT_EQ(msg->GetMsgId(), 77u);
  EXPECT_EQ(msg->GetPushTime(), 1500u);
  EXPECT_EQ(msg->GetOpenType(), 3);
  EXPECT_EQ(msg->GetUin(), 777u);
  EXPECT_EQ(msg->GetAppId(), 1234u);
  EXPECT_EQ(msg->TextRef(), "hello");
  EXPECT_EQ(msg->BufferRef(), "a%2Db%20c");
  EXPECT_EQ(msg->PicURLRef(), "http://p/x.png");
  EXPECT_EQ(msg->TitleRef(), "T");
  EXPECT_EQ(msg->AppDescRef(), "D");
  EXPECT_FALSE(msg->GetReadState());
}

TEST(ShareRecordDecoding, ReadsTheApplicationFromTextOrNumber) {
  struct Case {
    const char* json;
    uint32_t appId;
  } cases[] = {
      {R"({"DSTAPPID":"1234","SHARETYPE":1})", 1234},
      {R"({"DSTAPPID":5678,"SHARETYPE":1})", 5678},
      {R"({"DSTAPPID":"abc","SHARETYPE":1})", 0},
  };
  for (const Case& c : cases) {
    JsonParser parser;
    const PushRecord record = ShareRecord(1, 10, c.json);
    ASSERT_TRUE(parser.DecodeShareRecord(&record)) << c.json;
    ShareMsg* msg = OnlyMsg(parser);
    ASSERT_NE(msg, nullptr) << c.json;
    EXPECT_EQ(parser.ShareGroups().front()->GetAppId(), c.appId) << c.json;
    EXPECT_EQ(msg->GetAppId(), c.appId) << c.json;
    EXPECT_EQ(msg->GetOpenType(), 1);
    EXPECT_EQ(msg->GetUin(), 0u);
    EXPECT_TRUE(msg->TextRef().empty() && msg->TitleRef().empty() && msg->BufferRef().empty());
  }
}

TEST(ShareRecordDecoding, DropsRecordsThatCannotBeFiled) {
  MsgCenter* center = PushWrapper::Instance()->GetCenter(kShareKind);
  ASSERT_NE(center, nullptr);
  JsonParser parser;

  // The push time reaches the center before the payload is looked at.
  center->NotePushTime(0);
  const PushRecord notJson = ShareRecord(1, 4000, "{not json");
  EXPECT_FALSE(parser.DecodeShareRecord(&notJson));
  EXPECT_EQ(center->GetLatestPushTime(), 4000u);

  const PushRecord noApp = ShareRecord(2, 10, R"({"SHARETYPE":1,"MSG":"m"})");
  EXPECT_FALSE(parser.DecodeShareRecord(&noApp));
  // Without a share type the group is decoded but never queued.
  const PushRecord noType = ShareRecord(3, 10, R"({"DSTAPPID":"9"})");
  EXPECT_TRUE(parser.DecodeShareRecord(&noType));
  EXPECT_TRUE(parser.ShareGroups().empty());

  AssertionObserver previous = SetAssertionObserver(&RecordAssertion);
  lastAssertionLine = 0;
  EXPECT_FALSE(parser.DecodeShareRecord(nullptr));
  EXPECT_EQ(lastAssertionLine, 224);
  SetAssertionObserver(previous);
}

}  // namespace
