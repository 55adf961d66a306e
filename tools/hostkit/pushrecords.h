// Push records as the push center service hands them to the library: the
// header fields and a payload of UTF-16 units, zero after the last one.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "halyx/pushcenter.h"

namespace hostkit {

// The units as they are, at most kPushPayloadUnits of them: no terminator is
// added, so a payload of all of them fills the record to its last byte.
PushRecord MakeRawRecord(uint8_t kind, uint32_t appId, uint32_t msgId, uint32_t pushTime,
                         const std::vector<uint16_t>& units);

// UTF-8 text, cut to kPushPayloadUnits - 1 units so that it stays terminated.
PushRecord MakeRecord(uint8_t kind, uint32_t appId, uint32_t msgId, uint32_t pushTime,
                      const std::string& utf8);

}  // namespace hostkit
