// An exclusive lock shared by every process of the machine, held on a lock
// file beside the data it guards. The lock file itself is never removed: a
// process that removed it could leave another one holding a lock on a file
// that the next process no longer finds. A process that ends, however it
// ends, gives its lock up.
#pragma once

#include <filesystem>

namespace halyx {

class FileLock {
 public:
  // Waits until the lock is free; creates the lock file when it is missing
  // (its folder must exist).
  explicit FileLock(const std::filesystem::path& lockFile);
  ~FileLock();
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;

  // False when the file could not be opened or locked (a read-only folder).
  bool held() const { return held_; }

 private:
  bool held_ = false;
#if defined(_WIN32)
  void* handle_ = nullptr;
#else
  int descriptor_ = -1;
#endif
};

}  // namespace halyx
