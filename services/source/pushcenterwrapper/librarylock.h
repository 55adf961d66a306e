// LibraryLock: the one lock of the library, recursive, held for the whole run
// of every entry (each export, the push center service's batch and unread-count
// callbacks, the install callback). The host's thread and the threads of the
// modules that call in are thereby taken one at a time, and a host callback
// that the library calls with the lock held may call exports on its thread.
//
//   uint32_t HALYX_CDECL PushGetMsgCountByType(int32_t kind) {
//     LibraryLock held;
//     ...
//   }
#pragma once

class LibraryLock {
 public:
  LibraryLock();
  ~LibraryLock();
  LibraryLock(const LibraryLock&) = delete;
  LibraryLock& operator=(const LibraryLock&) = delete;
};
