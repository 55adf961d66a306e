// The guided tour of the library: a built-in scenario that narrates each step
// for a newcomer, prints every notification the host's callback receives and
// shows the message lists as tables.
#pragma once

#include <cstdint>
#include <ostream>

#include "hostmodules.h"

class Demo {
 public:
  // The user the tour signs in.
  static constexpr uint32_t kUser = 20001;

  // Runs the tour against the modules' current data folder; 0 when every
  // step ran and behaved as the tour says.
  static int Run(HostModules& modules, std::ostream& out, std::ostream& err);
};
