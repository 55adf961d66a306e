// A module of the bin folder, loaded by its full path as a host loads it, and
// freed again when the object goes. Freeing the last reference unloads the
// module, so loading it anew starts it from what it keeps on disk.
#pragma once

#include <string>

#include "platform/win32.h"
#include "support/testenv.h"

class LoadedModule {
 public:
  explicit LoadedModule(const std::string& fileName)
      : handle_(LoadLibraryW(testenv::ModulePath(fileName).c_str())) {}
  LoadedModule(const LoadedModule&) = delete;
  LoadedModule& operator=(const LoadedModule&) = delete;
  ~LoadedModule() {
    if (handle_) FreeLibrary(handle_);
  }
  bool loaded() const { return handle_ != nullptr; }
  // The exported function of that name, or null.
  template <typename Function>
  Function Get(const char* name) const {
    return handle_ ? ProcAs<Function>(GetProcAddress(handle_, name)) : nullptr;
  }

 private:
  HMODULE handle_;
};
