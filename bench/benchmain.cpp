// The main of every benchmark program: the run gets its own data folder and
// the bin folder before any benchmark loads the library, and fails when any
// benchmark stopped with an error.
#include <benchmark/benchmark.h>

#include <cstdio>

#include "benchenvironment.h"
#include "benchhost.h"
#include "failurecountingreporter.h"

int main(int argc, char** argv) {
  BenchEnvironment environment;
  if (!environment.Ready()) {
    std::fprintf(stderr, "cannot make a temporary data folder\n");
    return 2;
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 2;
  FailureCountingReporter console;
  benchmark::RunSpecifiedBenchmarks(&console);
  benchmark::Shutdown();
  BenchHost::Release();
  if (console.Failures() != 0) {
    std::fprintf(stderr, "%d benchmark(s) stopped with an error\n", console.Failures());
    return 1;
  }
  return 0;
}
