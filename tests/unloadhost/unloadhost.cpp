// A host that unloads the library in ways a test cannot inside its own
// process, which loaded every module long before:
//   exit-shutdown, exit-abandon: frees the library from an exit handler,
//     after PushWrapperUnInit or without it; the handler is registered before
//     anything is loaded, so the modules are torn down when it runs;
//   reload-relative: lists every kind with a relative (unusable) data folder,
//     then reloads; the unload must load no module.
// Exit status 0 when all went well; 2 to 4 name the failed step.
#include <cstdlib>
#include <string>

#include <dlfcn.h>

#include "hostkit/hostos.h"
#include "support/libraryhost.h"
#include "support/ownshares.h"
#include "support/testenv.h"

using libraryhost::LibraryHost;
using libraryhost::MakeRecord;

namespace {

LibraryHost* atExit = nullptr;
bool shutDownAtExit = false;

void FreeAtExit() {
  if (!shutDownAtExit) atExit->Abandon();
  delete atExit;  // PushWrapperUnInit if still started, then FreeLibrary
}

// Messages of every kind, some read, every kind listed, a callback left
// registered.
void Use(LibraryHost& host) {
  host.WantEverything();
  host.MarkInstalled(11);
  host.Deliver({MakeRecord(1, 11, 1, 100, R"({"TITLE":"d","NUM":1})"),
                MakeRecord(2, 0, 2, 200, R"({"DSTAPPID":"5","SHARETYPE":1,"MSG":"s"})"),
                MakeRecord(3, 0, 3, 300, R"({"TITLE":"sys"})")});
  host.api.AddMyShareMsg(OwnShares(8, 1, {400}).Get());
  host.api.PushUpdateSystemMsgReadState(3, 1);
  host.api.PushUpdateDynamicMsgReadState(11, 0, true);
  DynamicMsgGroupInfo* dynamic = nullptr;
  host.api.PushGetDynamicMsg(0, 0, &dynamic, false);
  host.api.PushFreeDynamicMsgGroupList(dynamic);
  ShareMsgGroupInfo* shares = nullptr;
  host.api.PushGetShareMsg(0, 0, &shares, false);
  host.api.PushFreeShareMsgGroupList(shares);
  SystemMsgInfo* system = nullptr;
  host.api.PushGetSystemMsg(0, &system, false);
  host.api.PushFreeSystemMsgList(system);
  MyShareMsgGroupInfo* mine = nullptr;
  host.api.GetMyShareMsg(0, 0, &mine);
  host.api.FreeMyLocalShareMsgGroupList(mine);
  static libraryhost::CommandRecorder recorder;
  recorder.Register(host, 0, 0xFFFFFFFFu, 0xFFFFFFFFu);
}

bool Loaded(const char* module) {
  const std::string path = testenv::Join(testenv::BinFolder(), module);
  void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD);
  if (handle != nullptr) dlclose(handle);
  return handle != nullptr;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "exit-shutdown" || mode == "exit-abandon") {
    shutDownAtExit = mode == "exit-shutdown";
    std::atexit(&FreeAtExit);
    atExit = new LibraryHost();
    if (!atExit->Loaded()) return 2;
    atExit->SignIn(9300);
    if (!atExit->Start()) return 3;
    Use(*atExit);
    return 0;
  }
  if (mode == "reload-relative") {
    hostos::UseDataRoot("relative-home");
    LibraryHost host;
    host.SignIn(9301);
    if (!host.Loaded() || !host.Start()) return 2;
    Use(host);
    if (!host.Reload()) return 3;
    Use(host);
    // Nothing needed the database module: no step may have loaded it.
    return Loaded("localdatabase.dll") ? 4 : 0;
  }
  return 2;
}
