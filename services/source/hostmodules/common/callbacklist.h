// The callbacks that a module calls when something happens.
//
// A callback registered twice is kept once. Delivery walks a copy of the list,
// so a callback may register or unregister callbacks (itself included) while
// it is being called: one unregistered during a delivery is not called after
// that point, one registered during a delivery is first called by the next.
//
// Any thread may register, unregister and deliver. The list's lock is never
// held while a callback runs, so a callback may take locks of its own (the
// library's) in whatever order its user takes them. A callback that another
// thread unregisters while a delivery is about to call it may still be called
// that once.
#pragma once

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <vector>

#include "common/criticalsection.h"

namespace halyx {

template <typename Callback>
class CallbackList {
 public:
  // False when the callback is null or already registered.
  bool Add(Callback callback) {
    CriticalSection::Held held(lock_);
    if (!callback || Contains(callback)) {
      return false;
    }
    callbacks_.push_back(callback);
    return true;
  }

  // False when the callback was not registered.
  bool Remove(Callback callback) {
    CriticalSection::Held held(lock_);
    auto found = std::find(callbacks_.begin(), callbacks_.end(), callback);
    if (found == callbacks_.end()) {
      return false;
    }
    callbacks_.erase(found);
    removals_.fetch_add(1, std::memory_order_release);
    return true;
  }

  // Forgets every callback; returns how many there were.
  uint32_t Clear() {
    CriticalSection::Held held(lock_);
    const uint32_t count = static_cast<uint32_t>(callbacks_.size());
    callbacks_.clear();
    removals_.fetch_add(1, std::memory_order_release);
    return count;
  }

  bool Contains(Callback callback) const {
    CriticalSection::Held held(lock_);
    return std::find(callbacks_.begin(), callbacks_.end(), callback) != callbacks_.end();
  }

  // Calls every registered callback with the arguments; returns how many were
  // called. A delivery comes with every batch, so the copy of the list stays
  // on the stack while the list is short, as it nearly always is, and a
  // callback is looked for in the list again only if one has left it since.
  template <typename... Args>
  uint32_t Deliver(Args... args) const {
    Callback inPlace[kInPlace];
    std::vector<Callback> onHeap;
    const Callback* snapshot = inPlace;
    size_t count = 0;
    uint64_t removals = 0;
    {
      CriticalSection::Held held(lock_);
      count = callbacks_.size();
      if (count <= kInPlace) {
        std::copy(callbacks_.begin(), callbacks_.end(), inPlace);
      } else {
        onHeap = callbacks_;
        snapshot = onHeap.data();
      }
      removals = removals_.load(std::memory_order_relaxed);
    }
    uint32_t called = 0;
    for (size_t i = 0; i < count; ++i) {
      if (removals_.load(std::memory_order_acquire) == removals || Contains(snapshot[i])) {
        snapshot[i](args...);
        ++called;
      }
    }
    return called;
  }

 private:
  static const size_t kInPlace = 8;

  std::vector<Callback> callbacks_;
  // Counts the callbacks taken out of callbacks_ (under lock_): while it
  // stays the same, every callback of a snapshot is still registered.
  std::atomic<uint64_t> removals_{0};
  mutable CriticalSection lock_;
};

}  // namespace halyx
