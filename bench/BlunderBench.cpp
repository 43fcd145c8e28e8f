// Speed of the blunder finder on a generated cave of 100 000 records with
// about 1 950 independent loops (closures and connections between known
// stations). Goal: hollowplan-cli blunders takes at most 3 times the wall
// time of hollowplan-cli compute on the same file. Also timed: the finder
// alone on the computed document. Counters: loops, suspicious loops,
// suspects; the ratio goes to stderr at the end.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <system_error>
#include <vector>

#include "CaveSystemGenerator.h"
#include "calc/BlunderFinder.h"
#include "calc/ComputePass.h"
#include "cli/Commands.h"
#include "doc/DocumentFile.h"
#include "doc/Station.h"
#include "platform/Prompter.h"

namespace {

namespace fs = std::filesystem;
using namespace hp;

struct Cave {
  ~Cave() {
    std::error_code ignored;
    if (!document.empty()) fs::remove(document, ignored);
  }
  doc::SurveyStore store;  // computed
  fs::path document;
  size_t loops = 0;
};

Cave& TheCave() {
  static std::unique_ptr<Cave> cave;
  if (!cave) {
    cave = std::make_unique<Cave>();
    bench::CaveSystemShape shape;
    shape.records = 100'000;
    shape.legsPerLoop = 60;
    shape.legsPerConnection = 200;
    bench::GenerateCaveSystem(cave->store, shape);
    cave->document = fs::temp_directory_path() / ("hollowplan-blunders-" + std::to_string(::getpid()) + ".hpn");
    doc::SaveDocument(cave->document, cave->store, 0);
    platform::ScriptedPrompter prompter(platform::Answer::No);
    calc::RunComputeCommand(cave->store, prompter);
    cave->loops = calc::FindBlunders(cave->store, {}).loops.size();
  }
  return *cave;
}

double& Seconds(const std::string& command) {
  static double compute = 0, blunders = 0;
  return command == "compute" ? compute : blunders;
}

void BM_Cli(benchmark::State& state, std::string command) {
  Cave& cave = TheCave();
  const auto start = std::chrono::steady_clock::now();
  for (auto _ : state) {
    std::ostringstream out, err;
    if (cli::RunCommand({command, cave.document.string()}, out, err) != 0 || !err.str().empty()) {
      state.SkipWithError(("hollowplan-cli " + command + " failed: " + err.str()).c_str());
      return;
    }
    benchmark::DoNotOptimize(out.str().size());
    if (command == "blunders") {
      const std::string text = out.str();
      const auto lines = static_cast<size_t>(std::count(text.begin(), text.end(), '\n'));
      if (lines != cave.loops + 3) {
        state.SkipWithError(("blunders printed " + std::to_string(lines) + " lines").c_str());
        return;
      }
    }
  }
  const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
  Seconds(command) = elapsed.count() / static_cast<double>(state.iterations());
  state.counters["loops"] = static_cast<double>(cave.loops);
}

// With `every` > 0, one leg in `every` has its compass misread by 20
// degrees, as in the field books of large caves.
void BM_FindBlunders(benchmark::State& state) {
  Cave& cave = TheCave();
  const size_t every = static_cast<size_t>(state.range(0));
  std::vector<size_t> changed;
  for (size_t i = 1; every > 0 && i < cave.store.records.size(); i += every) {
    doc::SurveyRecord& r = *cave.store.records[i];
    if (r.point[0] == 0 || doc::IsSelfReference(r)) continue;
    r.azimuth += 20;
    changed.push_back(i);
  }
  calc::BlunderReport report;
  for (auto _ : state) {
    report = calc::FindBlunders(cave.store, {});
    benchmark::DoNotOptimize(report.totalChiSquare);
  }
  state.counters["loops"] = static_cast<double>(report.loops.size());
  // The loops' legs are what the finder holds beyond a fixed amount per
  // record: their sum against the record count shows it stays linear.
  double loopLegs = 0;
  for (const auto& loop : report.loops) loopLegs += loop.legCount;
  state.counters["loop_legs/rec"] = loopLegs / static_cast<double>(cave.store.records.size());
  state.counters["suspicious"] = static_cast<double>(report.suspiciousLoops);
  state.counters["suspects"] = static_cast<double>(report.suspects.size());
  size_t corrections = 0;
  for (const auto& suspect : report.suspects) corrections += suspect.correction ? 1 : 0;
  state.counters["corrections"] = static_cast<double>(corrections);
  for (const size_t i : changed) cave.store.records[i]->azimuth -= 20;
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  for (const char* command : {"compute", "blunders"}) {
    benchmark::RegisterBenchmark((std::string("BM_Cli/") + command).c_str(), BM_Cli, std::string(command))
        ->Iterations(5)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
  }
  benchmark::RegisterBenchmark("BM_FindBlunders", BM_FindBlunders)
      ->Arg(0)
      ->Arg(60)
      ->ArgName("blunder_every")
      ->Iterations(3)
      ->Unit(benchmark::kMillisecond)
      ->UseRealTime();
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  const double compute = Seconds("compute"), blunders = Seconds("blunders");
  if (compute > 0 && blunders > 0) {
    std::fprintf(stderr, "\nblunders %.1f ms, compute %.1f ms, ratio %.2f (goal <= 3: %s)\n", blunders * 1000,
                 compute * 1000, blunders / compute, blunders / compute <= 3 ? "met" : "MISSED");
  }
  return 0;
}
