#include "support/libraryhost.h"

namespace libraryhost {

CommandRecorder::CommandRecorder(int slot) : slot_(slot) {
  slots_.onRecord_ = [this](const hostkit::RecordedCommand& recorded) {
    commands.push_back(recorded.command);
    if (onCommand != nullptr) onCommand(*this, recorded.command);
  };
}

PushCommandCallback CommandRecorder::Callback() { return slots_.Callback(static_cast<size_t>(slot_)); }

}  // namespace libraryhost
