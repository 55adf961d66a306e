// pushhost: a command-line host of pushcenterwrapper.dll.
//
// It finds the bin folder in HalyxBinPath (its own folder when that is unset,
// and it sets the variable so that the library finds the same modules), loads
// the library and the modules from there by path, and drives them as the
// desktop client does.
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <system_error>

#include "dataroot.h"
#include "demo.h"
#include "hostmodules.h"
#include "hostos.h"
#include "inspector.h"
#include "pcwversion.h"
#include "scenariorunner.h"

namespace {

const char kUsage[] =
    "usage: pushhost run [--data DIR] [--clean] [--verbose] FILE\n"
    "       pushhost demo [--data DIR]\n"
    "       pushhost inspect [--user N] [--data DIR]\n"
    "       pushhost --version\n"
    "\n"
    "  run      runs a scenario: JSON Lines, one step per line (see the README)\n"
    "  demo     a guided tour of the library in a fresh data folder\n"
    "  inspect  prints what a user's three databases hold, table by table\n"
    "\n"
    "  --data DIR  keep the user data under DIR (DIR/Documents/Corvane Files/Halyx);\n"
    "              not on Windows, where the documents folder is the profile's\n"
    "  --clean     empty <documents>/Corvane Files/Halyx before the run\n"
    "  --user N    the user to inspect; default: the signed-in user (HALYX_USER)\n"
    "  --verbose   print every step's result\n"
    "\n"
    "The bin folder is HalyxBinPath, or pushhost's own folder when that is unset.\n";

struct Options {
  std::string command;
  std::string file;
  std::string data;
  std::string user;
  bool verbose = false;
  bool clean = false;
};

bool ParseOptions(int argc, char** argv, Options* options, std::string* error) {
  options->command = argv[1];
  for (int i = 2; i < argc; ++i) {
    std::string arg = argv[i];
    if ((arg == "--data" || arg == "--user") && i + 1 < argc) {
      (arg == "--data" ? options->data : options->user) = argv[++i];
    } else if (arg == "--verbose" && options->command == "run") {
      options->verbose = true;
    } else if (arg == "--clean" && options->command == "run") {
      options->clean = true;
    } else if (arg.rfind("--", 0) != 0 && options->command == "run" && options->file.empty()) {
      options->file = arg;
    } else {
      *error = "unexpected argument \"" + arg + "\"";
      return false;
    }
  }
  if (options->command == "run" && options->file.empty()) {
    *error = "run needs a scenario file";
    return false;
  }
  if (!options->user.empty() && options->command != "inspect") {
    *error = "--user goes with inspect";
    return false;
  }
  return true;
}

std::string BinFolder() {
  std::string folder = hostos::GetEnv("HalyxBinPath");
  if (folder.empty()) {
    folder = hostos::ExecutableFolder();
    hostos::SetEnv("HalyxBinPath", folder);
  }
  return folder;
}

bool UseData(const std::string& dir) {
  std::error_code error;
  std::filesystem::create_directories(std::filesystem::u8path(dir), error);
  if (error) {
    std::cerr << "pushhost: cannot create the data folder " << dir << "\n";
    return false;
  }
  if (!hostos::UseDataRoot(dir)) {
    std::cerr << "pushhost: --data needs a system whose documents folder follows HOME; here "
                 "the data stays in the profile's documents folder (see --clean)\n";
    return false;
  }
  return true;
}

int RunScenario(HostModules& modules, const Options& options) {
  std::ifstream file(options.file, std::ios::binary);
  if (!file) {
    std::cerr << "pushhost: cannot read the scenario " << options.file << "\n";
    return ScenarioRunner::kBadInput;
  }
  ScenarioRunner runner(modules, std::cout, std::cerr);
  runner.SetVerbose(options.verbose);
  return runner.Run(options.file, file);
}

int Inspect(HostModules& modules, const Options& options) {
  uint32_t user = 0;
  if (!options.user.empty()) {
    char* end = nullptr;
    // unsigned long long: a 32-bit long would saturate at the largest user
    // number and let anything longer through.
    unsigned long long value = std::strtoull(options.user.c_str(), &end, 10);
    if (*end != '\0' || options.user[0] == '-' || value == 0 || value > 0xFFFFFFFFull) {
      std::cerr << "pushhost: --user wants a user number, got \"" << options.user << "\"\n";
      return 2;
    }
    user = static_cast<uint32_t>(value);
  } else {
    user = modules.CurrentUser();
  }
  Inspector inspector(modules);
  std::string error;
  if (!inspector.Print(std::cout, user, &error)) {
    std::cerr << "pushhost: " << error << "\n";
    return 2;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0 ||
      std::strcmp(argv[1], "help") == 0) {
    std::cout << kUsage;
    return argc < 2 ? 2 : 0;
  }
  if (std::strcmp(argv[1], "--version") == 0) {
    std::cout << "pushhost " << PCW_VERSION_STRING << "\n";
    return 0;
  }
  Options options;
  std::string error;
  if (std::strcmp(argv[1], "run") != 0 && std::strcmp(argv[1], "demo") != 0 &&
      std::strcmp(argv[1], "inspect") != 0) {
    std::cerr << "pushhost: unknown command \"" << argv[1] << "\"\n" << kUsage;
    return 2;
  }
  if (!ParseOptions(argc, argv, &options, &error)) {
    std::cerr << "pushhost: " << error << "\n" << kUsage;
    return 2;
  }

  // The demo runs in a folder of its own unless told otherwise, so that it
  // starts from nothing and leaves nothing behind. Where the documents folder
  // cannot be moved it empties its own user's folder instead.
  std::string tempData;
  if (options.command == "demo" && options.data.empty()) {
    tempData = hostos::MakeTempFolder();
    if (!tempData.empty() && !hostos::UseDataRoot(tempData)) {
      RemoveFolder(tempData);
      tempData.clear();
      RemoveFolder(UserFolder(Demo::kUser));
    } else if (tempData.empty()) {
      std::cerr << "pushhost: cannot create a temporary data folder\n";
      return 2;
    }
  } else if (!options.data.empty() && !UseData(options.data)) {
    return 2;
  }
  if (options.clean) {
    std::string root = DataRoot();
    if (root.empty() || !RemoveFolder(root)) {
      std::cerr << "pushhost: cannot empty the data folder " << ForDisplay(root) << "\n";
      return 2;
    }
  }

  int status = 0;
  {
    HostModules modules(BinFolder());
    try {
      if (options.command == "run") {
        status = RunScenario(modules, options);
      } else if (options.command == "demo") {
        std::cout << "Data folder: " << ForDisplay(DataRoot()) << "\n";
        status = Demo::Run(modules, std::cout, std::cerr);
      } else {
        status = Inspect(modules, options);
      }
    } catch (const std::exception& failure) {
      std::cerr << "pushhost: " << failure.what() << "\n";
      status = 2;
    }
  }
  if (!tempData.empty()) {
    RemoveFolder(tempData);
  }
  return status;
}
