// The host's command callbacks. A scenario names its callbacks; each name is
// tied to one of a fixed set of distinct functions (the library refuses a
// function that is already registered), and every PushCommand that reaches
// one of them is recorded under that name, in arrival order.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "json.h"
#include "pushcenterwrapper.h"

struct RecordedCommand {
  std::string callback;
  uintptr_t userData;
  PushCommand command;
};

class CommandRecorder {
 public:
  static constexpr size_t kMaxCallbacks = 8;

  CommandRecorder();
  ~CommandRecorder();
  CommandRecorder(const CommandRecorder&) = delete;
  CommandRecorder& operator=(const CommandRecorder&) = delete;

  // The function that stands for this name, tied to it on first use; null
  // once all functions are taken by other names.
  PushCommandCallback CallbackFor(const std::string& name);

  // Hands over what was recorded since the last call.
  std::vector<RecordedCommand> Take();
  static JsonPtr ToJson(const std::vector<RecordedCommand>& commands);

  // Called with every command as it arrives (the demo prints them).
  void SetEcho(std::function<void(const RecordedCommand&)> echo) { echo_ = std::move(echo); }

  // Entry of the trampolines; the library calls them on whatever thread made
  // the change, one at a time.
  void Receive(size_t slot, const PushCommand* command, uintptr_t userData);

 private:
  std::vector<std::string> names_;
  std::vector<RecordedCommand> recorded_;
  std::function<void(const RecordedCommand&)> echo_;
};

// Words for a kind bit and an event bit ("dynamic", "added").
const char* KindBitName(uint32_t kindBit);
const char* EventBitName(uint32_t eventBit);
