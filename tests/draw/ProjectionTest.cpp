// Step matrices by known points, segment cut at the eye, device rounding,
// step snapping, and the fonts and primitives a surface receives.
#include <gtest/gtest.h>

#include <cmath>

#include "doc/DocumentSettings.h"
#include "draw/DrawingTestSupport.h"
#include "draw/Projection.h"
#include "draw/RecordingSurface.h"

namespace hp::draw {
namespace {

using test::ExpectNear;

TEST(Projection, StepMatricesMoveKnownPoints) {
  const struct {
    const char* name;
    Matrix4 m;
    Vec3 in, out;
  } cases[] = {
      {"translate", TranslateMatrix(1, -2, 3), {1, 1, 1}, {2, -1, 4}},
      {"swap", SwapMatrix(), {1, 2, 3}, {1, 3, 2}},
      {"azimuth 90", TurnAzimuthMatrix(90), {1, 0, 0}, {0, 0, 1}},
      {"inclination 90", TurnInclinationMatrix(90), {0, 0, 1}, {0, -1, 0}},
      {"weight divides x and y, not depth", WeightMatrix(0.5), {2, 4, 2}, {1, 2, 2}},
      {"first in the chain acts first", Chain({TranslateMatrix(1, 0, 0), ScaleMatrix(2)}), {0, 0, 0}, {2, 0, 0}},
      {"behind the eye", WeightMatrix(-1), {5, 5, 1}, {0, 0, 0}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ExpectNear(ProjectPoint(c.m, c.in), c.out);
  }
}

TEST(Projection, SegmentPassingBehindTheEyeIsCutJustInFront) {
  // w = 1 + z: the eye plane is z = -1.
  const Segment both = ProjectSegment(WeightMatrix(1), {2, 2, -2}, {3, 3, -1});
  EXPECT_EQ(both.to, (Vec3{0, 0, kHiddenDepth}));
  for (const bool hiddenFirst : {false, true}) {
    const Vec3 visible{2, 2, 1}, hidden{2, 2, -3};
    const Segment s = hiddenFirst ? ProjectSegment(WeightMatrix(1), hidden, visible)
                                  : ProjectSegment(WeightMatrix(1), visible, hidden);
    const Vec3& cut = hiddenFirst ? s.from : s.to;
    ExpectNear(hiddenFirst ? s.to : s.from, {1, 1, 1});
    EXPECT_GT(cut.z, -1.0) << hiddenFirst;
    EXPECT_LT(cut.z, -1.0 + 0.001) << hiddenFirst;
    EXPECT_GT(cut.x, 2.0 / 0.001) << "divided by its own tiny weight, not dropped";
  }
}

TEST(Projection, ToDeviceRoundsByAddingAHalfAndCuttingTowardZero) {
  const struct {
    double x, y, k;
    int ox, oy;
    DevicePoint expected;
  } cases[] = {{1.2, 1.2, 1, 0, 0, {1, -1}},
               {1.5, 1.5, 1, 0, 0, {2, -2}},
               {-1.2, -1.2, 1, 0, 0, {0, 0}},
               {-1.6, -1.6, 1, 0, 0, {-1, 1}},
               {10, 10, 2, 5, -100, {15, 80}}};
  for (const auto& c : cases) EXPECT_EQ(ToDevice(c.x, c.y, c.k, c.ox, c.oy), c.expected) << c.x << " " << c.k;
  EXPECT_GT(ToDevice(1e6, -1e6, 1e12, 0, 0).x, 100000000) << "a zoom far beyond any device stays defined";
}

TEST(Projection, NiceStepSnapsToOneTwoFive) {
  const std::pair<double, double> cases[] = {{7.0, 5},   {7.1, 10}, {1.4, 1},    {1.5, 2}, {14.2, 20},
                                             {300, 500}, {2.8, 2},  {0.05, 0.1}, {0, 1},   {-4, 1}};
  for (const auto& [v, expected] : cases) EXPECT_DOUBLE_EQ(NiceStep(v), expected) << v;
}

TEST(Surface, DocumentFontsKeepTheirSizeOnEveryDevice) {
  EXPECT_EQ(DeviceFontHeight(-13, 300), -41);  // -40.625
  EXPECT_EQ(DeviceFontHeight(-9, 600), -56);   // -56.25
  EXPECT_EQ(MakeFont(doc::DefaultFont(1), 192).height, -32);
}

}  // namespace
}  // namespace hp::draw
