// Calls any export of the library by its name with named arguments, and turns
// what came back into JSON: {"result": ...} and, for the listing exports, the
// records they handed out ("groups" or "msgs"), which are given back to the
// matching free function before the call returns.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "commandrecorder.h"
#include "json.h"
#include "pushlibrary.h"
#include "stepargs.h"

class ExportCaller {
 public:
  ExportCaller(const PushLibrary& library, CommandRecorder& recorder)
      : library_(library), recorder_(recorder) {}

  // Throws InputError for an unknown export or a missing, mistyped or unknown
  // argument; args holds the arguments by name. Without records, a listing's
  // result holds only its count: the records are given back unrendered,
  // so that a step whose result nobody reads does not hold a copy of every
  // listed message beside the listing itself.
  JsonPtr Call(const std::string& exportName, StepArgs& args, bool records = true);

  // Every export's name and its arguments in parameter order, separated by
  // blanks; those that may be left out end in '?'.
  static std::vector<std::pair<std::string, std::string>> ExportArguments();

  const PushExports& Exports() const;

 private:
  const PushLibrary& library_;
  CommandRecorder& recorder_;
};
