// The intake step for records of kind 3: one record becomes one SystemMsg,
// queued for the system center.
#include <memory>
#include <string>

#include "assertion.h"
#include "centers/msgcenter.h"
#include "jsonparser.h"
#include "messages/payloadreader.h"
#include "messages/systemmsg.h"
#include "pushwrapper.h"

namespace {

// Sub type and button style come in three kinds; anything else means the first.
int32_t ClampToStyle(int32_t value) { return value < 1 || value > 3 ? 1 : value; }

}  // namespace

bool JsonParser::DecodeSystemRecord(const PushRecord* record) {
  if (record == nullptr) {
    ReportAssertion(AssertionSite::kDecodeSystemRecord);
    return false;
  }
  std::unique_ptr<SystemMsg> msg(new SystemMsg());
  msg->SetMsgId(record->msgId);
  msg->SetPushTime(record->pushTime);

  MsgCenter* center = PushWrapper::Instance()->GetCenter(3);
  if (center == nullptr) return false;
  // The push time counts as seen even when the payload turns out unusable.
  center->NotePushTime(record->pushTime);

  {
    const PayloadReader payload(*record);
    if (!payload.Parsed()) return false;
    payload.Int("OPTYPE", *msg, &SystemMsg::SetOpenType);
    payload.Text("TEXT", *msg, &SystemMsg::TakeText);
    payload.Text("TITLE", *msg, &SystemMsg::SetTitle);
    payload.Text("PICURL", *msg, &SystemMsg::SetPictureUrl);
    payload.Text("JUMPURL", *msg, &SystemMsg::SetJumpUrl);
    // The service spells the button caption's key this way.
    payload.Text("BOTTON", *msg, &SystemMsg::SetButtonText);
    std::string text;
    if (payload.Text("DSTAPPID", text)) msg->SetAppId(ParseUnsigned(text.c_str()));
    payload.Encoded("APPCUSTOMIZE", *msg, &SystemMsg::SetBuffer);
    int32_t style = 0;
    if (payload.Int("SUBTYPE", style)) msg->SetSubType(ClampToStyle(style));
    if (payload.Int("BTNTYPE", style)) msg->SetBtnType(ClampToStyle(style));
  }

  QueueSystemMsg(msg.release());
  return true;
}
