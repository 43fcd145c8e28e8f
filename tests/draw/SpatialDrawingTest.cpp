// The spatial drawing as the recording surface sees it: legs of the
// perspective in their colours, both eyes of the red-green view, the cut legs
// and wall spokes of the camera view, and the height scale.
#include <gtest/gtest.h>

#include <algorithm>

#include "draw/DrawingTestSupport.h"
#include "draw/Painter.h"
#include "draw/PlaneDrawing.h"
#include "draw/SpatialDrawing.h"

namespace hp::draw {
namespace {

class SpatialDrawingTest : public test::DrawingTest {
 protected:
  SpatialDrawingTest() {
    ws.setShowFrame(0), ws.setNorthArrow(0), ws.setHeightLabels(0);
    ws.setViewAzimuth(0), ws.setViewInclination(0);
  }
  // A record without passage walls: every wall point at the to-point.
  doc::SurveyRecord& Add(std::string_view text) {
    doc::SurveyRecord& r = DrawingTest::Add(text);
    for (int k = 0; k < 4; ++k) r.altCoords[3 * k] = r.x, r.altCoords[3 * k + 1] = r.y, r.altCoords[3 * k + 2] = r.z;
    return r;
  }
  SpatialDrawingResult Draw(int type, DeviceCaps caps = RecordingSurface::DefaultCaps()) {
    ws.setDisplayType(doc::DisplayTypeOf(type));
    surface = RecordingSurface(caps);
    view.setProjectionDirty(true);
    return result = DrawSpatial(surface, store, ws, view, settings);
  }
  Point At(Vec3 p, Point shift = {}) const {
    const Point d = DrawingTest::At(result, p.x, p.y);
    return {d.x + shift.x, d.y + shift.y};
  }
  std::vector<RecordedPrimitive> Lines() const { return Of(Kind::Line); }

  SpatialDrawingResult result;
};

TEST_F(SpatialDrawingTest, PerspectiveLegsInTheirColoursInsideTheScreen) {
  store.settings.lineColours[2] = 0x00AA00;
  Add("- 1 @ 0 0 0 10 0 -5 length=1 colour=3");
  Add("- 2 @ 10 0 -5 10 10 -5 length=1 colour=0");
  ASSERT_TRUE(Draw(3).drawn);
  const auto lines = Lines();
  ASSERT_EQ(lines.size(), 1u);  // colour 0 is never drawn
  EXPECT_EQ(lines[0].pen, (Pen{PenStyle::Solid, 1, 0x00AA00}));
  EXPECT_EQ(lines[0].to, At(view.slot(0).to));
  for (Point p : {lines[0].from, lines[0].to}) EXPECT_TRUE(p.x > 0 && p.x < 1920 && p.y > 0 && p.y < 1080);
}

TEST_F(SpatialDrawingTest, RedGreenEyesInTheirColoursShiftedByTheStereoOffset) {
  settings.SetInt("Settings", "Alpha", 0);  // both eyes see the same picture
  settings.SetInt("Settings", "FarbeLinks", 0x00FF00);
  Add("- 1 @ 0 0 0 10 5 -5 length=1");
  ASSERT_TRUE(Draw(4).drawn);
  EXPECT_EQ(result.stereoOffset, (Point{-26, -1}));  // -25, -2 at 96 dpi
  const auto lines = Lines();
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].pen.colour, 0x00FF00u);
  EXPECT_EQ(lines[1].pen.colour, kDefaultRightEyeColour);
  EXPECT_EQ(lines[1].to, At(view.slot(0).to, result.stereoOffset));
  DeviceCaps mono = RecordingSurface::DefaultCaps();
  mono.colours = 2;
  Draw(4, mono);
  for (const auto& line : Lines()) EXPECT_EQ(line.pen.colour, 0u);
}

TEST_F(SpatialDrawingTest, CameraCutsLegsAtTheEyeAndDrawsWallSpokes) {
  Add("- 1 @ 0 0 0 0 100 0 length=1");  // crosses the eye plane
  Add("- 2 @ 10 0 0 10 5 0 length=1");  // wholly behind the eye
  // The eye sits at centre - distance - diagonal / 2: about 10 m north.
  ws.setViewDistance(-60);
  ASSERT_TRUE(Draw(5).drawn);
  ASSERT_EQ(Lines().size(), 1u);
  EXPECT_EQ(Lines()[0].to, At(view.slot(0).to));

  ws.setViewDistance(0);
  store.records[0]->altCoords[0] = -3, store.records[0]->altCoords[4] = 104;  // left wall west, right wall north
  ws.setShowCrossSections(1);
  Draw(5);
  const auto lines = Lines();
  EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [&](const auto& l) {
    return l.from == At(view.slot(0).to) && l.to == At(view.extras(0).wall[0]) &&
           l.pen.colour == store.settings.auxLineColour;
  }));
}

TEST_F(SpatialDrawingTest, HeightScaleOfANinetyFiveMetreCaveStepsByTen) {
  Add("- 1 @ 0 0 0 20 10 -95 length=1");
  ws.setHeightLabels(1), ws.setHeightLabelStep(0);
  ASSERT_TRUE(Draw(3).drawn);
  EXPECT_EQ(Texts(), (std::vector<std::string>{"-90", "-80", "-70", "-60", "-50", "-40", "-30", "-20", "-10", "0"}));
}

TEST_F(SpatialDrawingTest, FrameBoxAndTitleButNoTitleInTheCameraViewOnTheScreen) {
  Add("- 1 @ 0 0 0 20 10 -5 length=1");
  ws.setShowFrame(1), ws.setShowTitleAndPageLabel(1), ws.setTitle("Nordgang"), ws.setPageLabel("");
  Draw(3);
  EXPECT_EQ(Lines().size(), 13u);  // 12 box edges and the leg
  ASSERT_EQ(Of(Kind::Text).size(), 1u);
  EXPECT_EQ(Of(Kind::Text)[0].text, "Nordgang");
  Draw(5);
  EXPECT_TRUE(Of(Kind::Text).empty());
}

TEST_F(SpatialDrawingTest, NothingVisibleGivesTheMessage) {
  Add("- 1 @ 0 0 0 10 0 0 length=1 colour=0");
  ws.setAdaptOverview(1);
  EXPECT_FALSE(Draw(3).drawn);
  ASSERT_EQ(surface.primitives().size(), 1u);
  EXPECT_EQ(surface.primitives()[0].text, kNoVisibleLines);
}

TEST_F(SpatialDrawingTest, BothRedGreenPicturesStayInsideTheWindow) {
  // The picture is fitted to the screen, so in a smaller window it starts
  // at the left margin, where the right eye's picture, moved left by the
  // stereo offset, used to be cut off.
  settings.SetInt("Settings", "Alpha", 0);  // both eyes see the same picture
  Add("- 1 @ 0 0 0 400 0 0 length=1");
  Add("- 2 @ 400 0 0 400 30 -20 length=1");
  ws.setDisplayType(doc::DisplayType::RedGreen);
  SpatialDrawingOptions options;
  options.window = {800, 600};
  view.setProjectionDirty(true);
  result = DrawSpatial(surface, store, ws, view, settings, options);
  ASSERT_TRUE(result.drawn);
  ASSERT_LT(result.stereoOffset.x, 0);
  const auto lines = Lines();
  ASSERT_FALSE(lines.empty());
  for (const auto& line : lines)
    for (Point p : {line.from, line.to}) EXPECT_TRUE(p.x >= 0 && p.y >= 0) << p.x << "," << p.y;
}

}  // namespace
}  // namespace hp::draw
