// The intake step for records of kind 3: one record becomes one SystemMsg,
// queued for the system center.
#include <json-c/json.h>

#include <memory>
#include <string>

#include "assertion.h"
#include "centers/msgcenter.h"
#include "jsonparser.h"
#include "messages/systemmsg.h"
#include "pushwrapper.h"

namespace {

struct JsonRootDeleter {
  void operator()(json_object* root) const { json_object_put(root); }
};
typedef std::unique_ptr<json_object, JsonRootDeleter> JsonRoot;

// Copies a string member into a field; an absent member leaves it untouched.
template <class Setter>
void ReadString(json_object* root, const char* key, SystemMsg& msg, Setter set) {
  json_object* member = JsonMember(root, key);
  if (member == nullptr) return;
  const char* value = json_object_get_string(member);
  (msg.*set)(std::string(value != nullptr ? value : ""));
}

// Sub type and button style come in three kinds; anything else means the first.
int32_t ClampToStyle(int32_t value) { return value < 1 || value > 3 ? 1 : value; }

}  // namespace

bool JsonParser::DecodeSystemRecord(const PushRecord* record) {
  if (record == nullptr) {
    ReportAssertion("false", kJsonParserSource, 346);
    return false;
  }
  std::unique_ptr<SystemMsg> msg(new SystemMsg());
  msg->SetMsgId(record->msgId);
  msg->SetPushTime(record->pushTime);

  MsgCenter* center = PushWrapper::Instance()->GetCenter(3);
  if (center == nullptr) return false;
  // The push time counts as seen even when the payload turns out unusable.
  center->NotePushTime(record->pushTime);

  JsonRoot root(ParsePayload(*record));
  if (!root) return false;
  json_object* object = root.get();

  if (json_object* member = JsonMember(object, "OPTYPE")) {
    msg->SetOpenType(json_object_get_int(member));
  }
  if (json_object* member = JsonMember(object, "TEXT")) {
    const char* value = json_object_get_string(member);
    msg->SetText(std::string(value != nullptr ? value : ""));
  }
  ReadString(object, "TITLE", *msg, &SystemMsg::SetTitle);
  ReadString(object, "PICURL", *msg, &SystemMsg::SetPictureUrl);
  ReadString(object, "JUMPURL", *msg, &SystemMsg::SetJumpUrl);
  // The service spells the button caption's key this way.
  ReadString(object, "BOTTON", *msg, &SystemMsg::SetButtonText);
  if (json_object* member = JsonMember(object, "DSTAPPID")) {
    msg->SetAppId(ParseUnsigned(json_object_get_string(member)));
  }
  if (json_object* member = JsonMember(object, "APPCUSTOMIZE")) {
    const char* value = json_object_get_string(member);
    msg->SetBuffer(PercentEncode(value != nullptr ? value : ""));
  }
  if (json_object* member = JsonMember(object, "SUBTYPE")) {
    msg->SetSubType(ClampToStyle(json_object_get_int(member)));
  }
  if (json_object* member = JsonMember(object, "BTNTYPE")) {
    msg->SetBtnType(ClampToStyle(json_object_get_int(member)));
  }

  root.reset();
  QueueSystemMsg(msg.release());
  return true;
}
