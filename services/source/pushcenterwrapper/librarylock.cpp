#include "librarylock.h"

#include "platform/win32.h"

namespace {

// Never destroyed: read by entries that come after the teardown.
bool closed = false;

// Made while the library is being loaded, before any entry can be called, and
// deleted while it is unloaded, when every entry is refused.
struct Section {
  Section() { InitializeCriticalSection(&section); }
  ~Section() {
    closed = true;
    DeleteCriticalSection(&section);
  }
  CRITICAL_SECTION section;
} library;

}  // namespace

LibraryLock::LibraryLock() : held_(!closed) {
  if (held_) EnterCriticalSection(&library.section);
}

LibraryLock::~LibraryLock() {
  if (held_) LeaveCriticalSection(&library.section);
}

void LibraryLock::Close() {
  LibraryLock last;  // waits for an entry still running on another thread
  closed = true;
}
