// LibraryLock: the one lock of the library, recursive, held for the whole run
// of every entry (each export, the push center service's batch and unread-count
// callbacks, the install callback). The host's thread and the threads of the
// modules that call in are thereby taken one at a time, and a host callback
// that the library calls with the lock held may call exports on its thread.
//
// Once the library's teardown has begun (its unload, or the process's exit,
// which may destroy the library's objects before a host's exit handler calls
// in), the lock is no longer taken and the entry must touch nothing:
//
//   uint32_t HALYX_CDECL PushGetMsgCountByType(int32_t kind) {
//     LibraryLock held;
//     if (!held) return 0;
//     ...
//   }
#pragma once

class LibraryLock {
 public:
  LibraryLock();
  ~LibraryLock();
  LibraryLock(const LibraryLock&) = delete;
  LibraryLock& operator=(const LibraryLock&) = delete;

  // False when the library is closed: nothing was locked.
  explicit operator bool() const { return held_; }

  // Marks the start of the teardown; every entry from then on is refused.
  static void Close();

 private:
  bool held_;
};
