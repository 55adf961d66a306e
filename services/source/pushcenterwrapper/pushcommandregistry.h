// The host's command callbacks and the delivery of change notifications.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "pushcenterwrapper.h"

struct PushCommandEntry {
  uint32_t ownerId;  // 0: none
  uint32_t kindMask;
  uint32_t eventMask;
  PushCommandCallback callback;
  uintptr_t userData;
};

class PushCommandRegistry {
 public:
  // False for a null callback or one that is registered already.
  bool Add(PushCommandCallback callback, uintptr_t userData, uint32_t ownerId, uint32_t kindMask,
           uint32_t eventMask);
  // False when the callback is not registered.
  bool Remove(PushCommandCallback callback);
  void Notify(uint32_t kindBit, uint32_t eventBit, uint32_t value1, uint32_t originId,
              uint32_t value2, uint32_t value3, uint32_t value4);

 private:
  std::vector<std::unique_ptr<PushCommandEntry>> entries;
  PushCommand current{};
};

// Raised by the centers on every change. Reaches every registration whose
// kind and event masks match, except one whose non-zero owner id equals
// originId (the party that caused the change). Dropped when there is no
// registry (before PushWrapperInit or after PushWrapperUnInit).
void NotifyPushCommand(uint32_t kindBit, uint32_t eventBit, uint32_t value1, uint32_t originId,
                       uint32_t value2, uint32_t value3, uint32_t value4);
