// What every test needs to reach the bin folder and its own data folder: a
// fresh HOME on POSIX, an emptied "<documents>\Corvane Files" on Windows, where
// the folder belongs to the user's profile (testenv_posix.cpp and
// testenv_windows.cpp). HalyxBinPath names the bin folder; a suite started by
// hand without it gets its own folder, where the build puts every module.
#pragma once

#include <string>

#include "hostkit/widetext.h"
#include "platform/win32.h"

namespace testenv {

using hostkit::WideString;

inline WideString Wide(const std::string& utf8) { return hostkit::ToWide(utf8); }
inline std::string Narrow(const WideString& wide) { return hostkit::ToUtf8(wide.c_str(), wide.size()); }

// HalyxBinPath, without a trailing separator.
std::string BinFolder();

// "<bin folder><separator><fileName>", ready for LoadLibraryW.
WideString ModulePath(const std::string& fileName);

// A function of a module in the bin folder, or null; the module stays loaded.
template <class Fn>
Fn ModuleFunction(const char* module, const char* name) {
  HMODULE handle = LoadLibraryW(ModulePath(module).c_str());
  return handle != nullptr ? ProcAs<Fn>(GetProcAddress(handle, name)) : nullptr;
}

// The user's documents folder as the shell reports it (created if missing).
std::string DocumentsFolder();

// Sets (or, with a null value, removes) a variable of this process (UTF-8).
void SetVariable(const std::string& name, const char* value);

// Joins with the system's separator.
std::string Join(const std::string& folder, const std::string& name);

// Gives the test about to run a data folder of its own (see above); the
// reason when it cannot.
std::string FreshDataFolder();
// Removes what FreshDataFolder made, where a test's folder can go after it.
void DropDataFolder();

}  // namespace testenv
