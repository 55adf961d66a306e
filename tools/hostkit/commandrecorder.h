// The host's side of command callbacks. The library keeps one registration
// per function, so a host that registers several needs distinct functions:
// there are kSlots of them, and what reaches one is recorded by the recorder
// that last handed it out, with the slot and the user data it came with, in
// arrival order. The library calls them one at a time, under its lock, on
// whatever thread made the change.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "pushcenterwrapper.h"

namespace hostkit {

struct RecordedCommand {
  size_t slot;
  uintptr_t userData;
  PushCommand command;  // a copy: the library's is valid only during the call
};

class CommandRecorder {
 public:
  static constexpr size_t kSlots = 8;

  CommandRecorder() = default;
  // Lets go of the slots it still holds: their functions record nothing.
  ~CommandRecorder();
  CommandRecorder(const CommandRecorder&) = delete;
  CommandRecorder& operator=(const CommandRecorder&) = delete;

  // The function of slot (modulo kSlots), whose commands this recorder
  // records from now on.
  PushCommandCallback Callback(size_t slot);

  const std::vector<RecordedCommand>& Recorded() const { return recorded_; }
  // Hands over what was recorded since the last call.
  std::vector<RecordedCommand> Take();
  // How many recorded commands carry this kind bit and event bit.
  size_t Count(uint32_t kindBit, uint32_t eventBit) const;

  // Called after each command is recorded, when set.
  std::function<void(const RecordedCommand&)> onRecord_;

  // Where the slots' functions deliver.
  static void Receive(size_t slot, const PushCommand* command, uintptr_t userData);

 private:
  std::vector<RecordedCommand> recorded_;
};

}  // namespace hostkit
