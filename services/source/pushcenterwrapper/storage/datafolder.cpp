#include "storage/datafolder.h"

#include <memory>

#include "platform/win32.h"

namespace {

const char kDataRootName[] = "Corvane Files\\Halyx\\";

// The UTF-16 form of a UTF-8 path, for the one Windows call that needs it.
// Null when the text cannot be converted.
std::unique_ptr<WCHAR[]> ToWidePath(const char* utf8Path) {
  if (utf8Path == nullptr) return nullptr;
  int length = MultiByteToWideChar(CP_UTF8, 0, utf8Path, -1, nullptr, 0);
  if (length == 0) return nullptr;
  std::unique_ptr<WCHAR[]> wide(new WCHAR[length + 1]());
  if (MultiByteToWideChar(CP_UTF8, 0, utf8Path, -1, wide.get(), length) == 0) return nullptr;
  return wide;
}

// The folder as it is, or created when missing; empty when neither works.
std::string ExistingOrCreated(const std::string& folder) {
  if (PathExists(folder.c_str())) return folder;
  if (CreateFolderTree(folder.c_str())) return folder;
  return std::string();
}

}  // namespace

std::string GetDocumentsFolder() {
  WCHAR wide[460] = {};
  if (!SHGetSpecialFolderPathW(nullptr, wide, CSIDL_PERSONAL, TRUE)) return std::string();
  int size = WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
  if (size == 0) return std::string();
  std::unique_ptr<char[]> narrow(new char[size + 1]());
  if (WideCharToMultiByte(CP_UTF8, 0, wide, -1, narrow.get(), size, nullptr, nullptr) == 0) {
    return std::string();
  }
  return std::string(narrow.get()) + "\\";
}

std::string GetDataRoot() {
  // Without a documents folder this is a path relative to the current folder.
  return ExistingOrCreated(GetDocumentsFolder() + kDataRootName);
}

std::string GetUserDataFolder(uint32_t userNumber) {
  return ExistingOrCreated(GetDataRoot() + ToDecimal(userNumber) + "\\");
}

bool PathExists(const char* utf8Path) {
  std::unique_ptr<WCHAR[]> wide = ToWidePath(utf8Path);
  return wide != nullptr && GetFileAttributesW(wide.get()) != INVALID_FILE_ATTRIBUTES;
}

bool CreateFolderTree(const char* utf8Path) {
  std::unique_ptr<WCHAR[]> wide = ToWidePath(utf8Path);
  return wide != nullptr && SHCreateDirectoryExW(nullptr, wide.get(), nullptr) == ERROR_SUCCESS;
}

std::string ToDecimal(uint32_t value) {
  char digits[11];
  int at = sizeof(digits);
  do {
    digits[--at] = static_cast<char>('0' + value % 10);
    value /= 10;
  } while (value != 0);
  return std::string(digits + at, sizeof(digits) - at);
}
