// The conformance harness: the host kit's LibraryHost, and a recorder of
// command callbacks shaped for expectations.
#pragma once

#include <cstdint>
#include <vector>

#include "hostkit/commandrecorder.h"
#include "hostkit/libraryhost.h"
#include "hostkit/pushrecords.h"

namespace libraryhost {

using Exports = hostkit::PushExports;
using hostkit::LibraryHost;
using hostkit::MakeRawRecord;
using hostkit::MakeRecord;

// Records the command callbacks it receives, through the host kit's slot of
// that number: recorders that are registered at once need slots of their own.
class CommandRecorder {
 public:
  explicit CommandRecorder(int slot = 0) : slot_(slot) {
    slots_.onRecord_ = [this](const hostkit::RecordedCommand& recorded) {
      commands.push_back(recorded.command);
      if (onCommand != nullptr) onCommand(*this, recorded.command);
    };
  }

  // The slot's function; from now on this recorder records what reaches it.
  PushCommandCallback Callback() { return slots_.Callback(static_cast<size_t>(slot_)); }
  uintptr_t UserData() const { return reinterpret_cast<uintptr_t>(this); }
  // AddPushCommandCallback / RemovePushCommandCallback of the host's library.
  bool Register(LibraryHost& host, uint32_t ownerId, uint32_t kindMask, uint32_t eventMask) {
    return host.api.AddPushCommandCallback(Callback(), UserData(), ownerId, kindMask, eventMask);
  }
  bool Unregister(LibraryHost& host) { return host.api.RemovePushCommandCallback(Callback()); }

  size_t Count(uint32_t kindBit, uint32_t eventBit) const { return slots_.Count(kindBit, eventBit); }
  std::vector<PushCommand> commands;
  // Called after each record is stored, when set.
  void (*onCommand)(CommandRecorder& self, const PushCommand& command) = nullptr;
  void* context = nullptr;

 private:
  hostkit::CommandRecorder slots_;
  int slot_;
};

}  // namespace libraryhost
