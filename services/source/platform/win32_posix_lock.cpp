// Windows' critical section on POSIX: a recursive pthread mutex kept in the
// section's opaque storage.
#include <pthread.h>

#include <new>

#include "platform/win32.h"

static_assert(sizeof(pthread_mutex_t) <= sizeof(CRITICAL_SECTION::opaque),
              "a pthread mutex fits a critical section");
static_assert(alignof(pthread_mutex_t) <= alignof(CRITICAL_SECTION),
              "a critical section is aligned for a pthread mutex");

namespace {

pthread_mutex_t* MutexOf(LPCRITICAL_SECTION section) {
  return std::launder(reinterpret_cast<pthread_mutex_t*>(section->opaque));
}

}  // namespace

void InitializeCriticalSection(LPCRITICAL_SECTION section) {
  pthread_mutexattr_t attributes;
  pthread_mutexattr_init(&attributes);
  pthread_mutexattr_settype(&attributes, PTHREAD_MUTEX_RECURSIVE);
  pthread_mutex_init(new (section->opaque) pthread_mutex_t, &attributes);
  pthread_mutexattr_destroy(&attributes);
}

void EnterCriticalSection(LPCRITICAL_SECTION section) { pthread_mutex_lock(MutexOf(section)); }

void LeaveCriticalSection(LPCRITICAL_SECTION section) { pthread_mutex_unlock(MutexOf(section)); }

void DeleteCriticalSection(LPCRITICAL_SECTION section) { pthread_mutex_destroy(MutexOf(section)); }
