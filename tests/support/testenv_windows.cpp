#include <windows.h>

#include <cstdint>
#include <filesystem>
#include <system_error>

#include "support/testenv.h"

namespace testenv {
namespace {

// A control function of a module that is loaded, called; nothing otherwise.
template <typename Function>
void CallIfLoaded(const wchar_t* module, const char* name) {
  HMODULE handle = GetModuleHandleW(module);
  if (auto function = handle ? ProcAs<Function>(GetProcAddress(handle, name)) : nullptr) function();
}

}  // namespace

std::string Join(const std::string& folder, const std::string& name) { return folder + "\\" + name; }

std::string FreshDataFolder() {
  const std::string documents = DocumentsFolder();
  if (documents.empty()) return "no documents folder";
  // The database module keeps the files of closed databases open for their
  // next use, the settings modules their change counts (and what they read,
  // which must not outlive the files); Windows removes no open file.
  CallIfLoaded<uint32_t(__cdecl*)()>(L"localdatabase.dll", "LocalDatabaseReleaseIdle");
  CallIfLoaded<bool(__cdecl*)()>(L"setting.dll", "stReleaseFiles");
  CallIfLoaded<bool(__cdecl*)()>(L"hyappinfo.dll", "HXReleaseFiles");
  // A file that a module still holds open cannot go, and remove_all stops at
  // the first one: remove every file that can go, so that no setting of an
  // earlier test survives beside a database that stays open.
  const std::filesystem::path root(Wide(Join(documents, "Corvane Files")));
  std::error_code ignored;
  for (std::filesystem::recursive_directory_iterator it(root, ignored), end; it != end;
       it.increment(ignored)) {
    if (!it->is_directory(ignored)) std::filesystem::remove(it->path(), ignored);
  }
  std::filesystem::remove_all(root, ignored);
  return "";
}

// The next test empties the folder before it starts.
void DropDataFolder() {}

}  // namespace testenv
