// pushcenterwrapper.dll as pushhost loads it: from the bin folder, every
// export bound by name, with what went wrong in words. Nothing of the library
// is linked into pushhost; its header only lends the record layouts and the
// exports' types.
#pragma once

#include <string>

#include "hostkit/pushlibrary.h"

using hostkit::PushExports;

class PushLibrary : public hostkit::PushLibrary {
 public:
  // Loads <binFolder>\pushcenterwrapper.dll and binds every export. On
  // failure nothing stays loaded and *error names the file or the exports
  // that were missing.
  bool Load(const std::string& binFolder, std::string* error);
};
