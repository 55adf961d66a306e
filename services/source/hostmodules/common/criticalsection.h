// A module's recursive lock over the system's critical section, released by
// scope:
//
//   CriticalSection::Held held(lock_);
//
// The thread that holds it may take it again. A module never calls out to a
// user's callback while it holds one, so a user's own lock never waits on it.
#pragma once

#include "platform/win32.h"

namespace halyx {

class CriticalSection {
 public:
  CriticalSection() { InitializeCriticalSection(&section_); }
  ~CriticalSection() { DeleteCriticalSection(&section_); }
  CriticalSection(const CriticalSection&) = delete;
  CriticalSection& operator=(const CriticalSection&) = delete;

  class Held {
   public:
    explicit Held(CriticalSection& lock) : lock_(lock) { EnterCriticalSection(&lock_.section_); }
    ~Held() { LeaveCriticalSection(&lock_.section_); }
    Held(const Held&) = delete;
    Held& operator=(const Held&) = delete;

   private:
    CriticalSection& lock_;
  };

 private:
  CRITICAL_SECTION section_;
};

}  // namespace halyx
