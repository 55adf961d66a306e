#include "modules/modulepaths.h"

namespace {

const int kModuleCount = 4;
WideString modulePaths[kModuleCount];

const WCHAR* const kModuleFiles[kModuleCount] = {
    W32_TEXT("pushcenter.dll"),
    W32_TEXT("localdatabase.dll"),
    W32_TEXT("statusservice.dll"),
    W32_TEXT("coreserviceengine.dll"),
};

// Runs while the library is being loaded, before any export can be called.
struct ComputeAtLoad {
  ComputeAtLoad() { ComputeServiceModulePaths(); }
} computeAtLoad;

}  // namespace

WideString GetModuleFolder() {
  WCHAR buffer[MAX_PATH] = {};
  DWORD length = GetEnvironmentVariableW(W32_TEXT("HalyxBinPath"), buffer, MAX_PATH);
  // 0: not set; MAX_PATH or more: it did not fit and buffer holds nothing
  // usable. Either way the folder part stays empty rather than undefined.
  if (length == 0 || length >= MAX_PATH) return WideString();
  WideString folder(buffer, length);
  folder += W32_TEXT('\\');
  return folder;
}

const WCHAR* ServiceModulePath(ServiceModule module) {
  return modulePaths[static_cast<int>(module)].c_str();
}

void ComputeServiceModulePaths() {
  const WideString folder = GetModuleFolder();
  for (int i = 0; i < kModuleCount; ++i) modulePaths[i] = folder + kModuleFiles[i];
}
