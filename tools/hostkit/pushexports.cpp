#include "hostkit/pushexports.h"

namespace hostkit {

std::string PushExports::Bind(HMODULE module) {
  std::string missing;
  // GetProcAddress hands out a generic pointer; the declaration's type is the
  // host's promise about the signature.
  auto bind = [&](auto& field, const char* name) {
    field = module != nullptr ? ProcAs<std::decay_t<decltype(field)>>(GetProcAddress(module, name))
                              : nullptr;
    if (field == nullptr) missing += (missing.empty() ? "" : " ") + std::string(name);
  };
#if defined(_WIN32)
#define HOSTKIT_BIND(identifier, windowsName, elfName) bind(identifier, windowsName);
#else
#define HOSTKIT_BIND(identifier, windowsName, elfName) bind(identifier, elfName);
#endif
  PCW_EXPORT_LIST(HOSTKIT_BIND)
#undef HOSTKIT_BIND
  return missing;
}

}  // namespace hostkit
