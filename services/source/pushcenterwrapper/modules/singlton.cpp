#include "modules/singlton.h"

#include <cstddef>
#include <vector>

namespace {

struct Registration {
  int32_t order;
  SingltonRegistry::Step release;
  SingltonRegistry::Step destroy;
};

// Plain flags, never destroyed: asked for until the library's last static
// object is gone.
bool releasing = false;  // while ReleaseAll runs
bool unloading = false;  // from the start of the release at unload on

// The list lives in a static object built when the library is loaded, so it is
// destroyed only after every singleton user that came later (the module-wide
// PushWrapper among them): its destruction is the release at unload.
class RegistrationList {
 public:
  ~RegistrationList() {
    unloading = true;
    ReleaseAll();
  }

  void Add(const Registration& entry) {
    auto at = entries_.begin();
    while (at != entries_.end() && at->order <= entry.order) ++at;
    entries_.insert(at, entry);
  }

  void ReleaseAll() {
    releasing = true;
    // Hooks run while every instance is still alive; a hook that creates a
    // new singleton appends to the list, so walk it by index and take the
    // list over before destroying.
    for (size_t i = 0; i < entries_.size(); ++i) entries_[i].release();
    std::vector<Registration> doomed;
    doomed.swap(entries_);
    for (const Registration& entry : doomed) entry.destroy();
    releasing = false;
  }

 private:
  std::vector<Registration> entries_;
};

RegistrationList registrations;

}  // namespace

void SingltonRegistry::Register(int32_t order, Step release, Step destroy) {
  registrations.Add(Registration{order, release, destroy});
}

void SingltonRegistry::ReleaseAll() { registrations.ReleaseAll(); }

bool SingltonRegistry::Releasing() { return releasing || unloading; }
