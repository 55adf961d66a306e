#include "commandrecorder.h"

#include <utility>

PushCommandCallback CommandRecorder::CallbackFor(const std::string& name) {
  for (size_t i = 0; i < names_.size(); ++i) {
    if (names_[i] == name) return slots_.Callback(i);
  }
  if (names_.size() == kMaxCallbacks) return nullptr;
  names_.push_back(name);
  return slots_.Callback(names_.size() - 1);
}

RecordedCommand CommandRecorder::Named(const hostkit::RecordedCommand& recorded) const {
  return {recorded.slot < names_.size() ? names_[recorded.slot] : "?", recorded.userData,
          recorded.command};
}

void CommandRecorder::SetEcho(std::function<void(const RecordedCommand&)> echo) {
  slots_.onRecord_ = nullptr;
  if (echo) {
    slots_.onRecord_ = [this, echo](const hostkit::RecordedCommand& recorded) { echo(Named(recorded)); };
  }
}

std::vector<RecordedCommand> CommandRecorder::Take() {
  std::vector<RecordedCommand> taken;
  for (const hostkit::RecordedCommand& recorded : slots_.Take()) taken.push_back(Named(recorded));
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
