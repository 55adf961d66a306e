// A lock for the threads of one process, for state that several threads of
// the host call into. Windows builds of the shipped artefact use the win32
// thread model, which has no std::mutex, so each system gets its own.
#pragma once

#if defined(_WIN32)
#include "platform/win32.h"
#else
#include <mutex>
#endif

namespace halyx {

class ThreadLock {
 public:
  ThreadLock();
  ~ThreadLock();
  ThreadLock(const ThreadLock&) = delete;
  ThreadLock& operator=(const ThreadLock&) = delete;

  void Acquire();
  void Release();

  // Held from construction to destruction.
  class Hold {
   public:
    explicit Hold(ThreadLock& lock) : lock_(lock) { lock_.Acquire(); }
    ~Hold() { lock_.Release(); }
    Hold(const Hold&) = delete;
    Hold& operator=(const Hold&) = delete;

   private:
    ThreadLock& lock_;
  };

 private:
#if defined(_WIN32)
  CRITICAL_SECTION section_;
#else
  std::mutex mutex_;
#endif
};

}  // namespace halyx
