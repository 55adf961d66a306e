// Where the four service modules are loaded from: the folder that the
// environment variable HalyxBinPath names, read once when the library is
// loaded, so that a later change of the variable does not move a running
// library.
#pragma once

#include <string>

#include "platform/win32.h"

typedef std::basic_string<WCHAR> WideString;

enum class ServiceModule { PushCenter, LocalDatabase, Status, Engine };

// HalyxBinPath followed by one backslash. A variable that is not set, or that
// does not fit the 260 units of a Windows path, gives an empty folder, so the
// modules are then looked for by their bare file names.
WideString GetModuleFolder();

// The full path computed at load; valid for the life of the library.
const WCHAR* ServiceModulePath(ServiceModule module);

// Computes the four paths again from the current environment. The library
// runs it once at load; a test that points HalyxBinPath elsewhere runs it to
// follow.
void ComputeServiceModulePaths();
