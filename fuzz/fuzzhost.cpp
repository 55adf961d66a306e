#include "fuzzhost.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "halyx/hyappinfo.h"
#include "halyx/setting.h"
#include "halyx/statusservice.h"
#include "hostkit/pushrecords.h"
#include "modules/modulepaths.h"
#include "platform/win32.h"
#include "pushcenterwrapper.h"

namespace fuzzhost {

const uint32_t kApps[4] = {7, 8, 9, 70000};

namespace {

const uint32_t kUser = 4242;

std::string FolderOf(const char* path) {
  std::string text = path != nullptr ? path : "";
  size_t slash = text.rfind('/');
  return slash == std::string::npos ? std::string(".") : text.substr(0, slash);
}

void SignIn() {
  // The status service is loaded at run time, like the library does it, so
  // that both reach the one instance.
  std::string folder = std::getenv("HalyxBinPath");
  std::string path = folder + "/statusservice.dll";
  std::basic_string<WCHAR> wide(path.begin(), path.end());
  HMODULE module = LoadLibraryW(wide.c_str());
  if (module == nullptr) {
    std::fprintf(stderr, "fuzz: no statusservice.dll in %s\n", folder.c_str());
    std::abort();
  }
  auto signIn = reinterpret_cast<decltype(&::HalyxSignIn)>(
      reinterpret_cast<void*>(GetProcAddress(module, "HalyxSignIn")));
  if (signIn == nullptr) std::abort();
  signIn(kUser);
}

}  // namespace

void Prepare(const char* argv0) {
  // A private data folder per process: the databases grow with the run.
  // fuzz/run points TMPDIR into its build folder and empties it.
  const char* tmp = std::getenv("TMPDIR");
  std::string home = tmp != nullptr && *tmp != '\0' ? tmp : "/tmp";
  home += "/pcw-fuzz-XXXXXX";
  if (mkdtemp(&home[0]) == nullptr) std::abort();
  setenv("HOME", home.c_str(), 1);
  unsetenv("XDG_DOCUMENTS_DIR");
  if (std::getenv("HalyxBinPath") == nullptr) setenv("HalyxBinPath", FolderOf(argv0).c_str(), 1);
  ComputeServiceModulePaths();
  SignIn();
  stSetRoamBoolean(9, true);
  stSetRoamBoolean(10, true);
  stSetRoamNumber(11, 1);
  for (int i = 0; i < 3; ++i) {
    HXSetAppInstalled(kApps[i], true);
    HXSetAppInfo(kApps[i], "needPush", i < 2 ? "1" : "0");
  }
}

void StartLibrary() {
  PushWrapperInit();
  for (int32_t kind = 1; kind <= 4; ++kind) PushClearMsg(kind);
  std::atexit([] {
    PushWrapperUnInit();
    std::_Exit(0);
  });
}

PushRecord MakeRecord(uint8_t kind, uint8_t app, uint8_t msgId, uint8_t pushTime,
                      const uint8_t* payload, size_t length) {
  // Lenient UTF-8: well-formed sequences become their UTF-16 units, any other
  // byte becomes one unit of its own value.
  std::vector<uint16_t> units;
  for (size_t i = 0; i < length && units.size() < kPushPayloadUnits; ++i) {
    uint8_t b = payload[i];
    if (b >= 0xC2 && b < 0xE0 && i + 1 < length && (payload[i + 1] & 0xC0) == 0x80) {
      units.push_back(static_cast<uint16_t>(((b & 0x1F) << 6) | (payload[i + 1] & 0x3F)));
      ++i;
    } else if (b >= 0xE0 && b < 0xF0 && i + 2 < length && (payload[i + 1] & 0xC0) == 0x80 &&
               (payload[i + 2] & 0xC0) == 0x80) {
      units.push_back(static_cast<uint16_t>(((b & 0x0F) << 12) | ((payload[i + 1] & 0x3F) << 6) |
                                            (payload[i + 2] & 0x3F)));
      i += 2;
    } else {
      units.push_back(b);
    }
  }
  return hostkit::MakeRawRecord(static_cast<uint8_t>(kind % 6), kApps[app % 4], msgId, pushTime,
                                units);
}

std::vector<PushRecord> ReadRecords(const uint8_t* data, size_t size, size_t maxRecords) {
  std::vector<PushRecord> records;
  size_t at = 0;
  while (at + 4 <= size && records.size() < maxRecords) {
    const uint8_t* line = data + at;
    const void* end = std::memchr(line + 4, '\n', size - at - 4);
    size_t length = end != nullptr ? static_cast<const uint8_t*>(end) - line : size - at;
    records.push_back(MakeRecord(line[0], line[1], line[2], line[3], line + 4, length - 4));
    at += length + 1;
  }
  return records;
}

void Fail(const char* what) {
  std::fprintf(stderr, "finding: %s\n", what);
  __builtin_trap();
}

namespace {

template <size_t N>
void Touch(const char (&field)[N]) {
  if (std::memchr(field, 0, N) == nullptr) Fail("a text without its terminator");
}

}  // namespace

void CheckTexts(const DynamicMsgInfo& msg) {
  Touch(msg.title);
  Touch(msg.text);
  Touch(msg.buttonText);
  Touch(msg.buffer);
}

void CheckTexts(const ShareMsgInfo& msg) {
  Touch(msg.text);
  Touch(msg.buffer);
  Touch(msg.picURL);
  Touch(msg.title);
  Touch(msg.appDesc);
}

void CheckTexts(const SystemMsgInfo& msg) {
  Touch(msg.title);
  Touch(msg.text);
  Touch(msg.pictureUrl);
  Touch(msg.jumpUrl);
  Touch(msg.buttonText);
  Touch(msg.buffer);
}

void CheckTexts(const MyShareMsgInfo& msg) {
  Touch(msg.text);
  Touch(msg.buffer);
  Touch(msg.picURL);
  Touch(msg.title);
  Touch(msg.appDesc);
}

void CheckUnreadTotal() {
  const uint32_t all = PushGetAllUnreadMsgCount();
  const uint32_t dynamic = PushGetAllUnreadDynamicMsgCount();
  const uint32_t share = PushGetAllUnreadShareMsgNum();
  const uint32_t system = PushGetNewSystemMsgNum();
  if (all != dynamic + share + system) {
    std::fprintf(stderr, "all %u dynamic %u share %u system %u\n", all, dynamic, share, system);
    Fail("the unread total is not the sum of its parts");
  }
}

}  // namespace fuzzhost
