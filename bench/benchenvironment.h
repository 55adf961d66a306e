// The surroundings of one benchmark run: HalyxBinPath names the program's own
// folder (where the build puts the library and every module) unless the caller
// chose one, and HOME is a fresh temporary folder, so that every run starts
// from empty databases and the user's real data is never touched. The folder
// is removed again when the environment goes.
#pragma once

#include <string>

class BenchEnvironment {
 public:
  BenchEnvironment();
  ~BenchEnvironment();
  BenchEnvironment(const BenchEnvironment&) = delete;
  BenchEnvironment& operator=(const BenchEnvironment&) = delete;

  // False when no temporary folder could be made; nothing was changed then.
  bool Ready() const { return !home.empty(); }
  const std::string& Home() const { return home; }

 private:
  std::string home;
};
