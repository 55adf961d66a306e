// The Windows kernel and shell subset on POSIX. Every function keeps Win32's
// return conventions and reports failures through SetLastError, so that code
// written against win32.h behaves the same on both systems.
#include "platform/win32.h"

#include <dlfcn.h>
#include <sys/stat.h>
#include <sys/types.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/unicode_posix.h"

namespace {

// Every module that links this library has its own copy. The initial-exec
// model keeps it in the static TLS block that the loader sets aside for the
// modules loaded later: no block of dynamic TLS is made per thread and module,
// so nothing is left behind in a thread's TLS table when a module is unloaded.
__attribute__((tls_model("initial-exec"))) thread_local DWORD lastError = ERROR_SUCCESS;

// The one place where errno becomes a Win32 error code.
DWORD ErrorFromErrno(int error) {
  switch (error) {
    case 0: return ERROR_SUCCESS;
    case ENOENT: return ERROR_FILE_NOT_FOUND;
    case ENOTDIR: return ERROR_PATH_NOT_FOUND;
    case EACCES:
    case EPERM:
    case EROFS: return ERROR_ACCESS_DENIED;
    case EEXIST: return ERROR_ALREADY_EXISTS;
    case ENAMETOOLONG: return ERROR_FILENAME_EXCED_RANGE;
    case ENOSPC: return ERROR_DISK_FULL;
    case ENOMEM: return ERROR_NOT_ENOUGH_MEMORY;
    case EINVAL: return ERROR_INVALID_PARAMETER;
    default: return ERROR_GEN_FAILURE;
  }
}

// A Windows path as the file system here spells it: UTF-8, '\' as '/'.
// Paths are converted at every probe, so one that fits the array is
// converted in a single pass without allocating.
class PosixPath {
 public:
  explicit PosixPath(LPCWSTR path) {
    // An ASCII path is copied as it is read; any other goes through the
    // converter from its start.
    size_t length = 0;
    for (; path[length] != u'\0' && path[length] < 0x80 && length < sizeof(small_) - 1; ++length) {
      small_[length] = path[length] == u'\\' ? '/' : static_cast<char>(path[length]);
    }
    if (path[length] == u'\0') {
      small_[length] = '\0';
      text_ = small_;
      size_ = length;
      return;
    }
    while (path[length] != u'\0') ++length;
    const auto done = win32posix::Utf16ToUtf8(path, length, small_, sizeof(small_) - 1);
    char* text = small_;
    if (done.overflow) {
      large_.assign(done.units, '\0');
      win32posix::Utf16ToUtf8(path, length, &large_[0], large_.size());
      text = &large_[0];
    }
    text[done.units] = '\0';
    for (size_t i = 0; i < done.units; ++i) {
      if (text[i] == '\\') text[i] = '/';
    }
    text_ = text;
    size_ = done.units;
  }
  PosixPath(const PosixPath&) = delete;
  PosixPath& operator=(const PosixPath&) = delete;

  const char* c_str() const { return text_; }
  std::string str() const { return std::string(text_, size_); }

 private:
  char small_[512];
  std::string large_;
  const char* text_;
  size_t size_;
};

bool IsDirectory(const char* path) {
  struct stat info;
  return stat(path, &info) == 0 && S_ISDIR(info.st_mode);
}

// The folder that holds `path`, or empty when it has none.
std::string ParentOf(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return {};
  return slash == 0 ? "/" : path.substr(0, slash);
}

// mkdir -p. Returns a Win32 code: ERROR_SUCCESS or ERROR_ALREADY_EXISTS for
// the last component, else the error of the step that failed.
DWORD MakeTree(const char* path) {
  if (IsDirectory(path)) return ERROR_ALREADY_EXISTS;
  const std::string parent = ParentOf(path);
  if (!parent.empty() && parent != path && !IsDirectory(parent.c_str())) {
    const DWORD made = MakeTree(parent.c_str());
    if (made != ERROR_SUCCESS) return made == ERROR_ALREADY_EXISTS ? ERROR_PATH_NOT_FOUND : made;
  }
  if (mkdir(path, 0777) == 0) return ERROR_SUCCESS;
  return ErrorFromErrno(errno);
}

bool ValidTranscodeArguments(UINT codePage, const void* source, int sourceLength,
                             const void* target, int targetRoom) {
  if (codePage != CP_UTF8 || source == nullptr || sourceLength == 0 || sourceLength < -1 ||
      targetRoom < 0 || (target == nullptr && targetRoom != 0)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return false;
  }
  return true;
}

// Windows' answer for a finished pass: the count, or 0 with the reason.
int TranscodeResult(const win32posix::Transcoded& done, bool strict, int targetRoom) {
  if (strict && done.invalid) {
    SetLastError(ERROR_NO_UNICODE_TRANSLATION);
    return 0;
  }
  if (targetRoom != 0 && done.overflow) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  return static_cast<int>(done.units);
}

}  // namespace

DWORD GetLastError() { return lastError; }

void SetLastError(DWORD error) { lastError = error; }

HMODULE LoadLibraryW(LPCWSTR fileName) {
  if (fileName == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  const PosixPath path(fileName);
  HMODULE module = dlopen(path.c_str(), RTLD_NOW);
  if (module == nullptr) {
    struct stat info;
    const bool present = std::strchr(path.c_str(), '/') != nullptr && stat(path.c_str(), &info) == 0;
    SetLastError(present ? ERROR_BAD_EXE_FORMAT : ERROR_MOD_NOT_FOUND);
  }
  return module;
}

FARPROC GetProcAddress(HMODULE module, LPCSTR procName) {
  if (module == nullptr || procName == nullptr) {
    SetLastError(module == nullptr ? ERROR_INVALID_HANDLE : ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  void* symbol = dlsym(module, procName);
  if (symbol == nullptr) {
    SetLastError(ERROR_PROC_NOT_FOUND);
    return nullptr;
  }
  FARPROC function;
  static_assert(sizeof(function) == sizeof(symbol), "code and data pointers have one size");
  std::memcpy(&function, &symbol, sizeof(function));
  return function;
}

BOOL FreeLibrary(HMODULE module) {
  if (module == nullptr || dlclose(module) != 0) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  return TRUE;
}

DWORD GetEnvironmentVariableW(LPCWSTR name, LPWSTR buffer, DWORD size) {
  const char* value = name == nullptr ? nullptr : std::getenv(win32posix::ToUtf8(name).c_str());
  if (value == nullptr) {
    SetLastError(ERROR_ENVVAR_NOT_FOUND);
    return 0;
  }
  const std::u16string wide = win32posix::ToUtf16(value);
  if (buffer == nullptr || wide.size() + 1 > size) {
    return static_cast<DWORD>(wide.size() + 1);
  }
  wide.copy(buffer, wide.size());
  buffer[wide.size()] = u'\0';
  if (wide.empty()) SetLastError(ERROR_SUCCESS);
  return static_cast<DWORD>(wide.size());
}

int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR source, int sourceLength,
                        LPWSTR target, int targetRoom) {
  if (!ValidTranscodeArguments(codePage, source, sourceLength, target, targetRoom)) return 0;
  if ((flags & ~MB_ERR_INVALID_CHARS) != 0) {
    SetLastError(ERROR_INVALID_FLAGS);
    return 0;
  }
  const size_t length = sourceLength == -1 ? std::strlen(source) + 1 : size_t(sourceLength);
  const auto done = win32posix::Utf8ToUtf16(reinterpret_cast<const unsigned char*>(source),
                                            length, target, size_t(targetRoom));
  return TranscodeResult(done, (flags & MB_ERR_INVALID_CHARS) != 0, targetRoom);
}

int WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR source, int sourceLength,
                        LPSTR target, int targetRoom, LPCSTR defaultChar, BOOL* usedDefault) {
  if (!ValidTranscodeArguments(codePage, source, sourceLength, target, targetRoom)) return 0;
  if (defaultChar != nullptr || usedDefault != nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  if ((flags & ~WC_ERR_INVALID_CHARS) != 0) {
    SetLastError(ERROR_INVALID_FLAGS);
    return 0;
  }
  size_t length = size_t(sourceLength);
  if (sourceLength == -1) {
    length = 0;
    while (source[length] != u'\0') ++length;
    ++length;
  }
  const auto done = win32posix::Utf16ToUtf8(source, length, target, size_t(targetRoom));
  return TranscodeResult(done, (flags & WC_ERR_INVALID_CHARS) != 0, targetRoom);
}

DWORD GetFileAttributesW(LPCWSTR fileName) {
  if (fileName == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return INVALID_FILE_ATTRIBUTES;
  }
  const PosixPath path(fileName);
  struct stat info;
  if (stat(path.c_str(), &info) != 0) {
    const int error = errno;
    const std::string parent = ParentOf(path.str());
    // Windows tells a missing file from a missing folder on its way.
    if (error == ENOENT && !parent.empty() && !IsDirectory(parent.c_str())) {
      SetLastError(ERROR_PATH_NOT_FOUND);
    } else {
      SetLastError(ErrorFromErrno(error));
    }
    return INVALID_FILE_ATTRIBUTES;
  }
  return S_ISDIR(info.st_mode) ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL;
}

BOOL SHGetSpecialFolderPathW(HWND, LPWSTR path, int csidl, BOOL create) {
  if (path == nullptr || (csidl & ~CSIDL_FLAG_CREATE) != CSIDL_PERSONAL) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  // Asked at every storage open: the folder is put together in an array, and
  // only a folder too long for it takes the heap. The settings modules know
  // it from these two variables alone (DocumentsFolderWatch): any other that
  // comes to decide it must be watched there as well.
  const char kDocuments[] = "/Documents";
  char small[512];
  std::string large;
  const char* folder = nullptr;
  size_t length = 0;
  const char* documents = std::getenv("XDG_DOCUMENTS_DIR");
  if (documents != nullptr && documents[0] == '/') {
    folder = documents;
    length = std::strlen(documents);
  } else {
    const char* home = std::getenv("HOME");
    if (home == nullptr || home[0] != '/') {
      SetLastError(ERROR_FILE_NOT_FOUND);
      return FALSE;
    }
    size_t homeLength = std::strlen(home);
    if (home[homeLength - 1] == '/') --homeLength;
    length = homeLength + sizeof(kDocuments) - 1;
    char* joined = small;
    if (length >= sizeof(small)) {
      large.assign(length + 1, '\0');
      joined = &large[0];
    }
    std::memcpy(joined, home, homeLength);
    std::memcpy(joined + homeLength, kDocuments, sizeof(kDocuments));  // and its terminator
    folder = joined;
  }
  while (length > 1 && folder[length - 1] == '/') --length;
  const auto wide = win32posix::Utf8ToUtf16(reinterpret_cast<const unsigned char*>(folder), length,
                                            path, MAX_PATH - 1);
  if (wide.units >= MAX_PATH) {
    SetLastError(ERROR_FILENAME_EXCED_RANGE);
    return FALSE;
  }
  if (create || (csidl & CSIDL_FLAG_CREATE) != 0) {
    // The folder ends where the text does, unless slashes were cut off it.
    std::string trimmed;
    if (folder[length] != '\0') {
      trimmed.assign(folder, length);
      folder = trimmed.c_str();
    }
    const DWORD made = MakeTree(folder);
    if (made != ERROR_SUCCESS && made != ERROR_ALREADY_EXISTS) {
      SetLastError(made);
      return FALSE;
    }
  }
  path[wide.units] = u'\0';
  return TRUE;
}

int SHCreateDirectoryExW(HWND, LPCWSTR path, const SECURITY_ATTRIBUTES*) {
  DWORD result;
  if (path == nullptr || path[0] == u'\0') {
    result = ERROR_BAD_PATHNAME;
  } else {
    const PosixPath folder(path);
    result = folder.c_str()[0] != '/' ? ERROR_BAD_PATHNAME : MakeTree(folder.c_str());
  }
  SetLastError(result);
  return static_cast<int>(result);
}
