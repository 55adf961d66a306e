// pushhost's command line: a command, its options (as "--data DIR" or
// "--data=DIR"), "--" before arguments that start with '-', and the help
// texts. Errors say what is wrong and name the help that explains it.
#pragma once

#include <cstdint>
#include <string>

class CommandLine {
 public:
  enum Action { kRun, kHelp, kVersion, kUsageError };

  // Reads the arguments; afterwards action() says what to do.
  CommandLine(int argc, char** argv);

  Action action() const { return action_; }
  // The command: "run", "demo" or "inspect"; for kHelp the topic (empty for
  // the overview, a command, or "steps").
  const std::string& command() const { return command_; }
  // For kUsageError: what is wrong, and the line that points to the help.
  const std::string& error() const { return error_; }

  const std::string& file() const { return file_; }  // "-" is standard input
  const std::string& data() const { return data_; }
  uint32_t user() const { return user_; }  // 0 when not given
  bool verbose() const { return verbose_; }
  bool clean() const { return clean_; }
  bool bare() const { return bare_; }
  bool json() const { return json_; }

  // The help text of a topic ("" for the overview); empty for no such topic.
  static std::string Help(const std::string& topic);

 private:
  bool Fail(const std::string& error);
  bool Parse(int argc, char** argv);
  bool ParseUser(const std::string& text);

  Action action_ = kRun;
  std::string command_;
  std::string error_;
  std::string file_;
  std::string data_;
  uint32_t user_ = 0;
  bool verbose_ = false;
  bool clean_ = false;
  bool bare_ = false;
  bool json_ = false;
};
