// Step matrices by known points, point and segment projection, device
// rounding, step snapping, and the fonts a surface receives.
#include <gtest/gtest.h>

#include <cmath>

#include "doc/DocumentSettings.h"
#include "draw/Projection.h"
#include "draw/RecordingSurface.h"

namespace hp::draw {
namespace {

void ExpectNear(const Vec3& actual, const Vec3& expected) {
  EXPECT_NEAR(actual.x, expected.x, 1e-6);
  EXPECT_NEAR(actual.y, expected.y, 1e-6);
  EXPECT_NEAR(actual.z, expected.z, 1e-6);
}

TEST(Projection, StepMatricesMoveKnownPoints) {
  const struct {
    const char* name;
    Matrix4 m;
    Vec3 in, out;
  } cases[] = {
      {"translate", TranslateMatrix(1, -2, 3), {1, 1, 1}, {2, -1, 4}},
      {"swap", SwapMatrix(), {1, 2, 3}, {1, 3, 2}},
      {"azimuth 90, right", TurnAzimuthMatrix(90), {1, 0, 0}, {0, 0, 1}},
      {"azimuth 90, ahead", TurnAzimuthMatrix(90), {0, 0, 1}, {-1, 0, 0}},
      {"inclination 90, up", TurnInclinationMatrix(90), {0, 1, 0}, {0, 0, 1}},
      {"inclination 90, ahead", TurnInclinationMatrix(90), {0, 0, 1}, {0, -1, 0}},
      {"scale", ScaleMatrix(2), {1, 2, 3}, {2, 4, 6}},
      {"weight divides x and y, not depth", WeightMatrix(0.5), {2, 4, 2}, {1, 2, 2}},
      {"translate acts before scale", Chain({TranslateMatrix(1, 0, 0), ScaleMatrix(2)}), {0, 0, 0}, {2, 0, 0}},
      {"scale acts before translate", Chain({ScaleMatrix(2), TranslateMatrix(1, 0, 0)}), {0, 0, 0}, {1, 0, 0}},
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
  EXPECT_EQ(both.from, (Vec3{0, 0, kHiddenDepth}));
  EXPECT_EQ(both.to, (Vec3{0, 0, kHiddenDepth}));
  // Either end may be the hidden one.
  for (const bool hiddenFirst : {false, true}) {
    SCOPED_TRACE(hiddenFirst);
    const Vec3 visible{2, 2, 1}, hidden{2, 2, -3};
    const Segment s = hiddenFirst ? ProjectSegment(WeightMatrix(1), hidden, visible)
                                  : ProjectSegment(WeightMatrix(1), visible, hidden);
    const Vec3& cut = hiddenFirst ? s.from : s.to;
    const Vec3& kept = hiddenFirst ? s.to : s.from;
    ExpectNear(kept, {1, 1, 1});
    EXPECT_GT(cut.z, -1.0);
    EXPECT_LT(cut.z, -1.0 + 0.001);
    EXPECT_GT(cut.x, 2.0 / 0.001);  // divided by its own tiny weight, not dropped
    EXPECT_EQ(cut.x, cut.y);
  }
}

TEST(Projection, ToDeviceRoundsByAddingAHalfAndCuttingTowardZero) {
  const struct {
    double x, y, k;
    int ox, oy;
    DevicePoint expected;
  } cases[] = {
      {1.2, 1.2, 1, 0, 0, {1, -1}},     {1.5, 1.5, 1, 0, 0, {2, -2}},
      {-1.2, -1.2, 1, 0, 0, {0, 0}},    // -0.7 cuts to 0
      {-1.6, -1.6, 1, 0, 0, {-1, 1}},   {10, 10, 2, 5, -100, {15, 80}},
      {0.25, -0.25, 4, 0, 0, {1, 0}},   // 1.5 -> 1; -0.5 -> 0
  };
  for (const auto& c : cases) EXPECT_EQ(ToDevice(c.x, c.y, c.k, c.ox, c.oy), c.expected) << c.x << " " << c.k;
  // A zoom far beyond any device stays defined.
  const DevicePoint far = ToDevice(1e6, -1e6, 1e12, 0, 0);
  EXPECT_GT(far.x, 100000000);
  EXPECT_GT(far.y, 100000000);
}

TEST(Projection, NiceStepSnapsToOneTwoFive) {
  const struct {
    double v, expected;
  } cases[] = {{7.0, 5}, {7.1, 10}, {1.4, 1}, {1.5, 2}, {14.2, 20}, {0.5, 1}, {300, 500},
               {2.8, 2},  {0.05, 0.1}, {0, 1}, {-4, 1}};
  for (const auto& c : cases) EXPECT_DOUBLE_EQ(NiceStep(c.v), c.expected) << c.v;
}

TEST(Surface, DocumentFontsKeepTheirSizeOnEveryDevice) {
  EXPECT_EQ(DeviceFontHeight(-13, 96), -13);
  EXPECT_EQ(DeviceFontHeight(-13, 300), -41);  // -40.625
  EXPECT_EQ(DeviceFontHeight(-9, 600), -56);   // -56.25
  doc::FontSetting setting = doc::DefaultFont(1);
  setting.escapement = 450;
  const Font font = MakeFont(setting, 192);
  EXPECT_EQ(font.height, -32);
  EXPECT_EQ(font.escapement, 450);
  EXPECT_TRUE(font.italic);
}

TEST(Surface, RecordingSurfaceLogsPrimitivesWithTheirPenAndFont) {
  RecordingSurface surface;
  const Pen dashed{PenStyle::Dashed, 3, RgbColour(255, 0, 0)};
  surface.SetPen(dashed);
  surface.Line({1, 2}, {3, 4});
  surface.LineTo({5, 6});
  Font font;
  font.height = -10;
  surface.SetFont(font);
  surface.SetTextColour(0x0000FF);
  surface.Text({7, 8}, "Höhle", kAlignCentre | kAlignBottom);
  EXPECT_EQ(surface.TextExtent("Höhle"), (Size{30, 10}));  // five characters of 6

  const auto& log = surface.primitives();
  ASSERT_EQ(log.size(), 3u);
  EXPECT_EQ(log[1].from, (Point{3, 4}));  // continues from the last line's end
  EXPECT_EQ(log[1].pen, dashed);
  EXPECT_EQ(log[2].font.height, -10);
  EXPECT_EQ(log[2].textColour, 0x0000FFu);
}

}  // namespace
}  // namespace hp::draw
