// pushcenterwrapper.dll loaded by path, as a host without its import library
// holds it: every listed export bound, or nothing loaded at all.
#pragma once

#include <string>

#include "hostkit/pushexports.h"

namespace hostkit {

class PushLibrary {
 public:
  PushLibrary() = default;
  ~PushLibrary() { Unload(); }
  PushLibrary(const PushLibrary&) = delete;
  PushLibrary& operator=(const PushLibrary&) = delete;

  // Loads the library at path (UTF-8) and binds its exports. False when the
  // system cannot load it (GetLastError() says why) or when exports are
  // missing (Missing() names them); nothing stays loaded then.
  bool Load(const std::string& path);
  bool Load(const WCHAR* path);
  // Frees the module, started or not; the exports are unusable afterwards.
  void Unload();
  bool IsLoaded() const { return module_ != nullptr; }
  const PushExports& Exports() const { return exports_; }
  const std::string& Missing() const { return missing_; }

 private:
  HMODULE module_ = nullptr;
  PushExports exports_;
  std::string missing_;
};

}  // namespace hostkit
