// The library as the desktop client holds it, for the benchmarks: loaded from
// the bin folder, started, one user signed in and every kind of message
// wanted, pushes delivered through pushcenter.dll as the push service does.
// Message ids and push times rise across the whole process, so every stamped
// record is new to the centers and sorts in front of what they hold.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "payloadmaker.h"
#include "hostkit/libraryhost.h"

class BenchHost {
 public:
  static const uint32_t kUser = 5001;
  // Applications 1 .. kApps are installed and want pushes.
  static const uint32_t kApps = 64;

  // The process's one host, made at the first call.
  static BenchHost& Shared();
  // Stops and unloads the shared host while every module is still in place;
  // main calls it before returning, as a host frees the library before it
  // exits rather than leaving that to the order of the exit handlers.
  static void Release();

  BenchHost();
  BenchHost(const BenchHost&) = delete;
  BenchHost& operator=(const BenchHost&) = delete;

  // Loaded, bound and started; Problem() says what failed otherwise.
  bool Ready() const { return problem.empty(); }
  const std::string& Problem() const { return problem; }

  hostkit::PushExports& Api() { return host.api; }
  hostkit::LibraryHost& Host() { return host; }

  // Gives every record a new message id and a later push time.
  void Stamp(std::vector<PushRecord>& batch);
  // Stamps and delivers; the number of batch callbacks called (1 when the
  // library is registered).
  uint32_t Deliver(std::vector<PushRecord>& batch);
  // Fills the centers of a kind up to their caps: `groups` applications from
  // firstApp on, perGroup records each (one record per group for system).
  void Fill(PayloadMaker::Kind kind, uint32_t firstApp, uint32_t groups, uint32_t perGroup);
  // Every center at its cap: 50 dynamic groups of 3, 50 share groups of 11
  // and 50 system messages, of applications 1 .. 50.
  void FillToCaps();

  // What a host does between two sessions; the centers start empty and read
  // their databases again at their first listing.
  bool Reload();

  // The signed-in user's database file, e.g. "sysmsg.db".
  static std::string DatabasePath(const char* fileName);

 private:
  hostkit::LibraryHost host;
  std::string problem;
  uint32_t nextMsgId = 1;
  uint32_t nextPushTime = 1000000;
  uint32_t nextPayload = 0;
};
