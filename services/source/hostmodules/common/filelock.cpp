#include "common/filelock.h"

#if defined(_WIN32)
#include "platform/win32.h"
#else
#include <errno.h>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace halyx {

#if defined(_WIN32)

FileLock::FileLock(const std::filesystem::path& lockFile) {
  HANDLE handle = CreateFileW(lockFile.c_str(), GENERIC_READ | GENERIC_WRITE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    return;
  }
  // Locks belong to the handle: a second handle of this process waits too.
  OVERLAPPED whole = {};
  if (!LockFileEx(handle, LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &whole)) {
    CloseHandle(handle);
    return;
  }
  handle_ = handle;
  held_ = true;
}

FileLock::~FileLock() {
  if (held_) {
    OVERLAPPED whole = {};
    UnlockFileEx(handle_, 0, 1, 0, &whole);
    CloseHandle(handle_);
  }
}

#else

FileLock::FileLock(const std::filesystem::path& lockFile) {
  int descriptor = open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
  if (descriptor < 0) {
    return;
  }
  // flock belongs to the open file, so another open of this process (another
  // thread's) waits as well; fcntl's locks would not make it wait.
  int result;
  do {
    result = flock(descriptor, LOCK_EX);
  } while (result != 0 && errno == EINTR);
  if (result != 0) {
    close(descriptor);
    return;
  }
  descriptor_ = descriptor;
  held_ = true;
}

FileLock::~FileLock() {
  if (held_) {
    close(descriptor_);  // gives the lock up
  }
}

#endif

}  // namespace halyx
