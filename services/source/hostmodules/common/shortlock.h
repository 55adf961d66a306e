// A lock for a module whose every call is short and comes often, such as the
// local database's field reads, ten or more per stored row:
//
//   ShortLock::Held held(lock_);
//
// Entering costs one atomic exchange and leaving one plain store, where the
// system's critical section pays an atomic operation both ways. A thread that
// finds it taken gives its core away until it is free, then, should the
// holder wait on a file (another process's lock, a sync to disk), sleeps a
// millisecond between looks. It is not recursive: a module that takes it
// never calls itself while it holds it.
#pragma once

#include <atomic>

#include "platform/win32.h"

namespace halyx {

class ShortLock {
 public:
  ShortLock() = default;
  ShortLock(const ShortLock&) = delete;
  ShortLock& operator=(const ShortLock&) = delete;

  void Enter() {
    if (taken_.exchange(true, std::memory_order_acquire)) WaitAndEnter();
  }
  void Leave() { taken_.store(false, std::memory_order_release); }

  class Held {
   public:
    explicit Held(ShortLock& lock) : lock_(lock) { lock_.Enter(); }
    ~Held() { lock_.Leave(); }
    Held(const Held&) = delete;
    Held& operator=(const Held&) = delete;

   private:
    ShortLock& lock_;
  };

 private:
  void WaitAndEnter() {
    // Looks without writing while the lock is taken, so that waiters do not
    // pull the lock's cache line away from its holder, and lets any other
    // thread, the holder first of all, run meanwhile.
    const unsigned kYields = 64;
    unsigned looks = 0;
    do {
      while (taken_.load(std::memory_order_relaxed)) {
        if (++looks <= kYields) {
          SwitchToThread();
        } else {
          Sleep(1);
        }
      }
    } while (taken_.exchange(true, std::memory_order_acquire));
  }

  std::atomic<bool> taken_{false};
};

}  // namespace halyx
