// The callbacks that a module calls when something happens.
//
// A callback registered twice is kept once. Delivery walks a copy of the list,
// so a callback may register or unregister callbacks (itself included) while
// it is being called: one unregistered during a delivery is not called after
// that point, one registered during a delivery is first called by the next.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

namespace halyx {

template <typename Callback>
class CallbackList {
 public:
  // False when the callback is null or already registered.
  bool Add(Callback callback) {
    if (!callback || Contains(callback)) {
      return false;
    }
    callbacks_.push_back(callback);
    return true;
  }

  // False when the callback was not registered.
  bool Remove(Callback callback) {
    auto found = std::find(callbacks_.begin(), callbacks_.end(), callback);
    if (found == callbacks_.end()) {
      return false;
    }
    callbacks_.erase(found);
    return true;
  }

  // Forgets every callback; returns how many there were.
  uint32_t Clear() {
    const uint32_t count = static_cast<uint32_t>(callbacks_.size());
    callbacks_.clear();
    return count;
  }

  bool Contains(Callback callback) const {
    return std::find(callbacks_.begin(), callbacks_.end(), callback) != callbacks_.end();
  }

  // Calls every registered callback with the arguments; returns how many were
  // called.
  template <typename... Args>
  uint32_t Deliver(Args... args) const {
    const std::vector<Callback> snapshot = callbacks_;
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
};

}  // namespace halyx
