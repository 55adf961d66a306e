#include "hostkit/pushrecords.h"

#include <cstring>

#include "hostkit/widetext.h"

namespace hostkit {

PushRecord MakeRawRecord(uint8_t kind, uint32_t appId, uint32_t msgId, uint32_t pushTime,
                         const std::vector<uint16_t>& units) {
  PushRecord record;
  std::memset(&record, 0, sizeof(record));
  record.appId = appId;
  record.pushTime = pushTime;
  record.msgId = msgId;
  record.kind = kind;
  for (size_t i = 0; i < units.size() && i < kPushPayloadUnits; ++i) record.payload[i] = units[i];
  return record;
}

PushRecord MakeRecord(uint8_t kind, uint32_t appId, uint32_t msgId, uint32_t pushTime,
                      const std::string& utf8) {
  const WideString wide = ToWide(utf8);
  const size_t length = wide.size() < kPushPayloadUnits ? wide.size() : kPushPayloadUnits - 1;
  return MakeRawRecord(kind, appId, msgId, pushTime,
                       std::vector<uint16_t>(wide.begin(), wide.begin() + length));
}

}  // namespace hostkit
