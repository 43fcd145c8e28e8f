// Speed and memory of the network adjustment, on surveys without ring
// numbers:
//  - cave: the generated cave of 100 000 records with about 1 950 loops,
//    end to end through the batch tool: `stations --adjustment network`
//    against `stations --adjustment none` (goal: at most 2 times its wall
//    time);
//  - grid: a grid of 51 x 51 stations, 5 100 legs and 2 500 loops, every
//    station a junction, through the batch tool; with HP_BENCH_CAVERN set and
//    cavern on the path, cavern on the same grid exported as a Survex file,
//    side by side (goal: at least 100 times faster);
//  - memory: the peak resident set the adjustment adds, per record, at 10 000
//    and 100 000 records of the cave (goal: at most 1.3 times, memory linear
//    in the records).
// A summary goes to stderr.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <system_error>
#include <vector>

#include "BenchGoals.h"
#include "CaveSystemGenerator.h"
#include "LoopSurveyGenerator.h"
#include "calc/ComputePass.h"
#include "calc/NetworkAdjustment.h"
#include "cli/Commands.h"
#include "doc/DocumentFile.h"
#include "platform/Prompter.h"

namespace {

namespace fs = std::filesystem;
using namespace hp;

void WithoutRings(doc::SurveyStore& store) {
  for (auto& r : store.records) r->ring = 0;
}

void Cave(doc::SurveyStore& store, size_t records) {
  bench::CaveSystemShape shape;
  shape.records = records;
  shape.legsPerLoop = 60;
  shape.legsPerConnection = 200;
  bench::GenerateCaveSystem(store, shape);
  WithoutRings(store);
}

struct File {
  ~File() {
    std::error_code ignored;
    fs::remove(path, ignored);
  }
  fs::path path;
  size_t loops = 0;
};

fs::path TempPath(const std::string& name) {
  return fs::temp_directory_path() / ("hollowplan-network-" + std::to_string(::getpid()) + "-" + name);
}

File& FileOf(const std::string& name) {
  static std::map<std::string, std::unique_ptr<File>> files;
  auto& file = files[name];
  if (!file) {
    file = std::make_unique<File>();
    doc::SurveyStore store;
    if (name == "cave") {
      Cave(store, 100'000);
    } else {
      store.SetDefaults();
      bench::GenerateLoopGrid(store, 51, 51);
      WithoutRings(store);
    }
    file->path = TempPath(name + ".hpn");
    doc::SaveDocument(file->path, store);
    file->loops = calc::NetworkLoops(store, {}).size();
  }
  return *file;
}

void BM_Stations(benchmark::State& state, const std::string& survey, const std::string& adjustment) {
  File& file = FileOf(survey);
  const auto start = std::chrono::steady_clock::now();
  for (auto _ : state) {
    std::ostringstream out, err;
    if (cli::RunCommand({"stations", file.path.string(), "--adjustment", adjustment}, out, err) != 0 ||
        !err.str().empty()) {
      state.SkipWithError(("stations failed: " + err.str()).c_str());
      return;
    }
    benchmark::DoNotOptimize(out.str().size());
  }
  bench::Record("stations " + adjustment + " " + survey, start, state);
  state.counters["loops"] = static_cast<double>(file.loops);
}

// cavern on the grid, exported by the batch tool with the accuracies of the
// adjustment's defaults.
void BM_CavernGrid(benchmark::State& state) {
  File& file = FileOf("grid");
  const fs::path svx = TempPath("grid.svx"), threeD = TempPath("grid.3d");
  std::ostringstream out, err;
  if (cli::RunCommand({"export", file.path.string(), svx.string()}, out, err) != 0) {
    state.SkipWithError("export failed");
    return;
  }
  std::string text = "*sd tape 0.05 metres\n*sd compass 1 degrees\n*sd clino 1 degrees\n";
  {
    std::ifstream in(svx, std::ios::binary);
    text += std::string(std::istreambuf_iterator<char>(in), {});
  }
  std::ofstream(svx, std::ios::binary) << text;
  const std::string command = "cavern -q -o '" + threeD.string() + "' '" + svx.string() + "' >/dev/null 2>&1";
  const auto start = std::chrono::steady_clock::now();
  for (auto _ : state) {
    if (std::system(command.c_str()) != 0) {
      state.SkipWithError("cavern failed");
      break;
    }
  }
  bench::Record("cavern grid", start, state);
  std::error_code ignored;
  fs::remove(svx, ignored);
  fs::remove(threeD, ignored);
}

size_t StatusBytes(const std::string& field) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind(field + ":", 0) == 0) return std::stoul(line.substr(field.size() + 1)) * 1024;
  }
  return 0;
}

std::map<int64_t, double>& PeakBytesPerRecord() {
  static std::map<int64_t, double> bytes;
  return bytes;
}

// The adjustment alone, after a compute pass; the first run's peak resident
// set growth (free heap pages given back and the kernel's mark reset before
// it) per record.
void BM_Adjust(benchmark::State& state) {
  const int64_t records = state.range(0);
  static std::map<int64_t, std::unique_ptr<doc::SurveyStore>> stores;
  auto& store = stores[records];
  if (!store) {
    store = std::make_unique<doc::SurveyStore>();
    Cave(*store, static_cast<size_t>(records));
    platform::ScriptedPrompter prompter(platform::Answer::No);
    calc::RunComputeCommand(*store, prompter);
  }
  malloc_trim(0);
  std::ofstream clear("/proc/self/clear_refs");
  clear << "5";
  clear.flush();
  const size_t before = StatusBytes("VmRSS");
  calc::NetworkAdjustment result = calc::AdjustNetwork(*store, {});
  const size_t after = StatusBytes("VmHWM");
  if (clear && after > before) {
    PeakBytesPerRecord()[records] = static_cast<double>(after - before) / static_cast<double>(records);
  }
  const auto start = std::chrono::steady_clock::now();
  for (auto _ : state) {
    result = {};
    result = calc::AdjustNetwork(*store, {});
    if (!result.solved) {
      state.SkipWithError(result.message.c_str());
      return;
    }
  }
  bench::Record("adjust cave " + std::to_string(records / 1000) + "k", start, state);
  state.counters["junctions"] = static_cast<double>(result.junctions);
  state.counters["peak_rss_B/rec"] = PeakBytesPerRecord()[records];
}

void Register() {
  for (const char* survey : {"cave", "grid"}) {
    for (const char* adjustment : {"none", "network"}) {
      benchmark::RegisterBenchmark((std::string("BM_Stations/") + survey + "/" + adjustment).c_str(), BM_Stations,
                                   std::string(survey), std::string(adjustment))
          ->Iterations(3)
          ->Unit(benchmark::kMillisecond)
          ->UseRealTime();
    }
  }
  benchmark::RegisterBenchmark("BM_Adjust", BM_Adjust)
      ->Arg(10'000)
      ->Arg(100'000)
      ->ArgName("records")
      ->Iterations(3)
      ->Unit(benchmark::kMillisecond)
      ->UseRealTime();
  if (std::getenv("HP_BENCH_CAVERN") != nullptr) {
    benchmark::RegisterBenchmark("BM_CavernGrid", BM_CavernGrid)
        ->Iterations(1)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
  }
}

double MedianOf(const std::string& name) {
  const auto& runs = bench::RunMillis();
  const auto found = runs.find(name);
  return found == runs.end() ? 0 : bench::Median(found->second);
}

void PrintSummary() {
  std::fprintf(stderr, "\nNetwork adjustment (median wall time of the runs of this process):\n");
  const double none = MedianOf("stations none cave"), network = MedianOf("stations network cave");
  if (none > 0 && network > 0) {
    std::fprintf(stderr, "  stations cave 100k: %.0f ms, with the network adjustment %.0f ms: %.2f x (goal <= 2: %s)\n",
                 none, network, network / none, network <= 2 * none ? "met" : "MISSED");
  }
  const double grid = MedianOf("stations network grid"), cavern = MedianOf("cavern grid");
  if (grid > 0) std::fprintf(stderr, "  stations --adjustment network grid 51x51: %.0f ms\n", grid);
  if (grid > 0 && cavern > 0) {
    std::fprintf(stderr, "  cavern on the same grid: %.0f ms: %.0f x faster (goal >= 100: %s)\n", cavern, cavern / grid,
                 cavern >= 100 * grid ? "met" : "MISSED");
  }
  const auto& bytes = PeakBytesPerRecord();
  const auto small = bytes.find(10'000), large = bytes.find(100'000);
  if (small != bytes.end() && large != bytes.end() && small->second > 0) {
    const double growth = large->second / small->second;
    std::fprintf(stderr, "  peak memory %6.0f B/record at 10k, %6.0f at 100k: %.2f (goal <= 1.3: %s)\n", small->second,
                 large->second, growth, growth <= 1.3 ? "met" : "MISSED");
  }
}

}  // namespace

int main(int argc, char** argv) { return hp::bench::RunWithSummary(argc, argv, Register, PrintSummary); }
