#include "recordjson.h"

#include <cstring>
#include <utility>

std::string FixedText(const char* field, size_t size) {
  const void* end = std::memchr(field, 0, size);
  size_t length = end ? static_cast<size_t>(static_cast<const char*>(end) - field) : size;
  return std::string(field, length);
}

namespace {

template <typename Record>
JsonPtr RecordsJson(const Record* records, uint32_t count);

// Writes each field it is shown into one JSON object, by the field's type:
// numbers as numbers, fixed texts up to their terminator or their size, and
// a group's messages as an array of msgCount records.
struct FieldWriter {
  json_object* object;

  void operator()(const char* name, uint32_t value) const { JsonSet(object, name, JsonUint(value)); }
  void operator()(const char* name, uint16_t value) const { JsonSet(object, name, JsonUint(value)); }
  void operator()(const char* name, int32_t value) const { JsonSet(object, name, JsonInt(value)); }
  template <size_t N>
  void operator()(const char* name, const char (&text)[N]) const {
    JsonSet(object, name, JsonString(FixedText(text, N)));
  }
  template <typename Msg>
  void operator()(const char* name, const Msg* msgs, uint32_t count) const {
    JsonSet(object, name, RecordsJson(msgs, msgs ? count : 0));
  }
};

// The fields of each record, named as in the record, in the record's order.
#define PUSHHOST_FIELD(name) write(#name, record.name)

void Fields(const DynamicMsgInfo& record, const FieldWriter& write) {
  PUSHHOST_FIELD(msgId); PUSHHOST_FIELD(openType); PUSHHOST_FIELD(pushTime);
  PUSHHOST_FIELD(title); PUSHHOST_FIELD(text); PUSHHOST_FIELD(buttonText);
  PUSHHOST_FIELD(voiceIndex); PUSHHOST_FIELD(buffer); PUSHHOST_FIELD(newFlag);
}

void Fields(const ShareMsgInfo& record, const FieldWriter& write) {
  PUSHHOST_FIELD(msgId); PUSHHOST_FIELD(openType); PUSHHOST_FIELD(pushTime);
  PUSHHOST_FIELD(uin); PUSHHOST_FIELD(appId); PUSHHOST_FIELD(text); PUSHHOST_FIELD(buffer);
  PUSHHOST_FIELD(picURL); PUSHHOST_FIELD(title); PUSHHOST_FIELD(appDesc);
}

void Fields(const MyShareMsgInfo& record, const FieldWriter& write) {
  PUSHHOST_FIELD(shareTime); PUSHHOST_FIELD(uin); PUSHHOST_FIELD(text); PUSHHOST_FIELD(buffer);
  PUSHHOST_FIELD(picURL); PUSHHOST_FIELD(title); PUSHHOST_FIELD(appDesc);
}

void Fields(const SystemMsgInfo& record, const FieldWriter& write) {
  PUSHHOST_FIELD(msgId); PUSHHOST_FIELD(kind); PUSHHOST_FIELD(openType);
  PUSHHOST_FIELD(pushTime); PUSHHOST_FIELD(title); PUSHHOST_FIELD(text);
  PUSHHOST_FIELD(pictureUrl); PUSHHOST_FIELD(jumpUrl); PUSHHOST_FIELD(buttonText);
  PUSHHOST_FIELD(appId); PUSHHOST_FIELD(buffer); PUSHHOST_FIELD(subType);
  PUSHHOST_FIELD(btnType);
}

void Fields(const DynamicMsgGroupInfo& record, const FieldWriter& write) {
  PUSHHOST_FIELD(valid); PUSHHOST_FIELD(appId); PUSHHOST_FIELD(msgCountOnServer);
  PUSHHOST_FIELD(msgCount); write("msgs", record.msgs, record.msgCount);
}

// The share and my-share group elements share one layout.
template <typename Group>
void ShareGroupFields(const Group& record, const FieldWriter& write) {
  PUSHHOST_FIELD(kind); PUSHHOST_FIELD(shareType); PUSHHOST_FIELD(appId);
  PUSHHOST_FIELD(msgCount); write("msgs", record.msgs, record.msgCount);
}
void Fields(const ShareMsgGroupInfo& record, const FieldWriter& write) { ShareGroupFields(record, write); }
void Fields(const MyShareMsgGroupInfo& record, const FieldWriter& write) { ShareGroupFields(record, write); }

#undef PUSHHOST_FIELD

template <typename Record>
JsonPtr RecordsJson(const Record* records, uint32_t count) {
  JsonPtr array = JsonArray();
  for (uint32_t i = 0; records && i < count; ++i) {
    JsonPtr object = JsonObject();
    Fields(records[i], FieldWriter{object.get()});
    JsonAppend(array.get(), std::move(object));
  }
  return array;
}

}  // namespace

JsonPtr DynamicGroupsJson(const DynamicMsgGroupInfo* groups, uint32_t count) {
  return RecordsJson(groups, count);
}
JsonPtr ShareGroupsJson(const ShareMsgGroupInfo* groups, uint32_t count) {
  return RecordsJson(groups, count);
}
JsonPtr MyShareGroupsJson(const MyShareMsgGroupInfo* groups, uint32_t count) {
  return RecordsJson(groups, count);
}
JsonPtr SystemMsgsJson(const SystemMsgInfo* msgs, uint32_t count) { return RecordsJson(msgs, count); }
