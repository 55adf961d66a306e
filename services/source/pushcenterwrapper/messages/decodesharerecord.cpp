// Decoding of one share record into a group that holds one message.
#include <memory>
#include <string>

#include "assertion.h"
#include "centers/msgcenter.h"
#include "jsonparser.h"
#include "messages/payloadreader.h"
#include "messages/sharemsg.h"
#include "messages/sharemsggroup.h"
#include "pushwrapper.h"

bool JsonParser::DecodeShareRecord(const PushRecord* record) {
  if (record == nullptr) {
    ReportAssertion(AssertionSite::kDecodeShareRecord);
    return false;
  }
  // Both go with this frame unless the group reaches the queue.
  std::unique_ptr<ShareMsgGroup> group(new ShareMsgGroup());
  std::unique_ptr<ShareMsg> msg(new ShareMsg());
  msg->SetMsgId(record->msgId);
  msg->SetPushTime(record->pushTime);

  MsgCenter* center = PushWrapper::Instance()->GetCenter(kShareKind);
  if (center == nullptr) return false;
  center->NotePushTime(record->pushTime);

  {
    const PayloadReader payload(*record);
    // Without its application a share cannot be filed anywhere. A number and
    // a numeric string are read alike; anything else gives application 0.
    uint32_t appId = 0;
    if (!payload.Parsed() || !payload.Unsigned("DSTAPPID", appId)) return false;
    msg->SetAppId(appId);
    group->SetAppId(appId);

    payload.Int("OPTYPE", *msg, &ShareMsg::SetOpenType);
    payload.Unsigned("FUIN", *msg, &ShareMsg::SetUin);
    payload.Text("MSG", *msg, &ShareMsg::TakeText);
    payload.Int("SHARETYPE", *group, &ShareMsgGroup::SetShareType);
    payload.Encoded("APPCUSTOMIZE", *msg, &ShareMsg::SetBuffer);
    payload.Text("PICURL", *msg, &ShareMsg::SetPicURL);
    payload.Text("TITLE", *msg, &ShareMsg::SetTitle);
    payload.Text("APPDESC", *msg, &ShareMsg::SetAppDesc);
  }

  group->AddMsg(msg.release());
  QueueShareMsg(group.release());
  return true;
}
