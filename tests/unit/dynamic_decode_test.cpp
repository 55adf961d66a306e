#include <algorithm>
#include <string>

#include "centers/msgcenter.h"
#include "dynamic_testing.h"
#include "jsonparser.h"

using namespace dyntest;

namespace {

PushRecord DynamicRecord(uint32_t appId, uint32_t msgId, uint32_t pushTime, const std::string& json) {
  PushRecord record{};
  record.appId = appId;
  record.msgId = msgId;
  record.pushTime = pushTime;
  record.kind = 1;
  const testenv::WideString payload = testenv::Wide(json);
  std::copy(payload.begin(), payload.end(), record.payload);
  return record;
}

std::string Title(DynamicMsg* msg) {
  std::string out;
  msg->GetTitle(out);
  return out;
}

}  // namespace

class DecodeDynamicRecordTest : public DynamicTest {};

TEST_F(DecodeDynamicRecordTest, FillsEveryKeyAndFoldsOneApplication) {
  JsonParser parser;
  const PushRecord first = DynamicRecord(7, 1, 100,
      "{\"OPTYPE\":3,\"NUM\":4,\"TEXT\":\"caf\xC3\xA9\",\"TITLE\":\"T1\",\"BOTTON\":\"Go\","
      "\"VOICE\":2,\"APPCUSTOMIZE\":\"a-b c~!*()'\xC3\xA9\",\"OTHER\":1}");
  ASSERT_TRUE(parser.DecodeDynamicRecord(&first));
  ASSERT_EQ(parser.DynamicGroups().size(), 1u);
  DynamicMsgGroup* group = parser.DynamicGroups().front();
  DynamicMsg* msg = group->GetMsgs().front();
  std::string text, button, buffer;
  msg->GetText(text);
  msg->GetButtonText(button);
  msg->GetBuffer(buffer);
  EXPECT_EQ(group->GetAppId(), 7u);
  EXPECT_EQ(group->GetMsgCountOnServer(), 4u);
  EXPECT_EQ(msg->GetMsgId(), 1u);
  EXPECT_EQ(msg->GetPushTime(), 100u);
  EXPECT_EQ(msg->GetOpenType(), 3);
  EXPECT_EQ(text, "caf\xC3\xA9");
  EXPECT_EQ(Title(msg), "T1");
  EXPECT_EQ(button, "Go");
  EXPECT_EQ(msg->GetVoiceIndex(), 2);
  EXPECT_EQ(buffer, "a%2Db%20c~!*()'%C3%A9");
  EXPECT_EQ(msg->GetNewFlag(), 1);
  EXPECT_EQ(PushWrapper::Instance()->GetCenter(kDynamicKind)->GetLatestPushTime(), 100u);

  // A count of 0 ends the new mark of what the application sent before, not
  // of the message that carries it.
  const PushRecord other = DynamicRecord(8, 2, 150, "{}");
  const PushRecord second = DynamicRecord(7, 3, 200, "{\"NUM\":0,\"TITLE\":\"T3\"}");
  ASSERT_TRUE(parser.DecodeDynamicRecord(&other));
  ASSERT_TRUE(parser.DecodeDynamicRecord(&second));
  ASSERT_EQ(parser.DynamicGroups().size(), 2u);
  EXPECT_EQ(parser.DynamicGroups().front()->GetAppId(), 8u);
  ASSERT_EQ(group->GetMsgs().size(), 2u);
  EXPECT_EQ(group->GetMsgCountOnServer(), 0u);
  EXPECT_EQ(Title(group->GetMsgs()[0]), "T3");
  EXPECT_EQ(group->GetMsgs()[0]->GetNewFlag(), 1);
  EXPECT_EQ(group->GetMsgs()[1]->GetNewFlag(), 0);

  // Without any known key only the record's own numbers are set.
  DynamicMsg* bare = parser.DynamicGroups().front()->GetMsgs().front();
  EXPECT_EQ(bare->GetOpenType(), 1);
  EXPECT_EQ(bare->GetVoiceIndex(), 0);
  EXPECT_EQ(bare->GetNewFlag(), 1);
  EXPECT_EQ(parser.DynamicGroups().front()->GetMsgCountOnServer(), 0u);

  const PushRecord broken = DynamicRecord(9, 4, 300, "{\"TITLE\":");
  EXPECT_FALSE(parser.DecodeDynamicRecord(&broken));
  EXPECT_EQ(parser.DynamicGroups().size(), 2u);
}
