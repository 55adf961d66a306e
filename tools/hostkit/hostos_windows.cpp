#include "hostkit/hostos.h"

#include <chrono>
#include <filesystem>
#include <string>
#include <system_error>

#include "platform/win32.h"

namespace hostos {
namespace {

std::wstring Wide(const std::string& text) {
  int units = MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, nullptr, 0);
  if (units <= 0) return std::wstring();
  std::wstring wide(static_cast<size_t>(units), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, &wide[0], units);
  wide.resize(static_cast<size_t>(units - 1));
  return wide;
}

std::string Narrow(const std::wstring& wide) {
  int bytes = WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
  if (bytes <= 0) return std::string();
  std::string text(static_cast<size_t>(bytes), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, &text[0], bytes, nullptr, nullptr);
  text.resize(static_cast<size_t>(bytes - 1));
  return text;
}

}  // namespace

std::string GetEnv(const char* name) {
  std::wstring wideName = Wide(name);
  DWORD size = GetEnvironmentVariableW(wideName.c_str(), nullptr, 0);
  if (size == 0) return "";
  std::wstring value(size, L'\0');
  DWORD length = GetEnvironmentVariableW(wideName.c_str(), &value[0], size);
  if (length == 0 || length >= size) return "";
  value.resize(length);
  return Narrow(value);
}

bool SetEnv(const char* name, const std::string& value) {
  return SetEnvironmentVariableW(Wide(name).c_str(), Wide(value).c_str()) != 0;
}

void UnsetEnv(const char* name) { SetEnvironmentVariableW(Wide(name).c_str(), nullptr); }

std::string ExecutableFolder() {
  std::wstring path(32768, L'\0');
  DWORD length = GetModuleFileNameW(nullptr, &path[0], static_cast<DWORD>(path.size()));
  if (length == 0 || length >= path.size()) return "";
  path.resize(length);
  size_t slash = path.find_last_of(L"\\/");
  if (slash == std::wstring::npos) return "";
  return Narrow(path.substr(0, slash));
}

std::string MakeTempFolder() {
  std::error_code error;
  std::filesystem::path base = std::filesystem::temp_directory_path(error);
  if (error) return "";
  auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::filesystem::path candidate =
        base / ("pushhost-" + std::to_string(GetCurrentProcessId()) + "-" +
                std::to_string(stamp + attempt));
    if (std::filesystem::create_directory(candidate, error)) return candidate.u8string();
  }
  return "";
}

bool UseDataRoot(const std::string&) {
  // The documents folder belongs to the user's profile; no variable of this
  // process moves it.
  return false;
}

std::string LoadFailure(const std::string&) {
  DWORD code = GetLastError();
  wchar_t* text = nullptr;
  DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::wstring words = length ? std::wstring(text, length) : std::wstring();
  if (text) LocalFree(text);
  while (!words.empty() && (words.back() == L'\n' || words.back() == L'\r' || words.back() == L'.')) {
    words.pop_back();
  }
  return (words.empty() ? "error" : Narrow(words)) + " (error " + std::to_string(code) + ")";
}

void IgnoreBrokenPipe() {}

int CharWidth(uint32_t) { return 1; }

size_t OutputColumns() {
  CONSOLE_SCREEN_BUFFER_INFO info;
  if (!GetConsoleScreenBufferInfo(GetStdHandle(STD_OUTPUT_HANDLE), &info)) return 0;
  return static_cast<size_t>(info.srWindow.Right - info.srWindow.Left + 1);
}

}  // namespace hostos
