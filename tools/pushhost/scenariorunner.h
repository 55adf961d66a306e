// Runs a scenario: JSON Lines, one step per line, blank lines and lines that
// start with '#' skipped. A step either does something as the host
// ({"do": "push", ...}) or calls an export by name ({"call": "PushClearMsg",
// "kind": 3}); either may carry "expect", matched as a subset of the step's
// result, which also holds the notifications that the step caused.
//
// A line that cannot run (not JSON, unknown step, export or argument, wrong
// type) stops the run at once; an expectation that is not met is reported and
// the run goes on. Both are reported with the file name and line number.
#pragma once

#include <istream>
#include <map>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "commandrecorder.h"
#include "exportcaller.h"
#include "hostmodules.h"
#include "pushlibrary.h"
#include "stepargs.h"

class ScenarioRunner {
 public:
  enum Status { kPassed = 0, kExpectationsFailed = 1, kBadInput = 2 };

  ScenarioRunner(HostModules& modules, std::ostream& out, std::ostream& err);
  ~ScenarioRunner();
  ScenarioRunner(const ScenarioRunner&) = delete;
  ScenarioRunner& operator=(const ScenarioRunner&) = delete;

  // Prints every step's result as it runs.
  void SetVerbose(bool verbose) { verbose_ = verbose; }
  // Prints every notification as the callbacks receive it, in words.
  void SetNarrate(bool narrate);
  // Gives a profile that pushhost has not used before the client's first-run
  // settings once the library is loaded, and says so (HostProfile).
  void SetPrepareProfile(bool prepare) { prepareProfile_ = prepare; }
  // The show and inspect steps print JSON documents instead of tables.
  void SetJson(bool json) { json_ = json; }
  // Leaves out the closing summary line.
  void SetQuiet(bool quiet) { quiet_ = quiet; }

  // Runs the scenario read from lines; name labels messages. The library is
  // loaded first and shut down and released at the end if a step started it.
  Status Run(const std::string& name, std::istream& lines);

  // Every host step's name and its arguments, separated by blanks.
  static const std::vector<std::pair<std::string, std::string>>& StepArguments();

 private:
  JsonPtr RunStep(const std::string& action, StepArgs& step);
  JsonPtr RunHostStep(const std::string& action, StepArgs& step);
  JsonPtr Init();
  JsonPtr UnInit();
  void Echo(const std::string& what, json_object* result);
  bool Check(json_object* expected, json_object* actual, const std::string& where);

  HostModules& modules_;
  std::ostream& out_;
  std::ostream& err_;
  PushLibrary library_;
  CommandRecorder recorder_;
  ExportCaller caller_;
  std::map<uint32_t, std::string> appNames_;
  bool verbose_ = false;
  bool quiet_ = false;
  bool prepareProfile_ = false;
  bool json_ = false;
  bool initialized_ = false;
  int expectations_ = 0;
  int failures_ = 0;
};
