// The public header compiles alone, as C++, with nothing included before it.
#include "pushcenterwrapper.h"

namespace {
void PCW_CALL OnCommand(const PushCommand*, uintptr_t) {}
}  // namespace

PushCommandCallback pcw_alone_cxx_callback() { return OnCommand; }
uint32_t pcw_alone_cxx_kinds() { return kDynamicBit | kEventAdded; }
