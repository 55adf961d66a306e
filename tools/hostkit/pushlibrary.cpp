#include "hostkit/pushlibrary.h"

#include "hostkit/widetext.h"

namespace hostkit {

bool PushLibrary::Load(const std::string& path) {
  return Load(ToWide(path).c_str());
}

bool PushLibrary::Load(const WCHAR* path) {
  Unload();
  module_ = LoadLibraryW(path);
  if (module_ == nullptr) return false;
  missing_ = exports_.Bind(module_);
  if (missing_.empty()) return true;
  const std::string missing = missing_;
  Unload();
  missing_ = missing;
  return false;
}

void PushLibrary::Unload() {
  if (module_ != nullptr) FreeLibrary(module_);
  module_ = nullptr;
  exports_ = PushExports();
  missing_.clear();
}

}  // namespace hostkit
