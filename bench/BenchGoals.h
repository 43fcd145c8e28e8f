// Speed goals of a benchmark program: every run's milliseconds per operation
// are kept by name, and at the end the median of each goal's runs is printed
// to stderr against its limit.
#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <span>
#include <string>
#include <vector>

namespace hp::bench {

inline std::map<std::string, std::vector<double>>& RunMillis() {
  static std::map<std::string, std::vector<double>> millis;
  return millis;
}

// Records the milliseconds per iteration of a run that started at `start`.
inline void Record(const std::string& name, std::chrono::steady_clock::time_point start,
                   const benchmark::State& state) {
  const std::chrono::duration<double, std::milli> elapsed = std::chrono::steady_clock::now() - start;
  RunMillis()[name].push_back(elapsed.count() / static_cast<double>(state.iterations()));
}

inline double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

struct Goal {
  const char* name;
  double millis;  // the limit of the median
};

// "<title> (median of the runs of this process):" and a line per goal that ran.
inline void PrintGoals(const char* title, std::span<const Goal> goals) {
  std::fprintf(stderr, "\n%s (median of the runs of this process):\n", title);
  for (const Goal& goal : goals) {
    const auto& runs = RunMillis()[goal.name];
    if (runs.empty()) continue;
    const double m = Median(runs);
    std::fprintf(stderr, "  %-32s %8.3f ms over %zu runs (goal <= %.0f: %s)\n", goal.name, m, runs.size(), goal.millis,
                 m <= goal.millis ? "met" : "MISSED");
  }
}

// The main program of a benchmark that registers its runs itself and prints
// a summary of its goals after them.
inline int RunWithSummary(int argc, char** argv, void (*registerRuns)(), void (*printSummary)()) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  registerRuns();
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  printSummary();
  return 0;
}

}  // namespace hp::bench
