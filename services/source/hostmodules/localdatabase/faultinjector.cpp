#include "localdatabase/faultinjector.h"

namespace halyx {

FaultInjector::FaultInjector() {
  for (int32_t& remaining : remaining_) {
    remaining = -1;
  }
}

bool FaultInjector::Arm(uint32_t slot, int32_t n) {
  if (slot >= kSlots) {
    return false;
  }
  remaining_[slot] = n < 0 ? -1 : n;
  return true;
}

bool FaultInjector::ShouldFail(uint32_t slot) {
  if (slot >= kSlots || remaining_[slot] < 0) {
    return false;
  }
  if (remaining_[slot] > 0) {
    --remaining_[slot];
    return false;
  }
  return true;
}

}  // namespace halyx
