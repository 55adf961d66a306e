// A module's state, for entry points that a library may still call from its
// own teardown at process exit: a host that exits without unloading the
// library has the library close what it holds after this module's (later
// constructed) static objects are destroyed. Such late calls get an empty
// state, kept until the process ends, instead of the destroyed one; an
// ordinary unload destroys the state and leaves nothing allocated.
#pragma once

#include <atomic>

namespace halyx {

template <class State>
State& ModuleState() {
  // Every entry point asks, so the state in use is remembered: one test on
  // the common path. Threads may ask at once; the state is built once (the
  // holder's guard) and published whole before any thread uses it.
  static std::atomic<State*> current{nullptr};
  if (State* known = current.load(std::memory_order_acquire)) return *known;
  static std::atomic<bool> gone{false};
  static struct Holder {
    State state;
    ~Holder() {
      gone.store(true);
      current.store(nullptr);
    }
  } holder;
  State* use = &holder.state;
  if (gone.load()) {
    static State* late = new State();  // still reachable at exit
    use = late;
  }
  current.store(use, std::memory_order_release);
  return *use;
}

}  // namespace halyx
