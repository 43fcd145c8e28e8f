// The north arrow of the plan and the parallel projection.
#include <gtest/gtest.h>

#include <memory>

#include "draw/DrawingTestSupport.h"
#include "draw/PlanFrame.h"
#include "platform/SettingsStore.h"

namespace hp::draw {
namespace {

TEST(PlanFrameTest, ArrowUnitFromSizeOrExtent) {
  const struct {
    int size;
    Vec3 max;  // the extent starts at the origin
    double unit;
  } cases[] = {{0, {120, 30, 0}, 1.0},   {0, {30, 240, 9}, 2.0},         {0, {5, 3, 0}, 1.0 / 12},
               {0, {0, 0, 0}, 1.0 / 12}, {10, {500, 500, 0}, 10.0 / 12}, {100, {1, 1, 0}, 100.0 / 12}};
  for (const auto& c : cases) EXPECT_DOUBLE_EQ(NorthArrowUnit(c.size, {{}, c.max}), c.unit) << c.size;
}

TEST(PlanFrameTest, ArrowStrokesLieOnTheirMultiples) {
  const std::vector<FrameLine> lines = NorthArrowLines({10, 20, 3}, 2);
  ASSERT_EQ(lines.size(), 8u);
  EXPECT_EQ(lines[0], (FrameLine{{-2, 20, 3}, {22, 20, 3}}));  // east-west, -6u to 6u
  EXPECT_EQ(lines[1], (FrameLine{{10, 8, 3}, {10, 30, 3}}));   // south-north, -6u to 5u
  const struct {
    size_t line;
    double x1, y1, x2, y2;
  } letterN[] = {{5, 8.76, 35.48, 8.76, 39.48}, {6, 8.76, 39.48, 11.24, 35.48}, {7, 11.24, 35.48, 11.24, 39.48}};
  for (const auto& c : letterN) {
    const FrameLine& l = lines[c.line];
    EXPECT_NEAR(l.from.x, c.x1, 1e-9) << c.line;
    EXPECT_NEAR(l.from.y, c.y1, 1e-9) << c.line;
    EXPECT_NEAR(l.to.x, c.x2, 1e-9) << c.line;
    EXPECT_NEAR(l.to.y, c.y2, 1e-9) << c.line;
  }
  for (const FrameLine& l : lines) EXPECT_TRUE(l.from.z == 3 && l.to.z == 3);
}

class PlanFrameViewTest : public ::testing::Test {
 protected:
  PlanFrameViewTest() {
    doc::InitWorksheet(worksheet);
    test::AddRecords(store, "- A @ 100 200 50 100 200 50");
    worksheet.setOriginCave(1), worksheet.setOriginPassage(1), worksheet.setOriginPoint("A");
    worksheet.setNorthArrowSize(12);  // unit 1
  }
  std::vector<FrameLine> Frame(DisplayType type, double azimuth, double inclination) {
    worksheet.setDisplayType(type);
    worksheet.setViewAzimuth(azimuth), worksheet.setViewInclination(inclination);
    view.PrepareProjection(store, worksheet, settings);
    return PreparePlanFrame(view, worksheet, {});
  }
  doc::SurveyStore store;
  doc::Worksheet worksheet;
  platform::MemorySettingsStore settings;
  ViewTransform view;
};

TEST_F(PlanFrameViewTest, ArrowAtTheOriginStationInThePlanAndTheParallelViewFromAbove) {
  const std::vector<FrameLine> plan = Frame(DisplayType::Plan, 0, 0);
  ASSERT_EQ(plan.size(), 8u);
  EXPECT_EQ(plan[0], (FrameLine{{-6, 0, 0}, {6, 0, 0}}));
  EXPECT_EQ(plan[1], (FrameLine{{0, -6, 0}, {0, 5, 0}}));
  const std::vector<FrameLine> parallel = Frame(DisplayType::Parallel, 0, -90);
  ASSERT_EQ(parallel.size(), plan.size());
  for (size_t i = 0; i < plan.size(); ++i) {
    test::ExpectNear(parallel[i].from, {plan[i].from.x, plan[i].from.y, parallel[i].from.z});
    test::ExpectNear(parallel[i].to, {plan[i].to.x, plan[i].to.y, parallel[i].to.z});
  }
  for (DisplayType type : {DisplayType::Section, DisplayType::Elevation, DisplayType::Perspective})
    EXPECT_TRUE(Frame(type, 30, -20).empty()) << static_cast<int>(type);
  worksheet.setNorthArrow(0);
  EXPECT_TRUE(Frame(DisplayType::Plan, 0, 0).empty());
}

}  // namespace
}  // namespace hp::draw
