#include "commandline.h"

#include <cerrno>
#include <cstdlib>
#include <vector>

#include "exportcaller.h"
#include "scenariorunner.h"
#include "suggest.h"
#include "terminaltext.h"

namespace {

struct Command {
  const char* name;
  const char* options;  // separated by blanks; those that take a value end in '='
  const char* usage;
  const char* help;
};

const Command kCommands[] = {
    {"run", "--data= --clean --bare --verbose --json",
     "pushhost run [--data DIR] [--clean] [--bare] [--verbose] [--json] FILE",
     "Runs a scenario: JSON Lines, one step per line (see the README; `pushhost help steps`\n"
     "lists the steps). FILE - reads the scenario from standard input.\n"
     "\n"
     "  --data DIR  keep the user data under DIR (DIR/Documents/Corvane Files/Halyx);\n"
     "              not on Windows, where the documents folder is the profile's\n"
     "  --clean     empty <documents>/Corvane Files/Halyx before the run\n"
     "  --bare      leave a new profile bare (see below)\n"
     "  --verbose   print every step's result\n"
     "  --json      the show and inspect steps print one JSON document each, not tables\n"
     "\n"
     "A profile that pushhost has not used before gets what the desktop client writes on\n"
     "its first run: roaming booleans 9 and 10 true (system and share messages wanted)\n"
     "and roaming number 11 = 1 (dynamic messages from every application); without them\n"
     "the library refuses every push. --bare leaves them unset.\n"},
    {"demo", "--data=", "pushhost demo [--data DIR]",
     "A guided tour of the library. Without --data it runs in a temporary folder and\n"
     "removes it afterwards.\n"
     "\n"
     "  --data DIR  keep the user data under DIR instead\n"},
    {"inspect", "--user= --data= --json", "pushhost inspect [--user N] [--data DIR] [--json]",
     "Prints what a user's three databases hold, table by table.\n"
     "\n"
     "  --user N    the user to inspect; default: the signed-in user (HALYX_USER), else\n"
     "              the user who signed in last in this data folder\n"
     "  --data DIR  the data folder to read\n"
     "  --json      one JSON document instead of tables (see the README)\n"},
};

const char kStatuses[] =
    "Exit status: 0 when every step ran and every expectation was met, 1 when an\n"
    "expectation was not met, 2 for input that cannot run, a missing library or\n"
    "module, an unusable data folder, output that cannot be written, or a wrong\n"
    "command line.\n";

const Command* FindCommand(const std::string& name) {
  for (const Command& command : kCommands) {
    if (name == command.name) return &command;
  }
  return nullptr;
}

std::vector<std::string> Words(const std::string& text) {
  std::vector<std::string> words;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find(' ', start);
    if (end == std::string::npos) end = text.size();
    if (end > start) words.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return words;
}

std::string Padded(const std::string& text, size_t width) {
  return text.size() < width ? text + std::string(width - text.size(), ' ') : text + " ";
}

std::string StepsHelp() {
  std::string text = "Host steps, {\"do\": STEP, ARGUMENT: value, ...}:\n";
  for (const auto& step : ScenarioRunner::StepArguments()) {
    text += "  " + (step.second.empty() ? step.first : Padded(step.first, 20) + step.second) + "\n";
  }
  text += "\nExports, {\"call\": EXPORT, ARGUMENT: value, ...}; an argument ending in ? may be\n"
          "left out:\n";
  for (const auto& call : ExportCaller::ExportArguments()) {
    text += "  " + (call.second.empty() ? call.first : Padded(call.first, 36) + call.second) + "\n";
  }
  text += "\nEvery step may also carry \"expect\" (an object matched against the result),\n"
          "\"echo\": true (print the result) and \"note\" (a comment).\n";
  return text;
}

}  // namespace

CommandLine::CommandLine(int argc, char** argv) { Parse(argc, argv); }

bool CommandLine::ParseUser(const std::string& text) {
  // unsigned long long: a 32-bit long would saturate at the largest user
  // number and let anything longer through.
  char* end = nullptr;
  errno = 0;
  unsigned long long value = std::strtoull(text.c_str(), &end, 10);
  if (*end != '\0' || text[0] == '-' || errno == ERANGE || value == 0 || value > 0xFFFFFFFFull) {
    return false;
  }
  user_ = static_cast<uint32_t>(value);
  return true;
}

bool CommandLine::Fail(const std::string& error) {
  action_ = kUsageError;
  error_ = "pushhost: " + error + "\nTry 'pushhost help" +
           (FindCommand(command_) ? " " + command_ : std::string()) + "'.";
  return false;
}

bool CommandLine::Parse(int argc, char** argv) {
  if (argc < 2) {
    action_ = kUsageError;
    error_ = Help("");
    error_.pop_back();
    return false;
  }
  const std::string first = argv[1];
  if (first == "--version" || first == "-V") {
    action_ = kVersion;
    return true;
  }
  if (first == "help" || first == "--help" || first == "-h") {
    action_ = kHelp;
    if (argc > 3) return Fail("help takes one topic");
    command_ = argc == 3 ? argv[2] : "";
    if (Help(command_).empty()) {
      return Fail("no help on \"" + command_ + "\"" +
                  DidYouMean(command_, {"run", "demo", "inspect", "steps"}));
    }
    return true;
  }
  const Command* command = FindCommand(first);
  if (!command) {
    return Fail("unknown command \"" + first + "\"" +
                DidYouMean(first, {"run", "demo", "inspect", "help"}));
  }
  command_ = first;
  const std::vector<std::string> known = Words(command->options);
  bool optionsEnd = false;
  for (int i = 2; i < argc; ++i) {
    const std::string arg = argv[i];
    if (!optionsEnd && arg == "--") {
      optionsEnd = true;
      continue;
    }
    if (!optionsEnd && (arg == "--help" || arg == "-h")) {
      action_ = kHelp;
      return true;
    }
    if (optionsEnd || arg.size() < 2 || arg[0] != '-') {
      if (command_ != "run" || !file_.empty()) return Fail("unexpected argument \"" + arg + "\"");
      file_ = arg;
      continue;
    }
    const size_t equals = arg.find('=');
    const std::string name = arg.substr(0, equals);
    std::vector<std::string> names;
    bool takesValue = false;
    bool found = false;
    for (const std::string& option : known) {
      const bool valued = option.back() == '=';
      names.push_back(valued ? option.substr(0, option.size() - 1) : option);
      if (names.back() == name) {
        found = true;
        takesValue = valued;
      }
    }
    if (!found) {
      return Fail("unknown option \"" + name + "\" for " + command_ + DidYouMean(name, names));
    }
    std::string value;
    if (!takesValue) {
      if (equals != std::string::npos) return Fail(name + " takes no value");
    } else if (equals != std::string::npos) {
      value = arg.substr(equals + 1);
    } else if (i + 1 < argc && std::string(argv[i + 1]).rfind("--", 0) != 0) {
      value = argv[++i];  // --data=--odd names a folder that starts with "--"
    }
    if (takesValue && value.empty()) return Fail(name + " needs a value");
    if (name == "--data") data_ = value;
    if (name == "--user" && !ParseUser(value)) {
      return Fail("--user wants a user number from 1 to 4294967295, got \"" +
                  TerminalText::Plain(value) + "\"");
    }
    if (name == "--clean") clean_ = true;
    if (name == "--verbose") verbose_ = true;
    if (name == "--bare") bare_ = true;
    if (name == "--json") json_ = true;
  }
  if (command_ == "run" && file_.empty()) return Fail("run needs a scenario file (- for standard input)");
  return true;
}

std::string CommandLine::Help(const std::string& topic) {
  if (topic == "steps") return StepsHelp();
  if (const Command* command = FindCommand(topic)) {
    return std::string("usage: ") + command->usage + "\n\n" + command->help + "\n" + kStatuses;
  }
  if (!topic.empty()) return "";
  std::string text;
  for (const Command& command : kCommands) {
    text += std::string(text.empty() ? "usage: " : "       ") + command.usage + "\n";
  }
  text +=
      "       pushhost help [run|demo|inspect|steps]\n"
      "       pushhost --version\n"
      "\n"
      "  run      runs a scenario: JSON Lines, one step per line (see the README)\n"
      "  demo     a guided tour of the library in a fresh data folder\n"
      "  inspect  prints what a user's three databases hold, table by table\n"
      "  help     what a command does and takes; `help steps` lists the steps\n"
      "\n"
      "The bin folder is HalyxBinPath, or pushhost's own folder when that is unset.\n";
  return text + kStatuses;
}
