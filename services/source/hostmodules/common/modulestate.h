// A module's state, for entry points that a library may still call from its
// own teardown at process exit: a host that exits without unloading the
// library has the library close what it holds after this module's (later
// constructed) static objects are destroyed. Such late calls get an empty
// state, kept until the process ends, instead of the destroyed one; an
// ordinary unload destroys the state and leaves nothing allocated.
#pragma once

namespace halyx {

template <class State>
State& ModuleState() {
  // Every entry point asks, so the state in use is remembered: one test on
  // the common path.
  static State* current = nullptr;
  if (current != nullptr) return *current;
  static bool gone = false;
  static struct Holder {
    State state;
    ~Holder() {
      gone = true;
      current = nullptr;
    }
  } holder;
  if (!gone) return *(current = &holder.state);
  static State* late = new State();  // still reachable at exit
  return *(current = late);
}

}  // namespace halyx
