#include "hostos.h"

#include <limits.h>
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

}  // namespace hostos
