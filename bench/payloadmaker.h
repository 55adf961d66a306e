// Push records as the push service sends them, with payloads of 300 to 1,500
// bytes of UTF-16: ASCII words mixed with accented, Cyrillic and CJK text and
// emoji (surrogate pairs), so that conversion and parsing see realistic text.
// Record n of a kind is the same in every run; its size cycles through the
// whole range as n grows.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "halyx/pushcenter.h"

class PayloadMaker {
 public:
  enum Kind : uint8_t { kDynamic = 1, kShare = 2, kSystem = 3 };

  // The UTF-8 JSON payload of record n of a kind, for application appId.
  static std::string Json(Kind kind, uint32_t appId, uint32_t n);
  // The record itself; message id and push time are stamped by the sender.
  static PushRecord Record(Kind kind, uint32_t appId, uint32_t n);
  // count records, record i for application firstApp + i % apps.
  static std::vector<PushRecord> Batch(Kind kind, uint32_t firstApp, uint32_t apps,
                                       uint32_t count, uint32_t firstN = 0);
  // Payload size in bytes of UTF-16, without the terminator.
  static size_t PayloadBytes(const PushRecord& record);
};
