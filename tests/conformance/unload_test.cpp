// Every way a host unloads the library: without shutting it down first, a
// hundred times in one process, from an exit handler once the modules are gone,
// and reloading it when no database could be used. None may leave the push
// center or the install module calling into a library that is gone, grow the
// process, or corrupt the system's loader.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <iterator>
#include <string>

#if defined(__GLIBC__) && !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
#include <malloc.h>
#define PCW_HEAP_MEASURED 1
#endif
#if defined(_WIN32)
#include <windows.h>
#else
#include <sys/wait.h>

#include <filesystem>
#endif

#include "conformance/listings.h"
#include "support/ownshares.h"
#include "support/startedhost.h"
#include "support/testenv.h"

using libraryhost::CommandRecorder;
using libraryhost::LibraryHost;
using namespace listings;

namespace {

// Bytes the program holds on its heap, where the C library tells. Not under
// the sanitizers, whose runtimes keep data of every load of the library
// themselves (they find what is lost on their own).
size_t HeapInUse() {
#if defined(PCW_HEAP_MEASURED)
  return mallinfo2().uordblks;
#else
  return 0;
#endif
}

// Files (POSIX) or handles of any kind (Windows) the process has open.
size_t OpenHandles() {
#if defined(_WIN32)
  DWORD handles = 0;
  GetProcessHandleCount(GetCurrentProcess(), &handles);
  return handles;
#else
  return static_cast<size_t>(std::distance(std::filesystem::directory_iterator("/proc/self/fd"), {}));
#endif
}

// A session with messages of every kind held, some read and stored. The
// host's settings are made once, before: the settings modules' files are not
// the library's to keep flat.
void Fill(LibraryHost& host) {
  std::vector<PushRecord> batch;
  for (uint32_t i = 0; i < 60; ++i) batch.push_back(System(1000 + i, 100 + i));  // beyond the system center's cap
  batch.push_back(Dynamic(11, 1, 301));
  batch.push_back(Share(5, 1, 2, 301));
  host.Deliver(batch);
  host.api.AddMyShareMsg(OwnShares(8, 1, {401}).Get());
  const Ids system = SystemIds(host);
  if (!system.empty()) host.api.PushUpdateSystemMsgReadState(system[0], 1);
  host.api.PushUpdateDynamicMsgReadState(11, 0, true);
  ShareListing(host);
}

}  // namespace

TEST_F(StartedHost, UnloadWithoutShutDownLeavesNoCallbackInTheModules) {
  host.MarkInstalled(11);
  Fill(host);
  host.Deliver(Dynamic(21, 5, 500));  // not installed yet
  CommandRecorder recorder;
  ASSERT_TRUE(recorder.Register(host, 0, 0xFFFFFFFFu, 0xFFFFFFFFu));
  const auto deliver = host.ctl.PushCenterDeliverBatch;
  const auto announce = host.ctl.HYNotifyAppInstallChanged;
  host.Abandon();
  // Neither module has a callback into the unloaded library left to call.
  const PushRecord late = System(9, 900);
  EXPECT_EQ(deliver(&late, 1), 0u);
  host.MarkInstalled(21);
  EXPECT_EQ(announce(21, 0, true), 0u);
  EXPECT_TRUE(recorder.commands.empty());
  // The next load starts afresh and finds what was stored.
  ASSERT_TRUE(host.Load() && host.Start());
  EXPECT_EQ(SystemIds(host).size(), 1u);
  EXPECT_EQ(host.Deliver(late), 1u);
}

TEST(Unload, AHundredCyclesInOneProcessKeepMemoryAndOpenFilesFlat) {
  size_t heap = 0, handles = 0;
  {
    LibraryHost host;
    host.WantEverything();
    host.MarkInstalled(11);
  }
  for (uint32_t cycle = 1; cycle <= 100; ++cycle) {
    {
      LibraryHost host;
      host.SignIn(9400);  // the settings were made once, above
      ASSERT_TRUE(host.Loaded() && host.Start()) << host.Missing();
      Fill(host);
      // Each session leaves the databases as it found them.
      for (int32_t kind = 1; kind <= 4; ++kind) host.api.PushClearMsg(kind);
    }  // PushWrapperUnInit, FreeLibrary
    if (cycle == 10) {  // after a warm-up
      heap = HeapInUse();
      handles = OpenHandles();
    }
  }
  // The database module's kept connections cache a few more pages while the
  // files change, some kilobytes over these cycles before they level off; a
  // message or a storage left behind per session would be several times that.
  EXPECT_LE(HeapInUse(), heap + 16384) << "heap in use grew from " << heap;
  EXPECT_LE(OpenHandles(), handles);
}

#if !defined(_WIN32)

// unloadhost (tests/unloadhost) in each of its ways; 0 means all went well.
TEST(Unload, FromAnExitHandlerAndOnAReloadWithoutAUsableDataFolder) {
  const std::string program = testenv::Join(testenv::BinFolder(), "unloadhost");
  for (const char* mode : {"exit-shutdown", "exit-abandon", "reload-relative"}) {
    const int status = std::system(("'" + program + "' " + mode).c_str());
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << mode << ": status " << status;
  }
}

#endif  // !_WIN32
