// Picking, wheel zoom, rubber bands, sheets and camera moves of the view.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <memory>

#include "base/FixedText.h"
#include "draw/interaction/ViewInteraction.h"
#include "support/Survey.h"
#include "support/Values.h"

namespace hp::draw {
namespace {

using test::Nums;

doc::Worksheet Sheet(int type) { return test::NewSheet(type); }

struct Station {
  const char* name;
  double x, y, z;
};

// Records with their to-points projected as in a plan (drawing = world).
struct Picking {
  doc::SurveyStore store;
  std::vector<ProjectionSlots> slots;
  explicit Picking(std::initializer_list<Station> stations) {
    for (const Station& s : stations) {
      auto r = std::make_unique<doc::SurveyRecord>();
      base::SetText(r->point, s.name);
      store.records.push_back(std::move(r));
      ProjectionSlots slot;
      slot.to = {s.x, s.y, s.z};
      slots.push_back(slot);
    }
  }
};

TEST(ViewInteraction, PicksTheNearestStationWithinFiveDeviceUnits) {
  // 10 device units per metre, drawing origin at device (100, 200).
  const DeviceMapping m{10, -100, -200};
  Picking p({{"A", 0, 0, 0},
             {"B", 1, 0, 0},      // device (110, 200)
             {"", 0.2, 0, 0},     // auxiliary line: no station
             {"C", 0.5, 0, 0},    // device (105, 200): as far from 100 as from 110
             {"D", 3, 0, -1.0},   // z = -1 is a plain height in the plan
             {"E", 3, 0.6, 0}});  // device (130, 194)
  const struct {
    DevicePoint click;
    bool skipHidden;
    int expected;
  } cases[] = {
      {{100, 200}, false, 0},   // on A
      {{102, 200}, false, 0},   // A at 2, the auxiliary end at 0 does not count
      {{108, 200}, false, 1},   // B at 2, C at 3
      {{105, 200}, false, 3},   // on C
      {{100, 205}, false, 0},   // exactly 5 away
      {{100, 206}, false, -1},  // 6 away: nothing
      {{104, 204}, false, 3},   // C at 4.1, A at 5.7
      {{130, 197}, false, 4},   // D and E both 3 away: list order
      {{130, 197}, true, 5},    // the camera view skips D's cut-away slot
  };
  for (const auto& c : cases)
    EXPECT_EQ(PickStation(p.store, p.slots, m, c.click, c.skipHidden), c.expected) << c.click.x << "," << c.click.y;
  // Broken slots are skipped; an unset scale picks nothing.
  Picking broken({{"A", std::nan(""), 0, 0}, {"B", 1e300, 0, 0}, {"C", 0, 0, 0}});
  EXPECT_EQ(PickStation(broken.store, broken.slots, {10, 0, 0}, {0, 0}), 2);
  EXPECT_EQ(PickStation(broken.store, broken.slots, {0, 0, 0}, {0, 0}), -1);
}

TEST(ViewInteraction, ClickOrDragAndWheelZoomSteps) {
  EXPECT_TRUE(IsClick({10, 10}, {18, 18}));    // 8 x 8
  EXPECT_FALSE(IsClick({10, 10}, {18, 210}));  // 8 x 200
  EXPECT_FALSE(IsClick({10, 10}, {1, 10}));    // 9 to the left

  const struct {
    double zoom;
    bool towards;
    double expected;
  } cases[] = {
      {90, true, 100},                                           // 103.5 snaps
      {100, true, 115},    {100, false, 85}, {115, false, 100},  // 97.75 snaps
      {82, true, 100},                                           // 94.3 snaps
      {93, true, 106.95},                                        // 106.95 does not
      {9000, true, 10000}, {11, false, 10},  {10, false, 10},
  };
  for (const auto& c : cases) EXPECT_NEAR(WheelZoom(c.zoom, c.towards), c.expected, 1e-9) << c.zoom;
}

TEST(ViewInteraction, RubberBandBecomesTheSnappedOverview) {
  // 2 device units per metre, y = 0 at device 400: 12..88 m by 16..196 m,
  // snapped to the overview's step of 10.
  doc::Worksheet ws = Sheet(0);
  ws.setOverviewGridStep(10), ws.setSheetGridStep(20);
  SetOverviewFromRubberBand(ws, DeviceRectToDrawing({24, 368}, {176, 8}, {2, 0, -400}));
  EXPECT_EQ(ws.manualOverview(), 1);
  EXPECT_EQ((PlaneRect{ws.overviewLeft(), ws.overviewBottom(), ws.overviewRight(), ws.overviewTop()}),
            (PlaneRect{10, 20, 90, 200}));
}

TEST(ViewInteraction, RubberBandSnapsToTheGrid) {
  const struct {
    PlaneRect dragged;
    double step;
    PlaneRect expected;
  } cases[] = {
      {{12, -27, 48, 3}, 10, {10, -30, 50, 0}},
      {{48, 3, 12, -27}, 10, {10, -30, 50, 0}},  // dragged the other way round
      {{0, 14, 20, 15}, 10, {0, 0, 20, 10}},     // flat: the bottom moves down
      {{12, 1, 13, 2}, 10, {10, -10, 20, 0}},    // a dot: one step each way
      {{0.4, 0.4, 2.6, 2.6}, 0, {0, 0, 3, 3}},   // no grid step: whole metres
  };
  for (const auto& c : cases) EXPECT_EQ(SnapRubberBand(c.dragged, c.step), c.expected) << c.dragged.left;
}

TEST(ViewInteraction, DragsMoveByWholeStepsAndARubberBandMakesTheFirstSubSheet) {
  doc::Worksheet ws = Sheet(0);
  ws.setOverviewGridStep(10), ws.setSheetGridStep(5);
  ws.setOverviewLeft(0), ws.setOverviewBottom(0), ws.setOverviewRight(50), ws.setOverviewTop(50);
  MoveOverview(ws, 7.6, -2.4);  // step 5: 10 and 0
  EXPECT_EQ(Nums(ws.overviewLeft(), ws.overviewBottom(), ws.overviewTop()), Nums(10, 0, 50));
  ws.setSubSheetLeft(0), ws.setSubSheetBottom(0), ws.setSubSheetRight(20), ws.setSubSheetTop(30);
  MoveSubSheets(ws, -12.6, 2.5);  // -15 and 5
  EXPECT_EQ(Nums(ws.subSheetLeft(), ws.subSheetTop(), ws.manualPages()), Nums(-15, 35, 1));
  EXPECT_EQ(SnapDistance(-2.5, 5), 0);

  ws.setSheetGridStep(10), ws.setCurrentSheetNumber(4);
  SetSubSheetFromRubberBand(ws, {12, 16, 38, 61});
  EXPECT_EQ((PlaneRect{ws.subSheetLeft(), ws.subSheetBottom(), ws.subSheetRight(), ws.subSheetTop()}),
            (PlaneRect{10, 10, 40, 70}));
  EXPECT_EQ(Nums(ws.showSubSheets(), ws.currentSheetNumber(), ws.manualPages()), Nums(1, 1, 0));
}

// Three columns, two rows of 10 x 20 m sheets from (0, 40) down.
doc::Worksheet Grid() {
  doc::Worksheet ws = Sheet(0);
  ws.setSubSheetLeft(0), ws.setSubSheetBottom(20), ws.setSubSheetRight(10), ws.setSubSheetTop(40);
  ws.setSheetRows(2), ws.setSheetColumns(3);
  return ws;
}

TEST(ViewInteraction, SheetUnderAPoint) {
  const doc::Worksheet ws = Grid();
  const struct {
    PlanePoint p;
    int sheet;
  } cases[] = {{{5, 30}, 1},  {{25, 30}, 3}, {{15, 5}, 5}, {{29.9, 0.1}, 6},
               {{-1, 30}, 0}, {{35, 30}, 0}, {{5, 41}, 0}, {{5, -1}, 0}};
  for (const auto& c : cases) EXPECT_EQ(SheetAt(ws, c.p), c.sheet) << c.p.x << "," << c.p.y;
}

TEST(ViewInteraction, ClicksSelectSheetsAndTogglePrintArea) {
  doc::Worksheet ws = Grid();
  EXPECT_TRUE(SelectSheetAt(ws, {15, 5}));
  EXPECT_FALSE(SelectSheetAt(ws, {45, 5}));
  EXPECT_EQ(Nums(ws.showSubSheets(), ws.currentSheetNumber()), Nums(1, 5));
  EXPECT_TRUE(TogglePrintAreaAt(ws, {15, 5}));
  EXPECT_EQ(ws.printAreaBits()[0], 0x10);
  EXPECT_TRUE(TogglePrintAreaAt(ws, {15, 5}));
  EXPECT_EQ(ws.printAreaBits()[0], 0);
  // 100 x 100 sheets: sheet 1025 has no bit.
  ws.setSheetRows(100), ws.setSheetColumns(100);
  EXPECT_EQ(SheetAt(ws, {245, -160}), 1025);
  EXPECT_FALSE(TogglePrintAreaAt(ws, {245, -160}));
}

TEST(ViewInteraction, SheetKeysStayInTheGrid) {
  const struct {
    int type, shown, sheet, id;
    bool acts;
    int expected;
  } cases[] = {
      {0, 1, 5, 32798, true, 1},  {0, 1, 5, 32799, true, 6},  {0, 1, 4, 32795, false, 4}, {0, 1, 5, 32795, true, 4},
      {0, 1, 3, 32796, false, 3}, {0, 1, 2, 32796, true, 3},  {0, 1, 2, 32794, false, 2}, {0, 1, 5, 32794, true, 2},
      {0, 1, 5, 32797, false, 5}, {7, 1, 3, 32800, true, 4},  {0, 1, 6, 32800, false, 6}, {0, 1, 1, 32801, false, 1},
      {0, 0, 2, 32798, false, 2}, {3, 1, 2, 32798, false, 2},
  };
  for (const auto& c : cases) {
    doc::Worksheet ws = Grid();
    ws.setDisplayType(doc::DisplayTypeOf(c.type));
    ws.setShowSubSheets(static_cast<int16_t>(c.shown));
    ws.setCurrentSheetNumber(static_cast<int16_t>(c.sheet));
    EXPECT_EQ(NavigateSheet(ws, c.id), c.acts) << c.id << " from " << c.sheet;
    EXPECT_EQ(ws.currentSheetNumber(), c.expected) << c.id << " from " << c.sheet;
  }
  doc::Worksheet protocol = Sheet(6);
  protocol.setProtocolPageCount(4);
  EXPECT_TRUE(NavigateSheet(protocol, 32799));
  EXPECT_EQ(protocol.protocolCurrentPage(), 4);
  EXPECT_TRUE(NavigateSheet(protocol, 32794));
  EXPECT_EQ(protocol.protocolCurrentPage(), 3);
}

TEST(ViewInteraction, DragsTurnOneDegreePerPixelAndTheCameraMovesAlongTheView) {
  doc::Worksheet turned = Sheet(3);
  turned.setViewAzimuth(350), turned.setViewInclination(80);
  DragTurn(turned, 15, -20);  // right and up
  EXPECT_EQ(Nums(turned.viewAzimuth(), turned.viewInclination()), Nums(5, 90));
  DragTurn(turned, -10, 30);
  EXPECT_EQ(Nums(turned.viewAzimuth(), turned.viewInclination()), Nums(355, 60));

  doc::Worksheet ws = Sheet(5);
  ws.setViewDistance(50), ws.setZoomPercent(100);
  // max(100 + 50, 20) / 750 / 100 * 4000 = 8 m per key.
  const double step = CameraFactor(100, ws, 750, kCameraStepPer);
  EXPECT_DOUBLE_EQ(step, 8);
  ws.setViewAzimuth(90);  // looking east: left is north
  EXPECT_TRUE(MoveCamera(ws, 32775, step));
  EXPECT_NEAR(ws.viewCentreX(), 0, 1e-4);
  EXPECT_NEAR(ws.viewCentreY(), 8, 1e-4);
  EXPECT_TRUE(MoveCamera(ws, 32773, step));  // forward: east
  EXPECT_NEAR(ws.viewCentreX(), 8, 1e-4);
  EXPECT_FALSE(MoveCamera(ws, 32780, step));
  // Panning with azimuth 0 and inclination 0: a drag to the right moves the
  // centre west, a drag down moves it up.
  ws.setViewAzimuth(0), ws.setViewInclination(0);
  ws.setViewCentreX(0), ws.setViewCentreY(0), ws.setViewCentreZ(0);
  PanCamera(ws, 10, 4, 0.5);
  EXPECT_EQ(Nums(ws.viewCentreX(), ws.viewCentreY(), ws.viewCentreZ()), Nums(-5, 0, 2));
  DragCameraDistance(ws, -6, 0.5);  // upward
  EXPECT_DOUBLE_EQ(ws.viewDistance(), 53);
}

TEST(ViewInteraction, PlacementTakesThePlanPointOrTheHeight) {
  doc::SurveyRecord r;
  r.x = r.refX = 1, r.y = r.refY = 2, r.z = r.refZ = 3;
  PlacedPoint placed;
  ASSERT_TRUE(PlaceFromDrawing(DisplayType::Plan, {110, 220}, {100, 200, 0}, placed));
  ApplyPlacement(r, placed);
  EXPECT_EQ((std::array{r.x, r.refX, r.y, r.refY, r.z, r.refZ}), (std::array<double, 6>{10, 10, 20, 20, 3, 3}));
  ASSERT_TRUE(PlaceFromDrawing(DisplayType::Elevation, {110, 220}, {100, 200, 0}, placed));
  ApplyPlacement(r, placed);
  EXPECT_EQ((std::array{r.x, r.refX, r.y, r.refY, r.z, r.refZ}), (std::array<double, 6>{10, 10, 20, 20, 20, 20}));
  EXPECT_FALSE(PlaceFromDrawing(DisplayType::Parallel, {0, 0}, {}, placed));
}

TEST(ViewInteraction, ContextMenuEnabling) {
  // Rows: display type; columns: modes 0 to 6.
  const bool expected[8][7] = {
      {1, 1, 1, 0, 1, 1, 1}, {1, 1, 1, 0, 1, 1, 1}, {1, 1, 1, 0, 1, 1, 1}, {1, 0, 0, 0, 1, 1, 0},
      {0, 0, 0, 0, 0, 0, 0}, {1, 0, 0, 1, 1, 1, 0}, {0, 0, 0, 0, 0, 0, 0}, {1, 1, 1, 0, 1, 1, 1},
  };
  for (int type = 0; type < 8; ++type)
    for (int mode = 0; mode < 7; ++mode)
      EXPECT_EQ(IsMouseModeEnabled(MouseModeOf(mode), DisplayTypeOf(type)), expected[type][mode])
          << type << "/" << mode;
}

}  // namespace
}  // namespace hp::draw
