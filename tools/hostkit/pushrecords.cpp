#include "hostkit/pushrecords.h"

#include <cstring>

#include "platform/win32.h"

namespace hostkit {

std::vector<uint16_t> Utf16Units(const std::string& utf8) {
  if (utf8.empty()) return {};
  const int size = static_cast<int>(utf8.size());
  const int units = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
  if (units <= 0) return {};
  std::basic_string<WCHAR> wide(static_cast<size_t>(units), WCHAR(0));
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, &wide[0], units);
  return std::vector<uint16_t>(wide.begin(), wide.end());
}

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
  std::vector<uint16_t> units = Utf16Units(utf8);
  if (units.size() >= kPushPayloadUnits) units.resize(kPushPayloadUnits - 1);
  return MakeRawRecord(kind, appId, msgId, pushTime, units);
}

}  // namespace hostkit
