// A host killed while it marks messages read: every mark whose call had
// returned before the kill is in the database when the next host starts, and
// the database opens and takes new writes. POSIX only: the host is a forked
// copy of this test program, killed with SIGKILL.
#if !defined(_WIN32)

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "conformance/listings.h"

using libraryhost::LibraryHost;

namespace {

// Below the system center's limit, so that nothing read is evicted.
const uint32_t kMessages = 45;

PushRecord System(uint32_t msgId) { return listings::System(msgId, 1000 + msgId); }

// The child: pushes and marks read one message after another and writes each
// id to the pipe once its mark has returned; then waits to be killed.
[[noreturn]] void MarkUntilKilled(int out, uint32_t user) {
  {
    LibraryHost host;
    if (!listings::Started(host, user)) _exit(2);
    for (uint32_t id = 1; id <= kMessages; ++id) {
      host.Deliver(System(id));
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
    ASSERT_TRUE(listings::Started(host, user)) << host.Missing();
    const listings::Ids listed = listings::SystemIds(host);
    const std::set<uint32_t> kept(listed.begin(), listed.end());
    for (uint32_t done : returned) EXPECT_EQ(kept.count(done), 1u) << "lost message " << done;
    // At most the one write under way at the kill may also have landed.
    EXPECT_LE(kept.size(), returned.size() + 1);

    host.Deliver(System(kMessages + 1));
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
      if (!listings::Started(*host, 9200)) _exit(2);
      host->Deliver({System(1), listings::Share(5, 1, 2, 2)});
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

#endif  // !_WIN32
