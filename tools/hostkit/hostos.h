// The few operating-system services that the hosts need beyond the Windows
// subset of platform/win32.h: environment changes, their own folder, a fresh
// temporary folder, and what pushhost needs of the terminal.
// hostos_posix.cpp and hostos_windows.cpp implement them; the build compiles
// one of the two.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace hostos {

// The variable as the host product's modules see it; empty when unset.
std::string GetEnv(const char* name);
// Changes the environment that modules loaded afterwards, and calls made
// afterwards into loaded ones, observe. Values are UTF-8.
bool SetEnv(const char* name, const std::string& value);
void UnsetEnv(const char* name);

// The folder that holds the running program, without a trailing separator;
// empty when the system does not say.
std::string ExecutableFolder();

// Creates a new, empty folder under the system's temporary folder and returns
// its path; empty on failure. The caller removes it.
std::string MakeTempFolder();

// Points the user's documents folder at <root>/Documents for every module that
// asks from now on. False when this system cannot move it (Windows, where it
// belongs to the user's profile).
bool UseDataRoot(const std::string& root);

// Why the system's loader cannot load the module at path (a path that
// LoadLibraryW just failed on), in the loader's own words.
std::string LoadFailure(const std::string& path);

// Writes to a closed pipe fail from now on instead of ending the process, so
// that pushhost still removes what it made and ends with its own status.
void IgnoreBrokenPipe();

// How many columns a terminal gives the character: 2 for wide ones (CJK,
// most emoji), 0 for combining marks, else 1, as the C library's wcwidth
// says under UTF-8. Windows has no wcwidth: there every character counts 1.
int CharWidth(uint32_t codePoint);

// The width of the terminal that standard output goes to; 0 when it goes
// elsewhere (a file, a pipe).
size_t OutputColumns();

}  // namespace hostos
