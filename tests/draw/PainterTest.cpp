// What every drawing shares: the device range that no survey value leaves
// (checked through the worksheet drawing the window and the batch tool use,
// for every drawn display type) and the one rule for a self-referencing
// station.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <memory>

#include "base/FixedText.h"
#include "doc/SurveyStore.h"
#include "draw/Painter.h"
#include "draw/RecordingSurface.h"
#include "draw/WorksheetDrawing.h"
#include "support/Survey.h"

namespace hp::draw {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

TEST(Painter, ClampedIntCutsTowardZeroAndHoldsTheDeviceRange) {
  const std::pair<double, int> cases[] = {{1.7, 1},
                                          {-1.7, -1},
                                          {0.5, 0},
                                          {1e12, kDeviceLimit},
                                          {-1e300, -kDeviceLimit},
                                          {kInf, kDeviceLimit},
                                          {-kInf, -kDeviceLimit},
                                          {kNaN, 0}};
  for (const auto& [v, expected] : cases) EXPECT_EQ(ClampedInt(v), expected) << v;
  EXPECT_EQ(ClampedInt(3e9, std::numeric_limits<int32_t>::max()), std::numeric_limits<int32_t>::max());
}

TEST(Painter, SameStationNeedsANameLikeEveryOtherStationTest) {
  const struct {
    const char* point;
    const char* refPoint;
    int refCave;
    bool same;
  } cases[] = {{"A", "A", 1, true}, {"", "", 1, false}, {"A", "a", 1, false}, {"A", "A", 2, false}};
  for (const auto& c : cases) {
    doc::SurveyRecord r;
    r.cave = r.passage = r.refPassage = 1;
    r.refCave = c.refCave;
    base::SetText(r.point, c.point);
    base::SetText(r.refPoint, c.refPoint);
    EXPECT_EQ(Painter::SameStation(r), c.same) << "'" << c.point << "' '" << c.refPoint << "' " << c.refCave;
  }
}

// A survey with one odd value among ordinary legs, drawn with every part of
// the picture switched on.
struct OddSurvey {
  const char* name;
  double far;    // coordinate of the last station
  double width;  // passage dimensions and wall points of the last station
};

class ExtremeValues : public ::testing::TestWithParam<OddSurvey> {
 protected:
  ExtremeValues() {
    doc::SetDefaultSettings(store.settings);
    auto ws = std::make_unique<doc::Worksheet>();
    doc::InitWorksheet(*ws);
    store.worksheets.push_back(std::move(ws));
    store.currentWorksheet = store.worksheets.back().get();
    doc::Worksheet& w = *store.currentWorksheet;
    w.setOriginPoint("3"), w.setOriginCave(1), w.setOriginPassage(1);  // the odd station is the origin
    w.setStationNumbering(1), w.setStationMark(1), w.setShowCrossSections(1), w.setCrosshair(1);
    w.setMarkCoordinateReferences(1), w.setFileSymbol(1), w.setPassageMarking(1);
    const OddSurvey& odd = GetParam();
    // The odd value both first (it starts the extent) and last.
    Add("1", {odd.far, odd.far, odd.far}, {0, 0, 0}, odd.width);
    Add("2", {0, 0, 0}, {10, 5, -3}, 1);
    Add("3", {10, 5, -3}, {odd.far, odd.far, odd.far}, odd.width);
    store.settings.currentRecordNumber = 3;
  }
  void Add(const char* name, Vec3 from, Vec3 to, double width) {
    const std::string_view previous = store.records.empty() ? name : base::TextOf(store.records.back()->point);
    doc::SurveyRecord& r = test::AddLeg(store, previous, name, 1);
    base::SetText(r.fileUrl, "plan.pdf");
    r.refX = from.x, r.refY = from.y, r.refZ = from.z, r.x = to.x, r.y = to.y, r.z = to.z;
    r.left = r.right = r.up = r.down = width;
    for (double& c : r.altCoords) c = width == 1 ? 0 : width;
    r.colour = 1, r.pathLength = to.x;
  }
  doc::SurveyStore store;
  platform::MemorySettingsStore settings;
};

TEST_P(ExtremeValues, StayInTheDeviceRangeInEveryDisplayType) {
  constexpr long long kBound = 2LL * kDeviceLimit;
  size_t drawn = 0;
  for (const int type : {0, 1, 2, 3, 4, 5, 7}) {
    for (const int automatic : {0, 1}) {
      SCOPED_TRACE("type " + std::to_string(type) + (automatic ? " fitted" : " true scale"));
      doc::Worksheet& ws = *store.currentWorksheet;
      ws.setDisplayType(doc::DisplayTypeOf(type));
      ws.setAutomaticScale(static_cast<int16_t>(automatic));
      RecordingSurface surface(ScreenCaps({1280, 1024}));
      ViewTransform view;
      WorksheetDrawingOptions options;
      options.window = options.screen = {1280, 1024};
      const platform::FixedClock clock({1, 2, 2024});
      options.clock = &clock;
      DrawWorksheet(surface, store, ws, view, settings, options);
      drawn += surface.primitives().size();
      for (const RecordedPrimitive& p : surface.primitives())
        for (const long long v : {p.from.x, p.from.y, p.to.x, p.to.y})
          ASSERT_LE(std::llabs(v), kBound) << "primitive " << static_cast<int>(p.kind) << " " << p.text;
      EXPECT_GE(ws.sheetGridStep(), 1);
      EXPECT_GE(ws.overviewGridStep(), 1);
    }
  }
  EXPECT_GT(drawn, 0u);
}

INSTANTIATE_TEST_SUITE_P(Surveys, ExtremeValues,
                         ::testing::Values(OddSurvey{"leg1e12", 1e12, 1}, OddSurvey{"width1e300", 20, 1e300},
                                           OddSurvey{"nan", kNaN, 1}, OddSurvey{"infinite", kInf, -1e300}),
                         [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace hp::draw
