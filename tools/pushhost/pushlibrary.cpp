#include "pushlibrary.h"

#include "dataroot.h"
#include "hostkit/hostos.h"

bool PushLibrary::Load(const std::string& binFolder, std::string* error) {
  std::string path = binFolder + "\\pushcenterwrapper.dll";
  if (hostkit::PushLibrary::Load(path)) return true;
  if (!Missing().empty()) {
    *error = path + " has no export named " + Missing();
  } else {
    std::string shown = ForDisplay(path);
    *error = "cannot load the library " + shown + ": " + hostos::LoadFailure(shown);
  }
  return false;
}
