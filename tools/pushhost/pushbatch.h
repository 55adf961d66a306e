// Push records as the push center service delivers them, built from a
// scenario's description: kind, application, message id, push time and the
// payload, either a JSON value (sent as its compact text) or a string sent
// verbatim, so that broken payloads can be pushed too.
#pragma once

#include <string>
#include <vector>

#include "halyx/pushcenter.h"
#include "json.h"

class PushBatch {
 public:
  // records is a JSON array; throws InputError naming the element at fault.
  static std::vector<PushRecord> FromJson(json_object* records, const std::string& context);
  // counts is a JSON array of {"appId", "unreadCount"}.
  static std::vector<AppUnreadCount> CountsFromJson(json_object* counts, const std::string& context);

  // One record; payload is UTF-8 text. Throws InputError when the payload
  // does not fit the record's 1024 units.
  static PushRecord MakeRecord(uint8_t kind, uint32_t appId, uint32_t msgId, uint32_t pushTime,
                               const std::string& payload);

  // "dynamic", "share", "system", "unread" or a number from 0 to 255.
  static uint8_t KindFromJson(json_object* kind, const std::string& context);
};
