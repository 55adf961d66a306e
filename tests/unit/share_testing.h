// The share unit tests run on a started library (support/startedlibrary.h).
#pragma once

#include "support/startedlibrary.h"

namespace sharetest {

using SignedIn = unithost::StartedLibrary;

}  // namespace sharetest
