// Speed of the loop-quality colouring over the generated cave of 100 000
// records with about 1 950 loops, computed once before any timing.
//
// Goal: drawing the plan in the loop-quality colour mode costs at most 20 %
// more than drawing it in the legs' own colours (mode 0), the loop figures
// being those of the last compute pass (worked out by the first drawing after
// it and kept by the view). Both are drawn on a surface that only counts the
// primitives, so the comparison is the drawing code's own. The working out of
// the loop figures, once per compute pass, is timed apart.
//
// Run with --benchmark_repetitions=5 for the medians; the summary of the
// goal goes to stderr at the end.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>

#include "BenchGoals.h"
#include "CaveSystemGenerator.h"
#include "CountingSurface.h"
#include "calc/ComputePass.h"
#include "calc/LoopQuality.h"
#include "doc/SurveyStore.h"
#include "doc/Worksheet.h"
#include "draw/PlaneDrawing.h"
#include "draw/ViewTransform.h"
#include "platform/Prompter.h"
#include "platform/SettingsStore.h"

namespace {

namespace draw = hp::draw;
using hp::bench::Record;

constexpr size_t kRecords = 100'000;
constexpr double kAllowedOverhead = 1.20;

struct Survey {
  hp::doc::SurveyStore store;
  std::string error;
};

Survey& TheSurvey() {
  static std::unique_ptr<Survey> survey;
  if (!survey) {
    survey = std::make_unique<Survey>();
    hp::bench::CaveSystemShape shape;
    shape.records = kRecords;
    hp::bench::GenerateCaveSystem(survey->store, shape);
    hp::platform::ScriptedPrompter prompter(hp::platform::Answer::No);
    hp::calc::RunComputeCommand(survey->store, prompter);
    if (survey->store.settings.computedCurrent != 1) survey->error = "the survey is not computed";
  }
  return *survey;
}

// The plan without labels, in colour mode 0 or 13, the projection built.
void BM_DrawPlanColours(benchmark::State& state) {
  Survey& survey = TheSurvey();
  if (!survey.error.empty()) {
    state.SkipWithError(survey.error.c_str());
    return;
  }
  const int mode = static_cast<int>(state.range(0));
  hp::doc::Worksheet& ws = *survey.store.currentWorksheet;
  ws.setDisplayType(draw::DisplayType::Plan);
  ws.setStationNumbering(0);
  hp::doc::SetLineColourModeOf(ws, mode);
  hp::platform::MemorySettingsStore settings;
  draw::ViewTransform view;
  hp::bench::CountingSurface surface;
  draw::PlaneDrawingOptions options;
  options.window = {1920, 1080};
  view.setProjectionDirty(true);
  draw::PlaneDrawingResult result = draw::DrawPlane(surface, survey.store, ws, view, settings, options);

  const auto start = std::chrono::steady_clock::now();
  for (auto _ : state) {
    result = draw::DrawPlane(surface, survey.store, ws, view, settings, options);
    benchmark::DoNotOptimize(result.scale);
  }
  Record(mode == 0 ? "plan own colours" : "plan loop quality", start, state);
  if (!result.drawn) state.SkipWithError("the plan drew nothing");
  if (mode != 0) {
    size_t coloured = 0;
    for (const draw::LineColour& c : result.colours) coloured += c.loopClass >= 1 && c.loopClass <= 4;
    state.counters["legs_in_loops"] = static_cast<double>(coloured);
    if (coloured == 0) state.SkipWithError("no leg is in a loop");
  }
  benchmark::DoNotOptimize(surface.colours);
  state.counters["records/s"] =
      benchmark::Counter(static_cast<double>(kRecords), benchmark::Counter::kIsIterationInvariantRate);
}

// Working out the loop figures, as the first drawing after a compute pass does.
void BM_LoopFigures(benchmark::State& state) {
  Survey& survey = TheSurvey();
  if (!survey.error.empty()) {
    state.SkipWithError(survey.error.c_str());
    return;
  }
  size_t loops = 0;
  const auto start = std::chrono::steady_clock::now();
  for (auto _ : state) {
    const hp::calc::LoopQuality quality = hp::calc::ComputeLoopQuality(survey.store, {});
    loops = quality.loops.size();
    benchmark::DoNotOptimize(quality.classes.data());
  }
  Record("loop figures per compute pass", start, state);
  state.counters["loops"] = static_cast<double>(loops);
}

void Register() {
  for (const int64_t mode : {0, 13}) {
    benchmark::RegisterBenchmark("BM_DrawPlanColours", BM_DrawPlanColours)
        ->Arg(mode)
        ->ArgName("mode")
        ->Iterations(10)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
  }
  benchmark::RegisterBenchmark("BM_LoopFigures", BM_LoopFigures)
      ->Iterations(3)
      ->Unit(benchmark::kMillisecond)
      ->UseRealTime();
}

void PrintSummary() {
  auto& runs = hp::bench::RunMillis();
  const double own = hp::bench::Median(runs["plan own colours"]);
  const double loop = hp::bench::Median(runs["plan loop quality"]);
  std::fprintf(stderr, "\nLoop-quality colouring, 100 000 records (median of the runs of this process):\n");
  std::fprintf(stderr, "  plan in own colours          %8.3f ms\n", own);
  std::fprintf(stderr, "  plan in loop quality         %8.3f ms\n", loop);
  if (own > 0) {
    std::fprintf(stderr, "  overhead                     %+7.1f %% (goal <= %+.0f %%: %s)\n", (loop / own - 1) * 100,
                 (kAllowedOverhead - 1) * 100, loop <= own * kAllowedOverhead ? "met" : "MISSED");
  }
  std::fprintf(stderr, "  loop figures per compute pass %7.3f ms\n",
               hp::bench::Median(runs["loop figures per compute pass"]));
}

}  // namespace

int main(int argc, char** argv) { return hp::bench::RunWithSummary(argc, argv, Register, PrintSummary); }
