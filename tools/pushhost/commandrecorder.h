// The host's command callbacks by name. A scenario names its callbacks; each
// name is tied to one of the host kit's distinct functions, and every
// PushCommand that reaches one of them is recorded under that name, in
// arrival order.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "hostkit/commandrecorder.h"
#include "json.h"
#include "pushcenterwrapper.h"

struct RecordedCommand {
  std::string callback;
  uintptr_t userData;
  PushCommand command;
};

class CommandRecorder {
 public:
  static constexpr size_t kMaxCallbacks = hostkit::CommandRecorder::kSlots;

  // The function that stands for this name, tied to it on first use; null
  // once all functions are taken by other names.
  PushCommandCallback CallbackFor(const std::string& name);

  // Hands over what was recorded since the last call.
  std::vector<RecordedCommand> Take();
  static JsonPtr ToJson(const std::vector<RecordedCommand>& commands);

  // Called with every command as it arrives (the demo prints them).
  void SetEcho(std::function<void(const RecordedCommand&)> echo);

 private:
  RecordedCommand Named(const hostkit::RecordedCommand& recorded) const;

  std::vector<std::string> names_;
  hostkit::CommandRecorder slots_;
};

// Words for a kind bit and an event bit ("dynamic", "added").
const char* KindBitName(uint32_t kindBit);
const char* EventBitName(uint32_t eventBit);
