// Loading of one service module's table, for ServiceWrapper.
#pragma once

#include <memory>

#include "halyx/hostapi.h"
#include "modules/modulepaths.h"
#include "modules/singlton.h"
#include "platform/win32.h"

// Loads the module, finds its entry point and lets it fill a fresh table.
// Null when the module cannot be loaded or lacks the entry point; a module
// without its entry point is freed again, so that a fixed file put in its place
// is really loaded by the next attempt. A module that filled a table stays
// loaded for the life of the process: the table points into it.
//
// Nothing is loaded while the singletons are released, that is while the
// library itself is being unloaded: a release hook that asks for a module
// never used before gets null. The system's loader is then busy unloading
// this library and the modules it was linked with; a module loaded in the
// middle of that (the local database, which needs the base module being
// unloaded) is left referring to a module that is gone, and the loader's own
// list of loaded modules is corrupt from then on. Windows forbids loading
// from a library's unload outright.
template <class Table>
std::unique_ptr<Table> LoadServiceTable(ServiceModule module, const char* entryName) {
  typedef bool(HALYX_CDECL * Entry)(Table*);
  if (SingltonRegistry::Releasing()) return nullptr;
  HMODULE handle = LoadLibraryW(ServiceModulePath(module));
  if (handle == nullptr) return nullptr;
  FARPROC proc = GetProcAddress(handle, entryName);
  if (proc == nullptr) {
    FreeLibrary(handle);
    return nullptr;
  }
  // Zeroed, so that an entry the module leaves alone reads as missing.
  std::unique_ptr<Table> table(new Table());
  reinterpret_cast<Entry>(reinterpret_cast<void*>(proc))(table.get());
  return table;
}
