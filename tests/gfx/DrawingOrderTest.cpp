// Lines and texts that wait beside each other in the painter surface: the
// picture must be the one drawn strictly in order, primitive by primitive.
#include <gtest/gtest.h>

#include <QImage>
#include <random>
#include <string>

#include "doc/SurveyStore.h"
#include "draw/SpatialDrawing.h"
#include "gfx/GuiApplication.h"
#include "gfx/PictureFile.h"
#include "gfx/QPainterSurface.h"
#include "platform/SettingsStore.h"
#include "support/ForwardingSurface.h"
#include "support/Survey.h"

namespace hp::gfx {
namespace {

// Hands every primitive to the painter at once: the order it was drawn in.
class InOrderSurface final : public test::ForwardingSurface {
 public:
  explicit InOrderSurface(QPainterSurface& s) : ForwardingSurface(s), m_s(s) {}
  void LineTo(draw::Point p) override { m_s.LineTo(p), m_s.Flush(); }
  void Rectangle(const draw::Rect& rect) override { m_s.Rectangle(rect), m_s.Flush(); }
  void Ellipse(const draw::Rect& bounds) override { m_s.Ellipse(bounds), m_s.Flush(); }
  void Text(draw::Point at, std::string_view text, unsigned align) override { m_s.Text(at, text, align), m_s.Flush(); }
  void DrawImage(const draw::Image& image, const draw::Rect& destination) override {
    m_s.DrawImage(image, destination), m_s.Flush();
  }

 private:
  QPainterSurface& m_s;
};

draw::DeviceCaps Caps(int width, int height) {
  draw::DeviceCaps caps;
  caps.widthPixels = width, caps.heightPixels = height;
  return caps;
}

// The picture drawn through the surface as it batches, and drawn in order.
std::pair<QImage, QImage> BothWays(const draw::DeviceCaps& caps, const Painting& paint) {
  EnsureGuiApplication();
  const QImage batched = PaintImage(caps, 0xFFFFFF, paint);
  const QImage inOrder = PaintImage(caps, 0xFFFFFF, [&](draw::Surface& s) {
    InOrderSurface strict(dynamic_cast<QPainterSurface&>(s));
    paint(strict);
  });
  return {batched, inOrder};
}

int InkedPixels(const QImage& image) {
  int n = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) n += image.pixel(x, y) != qRgb(255, 255, 255);
  return n;
}

// Short lines and labels crowded close together, in thin and wide, solid
// and dashed pens, and in plain, bold, italic and larger fonts.
TEST(DrawingOrderTest, CrowdedLinesAndLabelsAsIfDrawnOneByOne) {
  const draw::Pen pens[] = {{draw::PenStyle::Solid, 1, 0x0000FF},
                            {draw::PenStyle::Solid, 1, 0x00AA00},
                            {draw::PenStyle::Solid, 3, 0xAA00AA},
                            {draw::PenStyle::Dashed, 1, 0x000000},
                            {draw::PenStyle::Solid, 6, 0x00AAFF}};
  const draw::Font fonts[] = {{}, {.height = -13, .weight = 700}, {.height = -11, .italic = true}, {.height = -24}};
  const char* texts[] = {"12", "A7/fjy", "Wgq 3", "ÄÖü 0", "ﬁ"};
  for (unsigned seed = 1; seed <= 4; ++seed) {
    SCOPED_TRACE(seed);
    const auto [batched, inOrder] = BothWays(Caps(120, 90), [&](draw::Surface& s) {
      std::mt19937 random(seed);
      auto pick = [&random](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
      draw::Point at{60, 45};
      for (int i = 0; i < 400; ++i) {
        const draw::Point to{std::clamp(at.x + pick(21) - 10, -5, 125), std::clamp(at.y + pick(21) - 10, -5, 95)};
        if (pick(3) != 0) {
          s.SetPen(pens[pick(5)]);
          s.Line(at, to);
        } else {
          s.SetFont(fonts[pick(4)]);
          s.SetTextColour(pick(2) == 0 ? 0x0000CC : 0x008800);
          s.Text({to.x + 3, to.y - 3}, texts[pick(5)],
                 pick(2) == 0 ? draw::kAlignLeft | draw::kAlignBottom : draw::kAlignCentre | draw::kAlignTop);
        }
        at = to;
      }
    });
    EXPECT_GT(InkedPixels(inOrder), 120 * 90 / 4);
    EXPECT_TRUE(batched == inOrder);
  }
}

// A dense perspective and camera view of labelled legs with station marks,
// walls and the height scale, drawn both ways.
TEST(DrawingOrderTest, SpatialPicturesAsIfDrawnOneByOne) {
  doc::SurveyStore store;
  doc::SetDefaultSettings(store.settings);
  doc::Worksheet ws = test::NewSheet();
  ws.setOriginPoint("");
  ws.setStationNumbering(1), ws.setStationMark(1), ws.setPointsInLegColour(1), ws.setShowCrossSections(1);
  ws.setShowFrame(1), ws.setHeightLabels(1), ws.setShowTitleAndPageLabel(0), ws.setLineColourMode(1);
  ws.setViewAzimuth(30), ws.setViewInclination(-25);
  store.settings.currentRecordNumber = 0;
  std::mt19937 random(7);
  std::uniform_real_distribution<double> step(-6, 6);
  draw::Vec3 at{0, 0, 0};
  for (int n = 0; n < 600; ++n) {
    doc::SurveyRecord& r = test::AddLeg(store, "", std::to_string(n + 1), 5);
    r.passage = r.refPassage = 1 + n / 100;
    const draw::Vec3 to{at.x + step(random), at.y + step(random), at.z + step(random) / 3};
    r.refX = at.x, r.refY = at.y, r.refZ = at.z, r.x = to.x, r.y = to.y, r.z = to.z;
    for (int k = 0; k < 4; ++k)
      r.altCoords[3 * k] = to.x + (k - 1.5), r.altCoords[3 * k + 1] = to.y, r.altCoords[3 * k + 2] = to.z;
    r.colour = 1 + n % 5;
    at = to;
  }
  platform::MemorySettingsStore settings;
  for (const doc::DisplayType type : {doc::DisplayType::Perspective, doc::DisplayType::Animation}) {
    SCOPED_TRACE(doc::DisplayTypeText(type));
    ws.setDisplayType(type);
    draw::SpatialDrawingOptions options;
    options.window = options.screen = {400, 300};
    const auto [batched, inOrder] = BothWays(Caps(400, 300), [&](draw::Surface& s) {
      draw::ViewTransform view;
      view.setProjectionDirty(true);
      ASSERT_TRUE(draw::DrawSpatial(s, store, ws, view, settings, options).drawn);
    });
    EXPECT_GT(InkedPixels(inOrder), 400 * 300 / 40);
    EXPECT_TRUE(batched == inOrder);
  }
}

}  // namespace
}  // namespace hp::gfx
