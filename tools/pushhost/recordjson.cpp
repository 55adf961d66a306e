#include "recordjson.h"

#include <cstring>
#include <utility>

#define PUSHHOST_TEXT(object, record, field) \
  JsonSet(object, #field, JsonString(FixedText(record.field, sizeof(record.field))))
#define PUSHHOST_UINT(object, record, field) JsonSet(object, #field, JsonUint(record.field))
#define PUSHHOST_INT(object, record, field) JsonSet(object, #field, JsonInt(record.field))

std::string FixedText(const char* field, size_t size) {
  const void* end = std::memchr(field, 0, size);
  size_t length = end ? static_cast<size_t>(static_cast<const char*>(end) - field) : size;
  return std::string(field, length);
}

namespace {

JsonPtr DynamicMsgJson(const DynamicMsgInfo& msg) {
  JsonPtr object = JsonObject();
  PUSHHOST_UINT(object.get(), msg, msgId);
  PUSHHOST_INT(object.get(), msg, openType);
  PUSHHOST_UINT(object.get(), msg, pushTime);
  PUSHHOST_TEXT(object.get(), msg, title);
  PUSHHOST_TEXT(object.get(), msg, text);
  PUSHHOST_TEXT(object.get(), msg, buttonText);
  PUSHHOST_INT(object.get(), msg, voiceIndex);
  PUSHHOST_TEXT(object.get(), msg, buffer);
  PUSHHOST_UINT(object.get(), msg, newFlag);
  return object;
}

JsonPtr ShareMsgJson(const ShareMsgInfo& msg) {
  JsonPtr object = JsonObject();
  PUSHHOST_UINT(object.get(), msg, msgId);
  PUSHHOST_INT(object.get(), msg, openType);
  PUSHHOST_UINT(object.get(), msg, pushTime);
  PUSHHOST_UINT(object.get(), msg, uin);
  PUSHHOST_UINT(object.get(), msg, appId);
  PUSHHOST_TEXT(object.get(), msg, text);
  PUSHHOST_TEXT(object.get(), msg, buffer);
  PUSHHOST_TEXT(object.get(), msg, picURL);
  PUSHHOST_TEXT(object.get(), msg, title);
  PUSHHOST_TEXT(object.get(), msg, appDesc);
  return object;
}

JsonPtr MyShareMsgJson(const MyShareMsgInfo& msg) {
  JsonPtr object = JsonObject();
  PUSHHOST_UINT(object.get(), msg, shareTime);
  PUSHHOST_UINT(object.get(), msg, uin);
  PUSHHOST_TEXT(object.get(), msg, text);
  PUSHHOST_TEXT(object.get(), msg, buffer);
  PUSHHOST_TEXT(object.get(), msg, picURL);
  PUSHHOST_TEXT(object.get(), msg, title);
  PUSHHOST_TEXT(object.get(), msg, appDesc);
  return object;
}

// The share and my-share group elements share one layout; only the message
// record differs.
template <typename Group, typename MsgJson>
JsonPtr ShareLikeGroupsJson(const Group* groups, uint32_t count, MsgJson msgJson) {
  JsonPtr array = JsonArray();
  for (uint32_t i = 0; groups && i < count; ++i) {
    const Group& group = groups[i];
    JsonPtr object = JsonObject();
    PUSHHOST_UINT(object.get(), group, kind);
    PUSHHOST_INT(object.get(), group, shareType);
    PUSHHOST_UINT(object.get(), group, appId);
    PUSHHOST_UINT(object.get(), group, msgCount);
    JsonPtr msgs = JsonArray();
    for (uint32_t m = 0; group.msgs && m < group.msgCount; ++m) {
      JsonAppend(msgs.get(), msgJson(group.msgs[m]));
    }
    JsonSet(object.get(), "msgs", std::move(msgs));
    JsonAppend(array.get(), std::move(object));
  }
  return array;
}

}  // namespace

JsonPtr DynamicGroupsJson(const DynamicMsgGroupInfo* groups, uint32_t count) {
  JsonPtr array = JsonArray();
  for (uint32_t i = 0; groups && i < count; ++i) {
    const DynamicMsgGroupInfo& group = groups[i];
    JsonPtr object = JsonObject();
    PUSHHOST_UINT(object.get(), group, valid);
    PUSHHOST_UINT(object.get(), group, appId);
    PUSHHOST_UINT(object.get(), group, msgCountOnServer);
    PUSHHOST_UINT(object.get(), group, msgCount);
    JsonPtr msgs = JsonArray();
    for (uint32_t m = 0; group.msgs && m < group.msgCount; ++m) {
      JsonAppend(msgs.get(), DynamicMsgJson(group.msgs[m]));
    }
    JsonSet(object.get(), "msgs", std::move(msgs));
    JsonAppend(array.get(), std::move(object));
  }
  return array;
}

JsonPtr ShareGroupsJson(const ShareMsgGroupInfo* groups, uint32_t count) {
  return ShareLikeGroupsJson(groups, count, ShareMsgJson);
}

JsonPtr MyShareGroupsJson(const MyShareMsgGroupInfo* groups, uint32_t count) {
  return ShareLikeGroupsJson(groups, count, MyShareMsgJson);
}

JsonPtr SystemMsgsJson(const SystemMsgInfo* msgs, uint32_t count) {
  JsonPtr array = JsonArray();
  for (uint32_t i = 0; msgs && i < count; ++i) {
    const SystemMsgInfo& msg = msgs[i];
    JsonPtr object = JsonObject();
    PUSHHOST_UINT(object.get(), msg, msgId);
    PUSHHOST_UINT(object.get(), msg, kind);
    PUSHHOST_INT(object.get(), msg, openType);
    PUSHHOST_UINT(object.get(), msg, pushTime);
    PUSHHOST_TEXT(object.get(), msg, title);
    PUSHHOST_TEXT(object.get(), msg, text);
    PUSHHOST_TEXT(object.get(), msg, pictureUrl);
    PUSHHOST_TEXT(object.get(), msg, jumpUrl);
    PUSHHOST_TEXT(object.get(), msg, buttonText);
    PUSHHOST_UINT(object.get(), msg, appId);
    PUSHHOST_TEXT(object.get(), msg, buffer);
    PUSHHOST_INT(object.get(), msg, subType);
    PUSHHOST_INT(object.get(), msg, btnType);
    JsonAppend(array.get(), std::move(object));
  }
  return array;
}
