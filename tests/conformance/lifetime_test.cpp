// How a host's process ends its use of the library: unloads without a
// shut-down, a hundred in one process, from an exit handler once the modules
// are gone, with no usable data folder; exits that never unload; kills in
// the middle of writes. None may leave the push center or the install module
// calling into a library that is gone, grow the process, corrupt the loader
// or lose a read mark whose call had returned.
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
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <set>
#endif

#include "conformance/listings.h"
#include "support/ownshares.h"
#include "support/startedhost.h"
#include "support/testenv.h"

using libraryhost::CommandRecorder;
using libraryhost::LibraryHost;
using namespace listings;

namespace {

// Bytes on the heap, where the C library tells; not under the sanitizers,
// whose runtimes keep data of every load (and find what is lost themselves).
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

// A session with messages of every kind held, some read and stored.
void Fill(LibraryHost& host) {
  std::vector<PushRecord> batch = {Dynamic(11, 1, 301), Share(5, 1, 2, 301)};
  for (uint32_t i = 0; i < 60; ++i) batch.push_back(System(1000 + i, 100 + i));  // beyond the system center's cap
  host.Deliver(batch);
  host.api.AddMyShareMsg(OwnShares(8, 1, {401}).Get());
  host.api.PushUpdateSystemMsgReadState(SystemIds(host).at(0), 1);
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
  LibraryHost().WantEverything();  // once: the settings files are not the library's to keep flat
  LibraryHost().MarkInstalled(11);
  for (uint32_t cycle = 1; cycle <= 100; ++cycle) {
    {
      LibraryHost host;
      host.SignIn(9400);
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
  // The database module's kept connections cache some kilobytes of pages
  // before they level off; a message or storage lost per session is far more.
  EXPECT_LE(HeapInUse(), heap + 16384) << "heap in use grew from " << heap;
  EXPECT_LE(OpenHandles(), handles);
}

#if !defined(_WIN32)

namespace {

// Below the system center's limit, so that nothing read is evicted.
const uint32_t kMessages = 45;

PushRecord SystemOf(uint32_t msgId) { return System(msgId, 1000 + msgId); }

// The child: pushes and marks read one message after another and writes each
// id to the pipe once its mark has returned; then waits to be killed.
[[noreturn]] void MarkUntilKilled(int out, uint32_t user) {
  {
    LibraryHost host;
    if (!Started(host, user)) _exit(2);
    for (uint32_t id = 1; id <= kMessages; ++id) {
      host.Deliver(SystemOf(id));
      if (host.api.PushUpdateSystemMsgReadState(id, 1) != 1) _exit(3);
      if (write(out, &id, sizeof(id)) != static_cast<ssize_t>(sizeof(id))) _exit(4);
    }
  }
  for (;;) pause();
}

}  // namespace

TEST(CrashSafety, EveryReturnedReadMarkSurvivesASigkill) {
  // Killed early, midway and late in the run of writes.
  for (uint32_t killAfter : {1u, 17u, 38u}) {
    SCOPED_TRACE("killed after " + std::to_string(killAfter) + " marks");
    const uint32_t user = 9100 + killAfter;
    int pipeEnds[2];
    ASSERT_EQ(pipe(pipeEnds), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      close(pipeEnds[0]);
      MarkUntilKilled(pipeEnds[1], user);
    }
    close(pipeEnds[1]);
    std::vector<uint32_t> returned;
    uint32_t id = 0;
    while (returned.size() < killAfter && read(pipeEnds[0], &id, sizeof(id)) == sizeof(id)) {
      returned.push_back(id);
    }
    kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    // Marks that completed between the last read and the kill count too.
    while (read(pipeEnds[0], &id, sizeof(id)) == sizeof(id)) returned.push_back(id);
    close(pipeEnds[0]);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the child ended on its own with " << status;
    ASSERT_GE(returned.size(), killAfter);

    LibraryHost host;
    ASSERT_TRUE(Started(host, user)) << host.Missing();
    const Ids listed = SystemIds(host);
    const std::set<uint32_t> kept(listed.begin(), listed.end());
    for (uint32_t done : returned) EXPECT_EQ(kept.count(done), 1u) << "lost message " << done;
    // At most the one write under way at the kill may also have landed.
    EXPECT_LE(kept.size(), returned.size() + 1);

    host.Deliver(SystemOf(kMessages + 1));
    EXPECT_EQ(host.api.PushUpdateSystemMsgReadState(kMessages + 1, 1), 1u);
  }
}

// A host that ends without unloading the library, having shut it down or not:
// the process's exit tears down the modules the library loaded and the
// library's own statics in whatever order their registrations give, and
// nothing the library still holds may reach into a module that is already
// gone. Run under the asan preset, a use after free here fails the child.
TEST(CrashSafety, ExitWithoutUnloadingTheLibraryIsClean) {
  for (const bool shutDown : {true, false}) {
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      LibraryHost* host = new LibraryHost();  // never destroyed: the library stays loaded
      if (!Started(*host, 9200)) _exit(2);
      host->Deliver({SystemOf(1), Share(5, 1, 2, 2)});
      for (int32_t kind = 1; kind <= 4; ++kind) host->api.PushClearMsg(kind);
      if (shutDown && !host->Stop()) _exit(3);
      std::exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
        << (shutDown ? "after" : "without") << " PushWrapperUnInit, child status " << status;
  }
}

// unloadhost (tests/unloadhost) in each of its ways; 0 means all went well.
TEST(Unload, FromAnExitHandlerAndOnAReloadWithoutAUsableDataFolder) {
  const std::string program = testenv::Join(testenv::BinFolder(), "unloadhost");
  for (const char* mode : {"exit-shutdown", "exit-abandon", "reload-relative"}) {
    const int status = std::system(("'" + program + "' " + mode).c_str());
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << mode << ": status " << status;
  }
}

#endif  // !_WIN32
