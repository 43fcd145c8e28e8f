// Speed of the compute command over generated caves of 10 000, 100 000 and
// 1 000 000 records in each loop adjustment mode (0 report only, 1 linear,
// 2 linear keeping verticals). Goals: a pass over 100 000 records in at most
// 100 ms, the 1 000 000-record pass at most 12 times the 100 000-record pass,
// and a station index of at most 64 bytes per record. Columns: time per pass,
// records/s, index bytes per record, loops closed (or reported in mode 0),
// and for the largest survey its pass time over the 100 000-record pass.
// A summary of the goals goes to stderr at the end.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <map>
#include <memory>
#include <numeric>
#include <string>
#include <utility>
#include <vector>

#include "BenchGoals.h"
#include "CaveSystemGenerator.h"
#include "calc/ComputePass.h"
#include "platform/Prompter.h"

namespace {

using hp::doc::SurveyStore;

constexpr int64_t kGoalRecords = 100'000;
constexpr int64_t kLargestRecords = 1'000'000;

struct Survey {
  SurveyStore store;
  hp::bench::CaveSystemCounts counts;
};

// One generated cave per size, shared by all benchmarks of the run.
Survey& SurveyOf(size_t records) {
  static std::map<size_t, std::unique_ptr<Survey>> surveys;
  auto& slot = surveys[records];
  if (!slot) {
    slot = std::make_unique<Survey>();
    hp::bench::CaveSystemShape shape;
    shape.records = records;
    slot->counts = hp::bench::GenerateCaveSystem(slot->store, shape);
  }
  return *slot;
}

// What one untimed pass per size and mode found.
struct Check {
  std::string error;  // empty when the pass ran as it should
  size_t loopsClosed = 0;
  size_t loopsReported = 0;
  double worstMisclosure = 0;
  double indexBytesPerRecord = 0;
};

double Distance(double x0, double y0, double z0, double x1, double y1, double z1) {
  return std::sqrt((x1 - x0) * (x1 - x0) + (y1 - y0) * (y1 - y0) + (z1 - z0) * (z1 - z0));
}

// The compute command must leave the document computed, ask nothing, close
// (or report) every generated loop with a misclosure of centimetres to
// decimetres, and put every station within a few kilometres of the entrance.
Check Verify(Survey& survey, int mode) {
  Check check;
  SurveyStore& store = survey.store;
  store.settings.loopAdjustment = static_cast<uint16_t>(mode);
  hp::platform::ScriptedPrompter prompter(hp::platform::Answer::No);
  std::vector<hp::calc::LoopResult> results;
  const size_t before = store.records.size();
  hp::calc::RunComputeCommand(store, prompter, &results);
  if (!prompter.Entries().empty()) {
    check.error = "the pass asked: " + prompter.Entries().front().text;
    return check;
  }
  if (store.settings.computedCurrent != 1) check.error = "computedCurrent is not 1";
  if (store.records.size() != before) check.error = "the pass inserted a record";
  for (const auto& result : results) {
    (result.kind == 2 ? check.loopsReported : check.loopsClosed) += 1;
    check.worstMisclosure = std::max(check.worstMisclosure, result.misclosure);
  }
  if (check.loopsClosed + check.loopsReported != survey.counts.loops) {
    check.error = "loops found: " + std::to_string(check.loopsClosed + check.loopsReported) + " of " +
                  std::to_string(survey.counts.loops);
  }
  if (check.worstMisclosure > 5) check.error = "implausible misclosure " + std::to_string(check.worstMisclosure);
  const auto& entrance = *store.records.front();
  for (const auto& r : store.records) {
    const double d = Distance(entrance.x, entrance.y, entrance.z, r->x, r->y, r->z);
    if (!(d < 50'000)) check.error = "station far from the entrance: " + std::to_string(d) + " m";
  }

  // The command keeps its pass state to itself; the index size comes from a
  // pass of its own.
  hp::calc::Computation computation(store, prompter);
  computation.ComputeAll();
  check.indexBytesPerRecord =
      static_cast<double>(computation.index().MemoryBytes()) / static_cast<double>(store.records.size());
  if (!computation.computed || !prompter.Entries().empty()) check.error = "the second pass differed";
  return check;
}

const Check& CheckOf(size_t records, int mode) {
  static std::map<std::pair<size_t, int>, Check> checks;
  const auto key = std::make_pair(records, mode);
  auto it = checks.find(key);
  if (it == checks.end()) it = checks.emplace(key, Verify(SurveyOf(records), mode)).first;
  return it->second;
}

// Seconds per pass of every run, by records and mode, for the ratio and the
// summary.
std::map<std::pair<int64_t, int>, std::vector<double>>& PassSeconds() {
  static std::map<std::pair<int64_t, int>, std::vector<double>> seconds;
  return seconds;
}

double Mean(const std::vector<double>& values) {
  return values.empty() ? 0 : std::accumulate(values.begin(), values.end(), 0.0) / static_cast<double>(values.size());
}

double StandardDeviation(const std::vector<double>& values) {
  if (values.size() < 2) return 0;
  const double mean = Mean(values);
  double sum = 0;
  for (const double v : values) sum += (v - mean) * (v - mean);
  return std::sqrt(sum / static_cast<double>(values.size() - 1));
}

void BM_ComputePass(benchmark::State& state) {
  const int64_t records = state.range(0);
  const int mode = static_cast<int>(state.range(1));
  Survey& survey = SurveyOf(static_cast<size_t>(records));
  const Check& check = CheckOf(static_cast<size_t>(records), mode);
  if (!check.error.empty()) {
    state.SkipWithError(check.error.c_str());
    return;
  }
  SurveyStore& store = survey.store;
  store.settings.loopAdjustment = static_cast<uint16_t>(mode);
  hp::platform::ScriptedPrompter prompter(hp::platform::Answer::No);

  const auto start = std::chrono::steady_clock::now();
  for (auto _ : state) {
    hp::calc::RunComputeCommand(store, prompter);
    benchmark::DoNotOptimize(store.records.back()->x);
  }
  const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
  if (!prompter.Entries().empty() || store.settings.computedCurrent != 1) {
    state.SkipWithError("a timed pass asked a question");
    return;
  }
  const double perPass = elapsed.count() / static_cast<double>(state.iterations());
  PassSeconds()[{records, mode}].push_back(perPass);

  state.counters["records/s"] =
      benchmark::Counter(static_cast<double>(records), benchmark::Counter::kIsIterationInvariantRate);
  state.counters["index_B/rec"] = check.indexBytesPerRecord;
  state.counters["loops_closed"] = static_cast<double>(check.loopsClosed);
  state.counters["loops_reported"] = static_cast<double>(check.loopsReported);
  state.counters["connections"] = static_cast<double>(survey.counts.connections);
  if (records == kLargestRecords) {
    const double reference = Mean(PassSeconds()[{kGoalRecords, mode}]);
    if (reference > 0) state.counters["ratio_to_100k"] = perPass / reference;
  }
}

// The station index alone, built as each pass builds it: its share of the
// pass time.
void BM_StationIndexBuild(benchmark::State& state) {
  const int64_t records = state.range(0);
  Survey& survey = SurveyOf(static_cast<size_t>(records));
  for (auto _ : state) {
    hp::calc::StationIndex index;
    index.Build(survey.store.records);
    benchmark::DoNotOptimize(index.MemoryBytes());
  }
  state.counters["records/s"] =
      benchmark::Counter(static_cast<double>(records), benchmark::Counter::kIsIterationInvariantRate);
}

// Fixed iteration counts, about half a second or more each, so that every
// run of a repetition is one measurement and no calibration runs mix in.
int64_t IterationsFor(int64_t records) { return std::max<int64_t>(2, 5'000'000 / records); }

void Register() {
  for (int mode = 0; mode <= 2; ++mode) {
    for (const int64_t records : {int64_t{10'000}, kGoalRecords, kLargestRecords}) {
      benchmark::RegisterBenchmark("BM_ComputePass", BM_ComputePass)
          ->Args({records, mode})
          ->ArgNames({"records", "mode"})
          ->Iterations(IterationsFor(records))
          ->Unit(benchmark::kMillisecond)
          ->UseRealTime();
    }
  }
  for (const int64_t records : {int64_t{10'000}, kGoalRecords, kLargestRecords}) {
    benchmark::RegisterBenchmark("BM_StationIndexBuild", BM_StationIndexBuild)
        ->Arg(records)
        ->ArgName("records")
        ->Iterations(IterationsFor(records))
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
  }
}

// The goals against the mean of all runs of this process.
void PrintSummary() {
  std::fprintf(stderr, "\nCompute pass goals (mean +- stddev over the runs of this process):\n");
  for (int mode = 0; mode <= 2; ++mode) {
    const auto& medium = PassSeconds()[{kGoalRecords, mode}];
    const auto& large = PassSeconds()[{kLargestRecords, mode}];
    if (medium.empty()) continue;
    const double m = Mean(medium) * 1000, sm = StandardDeviation(medium) * 1000;
    std::fprintf(stderr, "  mode %d: 100k %.1f +- %.1f ms (goal <= 100: %s)", mode, m, sm, m <= 100 ? "met" : "MISSED");
    if (!large.empty()) {
      const double l = Mean(large) * 1000, ratio = l / m;
      std::fprintf(stderr, "; 1M %.1f +- %.1f ms, ratio %.2f (goal <= 12: %s)", l, StandardDeviation(large) * 1000,
                   ratio, ratio <= 12 ? "met" : "MISSED");
    }
    const double bytes = CheckOf(static_cast<size_t>(kGoalRecords), mode).indexBytesPerRecord;
    std::fprintf(stderr, "; index %.1f B/record (goal <= 64: %s)\n", bytes, bytes <= 64 ? "met" : "MISSED");
  }
}

}  // namespace

int main(int argc, char** argv) { return hp::bench::RunWithSummary(argc, argv, Register, PrintSummary); }
