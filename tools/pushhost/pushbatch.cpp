#include "pushbatch.h"

#include "hostkit/pushrecords.h"
#include "hostkit/widetext.h"
#include "stepargs.h"

PushRecord PushBatch::MakeRecord(uint8_t kind, uint32_t appId, uint32_t msgId, uint32_t pushTime,
                                 const std::string& payload) {
  hostkit::WideString units = hostkit::ToWide(payload);
  if (units.size() >= kPushPayloadUnits) {
    throw InputError("payload of " + std::to_string(units.size()) +
                     " UTF-16 units does not fit a record (at most " +
                     std::to_string(kPushPayloadUnits - 1) + ")");
  }
  return hostkit::MakeRawRecord(kind, appId, msgId, pushTime,
                                std::vector<uint16_t>(units.begin(), units.end()));
}

uint8_t PushBatch::KindFromJson(json_object* kind, const std::string& context) {
  if (json_object_is_type(kind, json_type_string)) {
    std::string name = json_object_get_string(kind);
    if (name == "dynamic") return 1;
    if (name == "share") return 2;
    if (name == "system") return 3;
    if (name == "unread") return 4;
  } else if (json_object_is_type(kind, json_type_int)) {
    int64_t number = json_object_get_int64(kind);
    if (number >= 0 && number <= 255) return static_cast<uint8_t>(number);
  }
  throw InputError(context + ": \"kind\" must be \"dynamic\", \"share\", \"system\", \"unread\" " +
                   "or a number from 0 to 255, got " + JsonText(kind));
}

std::vector<PushRecord> PushBatch::FromJson(json_object* records, const std::string& context) {
  std::vector<PushRecord> batch;
  size_t count = json_object_array_length(records);
  for (size_t i = 0; i < count; ++i) {
    std::string where = context + " records[" + std::to_string(i) + "]";
    json_object* item = json_object_array_get_idx(records, i);
    if (!json_object_is_type(item, json_type_object)) throw InputError(where + " must be an object");
    StepArgs args(item, where);
    json_object* kindValue = args.Any("kind");
    if (!kindValue) throw InputError(where + ": missing argument \"kind\"");
    uint8_t kind = KindFromJson(kindValue, where);
    uint32_t appId = args.Uint("appId");
    uint32_t msgId = args.Uint("msgId", 0);
    uint32_t pushTime = args.Uint("pushTime", 0);
    json_object* payload = args.Any("payload");
    if (!payload) throw InputError(where + ": missing argument \"payload\"");
    std::string text = json_object_is_type(payload, json_type_string)
                           ? std::string(json_object_get_string(payload),
                                         json_object_get_string_len(payload))
                           : json_object_to_json_string_ext(
                                 payload, JSON_C_TO_STRING_PLAIN | JSON_C_TO_STRING_NOSLASHESCAPE);
    args.CheckAllUsed();
    try {
      batch.push_back(MakeRecord(kind, appId, msgId, pushTime, text));
    } catch (const InputError& error) {
      throw InputError(where + ": " + error.what());
    }
  }
  return batch;
}

std::vector<AppUnreadCount> PushBatch::CountsFromJson(json_object* counts,
                                                      const std::string& context) {
  std::vector<AppUnreadCount> batch;
  size_t count = json_object_array_length(counts);
  for (size_t i = 0; i < count; ++i) {
    std::string where = context + " counts[" + std::to_string(i) + "]";
    json_object* item = json_object_array_get_idx(counts, i);
    if (!json_object_is_type(item, json_type_object)) throw InputError(where + " must be an object");
    StepArgs args(item, where);
    AppUnreadCount entry{};
    entry.appId = args.Uint("appId");
    uint32_t unread = args.Uint("unreadCount");
    if (unread > 0xFFFF) throw InputError(where + ": \"unreadCount\" must fit 16 bits");
    entry.unreadCount = static_cast<uint16_t>(unread);
    args.CheckAllUsed();
    batch.push_back(entry);
  }
  return batch;
}
