#include "hostkit/hostos.h"

#include <dlfcn.h>
#include <limits.h>
#include <locale.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstring>
#include <cwchar>

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

int CharWidth(uint32_t codePoint) {
  // wcwidth follows the locale's character type; this thread uses UTF-8's for
  // the call only, whatever the process's locale is.
  static const locale_t utf8 = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(0));
  if (!utf8) return 1;
  locale_t previous = uselocale(utf8);
  int width = wcwidth(static_cast<wchar_t>(codePoint));
  uselocale(previous);
  return width < 0 ? 1 : width;
}

size_t OutputColumns() {
  if (!isatty(STDOUT_FILENO)) return 0;
  struct winsize size = {};
  if (ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0) return size.ws_col;
  const char* columns = getenv("COLUMNS");
  long value = columns ? strtol(columns, nullptr, 10) : 0;
  return value > 0 ? static_cast<size_t>(value) : 80;
}

}  // namespace hostos
