// A clock for "has a while passed", read without a system call: the tick that
// the kernel keeps in memory shared with every process (a few milliseconds
// coarse), so that code on a hot path may ask it at every call.
#pragma once

#include <cstdint>

namespace halyx {

// Milliseconds since some moment of the machine's life; wraps around, so only
// differences (taken as uint32_t) mean anything.
uint32_t CoarseMilliseconds();

}  // namespace halyx
