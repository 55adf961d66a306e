#include "storage/exactstorage.h"

#include "platform/win32.h"

namespace {

bool ReadSwitch() {
  WCHAR value[4] = {};
  const DWORD length = GetEnvironmentVariableW(W32_TEXT("PCW_EXACT_STORAGE"), value, 4);
  return length == 1 && value[0] == '1';
}

// Read once per load of the library: the switch is for a whole run.
const bool exact = ReadSwitch();

}  // namespace

bool ExactStorage() { return exact; }
