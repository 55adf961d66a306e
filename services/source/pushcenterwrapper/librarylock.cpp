#include "librarylock.h"

#include "platform/win32.h"

namespace {

// Made while the library is being loaded, before any entry can be called, and
// deleted while it is unloaded, when no entry may run any more.
struct Section {
  Section() { InitializeCriticalSection(&section); }
  ~Section() { DeleteCriticalSection(&section); }
  CRITICAL_SECTION section;
} library;

}  // namespace

LibraryLock::LibraryLock() { EnterCriticalSection(&library.section); }

LibraryLock::~LibraryLock() { LeaveCriticalSection(&library.section); }
