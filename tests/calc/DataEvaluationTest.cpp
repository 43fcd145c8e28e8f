// The data evaluation of all and of the visible legs, on coordinates as a
// compute pass left them.
#include <gtest/gtest.h>

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

TEST(DataEvaluation, HeadReferenceAlone) {
  auto store = EmptySurvey();
  AddReference(*store, "0", 10, 20, 350);
  const EvaluationResult r = Evaluate(*store).all;
  EXPECT_EQ(r.legCount, 0);
  EXPECT_EQ(r.totalLength + r.horizontalLength + r.horizontalExtent + r.totalDepth, 0);
  EXPECT_EQ(r.highest + r.lowest, 700);
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

TEST(DataEvaluation, NegativeDepthAndHeightsAndVisiblePathFromTheReference) {
  auto store = EmptySurvey();
  AddReference(*store, "0", 0, 0, 100);
  Placed(*store, "0", "1", 85.5, {0, 0, 100}, {0, 0, 14.5}, 60);
  const SurveyEvaluation e = Evaluate(*store, 90, 10);
  EXPECT_DOUBLE_EQ(e.all.highest, 10);
  EXPECT_DOUBLE_EQ(e.all.lowest, -75.5);
  EXPECT_DOUBLE_EQ(e.all.totalDepth, -85.5);
  EXPECT_DOUBLE_EQ(e.visible.longestPath, 50);
  EXPECT_DOUBLE_EQ(e.all.longestPath, 60);
}

}  // namespace
}  // namespace hp::calc
