// Speed of the view's mouse work over a generated survey of 100 000 records.
// Goals: picking the station under a click (a hit and a miss) at most 5 ms,
// without drawing; one wheel zoom step, that is the zoom change and the
// redraw of the plan (the projection stays, the zoom only scales the
// drawing) into a 1920 x 1080 picture, at most 250 ms.
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
#include <vector>

#include "BenchGoals.h"
#include "CountingSurface.h"
#include "SurveyGenerator.h"
#include "doc/SurveyStore.h"
#include "draw/PlaneDrawing.h"
#include "draw/ViewTransform.h"
#include "draw/interaction/ViewInteraction.h"
#include "gfx/GuiApplication.h"
#include "gfx/QPainterSurface.h"
#include "platform/SettingsStore.h"

namespace {

namespace draw = hp::draw;
using hp::bench::Record;

constexpr size_t kRecords = 100'000;

struct Scene {
  hp::doc::SurveyStore store;
  draw::ViewTransform view;
  hp::platform::MemorySettingsStore settings;
  draw::DeviceMapping mapping;
  draw::DevicePoint hit{}, miss{};
  std::string error;
};

draw::PlaneDrawingResult DrawInto(Scene& s, QImage& picture) {
  picture.fill(Qt::white);
  QPainter painter(&picture);
  hp::gfx::QPainterSurface surface(painter, hp::bench::ScreenCaps());
  draw::PlaneDrawingOptions options;
  options.window = {1920, 1080};
  return draw::DrawPlane(surface, s.store, *s.store.currentWorksheet, s.view, s.settings, options);
}

// The generated survey drawn once in plan, so the projection slots and the
// device mapping are those of a window showing it.
Scene& TheScene() {
  static std::unique_ptr<Scene> scene;
  if (scene) return *scene;
  scene = std::make_unique<Scene>();
  Scene& s = *scene;
  hp::bench::SurveyShape shape;
  shape.records = kRecords;
  hp::bench::GenerateSurvey(s.store, shape);
  hp::gfx::EnsureGuiApplication();
  QImage picture(1920, 1080, QImage::Format_RGB32);
  s.view.setProjectionDirty(true);
  const draw::PlaneDrawingResult drawn = DrawInto(s, picture);
  if (!drawn.drawn) {
    s.error = "the plan drew nothing";
    return s;
  }
  s.mapping = {drawn.scale, drawn.ox, drawn.oy};
  size_t station = kRecords / 2;
  while (station + 1 < s.store.records.size() && s.store.records[station]->point[0] == '\0') ++station;
  const draw::Vec3& to = s.view.slot(station).to;
  s.hit = draw::ToDevice(to.x, to.y, s.mapping.scale, s.mapping.ox, s.mapping.oy);
  s.miss = {-1000, -1000};
  return s;
}

void BM_PickStation(benchmark::State& state) {
  Scene& s = TheScene();
  if (!s.error.empty()) {
    state.SkipWithError(s.error.c_str());
    return;
  }
  const bool hit = state.range(0) != 0;
  int found = -1;
  const auto start = std::chrono::steady_clock::now();
  for (auto _ : state) {
    found = draw::PickStation(s.store, s.view.slots(), s.mapping, hit ? s.hit : s.miss);
    benchmark::DoNotOptimize(found);
  }
  Record(hit ? "pick hit" : "pick miss", start, state);
  if (hit == (found < 0)) state.SkipWithError("the pick found the wrong thing");
}

void BM_WheelZoomStep(benchmark::State& state) {
  Scene& s = TheScene();
  if (!s.error.empty()) {
    state.SkipWithError(s.error.c_str());
    return;
  }
  hp::doc::Worksheet& ws = *s.store.currentWorksheet;
  QImage picture(1920, 1080, QImage::Format_RGB32);
  bool towards = true;
  draw::PlaneDrawingResult drawn;
  const auto start = std::chrono::steady_clock::now();
  for (auto _ : state) {
    ws.setZoomPercent(draw::WheelZoom(ws.zoomPercent(), towards));
    towards = !towards;
    drawn = DrawInto(s, picture);
    benchmark::DoNotOptimize(drawn.scale);
  }
  Record("wheel zoom step", start, state);
  if (!drawn.drawn) state.SkipWithError("the plan drew nothing");
}

void PrintSummary() {
  const hp::bench::Goal goals[] = {{"pick hit", 5}, {"pick miss", 5}, {"wheel zoom step", 250}};
  hp::bench::PrintGoals("View goals, 100 000 records", goals);
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  for (const int64_t hit : {1, 0}) {
    benchmark::RegisterBenchmark("BM_PickStation", BM_PickStation)
        ->Arg(hit)
        ->ArgName("hit")
        ->Iterations(50)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
  }
  benchmark::RegisterBenchmark("BM_WheelZoomStep", BM_WheelZoomStep)
      ->Iterations(6)
      ->Unit(benchmark::kMillisecond)
      ->UseRealTime();
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  PrintSummary();
  return 0;
}
