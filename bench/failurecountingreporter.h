// The console report, counting the benchmarks that stopped with an error, so
// that a run in which a path did not do its work (a center not at its cap,
// rows not stored) fails instead of printing figures for work not done.
#pragma once

#include <benchmark/benchmark.h>

#include <vector>

class FailureCountingReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& reports) override;
  int Failures() const { return failures; }

 private:
  int failures = 0;
};
