// The decoder of dynamic push records: one record becomes a group of one
// message, queued in the parser, which folds the groups of one application.
#include <json-c/json.h>

#include <memory>
#include <string>

#include "centers/msgcenter.h"
#include "jsonparser.h"
#include "messages/dynamicmsg.h"
#include "messages/dynamicmsggroup.h"
#include "pushwrapper.h"

namespace {

struct JsonRelease {
  void operator()(json_object* root) const { json_object_put(root); }
};

// json-c gives its text form for any non-null member; guard anyway.
std::string StringOf(json_object* member) {
  const char* text = json_object_get_string(member);
  return text != nullptr ? std::string(text) : std::string();
}

}  // namespace

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

  std::unique_ptr<json_object, JsonRelease> root(ParsePayload(*record));
  if (root == nullptr) return false;
  if (json_object* member = JsonMember(root.get(), "OPTYPE")) {
    msg->SetOpenType(json_object_get_int(member));
  }
  // The count goes to the group before the message, so that a count of 0
  // clears the new mark of older messages only.
  if (json_object* member = JsonMember(root.get(), "NUM")) {
    group->SetMsgCountOnServer(static_cast<uint32_t>(json_object_get_int(member)));
  }
  if (json_object* member = JsonMember(root.get(), "TEXT")) {
    msg->SetText(StringOf(member));
  }
  if (json_object* member = JsonMember(root.get(), "TITLE")) {
    msg->SetTitle(StringOf(member));
  }
  if (json_object* member = JsonMember(root.get(), "BOTTON")) {
    msg->SetButtonText(StringOf(member));
  }
  if (json_object* member = JsonMember(root.get(), "VOICE")) {
    msg->SetVoiceIndex(json_object_get_int(member));
  }
  if (json_object* member = JsonMember(root.get(), "APPCUSTOMIZE")) {
    msg->SetBuffer(PercentEncode(StringOf(member).c_str()));
  }
  root.reset();

  msg->SetNewFlag(1);
  group->AddMsg(msg.release());
  QueueDynamicMsg(group.release());
  return true;
}
