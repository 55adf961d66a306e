#include "hostkit/commandrecorder.h"

#include <utility>

namespace hostkit {
namespace {

// The recorder of each slot; one set per process, like the library's own
// registry.
CommandRecorder* holders[CommandRecorder::kSlots] = {};

template <size_t Slot>
void PCW_CALL SlotFunction(const PushCommand* command, uintptr_t userData) {
  CommandRecorder::Receive(Slot, command, userData);
}

const PushCommandCallback kFunctions[CommandRecorder::kSlots] = {
    SlotFunction<0>, SlotFunction<1>, SlotFunction<2>, SlotFunction<3>,
    SlotFunction<4>, SlotFunction<5>, SlotFunction<6>, SlotFunction<7>,
};

}  // namespace

CommandRecorder::~CommandRecorder() {
  for (CommandRecorder*& holder : holders) {
    if (holder == this) holder = nullptr;
  }
}

PushCommandCallback CommandRecorder::Callback(size_t slot) {
  slot %= kSlots;
  holders[slot] = this;
  return kFunctions[slot];
}

void CommandRecorder::Receive(size_t slot, const PushCommand* command, uintptr_t userData) {
  CommandRecorder* holder = holders[slot];
  if (holder == nullptr) return;
  // The hook gets its own copy: a callback that calls the library may record
  // more before the hook returns.
  const RecordedCommand recorded{slot, userData, command ? *command : PushCommand{}};
  holder->recorded_.push_back(recorded);
  if (holder->onRecord_) holder->onRecord_(recorded);
}

std::vector<RecordedCommand> CommandRecorder::Take() {
  std::vector<RecordedCommand> taken;
  taken.swap(recorded_);
  return taken;
}

size_t CommandRecorder::Count(uint32_t kindBit, uint32_t eventBit) const {
  size_t count = 0;
  for (const RecordedCommand& recorded : recorded_) {
    if (recorded.command.kindBit == kindBit && recorded.command.eventBit == eventBit) ++count;
  }
  return count;
}

}  // namespace hostkit
