// A plan denser than the device's pixels: labels that would overlap are left
// out, legs within one pixel add nothing, and a sparse plan draws as before.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "draw/DrawingTestSupport.h"
#include "draw/LabelSpace.h"
#include "draw/PlaneDrawing.h"

namespace hp::draw {
namespace {

class PlanDensityTest : public test::DrawingTest {
 protected:
  PlaneDrawingResult Draw() {
    surface = RecordingSurface();
    view.setProjectionDirty(true);
    result = DrawPlane(surface, store, ws, view, settings, PlaneDrawingOptions{});
    return result;
  }
  Point At(double x, double y) const { return DrawingTest::At(result, x, y); }

  PlaneDrawingResult result;
};

// A square of side x side stations `spacing` metres apart, in a plan of
// about 1000 m (about 1.9 pixels a metre).
struct LabelCase {
  int angleIndex;
  double spacing;
  int side;
  bool every;  // every label is drawn, beside its station
};

TEST_F(PlanDensityTest, LabelsThatWouldOverlapAreLeftOut) {
  const LabelCase cases[] = {{0, 0.2, 40, false}, {3, 0.2, 40, false}, {0, 40, 8, true}, {2, 40, 8, true}};
  for (const LabelCase& c : cases) {
    SCOPED_TRACE("angle " + std::to_string(c.angleIndex) + ", spacing " + std::to_string(c.spacing));
    store.records.clear();
    ws.setStationNumbering(4);
    ws.setDescriptionOverridesNumbering(1);  // no label gives way to the one before
    ws.setAxisLabels(0);
    ws.setLabelAngleIndex(c.angleIndex);
    Add("O P @ 0 0 0 1000 500 0 length=1");
    for (int i = 0; i < c.side * c.side; ++i) {
      const double x = 300 + c.spacing * (i % c.side), y = 100 + c.spacing * (i / c.side);
      Add("P S" + std::to_string(i) + " @ 300 100 0 " + std::to_string(x) + " " + std::to_string(y) + " 0 length=1");
    }
    ASSERT_TRUE(Draw().drawn);
    const std::vector<RecordedPrimitive> texts = Of(Kind::Text);
    const size_t stations = store.records.size();
    if (c.every) {
      ASSERT_EQ(texts.size(), stations);
      const int s4 = texts[0].font.height < 0 ? -texts[0].font.height / 4 : texts[0].font.height / 4;
      for (size_t n = 0; n < stations; ++n) {
        const Point to = At(store.records[n]->x, store.records[n]->y);
        EXPECT_EQ(texts[n].from, (Point{to.x + s4, to.y - s4}));
      }
      continue;
    }
    EXPECT_GE(texts.size(), 2u);
    EXPECT_LT(texts.size() * 20, stations);
    std::vector<Rect> boxes;
    for (const RecordedPrimitive& t : texts)
      boxes.push_back(LabelBox(t.from, RecordingSurface::MeasureText(t.text, t.font), t.font.escapement));
    for (size_t i = 0; i < boxes.size(); ++i) {
      for (size_t j = i + 1; j < boxes.size(); ++j) {
        const Rect &a = boxes[i], &b = boxes[j];
        EXPECT_FALSE(a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom)
            << texts[i].text << " and " << texts[j].text;
      }
    }
  }
}

TEST_F(PlanDensityTest, LabelSpaceComparesWholeBoxes) {
  LabelSpace space({0, 0, 200, 100});
  space.Place({10, 10, 30, 20});
  space.Place({190, 90, 260, 140});  // partly beyond the shown part
  struct {
    Rect box;
    bool free;
  } const cases[] = {{{30, 10, 50, 20}, true}, {{0, 0, 10, 10}, true},      {{29, 19, 40, 30}, false},
                     {{0, 0, 100, 11}, false}, {{195, 95, 196, 96}, false}, {{-50, -50, -10, -10}, true}};
  for (const auto& c : cases) EXPECT_EQ(space.Free(c.box), c.free) << c.box.left << "," << c.box.top;
}

TEST_F(PlanDensityTest, LegsWithinOnePixelDrawNothingNew) {
  // A chain of 50 legs without station names of a fifth of a pixel each,
  // then one of 20 pixels.
  for (const int mark : {0, 1}) {
    SCOPED_TRACE("station mark " + std::to_string(mark));
    store.records.clear();
    ws.setStationMark(mark);
    ws.setPointsInLegColour(1);
    ws.setShowAuxiliaryLines(1);
    Add("A B @ 0 0 0 1000 500 0 length=1");
    Add("B C @ 1000 500 0 500 213.7 0 length=1");
    double x = 500;
    for (int i = 0; i < 50; ++i, x += 0.1)
      Add("- - @ " + std::to_string(x) + " 213.7 0 " + std::to_string(x + 0.1) + " 213.7 0 length=1");
    Add("- - @ " + std::to_string(x) + " 213.7 0 " + std::to_string(x + 10) + " 213.7 0 length=1");
    ASSERT_TRUE(Draw().drawn);
    size_t legs = 0;
    Point reached = At(500, 213.7);
    for (const RecordedPrimitive& p : Of(Kind::Line)) {
      if (p.from.y != reached.y || p.to.y != reached.y || p.from.x < reached.x - 1) continue;
      ++legs;
      EXPECT_EQ(p.from, reached);  // the chain stays unbroken
      reached = p.to;
    }
    EXPECT_EQ(reached, At(x + 10, 213.7));
    // Marks come only at named stations: the chain merges either way.
    EXPECT_LT(legs, 20u);
    EXPECT_GT(legs, 1u);
  }
}

}  // namespace
}  // namespace hp::draw
