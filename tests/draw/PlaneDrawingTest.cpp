// The plane drawing as the recording surface sees it: which legs, marks,
// labels and frame lines are drawn, where and in which pen, and the page
// arithmetic behind the drawing area.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "draw/DrawingTestSupport.h"
#include "draw/Painter.h"
#include "draw/PlaneDrawing.h"
#include "draw/WorksheetDrawing.h"
#include "support/Values.h"

namespace hp::draw {
namespace {

class PlaneDrawingTest : public test::DrawingTest {
 protected:
  PlaneDrawingResult Draw(DeviceCaps caps = RecordingSurface::DefaultCaps(), bool printer = false,
                          const platform::Clock* clock = nullptr) {
    surface = RecordingSurface(caps);
    view.setProjectionDirty(true);
    PlaneDrawingOptions options;
    options.printer = printer;
    options.clock = clock;
    result = DrawPlane(surface, store, ws, view, settings, options);
    return result;
  }
  Point At(Vec3 p) const { return DrawingTest::At(result, p.x, p.y); }
  const RecordedPrimitive* LineBetween(Vec3 a, Vec3 b) const {
    for (const auto& p : surface.primitives())
      if (p.kind == Kind::Line && p.from == At(a) && p.to == At(b)) return &p;
    return nullptr;
  }

  PlaneDrawingResult result;
};

TEST_F(PlaneDrawingTest, LegsInTheirColourAndColourZeroNeverDrawn) {
  store.settings.lineColours[2] = 0x00AA00;
  Add("- 1 @ 0 0 0 10 0 0 length=1 colour=3");
  Add("- 2 @ 10 0 0 10 10 0 length=1 colour=0");
  Add("- 3 @ 10 10 0 0 10 0 length=1 colour=19");
  ASSERT_TRUE(Draw().drawn);
  const RecordedPrimitive* first = LineBetween({0, 0, 0}, {10, 0, 0});
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->pen, (Pen{PenStyle::Solid, 1, 0x00AA00}));
  EXPECT_EQ(LineBetween({10, 0, 0}, {10, 10, 0}), nullptr);
  ASSERT_NE(LineBetween({10, 10, 0}, {0, 10, 0}), nullptr);
  EXPECT_EQ(LineBetween({10, 10, 0}, {0, 10, 0})->pen.style, PenStyle::Dashed);
  EXPECT_EQ(result.colours.size(), 3u);
  EXPECT_EQ(result.colours[2], (LineColour{false, 19}));
}

TEST_F(PlaneDrawingTest, LineFilterHidesLegsAndBlackBackgroundTurnsBlackWhite) {
  Add("- 1 @ 0 0 0 10 0 0 length=1 colour=40");  // beyond the dashed colours: black
  Add("- 1/2/2 @ 10 0 0 20 0 0 length=1");
  ws.setFilterCriterion(2);
  ws.setLineFilterPattern("1");
  ws.setBlackBackground(1);
  Draw();
  ASSERT_NE(LineBetween({0, 0, 0}, {10, 0, 0}), nullptr);
  EXPECT_EQ(LineBetween({0, 0, 0}, {10, 0, 0})->pen.colour, 0xFFFFFFu);
  EXPECT_EQ(LineBetween({10, 0, 0}, {20, 0, 0}), nullptr);
}

TEST_F(PlaneDrawingTest, StationMarksAndCrossSectionsAtTheToPoint) {
  doc::SurveyRecord& r = Add("- 1 @ 0 0 0 10 0 0 length=1");
  r.left = 2, r.right = 3, r.crossSection.end.azimuth = 0;  // passage running north: walls west and east
  ws.setPointsInLegColour(0);
  ws.setStationMark(2);
  ws.setShowCrossSections(1);
  Draw();
  const Point to = At({10, 0, 0});
  const int s = 9 / 4;  // a quarter of the label font height (9 pixels)
  auto circles = Of(Kind::Ellipse);
  ASSERT_EQ(circles.size(), 1u);
  EXPECT_EQ(circles[0].from, (Point{to.x - s, to.y - s}));
  EXPECT_EQ(circles[0].pen.colour, store.settings.pointColour);
  const auto near = [](Point a, Point b) { return std::abs(a.x - b.x) <= 1 && std::abs(a.y - b.y) <= 1; };
  EXPECT_TRUE(std::any_of(surface.primitives().begin(), surface.primitives().end(), [&](const auto& p) {
    return p.pen.colour == store.settings.auxLineColour && near(p.from, At({8, 0, 0})) && near(p.to, At({13, 0, 0}));
  }));
  ws.setStationMark(1);  // a stroke across the eastward leg: vertical
  Draw();
  EXPECT_TRUE(std::any_of(surface.primitives().begin(), surface.primitives().end(), [&](const auto& p) {
    return p.from == Point{to.x, to.y - s} && p.to == Point{to.x, to.y + s};
  }));
}

TEST_F(PlaneDrawingTest, AuxiliaryLinesAndCrossSectionsInTheStandardColourOnlyWhenTheWorksheetSaysSo) {
  store.settings.lineColours[2] = 0x00AA00;
  store.settings.auxLineColour = 0x0000CC;
  doc::SurveyRecord& named = Add("- 1 @ 0 0 0 10 0 0 length=1 colour=3");
  named.left = 2, named.right = 3, named.crossSection.end.azimuth = 0;
  Add("- - @ 10 0 0 10 10 0 length=1 colour=3");
  ws.setShowAuxiliaryLines(1);
  ws.setShowCrossSections(1);
  const struct {
    int standardColour;  // the worksheet's "in the standard colour" flag
    Colour expected;
  } cases[] = {{1, 0x0000CC}, {0, 0x00AA00}};
  for (const auto& c : cases) {
    ws.setCrossSectionsInStandardColour(c.standardColour);
    Draw();
    const RecordedPrimitive* auxiliary = LineBetween({10, 0, 0}, {10, 10, 0});
    ASSERT_NE(auxiliary, nullptr);
    EXPECT_EQ(auxiliary->pen.colour, c.expected) << c.standardColour;
    // The cross section runs west to east through the to-point of leg 1.
    EXPECT_TRUE(std::any_of(surface.primitives().begin(), surface.primitives().end(), [&](const auto& p) {
      return p.kind == Kind::Line && p.from.y == p.to.y && p.from.x < At({10, 0, 0}).x && p.to.x > At({10, 0, 0}).x &&
             p.pen.colour == c.expected;
    })) << c.standardColour;
  }
}

TEST_F(PlaneDrawingTest, SubSheetDivisionAndSelectedSheets) {
  Add("- 1 @ 0 0 0 30 -10 0 length=1");
  ws.setAutomaticScale(1), ws.setManualPages(1), ws.setSheetColumns(2);
  ws.printAreaBits()[0] = 0x02;  // sheet 2
  Draw();
  const PlaneRect o = result.layout.overview, s = result.layout.sheet;
  const RecordedPrimitive* border = LineBetween({s.right, o.top, 0}, {s.right, o.bottom, 0});
  ASSERT_NE(border, nullptr);
  EXPECT_EQ(border->pen, (Pen{PenStyle::Dashed, 1, store.settings.frameColour}));
  const auto squares = Of(Kind::Rectangle);
  ASSERT_EQ(squares.size(), 2u);  // the frame and the mark of sheet 2
  EXPECT_EQ(squares[1].brush, (Brush{BrushStyle::Solid, RgbColour(255, 0, 0)}));
  EXPECT_EQ(squares[1].from, (Point{At({s.right, o.top, 0}).x + 3, At({s.right, o.top, 0}).y + 3}));

  // A manual overview half a sheet further left: the borders and marks stay
  // where the sheets are.
  ws.setManualOverview(1);
  ws.setOverviewLeft(o.left - s.Width() / 2), ws.setOverviewRight(o.right - s.Width() / 2);
  Draw();
  ASSERT_EQ(result.layout.sheet, s);
  const PlaneRect moved = result.layout.overview;
  EXPECT_NE(LineBetween({s.right, moved.top, 0}, {s.right, moved.bottom, 0}), nullptr);
  const auto marks = Of(Kind::Rectangle);
  ASSERT_EQ(marks.size(), 2u);
  EXPECT_EQ(marks[1].from, (Point{At({s.right, s.top, 0}).x + 3, At({s.right, s.top, 0}).y + 3}));
}

TEST_F(PlaneDrawingTest, LabelsOnePixelApartAreNotBothDrawn) {
  ws.setStationNumbering(4);
  ws.setDescriptionOverridesNumbering(0);
  Add("- A @ 0 0 0 10 0 0 length=1");
  Add("- B @ 10 0 0 10 0 0 length=1").length = 2;
  Add("- C @ 10 0 0 0 30 0 length=1");
  Draw();
  // Move B one pixel away from A and draw again.
  store.records[1]->x = 10 + 1.0 / result.scale;
  Draw();
  const std::vector<std::string> texts = Texts();
  EXPECT_NE(std::find(texts.begin(), texts.end(), "A"), texts.end());
  EXPECT_EQ(std::find(texts.begin(), texts.end(), "B"), texts.end());
  EXPECT_NE(std::find(texts.begin(), texts.end(), "C"), texts.end());
}

TEST_F(PlaneDrawingTest, FrameTicksAndAxisLabelsOnTheGrid) {
  Add("- 1 @ 3 3 0 47 33 0 length=1");
  ws.setAutomaticScale(1);
  Draw();
  const PlaneRect a = result.layout.area;
  EXPECT_EQ(result.layout.grid, 5);  // NiceStep(50/12)
  auto frames = Of(Kind::Rectangle);
  ASSERT_EQ(frames.size(), 1u);
  EXPECT_EQ(frames[0].from, At({a.left, a.top, 0}));
  EXPECT_EQ(frames[0].pen.colour, store.settings.frameColour);
  const std::vector<std::string> texts = Texts();
  for (const char* label : {"0", "25", "50", "35"})
    EXPECT_NE(std::find(texts.begin(), texts.end(), label), texts.end());
  const int t = 13 / 4;
  EXPECT_NE(LineBetween({a.left, 20, 0}, {a.left + 2.0 * t / result.scale, 20, 0}), nullptr);
}

TEST_F(PlaneDrawingTest, NothingVisibleGivesTheMessage) {
  Add("- 1 @ 0 0 0 10 0 0 length=1 colour=0");
  ws.setAdaptOverview(1);
  EXPECT_FALSE(Draw().drawn);
  ASSERT_EQ(Of(Kind::Text).size(), 1u);
  EXPECT_EQ(Of(Kind::Text)[0].text, kNoVisibleLines);
  EXPECT_TRUE(Of(Kind::Line).empty());
}

TEST_F(PlaneDrawingTest, PageLabelTakesTheDateOfTheGivenClock) {
  Add("- 1 @ 0 0 0 10 0 0 length=1");
  ws.setShowTitleAndPageLabel(1);
  ws.setPageLabel("Stand &Datum");
  const platform::FixedClock clock({24, 12, 2030});
  ASSERT_TRUE(Draw(RecordingSurface::DefaultCaps(), false, &clock).drawn);
  const std::vector<std::string> texts = Texts();
  EXPECT_NE(std::find(texts.begin(), texts.end(), "Stand 24.12.2030"), texts.end());
}

TEST_F(PlaneDrawingTest, MonochromePrinterDrawsEverythingBlack) {
  store.settings.lineColours[0] = 0x0000FF;
  Add("- 1 @ 0 0 0 10 0 0 length=1");
  ws.setStationMark(2);
  DeviceCaps caps = RecordingSurface::DefaultCaps();
  caps.colours = 2;
  Draw(caps, true);
  for (const auto& p : surface.primitives()) EXPECT_EQ(p.pen.colour, 0u);
}

TEST(PlaneLayoutTest, TrueScaleSheetSnapsToTheGrid) {
  doc::Worksheet ws = test::NewSheet();
  ws.setScaleDenominator(500);
  PlaneLayout layout = LayoutPlane(ws, {0, -100, 50, 0}, 210, 297);
  EXPECT_EQ(layout.sheetGrid, 10);
  EXPECT_EQ(layout.sheet, (PlaneRect{0, -120, 80, 0}));  // 85 x 128.5 m before snapping
  EXPECT_EQ(layout.area, layout.overview);
  ws.setManualPages(1), ws.setSheetRows(2), ws.setSheetColumns(3);
  ws.setShowSubSheets(1), ws.setCurrentSheetNumber(5);
  layout = LayoutPlane(ws, {0, -100, 50, 0}, 210, 297);
  EXPECT_EQ(layout.overview, (PlaneRect{0, -240, 240, 0}));
  EXPECT_EQ(layout.area, (PlaneRect{80, -240, 160, -120}));  // row 2, column 2
}

using test::Nums;

TEST_F(PlaneDrawingTest, ResetFlagPutsTheSheetSettingsBackOnce) {
  ws.setShowSubSheets(1);
  ws.setSheetRows(3);
  ws.setMarginLeft(5);
  ws.setBackgroundMap(1);
  ws.setLabelAngleIndex(4);
  ws.printAreaBits()[3] = 0xFF;
  ws.setShowFrame(0);  // not a sheet setting: kept
  bool reset = true;
  ApplySheetReset(ws, reset);
  EXPECT_FALSE(reset);
  EXPECT_EQ(Nums(ws.showSubSheets(), ws.sheetRows(), ws.marginLeft(), ws.backgroundMap(), ws.labelAngleIndex(),
                 ws.printAreaBits()[3], ws.showFrame()),
            Nums(0, 1, 20, 0, 0, 0, 0));
  ws.setMarginLeft(7);
  ApplySheetReset(ws, reset);
  EXPECT_EQ(ws.marginLeft(), 7) << "without the flag nothing is put back";
}

TEST_F(PlaneDrawingTest, DrawingLeavesTheWorksheetAloneAndTheWindowKeepsItsLayout) {
  Add("- 1 @ 0 0 0 100 -60 0 length=1");
  ws.setViewAzimuth(-30);
  ws.setSheetRows(7);
  const doc::Worksheet::Image before = ws.image;
  surface = RecordingSurface(RecordingSurface::DefaultCaps());
  WorksheetDrawingOptions options;
  const WorksheetDrawingResult drawn = DrawWorksheet(surface, store, ws, view, settings, options);
  ASSERT_TRUE(drawn.drawn && drawn.layout);
  EXPECT_EQ(ws.image, before);
  KeepDrawnSettings(ws, view, drawn);
  EXPECT_EQ(Nums(ws.viewAzimuth(), ws.sheetRows(), ws.sheetColumns(), ws.sheetGridStep()),
            Nums(330, drawn.layout->rows, drawn.layout->columns, drawn.layout->storedSheetGrid));
  EXPECT_EQ((PlaneRect{ws.overviewLeft(), ws.overviewBottom(), ws.overviewRight(), ws.overviewTop()}),
            drawn.layout->overview);
}

}  // namespace
}  // namespace hp::draw
