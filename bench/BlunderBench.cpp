// Speed and memory of the blunder finder against the compute pass over the
// same survey, on three shapes:
//  - cave: the generated cave of 100 000 records with about 1 950 loops,
//    end to end through the batch tool (compute against blunders);
//  - ladder: two traverses from one fixed station tied to each other at
//    every station, as a resurvey is, so most loops run back to the start
//    and share most of their legs;
//  - unit: a generated cave with a loop about every 25 legs whose compass
//    is set to the wrong unit, so nearly every loop is suspicious and the
//    finder corrects one reading after another.
// Goals: the finder takes at most 3 times the compute pass on each shape
// and size (processor time of repeated runs, timed as the compute pass is;
// the first run's is a counter), and its peak memory per record at 100 000
// legs is at most 1.3 times that at 10 000 (memory linear in the records;
// arrays of 2 MiB and more are rounded up to whole huge pages, which the
// larger survey pays and the smaller does not). The peak is the growth of
// the process's peak resident set over the first run (free heap pages given
// back and the kernel's mark reset before it), so blocks on huge pages count
// as well. A summary goes to stderr.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "BenchGoals.h"
#include "BenchRandom.h"
#include "CaveSystemGenerator.h"
#include "base/FixedText.h"
#include "calc/BlunderFinder.h"
#include "calc/ComputePass.h"
#include "cli/Commands.h"
#include "doc/DocumentFile.h"
#include "doc/Station.h"
#include "platform/Prompter.h"

namespace {

namespace fs = std::filesystem;
using namespace hp;

enum Shape : int64_t { kLadder = 0, kUnit = 1 };
const char* const kShapeNames[] = {"ladder", "unit"};

doc::SurveyRecord& NewRecord(doc::SurveyStore& store, const std::string& from, const std::string& to) {
  auto record = std::make_unique<doc::SurveyRecord>();
  doc::InitRecord(*record);
  doc::SurveyRecord& r = *record;
  store.records.push_back(std::move(record));
  r.cave = r.refCave = r.passage = r.refPassage = 1;
  r.instrument = 1;
  base::SetText(r.refPoint, from);
  base::SetText(r.point, to);
  return r;
}

// A fixed station "A0", the traverse A1, A2, ... from it, a second traverse
// B1, B2, ... from it along the same marks, then a zero-length tie from
// every A station to its B station: `records` records in all. Readings carry
// noise of about the expected accuracy.
void GenerateLadder(doc::SurveyStore& store, size_t records) {
  store.SetDefaults();
  store.records.clear();
  bench::Random random(0x4C61646465ULL);
  const size_t stations = std::max<size_t>(2, (records - 1) / 3);
  struct Shot {
    double length, azimuth, inclination;
  };
  std::vector<Shot> shots(stations);
  for (Shot& s : shots) s = {random.Uniform(3, 12), random.Uniform(0, 360), random.Uniform(-30, 30)};
  NewRecord(store, "A0", "A0");
  for (const char rail : {'A', 'B'}) {
    for (size_t i = 1; i <= stations; ++i) {
      const std::string from = i == 1 ? "A0" : rail + std::to_string(i - 1);
      doc::SurveyRecord& r = NewRecord(store, from, rail + std::to_string(i));
      const Shot& s = shots[i - 1];
      r.length = s.length + random.Uniform(-0.03, 0.03);
      r.azimuth = std::fmod(s.azimuth + random.Uniform(-0.5, 0.5) + 360, 360);
      r.inclination = s.inclination + random.Uniform(-0.5, 0.5);
    }
  }
  for (size_t i = 1; i <= stations; ++i) NewRecord(store, "A" + std::to_string(i), "B" + std::to_string(i));
  store.settings.recordCount = static_cast<uint32_t>(store.records.size());
}

struct Survey {
  doc::SurveyStore store;  // computed
};

Survey& SurveyOf(int64_t shape, int64_t records) {
  static std::map<std::pair<int64_t, int64_t>, std::unique_ptr<Survey>> surveys;
  auto& slot = surveys[{shape, records}];
  if (!slot) {
    slot = std::make_unique<Survey>();
    if (shape == kLadder) {
      GenerateLadder(slot->store, static_cast<size_t>(records));
    } else {
      bench::CaveSystemShape cave;
      cave.records = static_cast<size_t>(records);
      cave.legsPerLoop = 25;
      cave.legsPerConnection = 200;
      bench::GenerateCaveSystem(slot->store, cave);
      slot->store.settings.instruments[0].azimuthUnit = 1;  // gon, read as degrees in the field
    }
    platform::ScriptedPrompter prompter(platform::Answer::No);
    calc::RunComputeCommand(slot->store, prompter);
  }
  return *slot;
}

std::string RunName(const char* what, int64_t shape, int64_t records) {
  return std::string(what) + " " + kShapeNames[shape] + " " + std::to_string(records / 1000) + "k";
}

// Processor time of this thread in milliseconds: the machine is shared, and
// wall time would compare the two runs under different loads.
double CpuMillis() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) * 1e-6;
}

void RecordCpu(const std::string& name, double startMillis, const benchmark::State& state) {
  bench::RunMillis()[name].push_back((CpuMillis() - startMillis) / static_cast<double>(state.iterations()));
}

// A field of /proc/self/status ("VmRSS", "VmHWM") in bytes, 0 if unknown.
size_t StatusBytes(const std::string& field) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind(field + ":", 0) == 0) return std::stoul(line.substr(field.size() + 1)) * 1024;
  }
  return 0;
}

// Gives the heap's free pages back to the kernel and sets the peak resident
// set back to the present one, so the peak that follows counts only memory
// in use.
bool ResetPeak() {
  malloc_trim(0);
  std::ofstream clear("/proc/self/clear_refs");
  clear << "5";
  clear.flush();
  return static_cast<bool>(clear);
}

std::map<std::string, double>& PeakBytesPerRecord() {
  static std::map<std::string, double> bytes;
  return bytes;
}

void BM_Compute(benchmark::State& state) {
  const int64_t shape = state.range(0), records = state.range(1);
  Survey& survey = SurveyOf(shape, records);
  platform::ScriptedPrompter prompter(platform::Answer::No);
  const double start = CpuMillis();
  for (auto _ : state) {
    const calc::ComputeOutcome outcome = calc::RunComputeCommand(survey.store, prompter);
    benchmark::DoNotOptimize(outcome.aborted);
  }
  RecordCpu(RunName("compute", shape, records), start, state);
}

void BM_FindBlunders(benchmark::State& state) {
  const int64_t shape = state.range(0), records = state.range(1);
  Survey& survey = SurveyOf(shape, records);
  // One untimed run for the peak memory, from a heap without free pages.
  calc::BlunderReport report;
  size_t peak = 0;
  const bool reset = ResetPeak();
  const size_t before = StatusBytes("VmRSS");
  const double cold = CpuMillis();
  report = calc::FindBlunders(survey.store, {});
  state.counters["first_run_ms"] = CpuMillis() - cold;
  const size_t after = StatusBytes("VmHWM");
  if (reset && after > before) peak = after - before;
  double millis = 0;
  for (auto _ : state) {
    report = {};
    const double start = CpuMillis();
    report = calc::FindBlunders(survey.store, {});
    millis += CpuMillis() - start;
    benchmark::DoNotOptimize(report.totalChiSquare);
  }
  bench::RunMillis()[RunName("blunders", shape, records)].push_back(millis / static_cast<double>(state.iterations()));
  const double perRecord = static_cast<double>(peak) / static_cast<double>(survey.store.records.size());
  PeakBytesPerRecord()[RunName("blunders", shape, records)] = perRecord;
  state.counters["loops"] = static_cast<double>(report.loops.size());
  state.counters["suspicious"] = static_cast<double>(report.suspiciousLoops);
  state.counters["suspects"] = static_cast<double>(report.suspects.size());
  size_t corrections = 0;
  for (const auto& suspect : report.suspects) corrections += suspect.correction ? 1 : 0;
  state.counters["corrections"] = static_cast<double>(corrections);
  state.counters["peak_rss_B/rec"] = perRecord;
}

// ---- the batch tool on the generated cave ---------------------------------

struct CaveFile {
  ~CaveFile() {
    std::error_code ignored;
    if (!document.empty()) fs::remove(document, ignored);
  }
  fs::path document;
  size_t loops = 0;
};

CaveFile& TheCaveFile() {
  static std::unique_ptr<CaveFile> cave;
  if (!cave) {
    cave = std::make_unique<CaveFile>();
    doc::SurveyStore store;
    bench::CaveSystemShape shape;
    shape.records = 100'000;
    shape.legsPerLoop = 60;
    shape.legsPerConnection = 200;
    bench::GenerateCaveSystem(store, shape);
    cave->document = fs::temp_directory_path() / ("hollowplan-blunders-" + std::to_string(::getpid()) + ".hpn");
    doc::SaveDocument(cave->document, store);
    platform::ScriptedPrompter prompter(platform::Answer::No);
    calc::RunComputeCommand(store, prompter);
    cave->loops = calc::FindBlunders(store, {}).loops.size();
  }
  return *cave;
}

void BM_Cli(benchmark::State& state, const std::string& command) {
  CaveFile& cave = TheCaveFile();
  const double start = CpuMillis();
  for (auto _ : state) {
    std::ostringstream out, err;
    if (cli::RunCommand({command, cave.document.string()}, out, err) != 0 || !err.str().empty()) {
      state.SkipWithError(("hollowplan-cli " + command + " failed: " + err.str()).c_str());
      return;
    }
    if (command == "blunders") {
      const std::string text = out.str();
      const auto lines = static_cast<size_t>(std::count(text.begin(), text.end(), '\n'));
      if (lines != cave.loops + 3) {
        state.SkipWithError(("blunders printed " + std::to_string(lines) + " lines").c_str());
        return;
      }
    }
  }
  RecordCpu("cli " + command + " cave 100k", start, state);
  state.counters["loops"] = static_cast<double>(cave.loops);
}

const int64_t kSizes[][2] = {
    {kLadder, 10'000}, {kLadder, 48'000}, {kLadder, 100'000}, {kUnit, 10'000}, {kUnit, 100'000}};

void Register() {
  for (const char* command : {"compute", "blunders"}) {
    benchmark::RegisterBenchmark((std::string("BM_Cli/") + command).c_str(), BM_Cli, std::string(command))
        ->Iterations(3)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
  }
  for (const auto& size : kSizes) {
    for (const auto run : {BM_Compute, BM_FindBlunders}) {
      benchmark::RegisterBenchmark(run == BM_Compute ? "BM_Compute" : "BM_FindBlunders", run)
          ->Args({size[0], size[1]})
          ->ArgNames({"shape", "records"})
          ->Iterations(3)
          ->Unit(benchmark::kMillisecond)
          ->UseRealTime();
    }
  }
}

void PrintRatio(const std::string& label, const std::string& finder, const std::string& compute) {
  const auto& runs = bench::RunMillis();
  const auto f = runs.find(finder), c = runs.find(compute);
  if (f == runs.end() || c == runs.end()) return;
  const double ratio = bench::Median(f->second) / bench::Median(c->second);
  std::fprintf(stderr, "  %-32s %8.2f x compute (goal <= 3: %s)\n", label.c_str(), ratio,
               ratio <= 3 ? "met" : "MISSED");
}

void PrintSummary() {
  std::fprintf(stderr,
               "\nBlunder finder against the compute pass (median processor time of the runs of this process):\n");
  PrintRatio("cli blunders cave 100k", "cli blunders cave 100k", "cli compute cave 100k");
  for (const auto& size : kSizes) {
    PrintRatio(RunName("blunders", size[0], size[1]), RunName("blunders", size[0], size[1]),
               RunName("compute", size[0], size[1]));
  }
  const auto& bytes = PeakBytesPerRecord();
  for (const int64_t shape : {kLadder, kUnit}) {
    const auto small = bytes.find(RunName("blunders", shape, 10'000));
    const auto large = bytes.find(RunName("blunders", shape, 100'000));
    if (small == bytes.end() || large == bytes.end()) continue;
    const double growth = large->second / small->second;
    std::fprintf(stderr, "  peak memory %-20s %6.0f B/record at 10k, %6.0f at 100k: %.2f (goal <= 1.3: %s)\n",
                 kShapeNames[shape], small->second, large->second, growth, growth <= 1.3 ? "met" : "MISSED");
  }
}

}  // namespace

int main(int argc, char** argv) { return hp::bench::RunWithSummary(argc, argv, Register, PrintSummary); }
