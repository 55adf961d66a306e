// The host's command callbacks and the delivery of change notifications.
//
// Delivery is safe against callbacks that change the registry: a notification
// goes to the registrations that existed when it was raised, in registration
// order. A registration added by a callback hears from the next notification
// on; a registration removed by a callback is not called again, even later in
// the same delivery, and its memory stays valid until the delivery ends.
// A notification raised from inside a callback is delivered at once, and the
// record the outer callbacks see is restored afterwards. A callback must not
// shut the library down (PushWrapperUnInit): the registry and the center that
// raised the notification would go while they are still in use.
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
  PushCommandRegistry();
  ~PushCommandRegistry();
  PushCommandRegistry(const PushCommandRegistry&) = delete;
  PushCommandRegistry& operator=(const PushCommandRegistry&) = delete;

  // False for a null callback or one that is registered already, whatever its
  // masks; nothing changes then.
  bool Add(PushCommandCallback callback, uintptr_t userData, uint32_t ownerId, uint32_t kindMask,
           uint32_t eventMask);
  // False when the callback is not registered.
  bool Remove(PushCommandCallback callback);
  void Notify(uint32_t kindBit, uint32_t eventBit, uint32_t value1, uint32_t originId,
              uint32_t value2, uint32_t value3, uint32_t value4);

 private:
  std::vector<std::unique_ptr<PushCommandEntry>> entries_;
  PushCommand current_{};
  // Deliveries in progress (nested when a callback causes another change), and
  // the registrations removed meanwhile, released when the outermost ends.
  int deliveryDepth_ = 0;
  std::vector<std::unique_ptr<PushCommandEntry>> retired_;
};

// Raised by the centers on every change. Reaches every registration whose
// kind and event masks match, except one whose non-zero owner id equals
// originId (the party that caused the change). Dropped when there is no
// registry (before PushWrapperInit or after PushWrapperUnInit). Defined in
// pushwrapper.cpp, with the registry's owner.
void NotifyPushCommand(uint32_t kindBit, uint32_t eventBit, uint32_t value1, uint32_t originId,
                       uint32_t value2, uint32_t value3, uint32_t value4);
