// Giving the core away and waiting, on POSIX. A file of their own, so that
// only the modules that wait link them.
#include <sched.h>
#include <time.h>

#include "platform/win32.h"

BOOL SwitchToThread() { return sched_yield() == 0; }

void Sleep(DWORD milliseconds) {
  timespec wait{static_cast<time_t>(milliseconds / 1000),
                static_cast<long>(milliseconds % 1000) * 1000000L};
  while (nanosleep(&wait, &wait) != 0) {
  }
}
