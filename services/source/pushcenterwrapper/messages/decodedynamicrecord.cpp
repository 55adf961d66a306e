// The decoder of dynamic push records: one record becomes a group of one
// message, queued in the parser, which folds the groups of one application.
#include <memory>

#include "centers/msgcenter.h"
#include "jsonparser.h"
#include "messages/dynamicmsg.h"
#include "messages/dynamicmsggroup.h"
#include "messages/payloadreader.h"
#include "pushwrapper.h"

bool JsonParser::DecodeDynamicRecord(const PushRecord* record) {
  if (record == nullptr) return false;
  std::unique_ptr<DynamicMsgGroup> group(new DynamicMsgGroup());
  group->SetAppId(record->appId);
  std::unique_ptr<DynamicMsg> msg(new DynamicMsg());
  msg->SetMsgId(record->msgId);
  msg->SetPushTime(record->pushTime);

  MsgCenter* center = PushWrapper::Instance()->GetCenter(kDynamicKind);
  if (center == nullptr) return false;
  center->NotePushTime(record->pushTime);

  {
    const PayloadReader payload(*record);
    if (!payload.Parsed()) return false;
    payload.Int("OPTYPE", *msg, &DynamicMsg::SetOpenType);
    // The count goes to the group before the message, so that a count of 0
    // clears the new mark of older messages only.
    payload.Unsigned("NUM", *group, &DynamicMsgGroup::SetMsgCountOnServer);
    payload.Text("TEXT", *msg, &DynamicMsg::TakeText);
    payload.Text("TITLE", *msg, &DynamicMsg::SetTitle);
    payload.Text("BOTTON", *msg, &DynamicMsg::SetButtonText);
    payload.Int("VOICE", *msg, &DynamicMsg::SetVoiceIndex);
    payload.Encoded("APPCUSTOMIZE", *msg, &DynamicMsg::SetBuffer);
  }

  msg->SetNewFlag(1);
  group->AddMsg(msg.release());
  QueueDynamicMsg(group.release());
  return true;
}
