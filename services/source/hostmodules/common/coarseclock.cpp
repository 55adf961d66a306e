#include "common/coarseclock.h"

#if defined(_WIN32)
#include "platform/win32.h"
#else
#include <time.h>
#endif

namespace halyx {

uint32_t CoarseMilliseconds() {
#if defined(_WIN32)
  return static_cast<uint32_t>(GetTickCount());
#else
  // The coarse clock is served from the vDSO without entering the kernel; the
  // precise one may need the kernel where the time source is not readable
  // from user space.
  struct timespec now = {};
#if defined(CLOCK_MONOTONIC_COARSE)
  clock_gettime(CLOCK_MONOTONIC_COARSE, &now);
#else
  clock_gettime(CLOCK_MONOTONIC, &now);
#endif
  return static_cast<uint32_t>(static_cast<uint64_t>(now.tv_sec) * 1000u +
                               static_cast<uint64_t>(now.tv_nsec) / 1000000u);
#endif
}

}  // namespace halyx
