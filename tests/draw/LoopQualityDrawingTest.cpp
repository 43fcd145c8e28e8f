// The loop-quality colour mode as the recording surface sees it: the legs'
// pens by class, the legend in the corner, the highlighted legs, and the
// scrolling that brings them into the window.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <vector>

#include "calc/ComputePass.h"
#include "draw/DrawingTestSupport.h"
#include "draw/PlaneDrawing.h"
#include "draw/SpatialDrawing.h"
#include "draw/interaction/LegHighlight.h"
#include "platform/Prompter.h"
#include "support/TwoLoops.h"

namespace hp::draw {
namespace {

class LoopQualityDrawing : public test::DrawingTest {
 protected:
  LoopQualityDrawing() {
    Add(test::kTwoLoops);
    platform::ScriptedPrompter prompter;
    calc::RunComputeCommand(store, prompter);
    doc::SetLineColourModeOf(ws, doc::kLoopQualityColourMode);
    ws.setShowAuxiliaryLines(1);
  }
  // The pen each leg was drawn with, by list position (none: not drawn).
  std::vector<std::optional<Pen>> LegPens(const Point (&ends)[12][2]) const {
    std::vector<std::optional<Pen>> pens(12);
    for (const auto& p : Of(Kind::Line))
      for (size_t n = 0; n < 12; ++n)
        if (p.from == ends[n][0] && p.to == ends[n][1] && !pens[n]) pens[n] = p.pen;
    return pens;
  }
  template <class Result>
  void Ends(const Result& r, Point (&ends)[12][2]) const {
    for (size_t n = 0; n < 12; ++n) {
      const ProjectionSlots& s = view.slot(n);
      ends[n][0] = At(r, s.from.x, s.from.y), ends[n][1] = At(r, s.to.x, s.to.y);
    }
  }
};

TEST_F(LoopQualityDrawing, LegsByClassAndTheLegendInPlanAndPerspective) {
  for (const int type : {0, 3}) {
    surface = RecordingSurface();
    view = ViewTransform();
    ws.setDisplayType(doc::DisplayTypeOf(type));
    Point ends[12][2];
    if (type == 0) {
      const PlaneDrawingResult r = DrawPlane(surface, store, ws, view, settings, {});
      ASSERT_TRUE(r.drawn);
      Ends(r, ends);
    } else {
      const SpatialDrawingResult r = DrawSpatial(surface, store, ws, view, settings, {});
      ASSERT_TRUE(r.drawn);
      Ends(r, ends);
    }
    const auto pens = LegPens(ends);
    for (const size_t n : {1, 5, 6, 11}) ASSERT_TRUE(pens[n].has_value()) << type << " " << n;
    for (const size_t n : test::kCleanLoop) EXPECT_EQ(pens[n]->colour, LoopClassColour(0)) << type << " " << n;
    for (const size_t n : test::kBlunderedLoop) EXPECT_EQ(pens[n]->colour, LoopClassColour(3)) << type << " " << n;
    EXPECT_EQ(pens[5]->colour, store.settings.frameColour) << "in no loop";
    EXPECT_EQ(pens[11]->colour, store.settings.auxLineColour) << "auxiliary line as in the other modes";

    std::vector<RecordedPrimitive> legend;
    for (const auto& p : Of(Kind::Text))
      if (p.text == "Ringschlussfehler (normiert)" || p.text == "bis 1" || p.text == "bis 2" || p.text == "bis 3,37" ||
          p.text == "über 3,37")
        legend.push_back(p);
    ASSERT_EQ(legend.size(), 5u) << type;
    for (const auto& p : legend) {
      EXPECT_LT(p.from.x, 100) << p.text;
      EXPECT_GT(p.from.y, 1080 - 100) << p.text;
    }
  }
  doc::SetLineColourModeOf(ws, 0);
  surface = RecordingSurface();
  view = ViewTransform();
  ws.setDisplayType(doc::DisplayTypeOf(0));
  ASSERT_TRUE(DrawPlane(surface, store, ws, view, settings, {}).drawn);
  const std::vector<std::string> texts = Texts();
  EXPECT_EQ(std::count(texts.begin(), texts.end(), "bis 1"), 0) << "no legend in the other modes";
}

TEST_F(LoopQualityDrawing, HighlightedLegsOnTheScreenNotInPrint) {
  const std::vector<size_t> shown = {test::kBlunderedLeg};
  for (const bool printer : {false, true}) {
    surface = RecordingSurface();
    view = ViewTransform();
    PlaneDrawingOptions options;
    options.highlighted = &shown;
    options.printer = printer;
    const PlaneDrawingResult r = DrawPlane(surface, store, ws, view, settings, options);
    ASSERT_TRUE(r.drawn);
    const ProjectionSlots& s = view.slot(test::kBlunderedLeg);
    const Point from = At(r, s.from.x, s.from.y), to = At(r, s.to.x, s.to.y);
    const auto lines = Of(Kind::Line);
    const auto highlighted = std::count_if(lines.begin(), lines.end(), [&](const RecordedPrimitive& p) {
      return p.from == from && p.to == to && p.pen.colour == RgbColour(255, 0, 255) && p.pen.width >= 3;
    });
    EXPECT_EQ(highlighted, printer ? 0 : 1) << printer;
  }
}

TEST(LegHighlight, ScrollsOnlyWhenTheLegsAreOutOfSight) {
  const struct {
    const char* name;
    Rect bounds;
    Point now, expected;
  } cases[] = {
      {"inside stays", {10, 10, 90, 60}, {0, 0}, {0, 0}},
      {"right of the window: centred", {200, 20, 240, 40}, {0, 0}, {145, 0}},
      {"above the scrolled window", {10, 0, 20, 10}, {0, 50}, {0, 0}},
      {"beyond the end: as far as it goes", {900, 900, 950, 950}, {0, 0}, {200, 100}},
  };
  for (const auto& c : cases) {
    const Point got = ScrollToShow(c.bounds, {150, 100}, c.now, {200, 100});
    EXPECT_EQ(got, c.expected) << c.name;
  }
}

}  // namespace
}  // namespace hp::draw
