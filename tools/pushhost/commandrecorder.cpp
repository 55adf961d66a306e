#include "commandrecorder.h"

#include <utility>

namespace {

// The recorder that the trampolines report to; one per process, like the
// library's own registry.
CommandRecorder* activeRecorder = nullptr;

template <size_t Slot>
void PCW_CALL Trampoline(const PushCommand* command, uintptr_t userData) {
  if (activeRecorder) activeRecorder->Receive(Slot, command, userData);
}

const PushCommandCallback kTrampolines[CommandRecorder::kMaxCallbacks] = {
    Trampoline<0>, Trampoline<1>, Trampoline<2>, Trampoline<3>,
    Trampoline<4>, Trampoline<5>, Trampoline<6>, Trampoline<7>,
};

}  // namespace

CommandRecorder::CommandRecorder() { activeRecorder = this; }

CommandRecorder::~CommandRecorder() {
  if (activeRecorder == this) activeRecorder = nullptr;
}

PushCommandCallback CommandRecorder::CallbackFor(const std::string& name) {
  for (size_t i = 0; i < names_.size(); ++i) {
    if (names_[i] == name) return kTrampolines[i];
  }
  if (names_.size() == kMaxCallbacks) return nullptr;
  names_.push_back(name);
  return kTrampolines[names_.size() - 1];
}

void CommandRecorder::Receive(size_t slot, const PushCommand* command, uintptr_t userData) {
  RecordedCommand recorded{slot < names_.size() ? names_[slot] : "?", userData, PushCommand{}};
  if (command) recorded.command = *command;  // valid only during the call
  recorded_.push_back(recorded);
  if (echo_) echo_(recorded);
}

std::vector<RecordedCommand> CommandRecorder::Take() {
  std::vector<RecordedCommand> taken;
  taken.swap(recorded_);
  return taken;
}

JsonPtr CommandRecorder::ToJson(const std::vector<RecordedCommand>& commands) {
  JsonPtr array = JsonArray();
  for (const RecordedCommand& recorded : commands) {
    JsonPtr item = JsonObject();
    JsonSet(item.get(), "callback", JsonString(recorded.callback));
    JsonSet(item.get(), "userData", JsonUint(static_cast<uint32_t>(recorded.userData)));
    JsonSet(item.get(), "kindBit", JsonUint(recorded.command.kindBit));
    JsonSet(item.get(), "eventBit", JsonUint(recorded.command.eventBit));
    JsonSet(item.get(), "value1", JsonUint(recorded.command.value1));
    JsonSet(item.get(), "value2", JsonUint(recorded.command.value2));
    JsonSet(item.get(), "value3", JsonUint(recorded.command.value3));
    JsonSet(item.get(), "value4", JsonUint(recorded.command.value4));
    JsonAppend(array.get(), std::move(item));
  }
  return array;
}

const char* KindBitName(uint32_t kindBit) {
  switch (kindBit) {
    case kDynamicBit: return "dynamic";
    case kShareBit: return "share";
    case kSystemBit: return "system";
    case kAppUpdateBit: return "app update";
    case kMyShareBit: return "my share";
    default: return "unknown kind";
  }
}

const char* EventBitName(uint32_t eventBit) {
  switch (eventBit) {
    case kEventAdded: return "added";
    case kEventDeleted: return "deleted or cleared";
    case kEventReadState: return "read state or unread count changed";
    default: return "unknown event";
  }
}
