// The plan on a window leaves out what lies beyond it: legs, marks and labels
// that cannot reach into the window are never handed to the painter. The
// picture must be the one drawn with everything handed over.
#include <gtest/gtest.h>

#include <QImage>
#include <optional>
#include <random>
#include <string>

#include "doc/SurveyStore.h"
#include "draw/PlaneDrawing.h"
#include "gfx/GuiApplication.h"
#include "gfx/PictureFile.h"
#include "gfx/QPainterSurface.h"
#include "platform/SettingsStore.h"
#include "support/ForwardingSurface.h"
#include "support/Survey.h"

namespace hp::gfx {
namespace {

// Counts the lines it hands to the painter surface; tells what that shows
// only when asked to.
class CountingSurface final : public test::ForwardingSurface {
 public:
  CountingSurface(draw::Surface& s, bool tellShown) : ForwardingSurface(s), m_tellShown(tellShown) {}
  void LineTo(draw::Point p) override { m_to.LineTo(p), ++lines; }
  std::optional<draw::Rect> ShownArea() const override { return m_tellShown ? m_to.ShownArea() : std::nullopt; }

  int lines = 0;

 private:
  bool m_tellShown;
};

TEST(PlanCullingTest, ZoomedPlanAsIfEverythingWereDrawn) {
  doc::SurveyStore store;
  doc::SetDefaultSettings(store.settings);
  doc::Worksheet ws = test::NewSheet();
  ws.setOriginPoint("");
  ws.setStationNumbering(1), ws.setStationMark(1), ws.setPointsInLegColour(0), ws.setShowCrossSections(1);
  ws.setDescriptionOverridesNumbering(1);  // no label gives way to the one before
  ws.setShowTitleAndPageLabel(0), ws.setLineColourMode(1);
  store.settings.currentRecordNumber = 0;
  std::mt19937 random(11);
  std::uniform_real_distribution<double> step(-6, 6);
  double x = 0, y = 0;
  for (int n = 0; n < 1500; ++n) {
    doc::SurveyRecord& r = test::AddLeg(store, "", std::to_string(n + 1), 5);
    r.passage = r.refPassage = 1 + n / 100;
    r.refX = x, r.refY = y, x += step(random), y += step(random), r.x = x, r.y = y;
    r.left = r.right = 1.5;
    r.colour = 1 + n % 5;
  }
  platform::MemorySettingsStore settings;
  draw::DeviceCaps caps;
  caps.widthPixels = 400, caps.heightPixels = 300;
  draw::PlaneDrawingOptions options;
  options.window = {400, 300};
  EnsureGuiApplication();
  for (const int zoom : {100, 400, 1600}) {
    SCOPED_TRACE("zoom " + std::to_string(zoom));
    ws.setZoomPercent(zoom);
    const auto paint = [&](draw::Surface& s) {
      draw::ViewTransform view;
      view.setProjectionDirty(true);
      ASSERT_TRUE(draw::DrawPlane(s, store, ws, view, settings, options).drawn);
    };
    int lines[2] = {};
    QImage pictures[2];
    for (const bool tell : {true, false}) {
      pictures[tell] = PaintImage(caps, 0xFFFFFF, [&](draw::Surface& s) {
        CountingSurface counting(s, tell);
        paint(counting);
        lines[tell] = counting.lines;
      });
    }
    EXPECT_GT(lines[false], 3000);
    if (zoom >= 1600) {
      EXPECT_LT(lines[true] * 2, lines[false]);
    }
    EXPECT_TRUE(pictures[true] == pictures[false]);
  }
}

}  // namespace
}  // namespace hp::gfx
