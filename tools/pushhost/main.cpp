// pushhost: a command-line host of pushcenterwrapper.dll.
//
// It finds the bin folder in HalyxBinPath (its own folder when that is unset,
// and it sets the variable so that the library finds the same modules), loads
// the library and the modules from there by path, and drives them as the
// desktop client does.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <system_error>

#include "commandline.h"
#include "dataroot.h"
#include "demo.h"
#include "hostmodules.h"
#include "hostkit/hostos.h"
#include "hostprofile.h"
#include "inspector.h"
#include "pcwversion.h"
#include "scenariorunner.h"
#include "terminaltext.h"
#include "texttable.h"

namespace {

std::string BinFolder() {
  std::string folder = hostos::GetEnv("HalyxBinPath");
  if (folder.empty()) {
    folder = hostos::ExecutableFolder();
    hostos::SetEnv("HalyxBinPath", folder);
  }
  return folder;
}

bool UseData(const std::string& dir) {
  // The documents folder follows HOME only when that is an absolute path.
  std::error_code error;
  std::filesystem::path path = std::filesystem::absolute(std::filesystem::u8path(dir), error);
  if (!error) std::filesystem::create_directories(path, error);
  if (error) {
    std::cerr << "pushhost: cannot create the data folder " << dir << ": " << error.message()
              << "\n";
    return false;
  }
  if (!hostos::UseDataRoot(path.lexically_normal().u8string())) {
    std::cerr << "pushhost: --data needs a system whose documents folder follows HOME; here "
                 "the data stays in the profile's documents folder (see --clean)\n";
    return false;
  }
  return true;
}

int RunScenario(HostModules& modules, const CommandLine& options) {
  ScenarioRunner runner(modules, std::cout, std::cerr);
  runner.SetVerbose(options.verbose());
  runner.SetPrepareProfile(!options.bare());
  runner.SetJson(options.json());
  if (options.file() == "-") return runner.Run("stdin", std::cin);
  std::error_code error;
  if (std::filesystem::is_directory(std::filesystem::u8path(options.file()), error)) {
    std::cerr << "pushhost: the scenario " << options.file() << " is a folder, not a file\n";
    return ScenarioRunner::kBadInput;
  }
  errno = 0;
  std::ifstream file(std::filesystem::u8path(options.file()), std::ios::binary);
  if (!file) {
    std::cerr << "pushhost: cannot read the scenario " << options.file()
              << (errno ? ": " + std::generic_category().message(errno) : std::string()) << "\n";
    return ScenarioRunner::kBadInput;
  }
  return runner.Run(options.file(), file);
}

int Inspect(HostModules& modules, const CommandLine& options) {
  uint32_t user = options.user();
  if (user == 0) user = modules.CurrentUser();
  if (user == 0) user = HostProfile().LastUser();
  Inspector inspector(modules);
  std::string error;
  if (!inspector.Print(std::cout, user, &error, options.json())) {
    std::cerr << "pushhost: " << error << "\n";
    return 2;
  }
  return 0;
}

int Main(int argc, char** argv) {
  const CommandLine options(argc, argv);
  switch (options.action()) {
    case CommandLine::kUsageError:
      std::cerr << options.error() << "\n";
      return 2;
    case CommandLine::kHelp:
      std::cout << CommandLine::Help(options.command());
      return 0;
    case CommandLine::kVersion:
      std::cout << "pushhost " << PCW_VERSION_STRING << "\n";
      return 0;
    case CommandLine::kRun:
      break;
  }

  // The demo runs in a folder of its own unless told otherwise, so that it
  // starts from nothing and leaves nothing behind. Where the documents folder
  // cannot be moved it empties its own user's folder instead.
  std::string tempData;
  if (options.command() == "demo" && options.data().empty()) {
    tempData = hostos::MakeTempFolder();
    if (!tempData.empty() && !hostos::UseDataRoot(tempData)) {
      RemoveFolder(tempData);
      tempData.clear();
      RemoveFolder(UserFolder(Demo::kUser));
    } else if (tempData.empty()) {
      std::cerr << "pushhost: cannot create a temporary data folder\n";
      return 2;
    }
  } else if (!options.data().empty() && !UseData(options.data())) {
    return 2;
  }
  // inspect only reads: the folder must be known, not writable.
  std::string problem = DataRootProblem(options.command() != "inspect");
  if (!problem.empty()) {
    std::cerr << "pushhost: " << problem << "\n";
    if (!tempData.empty()) RemoveFolder(tempData);
    return 2;
  }
  if (options.clean()) {
    std::string root = DataRoot();
    if (!RemoveFolder(root)) {
      std::cerr << "pushhost: cannot empty the data folder " << ForDisplay(root) << "\n";
      return 2;
    }
  }

  int status = 0;
  {
    HostModules modules(BinFolder());
    try {
      if (options.command() == "run") {
        status = RunScenario(modules, options);
      } else if (options.command() == "demo") {
        std::cout << "Data folder: " << ForDisplay(DataRoot()) << "\n";
        status = Demo::Run(modules, std::cout, std::cerr);
      } else {
        status = Inspect(modules, options);
      }
    } catch (const std::exception& failure) {
      std::cerr << "pushhost: " << failure.what() << "\n";
      status = 2;
    } catch (...) {
      std::cerr << "pushhost: stopped by an unexpected failure\n";
      status = 2;
    }
  }
  if (!tempData.empty()) {
    RemoveFolder(tempData);
  }
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  hostos::IgnoreBrokenPipe();
  TextTable::SetLineWidth(hostos::OutputColumns());
  int status = 2;
  try {
    status = Main(argc, argv);
  } catch (const std::exception& failure) {
    std::cerr << "pushhost: " << failure.what() << "\n";
  } catch (...) {
    std::cerr << "pushhost: stopped by an unexpected failure\n";
  }
  // Output that never reached its reader (a full disk, a closed pipe) is a
  // result lost: the run did not do what was asked.
  std::cout.flush();
  if (!std::cout || std::fflush(stdout) != 0 || std::ferror(stdout)) {
    std::cerr << "pushhost: the output could not be written in full\n";
    return 2;
  }
  return status;
}
