#include "hostos.h"

#include <dlfcn.h>
#include <limits.h>
#include <signal.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstring>

namespace hostos {

std::string GetEnv(const char* name) {
  const char* value = getenv(name);
  return value ? value : "";
}

bool SetEnv(const char* name, const std::string& value) {
  return setenv(name, value.c_str(), 1) == 0;
}

void UnsetEnv(const char* name) { unsetenv(name); }

std::string ExecutableFolder() {
  char path[PATH_MAX + 1];
  ssize_t length = readlink("/proc/self/exe", path, PATH_MAX);
  if (length <= 0) return "";
  path[length] = '\0';
  char* slash = strrchr(path, '/');
  if (!slash) return "";
  *slash = '\0';
  return path;
}

std::string MakeTempFolder() {
  std::string base = GetEnv("TMPDIR");
  if (base.empty()) base = "/tmp";
  std::string pattern = base + "/pushhost-XXXXXX";
  if (!mkdtemp(&pattern[0])) return "";
  return pattern;
}

bool UseDataRoot(const std::string& root) {
  // The documents folder is $XDG_DOCUMENTS_DIR, else $HOME/Documents.
  UnsetEnv("XDG_DOCUMENTS_DIR");
  return SetEnv("HOME", root);
}

std::string LoadFailure(const std::string& path) {
  // The Windows layer keeps only an error number; the loader says more when
  // asked again.
  void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (module) {
    dlclose(module);
    return "it loads now";
  }
  const char* text = dlerror();
  std::string reason = text ? text : "unknown reason";
  // The loader starts with the path, which the caller has said already.
  if (reason.compare(0, path.size() + 2, path + ": ") == 0) reason.erase(0, path.size() + 2);
  return reason;
}

void IgnoreBrokenPipe() { signal(SIGPIPE, SIG_IGN); }

}  // namespace hostos
