// Speed of the drawing code over a generated cave of 100 000 records, computed
// once before any timing. Goals: rebuilding the projection (plan and parallel
// projection) at most 30 ms; the leg filter with a rule pattern over all
// records at most 20 ms; drawing the plan with station labels (numbering
// kind 1) on a 1920 x 1080 surface at 96 dpi at most 250 ms; one picture of
// the perspective projection and of the camera view (as each picture of a
// flight draws it: the view turned, the projection rebuilt) at most 250 ms.
//
// The plan is drawn twice over: on a counting surface that only counts the
// primitives it is given (the drawing code without rasterisation; text
// extents use the recording surface's fixed metric), and into a real
// 1920 x 1080 picture through the Qt painter, fonts and all. The same plan of
// a cave of 1 000 000 records into that picture: at most 250 ms whole, at
// most 200 ms zoomed in to 400 %.
//
// Run with --benchmark_repetitions=5 for the medians; a summary of the goals
// (median of the runs of this process) goes to stderr at the end.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "BenchGoals.h"
#include "CaveSystemGenerator.h"
#include "CountingSurface.h"
#include "calc/ComputePass.h"
#include "doc/LegFilter.h"
#include "doc/SurveyStore.h"
#include "doc/Worksheet.h"
#include "draw/DisplayType.h"
#include "draw/PlaneDrawing.h"
#include "draw/SpatialDrawing.h"
#include "draw/Surface.h"
#include "draw/ViewTransform.h"
#include "draw/animation/Animation.h"
#include "gfx/GuiApplication.h"
#include "gfx/QPainterSurface.h"
#include "platform/Prompter.h"
#include "platform/SettingsStore.h"

namespace {

using hp::doc::SurveyStore;
using hp::doc::Worksheet;
namespace draw = hp::draw;
using hp::bench::CountingSurface;
using hp::bench::Record;
using hp::bench::ScreenCaps;

constexpr size_t kRecords = 100'000;
constexpr size_t kMillion = 1'000'000;
// Every generated record is on level 1, so the rules test the cave and
// passage, the loop and the survey year: the pattern picks part of the cave.
constexpr std::string_view kLineRulePattern = "H1+G2-40,R1-9000,J1990-1999";
constexpr std::string_view kLabelRulePattern = "E1+J2000-,G7";
constexpr int kRuleCriterion = 5;

struct Survey {
  SurveyStore store;
  std::string error;  // empty when the compute pass ran as it should
};

// The generated cave of `records` records, computed once, shared by all
// benchmarks of the run.
Survey& TheSurvey(size_t records = kRecords) {
  static std::map<size_t, std::unique_ptr<Survey>> surveys;
  std::unique_ptr<Survey>& survey = surveys[records];
  if (!survey) {
    survey = std::make_unique<Survey>();
    hp::bench::CaveSystemShape shape;
    shape.records = records;
    hp::bench::GenerateCaveSystem(survey->store, shape);
    hp::platform::ScriptedPrompter prompter(hp::platform::Answer::No);
    hp::calc::RunComputeCommand(survey->store, prompter);
    if (!prompter.Entries().empty()) survey->error = "the compute pass asked: " + prompter.Entries().front().text;
    if (survey->store.settings.computedCurrent != 1) survey->error = "the survey is not computed";
    if (survey->store.currentWorksheet == nullptr) survey->error = "no current worksheet";
  }
  return *survey;
}

// The worksheet every benchmark draws: the document's current one, set up as
// the benchmark needs it.
Worksheet& PrepareWorksheet(Survey& survey, draw::DisplayType type) {
  Worksheet& ws = *survey.store.currentWorksheet;
  ws.setDisplayType(type);
  ws.setStationNumbering(1);
  ws.setFilterCriterion(0);
  ws.setLineFilterPattern("");
  ws.setLabelFilterPattern("");
  return ws;
}

// Rebuilding the projection after a change of view: PrepareProjection with
// the projection marked dirty, as the next drawing does it.
void BM_PrepareProjection(benchmark::State& state) {
  Survey& survey = TheSurvey();
  if (!survey.error.empty()) {
    state.SkipWithError(survey.error.c_str());
    return;
  }
  const auto type = static_cast<draw::DisplayType>(state.range(0));
  Worksheet& ws = PrepareWorksheet(survey, type);
  hp::platform::MemorySettingsStore settings;
  draw::ViewTransform view;
  view.ComputeExtents(survey.store, ws);

  const auto start = std::chrono::steady_clock::now();
  for (auto _ : state) {
    view.setProjectionDirty(true);
    view.PrepareProjection(survey.store, ws, settings);
    view.setProjectionDirty(false);
    benchmark::DoNotOptimize(view.slots().back().to.x);
  }
  Record(type == draw::DisplayType::Plan ? "projection plan" : "projection parallel", start, state);
  if (view.slots().size() != survey.store.records.size()) state.SkipWithError("not every record has its slots");
  state.counters["records/s"] =
      benchmark::Counter(static_cast<double>(kRecords), benchmark::Counter::kIsIterationInvariantRate);
}

// The leg filter with rule patterns in the line and the label pattern over
// all records, started with Init as every pass does.
void BM_LegFilterRule(benchmark::State& state) {
  Survey& survey = TheSurvey();
  if (!survey.error.empty()) {
    state.SkipWithError(survey.error.c_str());
    return;
  }
  Worksheet& ws = PrepareWorksheet(survey, draw::DisplayType::Plan);
  ws.setFilterCriterion(kRuleCriterion);
  ws.setLineFilterPattern(kLineRulePattern);
  ws.setLabelFilterPattern(kLabelRulePattern);
  hp::doc::LegFilter filter;
  size_t lines = 0, labels = 0;

  const auto start = std::chrono::steady_clock::now();
  for (auto _ : state) {
    filter.Init();
    lines = labels = 0;
    for (const auto& r : survey.store.records) {
      const hp::doc::LegVisibility visible = filter.Test(*r, ws);
      lines += visible.line;
      labels += visible.label;
    }
    benchmark::DoNotOptimize(lines);
    benchmark::DoNotOptimize(labels);
  }
  Record("leg filter rule", start, state);
  PrepareWorksheet(survey, draw::DisplayType::Plan);
  if (lines == 0 || lines == survey.store.records.size()) {
    static std::string message;
    message = "the rule pattern picks " + std::to_string(lines) + " of " + std::to_string(survey.store.records.size());
    state.SkipWithError(message.c_str());
  }
  state.counters["visible_lines"] = static_cast<double>(lines);
  state.counters["visible_labels"] = static_cast<double>(labels);
  state.counters["records/s"] =
      benchmark::Counter(static_cast<double>(kRecords), benchmark::Counter::kIsIterationInvariantRate);
}

// Drawing the plan with station labels (numbering kind 1). Argument
// "rebuild" 0: the projection is already built (the drawing alone), 1: it is
// rebuilt by each drawing, as after a change of view. Argument "image" 0: on
// the counting surface; 1: into a real 1920 x 1080 picture through the Qt
// painter, cleared before each drawing as the window's off-screen picture is.
void BM_DrawPlan(benchmark::State& state) {
  Survey& survey = TheSurvey();
  if (!survey.error.empty()) {
    state.SkipWithError(survey.error.c_str());
    return;
  }
  const bool rebuild = state.range(0) != 0;
  const bool image = state.range(1) != 0;
  Worksheet& ws = PrepareWorksheet(survey, draw::DisplayType::Plan);
  hp::platform::MemorySettingsStore settings;
  draw::ViewTransform view;
  CountingSurface counter(ScreenCaps());
  draw::PlaneDrawingOptions options;
  options.window = {1920, 1080};
  // The projection for the drawings that do not rebuild it.
  view.setProjectionDirty(true);
  draw::PlaneDrawingResult result = draw::DrawPlane(counter, survey.store, ws, view, settings, options);

  hp::gfx::EnsureGuiApplication();
  QImage picture(1920, 1080, QImage::Format_RGB32);
  const auto drawOnce = [&] {
    if (rebuild) view.setProjectionDirty(true);
    if (!image) {
      counter.Reset();
      result = draw::DrawPlane(counter, survey.store, ws, view, settings, options);
      return;
    }
    picture.fill(Qt::white);
    QPainter painter(&picture);
    hp::gfx::QPainterSurface surface(painter, ScreenCaps());
    result = draw::DrawPlane(surface, survey.store, ws, view, settings, options);
  };
  const auto start = std::chrono::steady_clock::now();
  for (auto _ : state) {
    drawOnce();
    benchmark::DoNotOptimize(result.scale);
  }
  Record(std::string(image ? "draw plan image" : "draw plan") + (rebuild ? " with projection" : ""), start, state);
  if (!result.drawn) state.SkipWithError("the plan drew nothing");
  if (counter.texts == 0) state.SkipWithError("the plan drew no labels");
  if (image && picture.pixel(960, 540) == picture.pixel(0, 0) && picture.pixel(100, 100) == picture.pixel(0, 0)) {
    // Not proof of a drawing, but an untouched picture would be a broken benchmark.
    bool inked = false;
    for (int y = 0; y < picture.height() && !inked; y += 7)
      for (int x = 0; x < picture.width() && !inked; x += 3) inked = picture.pixel(x, y) != qRgb(255, 255, 255);
    if (!inked) state.SkipWithError("the picture stayed empty");
  }
  state.counters["lines"] = static_cast<double>(counter.lines);
  state.counters["texts"] = static_cast<double>(counter.texts);
  state.counters["records/s"] =
      benchmark::Counter(static_cast<double>(kRecords), benchmark::Counter::kIsIterationInvariantRate);
}

// The plan of a generated cave of 1 000 000 records with station labels
// drawn into a real 1920 x 1080 picture, the projection already built, as a
// window redraws it: the whole plan (zoom 100 %) or a part of it (400 %).
void BM_DrawPlanMillion(benchmark::State& state) {
  Survey& survey = TheSurvey(kMillion);
  if (!survey.error.empty()) {
    state.SkipWithError(survey.error.c_str());
    return;
  }
  const int zoom = static_cast<int>(state.range(0));
  Worksheet& ws = PrepareWorksheet(survey, draw::DisplayType::Plan);
  const int zoomBefore = ws.zoomPercent();
  ws.setZoomPercent(zoom);
  hp::platform::MemorySettingsStore settings;
  draw::ViewTransform view;
  draw::PlaneDrawingOptions options;
  options.window = {1920, 1080};
  hp::gfx::EnsureGuiApplication();
  QImage picture(1920, 1080, QImage::Format_RGB32);
  // The projection, built once as the window does before its redraws.
  CountingSurface counter(ScreenCaps());
  view.setProjectionDirty(true);
  draw::PlaneDrawingResult result = draw::DrawPlane(counter, survey.store, ws, view, settings, options);
  const auto start = std::chrono::steady_clock::now();
  for (auto _ : state) {
    picture.fill(Qt::white);
    QPainter painter(&picture);
    hp::gfx::QPainterSurface surface(painter, ScreenCaps());
    result = draw::DrawPlane(surface, survey.store, ws, view, settings, options);
    benchmark::DoNotOptimize(result.scale);
  }
  Record(zoom == 100 ? "draw plan image 1M" : "draw plan image 1M zoomed", start, state);
  ws.setZoomPercent(zoomBefore);
  if (!result.drawn) state.SkipWithError("the plan drew nothing");
  state.counters["records/s"] =
      benchmark::Counter(static_cast<double>(kMillion), benchmark::Counter::kIsIterationInvariantRate);
}

// One picture of a spatial drawing with the projection rebuilt, as after
// every change of view: type 3 (perspective) or 5 (camera view, the view
// turned by a degree before each picture as a flight or spin does). Argument
// "image" as for the plan.
void BM_DrawSpatial(benchmark::State& state) {
  Survey& survey = TheSurvey();
  if (!survey.error.empty()) {
    state.SkipWithError(survey.error.c_str());
    return;
  }
  const auto type = static_cast<draw::DisplayType>(state.range(0));
  const bool image = state.range(1) != 0;
  Worksheet& ws = PrepareWorksheet(survey, type);
  ws.setViewAzimuth(30);
  ws.setViewInclination(-25);
  ws.setViewDistance(0);
  hp::platform::MemorySettingsStore settings;
  draw::ViewTransform view;
  CountingSurface counter(ScreenCaps());
  draw::SpatialDrawingOptions options;
  options.window = {1920, 1080};
  options.screen = {1920, 1080};
  hp::gfx::EnsureGuiApplication();
  QImage picture(1920, 1080, QImage::Format_RGB32);
  draw::SpatialDrawingResult result;
  const auto start = std::chrono::steady_clock::now();
  for (auto _ : state) {
    if (type == draw::DisplayType::Animation) draw::SpinView(ws, 1);
    view.setProjectionDirty(true);
    if (!image) {
      counter.Reset();
      result = draw::DrawSpatial(counter, survey.store, ws, view, settings, options);
    } else {
      picture.fill(Qt::white);
      QPainter painter(&picture);
      hp::gfx::QPainterSurface surface(painter, ScreenCaps());
      result = draw::DrawSpatial(surface, survey.store, ws, view, settings, options);
    }
    benchmark::DoNotOptimize(result.scale);
  }
  const bool camera = type == draw::DisplayType::Animation;
  Record(std::string(camera ? "draw camera view" : "draw perspective") + (image ? " image" : ""), start, state);
  if (!result.drawn) state.SkipWithError("the spatial drawing drew nothing");
  if (!image && counter.lines < survey.store.records.size() / 10) state.SkipWithError("hardly any leg was drawn");
  state.counters["lines"] = static_cast<double>(counter.lines);
  state.counters["records/s"] =
      benchmark::Counter(static_cast<double>(kRecords), benchmark::Counter::kIsIterationInvariantRate);
}

void Register() {
  for (const auto type : {draw::DisplayType::Plan, draw::DisplayType::Parallel}) {
    benchmark::RegisterBenchmark("BM_PrepareProjection", BM_PrepareProjection)
        ->Arg(static_cast<int64_t>(type))
        ->ArgName("type")
        ->Iterations(20)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
  }
  benchmark::RegisterBenchmark("BM_LegFilterRule", BM_LegFilterRule)
      ->Iterations(20)
      ->Unit(benchmark::kMillisecond)
      ->UseRealTime();
  for (const auto& [rebuild, image] : {std::pair<int64_t, int64_t>{0, 0}, {1, 0}, {0, 1}, {1, 1}}) {
    benchmark::RegisterBenchmark("BM_DrawPlan", BM_DrawPlan)
        ->Args({rebuild, image})
        ->ArgNames({"rebuild", "image"})
        ->Iterations(5)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
  }
  for (const int64_t zoom : {100, 400}) {
    benchmark::RegisterBenchmark("BM_DrawPlanMillion", BM_DrawPlanMillion)
        ->Arg(zoom)
        ->ArgName("zoom")
        ->Iterations(5)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
  }
  for (const auto type : {draw::DisplayType::Perspective, draw::DisplayType::Animation}) {
    for (const int64_t image : {0, 1}) {
      benchmark::RegisterBenchmark("BM_DrawSpatial", BM_DrawSpatial)
          ->Args({static_cast<int64_t>(type), image})
          ->ArgNames({"type", "image"})
          ->Iterations(5)
          ->Unit(benchmark::kMillisecond)
          ->UseRealTime();
    }
  }
}

void PrintSummary() {
  const hp::bench::Goal goals[] = {{"projection plan", 30},
                                   {"projection parallel", 30},
                                   {"leg filter rule", 20},
                                   {"draw plan", 250},
                                   {"draw plan with projection", 250},
                                   {"draw plan image", 250},
                                   {"draw plan image with projection", 250},
                                   {"draw plan image 1M", 250},
                                   {"draw plan image 1M zoomed", 200},
                                   {"draw perspective", 250},
                                   {"draw perspective image", 250},
                                   {"draw camera view", 250},
                                   {"draw camera view image", 250}};
  hp::bench::PrintGoals("Drawing goals, 100 000 records (1M: 1 000 000)", goals);
}

}  // namespace

int main(int argc, char** argv) { return hp::bench::RunWithSummary(argc, argv, Register, PrintSummary); }
