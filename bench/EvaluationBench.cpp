// Speed of the data evaluation on 100 000 computed legs of three shapes: a
// star of legs from one station with their ends on a circle (every end point
// lies on the hull, the worst case for the horizontal extent), one straight
// line of legs, and legs scattered at random over a square kilometre.
// Goal: each shape in under 100 ms.
#include <benchmark/benchmark.h>

#include <cmath>
#include <map>
#include <memory>
#include <random>
#include <string>

#include "base/FixedText.h"
#include "calc/DataEvaluation.h"
#include "doc/SurveyStore.h"

namespace {

using hp::doc::SurveyRecord;
using hp::doc::SurveyStore;

enum Shape { kStar, kLine, kRandom };

void AddLeg(SurveyStore& store, int n, double refX, double refY, double x, double y) {
  auto r = std::make_unique<SurveyRecord>();
  hp::base::SetText(r->refPoint, n == 0 ? "0" : "S");
  hp::base::SetText(r->point, std::to_string(n));
  r->cave = r->refCave = r->passage = r->refPassage = 1;
  r->refX = refX, r->refY = refY, r->x = x, r->y = y;
  r->z = -0.01 * n;
  r->length = std::hypot(x - refX, y - refY);
  r->pathLength = r->length;
  r->colour = 1;
  store.records.push_back(std::move(r));
}

SurveyStore& SurveyOf(Shape shape, int legs) {
  static std::map<std::pair<Shape, int>, std::unique_ptr<SurveyStore>> surveys;
  auto& slot = surveys[{shape, legs}];
  if (slot) return *slot;
  slot = std::make_unique<SurveyStore>();
  slot->SetDefaults();
  slot->records.clear();
  std::mt19937_64 random(42);
  std::uniform_real_distribution<double> metres(0, 1000);
  for (int i = 0; i < legs; ++i) {
    switch (shape) {
      case kStar: {
        const double angle = 6.283185307179586 * i / legs;
        AddLeg(*slot, i, 0, 0, 50 * std::cos(angle), 50 * std::sin(angle));
        break;
      }
      case kLine: AddLeg(*slot, i, 2.0 * i, 0.5 * i, 2.0 * (i + 1), 0.5 * (i + 1)); break;
      case kRandom: AddLeg(*slot, i, metres(random), metres(random), metres(random), metres(random)); break;
    }
  }
  return *slot;
}

void BM_Evaluation(benchmark::State& state) {
  SurveyStore& store = SurveyOf(static_cast<Shape>(state.range(0)), static_cast<int>(state.range(1)));
  for (auto _ : state) {
    const hp::calc::SurveyEvaluation e = hp::calc::EvaluateSurvey(store, *store.currentWorksheet, 0, 0);
    benchmark::DoNotOptimize(e.all.horizontalExtent);
  }
  state.SetLabel(state.range(0) == kStar ? "star" : state.range(0) == kLine ? "line" : "random");
}

}  // namespace

BENCHMARK(BM_Evaluation)->ArgsProduct({{kStar, kLine, kRandom}, {10'000, 100'000}})->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
