// Failures on demand, for tests of what the database's users do when a call
// fails: a slot armed with n lets n more calls through, then fails every call
// until it is disarmed. A failing call does nothing and reports SQLITE_IOERR.
#pragma once

#include <cstdint>

namespace halyx {

class FaultInjector {
 public:
  static const uint32_t kSlots = 39;

  FaultInjector();

  // n < 0 disarms the slot. False for a slot number out of range.
  bool Arm(uint32_t slot, int32_t n);
  // True when this call of the slot must fail.
  bool ShouldFail(uint32_t slot);

 private:
  int32_t remaining_[kSlots];
};

}  // namespace halyx
