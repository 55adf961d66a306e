// The library's exports as a host that loads it by path holds them: one
// pointer per export, named and typed after its declaration, bound by name
// from the list the build keeps (cmake/exports.txt). An export in the list
// without a declaration fails the build here.
#pragma once

#include <string>

#include "pcwexportlist.h"
#include "platform/win32.h"
#include "pushcenterwrapper.h"

namespace hostkit {

struct PushExports {
#define HOSTKIT_EXPORT_FIELD(identifier, windowsName, elfName) \
  decltype(&::identifier) identifier = nullptr;
  PCW_EXPORT_LIST(HOSTKIT_EXPORT_FIELD)
#undef HOSTKIT_EXPORT_FIELD

  // Binds every export of the loaded library, under this system's names (the
  // one C++ export is decorated differently on Windows and on ELF systems).
  // Returns the names that were missing, separated by blanks; empty when all
  // were bound. A null module binds nothing and misses everything.
  std::string Bind(HMODULE module);
};

}  // namespace hostkit
