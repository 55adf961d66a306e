#include <windows.h>

#include <cstdint>
#include <filesystem>
#include <system_error>

#include "support/testenv.h"

namespace testenv {

std::string Join(const std::string& folder, const std::string& name) { return folder + "\\" + name; }

std::string FreshDataFolder() {
  const std::string documents = DocumentsFolder();
  if (documents.empty()) return "no documents folder";
  // The database module keeps the files of closed databases open for their
  // next use; Windows removes no open file.
  if (HMODULE database = GetModuleHandleW(L"localdatabase.dll")) {
    auto release = ProcAs<uint32_t(__cdecl*)()>(GetProcAddress(database, "LocalDatabaseReleaseIdle"));
    if (release != nullptr) release();
  }
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
