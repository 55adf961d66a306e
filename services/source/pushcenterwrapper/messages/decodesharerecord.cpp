// Decoding of one share record into a group that holds one message.
#include <json-c/json.h>

#include <cstdlib>
#include <memory>

#include "assertion.h"
#include "centers/msgcenter.h"
#include "jsonparser.h"
#include "messages/sharemsg.h"
#include "messages/sharemsggroup.h"
#include "pushwrapper.h"

namespace {

struct JsonRelease {
  void operator()(json_object* root) const { json_object_put(root); }
};

std::string StringOf(json_object* member) {
  const char* text = json_object_get_string(member);
  return text != nullptr ? std::string(text) : std::string();
}

}  // namespace

bool JsonParser::DecodeShareRecord(const PushRecord* record) {
  if (record == nullptr) {
    ReportAssertion("false", kJsonParserSource, 224);
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

  std::unique_ptr<json_object, JsonRelease> root(ParsePayload(*record));
  if (root == nullptr) return false;

  if (json_object* member = JsonMember(root.get(), "OPTYPE")) {
    msg->SetOpenType(json_object_get_int(member));
  }
  if (json_object* member = JsonMember(root.get(), "FUIN")) {
    msg->SetUin(static_cast<uint32_t>(json_object_get_int(member)));
  }
  if (json_object* member = JsonMember(root.get(), "MSG")) msg->SetText(StringOf(member));

  // Without its application a share cannot be filed anywhere. A number and a
  // numeric string are read alike; anything else gives application 0.
  json_object* appMember = JsonMember(root.get(), "DSTAPPID");
  if (appMember == nullptr) return false;
  const uint32_t appId = static_cast<uint32_t>(atol(StringOf(appMember).c_str()));
  msg->SetAppId(appId);
  group->SetAppId(appId);

  if (json_object* member = JsonMember(root.get(), "SHARETYPE")) {
    group->SetShareType(json_object_get_int(member));
  }
  if (json_object* member = JsonMember(root.get(), "APPCUSTOMIZE")) {
    msg->SetBuffer(PercentEncode(StringOf(member).c_str()));
  }
  if (json_object* member = JsonMember(root.get(), "PICURL")) msg->SetPicURL(StringOf(member));
  if (json_object* member = JsonMember(root.get(), "TITLE")) msg->SetTitle(StringOf(member));
  if (json_object* member = JsonMember(root.get(), "APPDESC")) msg->SetAppDesc(StringOf(member));
  root.reset();

  group->AddMsg(msg.release());
  QueueShareMsg(group.release());
  return true;
}
