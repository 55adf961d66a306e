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
    return true;
  }

  // Forgets every callback; returns how many there were.
  uint32_t Clear() {
    CriticalSection::Held held(lock_);
    const uint32_t count = static_cast<uint32_t>(callbacks_.size());
    callbacks_.clear();
    return count;
  }

  bool Contains(Callback callback) const {
    CriticalSection::Held held(lock_);
    return std::find(callbacks_.begin(), callbacks_.end(), callback) != callbacks_.end();
  }

  // Calls every registered callback with the arguments; returns how many were
  // called.
  template <typename... Args>
  uint32_t Deliver(Args... args) const {
    std::vector<Callback> snapshot;
    {
      CriticalSection::Held held(lock_);
      snapshot = callbacks_;
    }
    uint32_t called = 0;
    for (Callback callback : snapshot) {
      if (Contains(callback)) {
        callback(args...);
        ++called;
      }
    }
    return called;
  }

 private:
  std::vector<Callback> callbacks_;
  mutable CriticalSection lock_;
};

}  // namespace halyx
