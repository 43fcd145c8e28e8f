// The data evaluation of all and of the visible legs, on coordinates as a
// compute pass left them.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>

#include "base/FixedText.h"
#include "calc/CalcTestSupport.h"
#include "calc/DataEvaluation.h"

namespace hp::calc {
namespace {

using namespace test;

doc::SurveyRecord& Placed(doc::SurveyStore& store, const char* from, const char* to, double length,
                          std::array<double, 3> a, std::array<double, 3> b, double path = 0) {
  doc::SurveyRecord& r = AddLeg(store, from, to, length);
  r.refX = a[0], r.refY = a[1], r.refZ = a[2];
  r.x = b[0], r.y = b[1], r.z = b[2];
  r.pathLength = path;
  return r;
}

SurveyEvaluation Evaluate(doc::SurveyStore& store, double heightOffset = 0, double referencePath = 0) {
  return EvaluateSurvey(store, *store.currentWorksheet, heightOffset, referencePath);
}

TEST(DataEvaluation, SumsComputedLegsAndLetsOtherRecordsExtendHeights) {
  auto store = EmptySurvey();
  AddReference(*store, "0");
  Placed(*store, "0", "1", 10, {0, 0, 0}, {3, 4, -12}, 13);  // corrected: 13 m, not the entered 10
  Placed(*store, "1", "2", 0, {3, 4, -12}, {3, 4, 20}, 45);  // auxiliary point
  Placed(*store, "0", "1", 0, {0, 0, 0}, {3, 4, -12});       // connection
  Placed(*store, "2", "2", 5, {3, 4, -30}, {3, 4, -30});     // self reference with a length
  Placed(*store, "2", "", 8, {3, 4, 0}, {3, 4, -1000}, 99);  // auxiliary line: takes no part
  const EvaluationResult all = Evaluate(*store).all;
  EXPECT_EQ(all.legCount, 1);
  EXPECT_DOUBLE_EQ(all.totalLength, 13);
  EXPECT_DOUBLE_EQ(all.horizontalLength, 5);
  EXPECT_DOUBLE_EQ(all.highest, 20);
  EXPECT_DOUBLE_EQ(all.lowest, -30);
  EXPECT_DOUBLE_EQ(all.totalDepth, -50);
  EXPECT_DOUBLE_EQ(all.longestPath, 45);
}

TEST(DataEvaluation, HiddenLegsMissOnlyFromTheVisibleSet) {
  auto store = EmptySurvey();
  AddReference(*store, "0");
  Placed(*store, "0", "1", 5, {0, 0, 0}, {5, 0, 0}).colour = 0;
  Placed(*store, "1", "2", 5, {5, 0, 0}, {10, 0, 0}).level = 2;
  store->currentWorksheet->setFilterCriterion(0);
  store->currentWorksheet->setLineFilterPattern("1");
  const SurveyEvaluation e = Evaluate(*store);
  EXPECT_EQ(e.all.legCount, 2);
  EXPECT_DOUBLE_EQ(e.all.horizontalExtent, 10);
  EXPECT_EQ(e.visible.legCount, 0);
}

TEST(DataEvaluation, ExtentOfTwoStationsAndItsMarkers) {
  auto store = EmptySurvey();
  AddReference(*store, "0");
  Placed(*store, "0", "1", 100, {0, 0, 0}, {60, 80, 0});
  doc::SurveyRecord& inner = Placed(*store, "a", "b", 1, {30, 39, 0}, {30, 41, 0});
  inner.work.extentMarks[0] = inner.work.extentMarks[1] = 1;  // left over from an earlier evaluation
  EXPECT_DOUBLE_EQ(Evaluate(*store).all.horizontalExtent, 100);
  for (size_t n : {1, 2}) EXPECT_EQ(Rec(*store, n).work.extentMarks[0] + Rec(*store, n).work.extentMarks[1], 2) << n;
  EXPECT_EQ(inner.work.extentMarks[0] + inner.work.extentMarks[1], 0);
}

TEST(DataEvaluation, HeadReferenceAloneThenNegativeDepthAndVisiblePathFromTheReference) {
  auto store = EmptySurvey();
  AddReference(*store, "0", 0, 0, 100);
  const EvaluationResult alone = Evaluate(*store).all;
  EXPECT_EQ(alone.legCount, 0);
  EXPECT_EQ(alone.totalLength + alone.horizontalLength + alone.horizontalExtent + alone.totalDepth, 0);
  EXPECT_EQ(alone.highest + alone.lowest, 200);
  Placed(*store, "0", "1", 85.5, {0, 0, 100}, {0, 0, 14.5}, 60);
  const SurveyEvaluation e = Evaluate(*store, 90, 10);
  EXPECT_DOUBLE_EQ(e.all.highest, 10);
  EXPECT_DOUBLE_EQ(e.all.lowest, -75.5);
  EXPECT_DOUBLE_EQ(e.all.totalDepth, -85.5);
  EXPECT_DOUBLE_EQ(e.visible.longestPath, 50);
  EXPECT_DOUBLE_EQ(e.all.longestPath, 60);
}

// The extent compared with comparing every pair of marked records, on shapes
// where the candidates are many: a star on a circle (every end point on the
// hull), a straight line, a random cloud, grids with auxiliary lines in
// between, and all points in one place.
double ExtentByAllPairs(const doc::SurveyStore& store, int mark, bool needPoint) {
  double extent = 0;
  const auto& records = store.records;
  for (size_t i = 0; i < records.size(); ++i) {
    const doc::SurveyRecord& a = *records[i];
    if (!a.work.extentMarks[mark] || (needPoint && base::TextOf(a.point).empty())) continue;
    for (size_t j = i + 1; j < records.size(); ++j) {
      const doc::SurveyRecord& b = *records[j];
      if (!b.work.extentMarks[mark]) continue;
      for (auto [ax, ay] : {std::pair{a.refX, a.refY}, std::pair{a.x, a.y}})
        for (auto [bx, by] : {std::pair{b.refX, b.refY}, std::pair{b.x, b.y}})
          extent = std::max(extent, std::hypot(ax - bx, ay - by));
    }
  }
  return extent;
}

struct ShapeRecord {
  std::array<double, 4> leg;  // refX, refY, x, y
  bool auxiliary;             // an auxiliary line: no point name
};

const char* const kShapes[] = {
    "star on a circle",      "line",         "random cloud", "grid with auxiliary lines", "long auxiliary lines first",
    "diameters of a circle", "one long leg", "one place"};

ShapeRecord Shape(int shape, int i, std::mt19937& random) {
  using Leg = std::array<double, 4>;
  std::uniform_real_distribution<double> wide(-500, 500), narrow(-20, 20);
  const double a = i * 0.0105, b = i * 0.00524;
  switch (shape) {
    case 0: return {{0, 0, 50 * std::cos(a), 50 * std::sin(a)}, false};
    case 1: return {{i - 1.0, 0, i * 1.0, 0}, false};
    case 2: return {{wide(random), wide(random), wide(random), wide(random)}, false};
    case 3: return {{i % 7 * 10.0, i / 7 * 10.0, i % 5 * 3.0, i / 5 * 3.0}, i % 4 == 0};
    // Long auxiliary lines early in the list reach farther than any leg: they
    // count only against records after them that have a point.
    case 4: return {i < 40 ? Leg{-1000.0 - i, 0, 1000.0 + i, 0} : Leg{i * 1.0, 5, i * 1.0, -5}, i < 40};
    // Each record spans the circle; other records' points are never as far
    // apart as a record's own two.
    case 5: return {{50 * std::cos(b), 50 * std::sin(b), -50 * std::cos(b), -50 * std::sin(b)}, false};
    case 6:
      if (i == 300) return {{-1000, 3, 1000, -3}, false};
      return {{narrow(random), narrow(random), narrow(random), narrow(random)}, false};
    default: return {{3, 4, 3, 4}, false};
  }
}

TEST(DataEvaluation, ExtentEqualsTheLargestDistanceOverAllPairs) {
  for (int shape = 0; shape < 8; ++shape) {
    SCOPED_TRACE(kShapes[shape]);
    std::mt19937 random(7);
    auto store = EmptySurvey();
    AddReference(*store, "0");
    for (int i = 1; i < 600; ++i) {
      const auto [leg, auxiliary] = Shape(shape, i, random);
      const std::string point = auxiliary ? "" : std::to_string(i);
      Placed(*store, "0", point.c_str(), 1, {leg[0], leg[1], 0}, {leg[2], leg[3], 0}).colour = i % 3 == 0 ? 0 : 1;
    }
    const SurveyEvaluation e = Evaluate(*store);
    EXPECT_DOUBLE_EQ(e.all.horizontalExtent, ExtentByAllPairs(*store, 0, true));
    EXPECT_DOUBLE_EQ(e.visible.horizontalExtent, ExtentByAllPairs(*store, 1, false));
  }
}

}  // namespace
}  // namespace hp::calc
