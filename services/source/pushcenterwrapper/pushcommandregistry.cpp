#include "pushcommandregistry.h"

#include <algorithm>


PushCommandRegistry::PushCommandRegistry() = default;
PushCommandRegistry::~PushCommandRegistry() = default;

bool PushCommandRegistry::Add(PushCommandCallback callback, uintptr_t userData, uint32_t ownerId,
                              uint32_t kindMask, uint32_t eventMask) {
  if (callback == nullptr) return false;
  for (const auto& entry : entries_) {
    if (entry->callback == callback) return false;
  }
  entries_.emplace_back(new PushCommandEntry{ownerId, kindMask, eventMask, callback, userData});
  return true;
}

bool PushCommandRegistry::Remove(PushCommandCallback callback) {
  auto found = std::find_if(entries_.begin(), entries_.end(),
                            [callback](const std::unique_ptr<PushCommandEntry>& entry) {
                              return entry->callback == callback;
                            });
  if (found == entries_.end()) return false;
  std::unique_ptr<PushCommandEntry> removed = std::move(*found);
  entries_.erase(found);
  if (deliveryDepth_ > 0) retired_.push_back(std::move(removed));
  return true;
}

void PushCommandRegistry::Notify(uint32_t kindBit, uint32_t eventBit, uint32_t value1,
                                 uint32_t originId, uint32_t value2, uint32_t value3,
                                 uint32_t value4) {
  // Callbacks may add and remove registrations: walk a snapshot, and check
  // before each call that the registration is still in the live list.
  std::vector<PushCommandEntry*> snapshot;
  snapshot.reserve(entries_.size());
  for (const auto& entry : entries_) snapshot.push_back(entry.get());

  const PushCommand outer = current_;
  ++deliveryDepth_;
  for (PushCommandEntry* entry : snapshot) {
    if ((entry->kindMask & kindBit) == 0 || (entry->eventMask & eventBit) == 0) continue;
    if (entry->ownerId != 0 && entry->ownerId == originId) continue;
    bool live = std::any_of(entries_.begin(), entries_.end(),
                            [entry](const std::unique_ptr<PushCommandEntry>& e) {
                              return e.get() == entry;
                            });
    if (!live) continue;
    // Written before every call: a nested notification may have overwritten it.
    current_ = PushCommand{kindBit, eventBit, value1, value2, value3, value4};
    entry->callback(&current_, entry->userData);
  }
  --deliveryDepth_;
  if (deliveryDepth_ == 0) {
    retired_.clear();
  } else {
    current_ = outer;
  }
}
