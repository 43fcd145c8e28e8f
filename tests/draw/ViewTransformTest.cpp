// Extents, view normalisation, origin station and the projection of records
// in each display type.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>

#include "doc/SurveyStore.h"
#include "draw/DrawingTestSupport.h"
#include "draw/ViewTransform.h"

namespace hp::draw {
namespace {

using test::ExpectNear;

class ViewTransformTest : public ::testing::Test {
 protected:
  ViewTransformTest() { doc::InitWorksheet(worksheet); }

  doc::SurveyRecord& Add(std::string_view text) { return test::AddRecords(store, text); }
  // Sets the view and origin, then prepares the projection.
  void Project(DisplayType type, double azimuth, double inclination, std::string_view origin = "", Vec3 at = {}) {
    worksheet.setDisplayType(type);
    worksheet.setViewAzimuth(azimuth);
    worksheet.setViewInclination(inclination);
    worksheet.setOriginCave(1);
    worksheet.setOriginPassage(1);
    worksheet.setOriginPoint(origin);
    worksheet.setOriginX(at.x), worksheet.setOriginY(at.y), worksheet.setOriginZ(at.z);
    view.PrepareProjection(store, worksheet, settings);
  }

  doc::SurveyStore store;
  doc::Worksheet worksheet;
  platform::MemorySettingsStore settings;
  ViewTransform view;
};

TEST_F(ViewTransformTest, FlatExtentsAreWidenedByAMetre) {
  const struct {
    const char* leg;
    Extent expected;
  } cases[] = {
      {"- 1 @ 0 0 0 0 0 -5", {{-1, -1, -5}, {1, 1, 0}}},
      {"- 1 @ 0 0 0 10 0 0", {{-1, -1, -1}, {11, 1, 1}}},
      {"- 1 @ 0 0 0 3 4 5", {{0, 0, 0}, {3, 4, 5}}},
  };
  for (const auto& c : cases) {
    store.records.clear();
    Add(c.leg);
    ASSERT_TRUE(view.ComputeExtents(store, worksheet));
    ExpectNear(view.extent().min, c.expected.min);
    ExpectNear(view.extent().max, c.expected.max);
  }
}

TEST_F(ViewTransformTest, AdaptedOverviewLeavesColourZeroOut) {
  Add("- 1 @ 0 0 0 10 10 10");
  Add("- 2 @ 0 0 0 500 500 500 colour=0");
  worksheet.setAdaptOverview(1);
  EXPECT_TRUE(view.ComputeExtents(store, worksheet));
  EXPECT_EQ(view.extent().max.x, 10);
  store.records.front()->colour = 0;
  EXPECT_FALSE(view.ComputeExtents(store, worksheet));
}

TEST_F(ViewTransformTest, ViewDirectionIsClampedAndWrappedAndKeptOnlyWhenAsked) {
  const struct {
    double azimuth, inclination, expectedAzimuth, expectedInclination;
  } cases[] = {{-10, 95, 350, 90}, {720, -100, 0, -90}, {359.5, 0, 359.5, 0}, {-725, 10, 355, 10}};
  for (const auto& c : cases) {
    Project(DisplayType::Parallel, c.azimuth, c.inclination);
    EXPECT_DOUBLE_EQ(view.pose().azimuth, c.expectedAzimuth) << c.azimuth;
    EXPECT_DOUBLE_EQ(view.pose().inclination, c.expectedInclination) << c.inclination;
    EXPECT_DOUBLE_EQ(worksheet.viewAzimuth(), c.azimuth);
    KeepViewPose(worksheet, view);
    EXPECT_DOUBLE_EQ(worksheet.viewAzimuth(), c.expectedAzimuth) << c.azimuth;
    EXPECT_DOUBLE_EQ(worksheet.viewInclination(), c.expectedInclination) << c.inclination;
  }
}

TEST_F(ViewTransformTest, PlanDrawsTheOriginStationWhereTheOriginSays) {
  Add("- 1 @ 100 200 50 100 200 50");
  Add("- 2 @ 100 200 50 110 200 40").pathLength = 14.1;
  Project(DisplayType::Plan, 0, -90, "1", {100, 200, 50});  // at its own coordinates: true coordinates
  ExpectNear(view.slot(1).to, {110, 200, 40});
  Project(DisplayType::Plan, 0, -90, "2");  // the origin station moved to the page's zero
  ExpectNear(view.slot(1).from, {-10, 0, 10});
  ExpectNear(view.slot(1).to, {0, 0, 0});
  EXPECT_DOUBLE_EQ(view.heightOffset(), 40);
  EXPECT_DOUBLE_EQ(view.referencePath(), 14.1);
  Project(DisplayType::Plan, 0, -90, "9");  // unknown station: nothing is moved
  EXPECT_FALSE(view.referenceFound());
  ExpectNear(view.slot(1).to, {110, 200, 40});
}

TEST_F(ViewTransformTest, ParallelFromAboveIsTheTurnedPlanAndTheElevationIgnoresTheInclination) {
  Add("- 1 @ 0 0 0 0 0 0");
  Add("- 2 @ 0 0 0 10 0 -3");  // east
  Add("- 3 @ 0 0 0 0 10 2");   // north
  Project(DisplayType::Plan, 0, 0);
  const Vec3 planEast = view.slot(1).to, planNorth = view.slot(2).to;
  Project(DisplayType::Parallel, 0, -90);
  for (const auto& [n, plan] : {std::pair{1, planEast}, std::pair{2, planNorth}}) {
    EXPECT_NEAR(view.slot(n).to.x, plan.x, 1e-6);
    EXPECT_NEAR(view.slot(n).to.y, plan.y, 1e-6);
  }
  Project(DisplayType::Parallel, 90, -90);  // looking east: east is up, north to the left
  EXPECT_NEAR(view.slot(1).to.y, 10, 1e-6);
  EXPECT_NEAR(view.slot(2).to.x, -10, 1e-6);
  Project(DisplayType::Elevation, 0, -90);  // the elevation ignores the inclination
  ExpectNear(view.slot(2).to, {0, 2, 10});
}

TEST_F(ViewTransformTest, SectionUsesTheDevelopedCoordinates) {
  doc::SurveyRecord& r = Add("- 1 @ 0 0 0 0 0 0");
  r.developed = {{12, -2, 0}, {20, -5, 0}};
  Project(DisplayType::Section, 0, 0, "1", {3, 4, 10});  // horizontal distance 5
  ExpectNear(view.slot(0).to, {5, 10, 0});
  ExpectNear(view.slot(0).from, {-3, 13, 0});
  EXPECT_DOUBLE_EQ(view.heightOffset(), -15);
}

TEST_F(ViewTransformTest, PerspectiveWeightComesFromTheSetting) {
  view.setExtent({{-10, -10, -10}, {10, 10, 10}});
  const double d = std::sqrt(1200.0);
  Add("- 1 @ 0 0 0 1 0 0").y = d;  // straight ahead at depth D
  Project(DisplayType::Perspective, 0, 0);
  ExpectNear(view.slot(0).to, {0.5, 0, d});
  settings.SetInt("Settings", "Perspektive", 200);
  Project(DisplayType::Perspective, 0, 0);
  ExpectNear(view.slot(0).to, {1.0 / 3, 0, d});
}

TEST_F(ViewTransformTest, RedGreenEyesTurnHalfTheStereoAngleEachWay) {
  view.setExtent({{-10, -10, -10}, {10, 10, 10}});
  settings.SetInt("Settings", "Perspektive", 0);
  settings.SetInt("Settings", "Alpha", 4);
  Add("- 1 @ 0 0 0 0 10 0");
  Project(DisplayType::RedGreen, 0, 0);
  EXPECT_NEAR(view.slot(0).to.x, -10 * std::sin(2 * kProjectionDegree), 1e-9);
  EXPECT_NEAR(view.extras(0).rightTo.x, 10 * std::sin(2 * kProjectionDegree), 1e-9);
}

TEST_F(ViewTransformTest, CameraViewRecentresOnceAndCutsLegsBehindTheEye) {
  view.setExtent({{0, 0, 0}, {20, 20, 20}});  // D = 34.64, centre (10, 10, 10)
  Add("- 1 @ 10 10 10 10 10 10");
  Add("- 2 @ 10 10 10 10 -100 10");  // runs out behind the camera
  worksheet.setDisplayType(DisplayType::Animation);
  worksheet.setViewDistance(0);
  view.PrepareProjection(store, worksheet, settings, 2.0);
  EXPECT_EQ(view.pose().centre.x, 10);
  KeepViewPose(worksheet, view);
  ExpectNear(view.slot(0).to, {0, 0, 1000});  // depth 500, scaled by zoom 100 % and factor 2
  EXPECT_GT(view.slot(1).to.z, -1000);        // cut, not hidden
  EXPECT_LT(view.slot(1).to.z, -999);
  view.setExtent({{100, 100, 100}, {120, 120, 120}});
  view.PrepareProjection(store, worksheet, settings);
  EXPECT_EQ(view.pose().centre.x, 10) << "only the first build after a type change recentres";
}

TEST_F(ViewTransformTest, CameraLeftOnAnotherSurveyCentresOnTheNewOne) {
  const struct {
    const char* name;
    DisplayType type;
    Vec3 centre;
    double distance;
    bool centres;
  } cases[] = {
      {"survey beside the camera", DisplayType::Animation, {3000, 1005, 0}, 20, true},
      {"camera on the survey", DisplayType::Animation, {1005, 1005, -2.5}, 20, false},
      {"survey behind the eye", DisplayType::Animation, {1005, 1005, -2.5}, -100, true},
      {"plan fits the survey itself", DisplayType::Plan, {0, 0, 0}, 20, false},
  };
  Add("- 1 @ 1000 1000 0 1010 1000 0");
  Add("- 2 @ 1010 1000 0 1010 1010 -5");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    view.setRecentre(false);
    worksheet.setDisplayType(c.type);
    worksheet.setViewCentreX(c.centre.x), worksheet.setViewCentreY(c.centre.y), worksheet.setViewCentreZ(c.centre.z);
    worksheet.setViewDistance(c.distance);
    ASSERT_TRUE(view.ComputeExtents(store, worksheet));
    view.PrepareProjection(store, worksheet, settings);
    view.setProjectionDirty(false);
    EXPECT_EQ(CentreCameraOnSurvey(view, store, worksheet, 800, 600), c.centres);
    EXPECT_EQ(view.projectionDirty(), c.centres);
    if (!c.centres) continue;
    view.PrepareProjection(store, worksheet, settings);
    ExpectNear(view.pose().centre, {1005, 1005, -2.5});
    EXPECT_EQ(worksheet.viewDistance(), 0);
    EXPECT_TRUE(CameraShowsSurvey(view, store, 800, 600));
  }
}

}  // namespace
}  // namespace hp::draw
