#include "common/threadlock.h"

namespace halyx {

#if defined(_WIN32)
ThreadLock::ThreadLock() { InitializeCriticalSection(&section_); }
ThreadLock::~ThreadLock() { DeleteCriticalSection(&section_); }
void ThreadLock::Acquire() { EnterCriticalSection(&section_); }
void ThreadLock::Release() { LeaveCriticalSection(&section_); }
#else
ThreadLock::ThreadLock() = default;
ThreadLock::~ThreadLock() = default;
void ThreadLock::Acquire() { mutex_.lock(); }
void ThreadLock::Release() { mutex_.unlock(); }
#endif

}  // namespace halyx
