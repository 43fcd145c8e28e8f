// The painter surface on a small image: where lines, outlines, fills, text
// and pictures land in pixels. One reference picture holds the shapes; texts
// are checked by where their ink lies, since glyphs depend on the font.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <cstdlib>
#include <functional>

#include "draw/Surface.h"
#include "gfx/GuiApplication.h"
#include "gfx/PictureFile.h"
#include "gfx/QPainterSurface.h"

namespace hp::gfx {
namespace {

constexpr draw::Colour kWhite = 0xFFFFFF;
constexpr draw::Colour kRed = draw::RgbColour(255, 0, 0);
constexpr draw::Colour kBlue = draw::RgbColour(0, 0, 255);
constexpr draw::Colour kGreen = draw::RgbColour(0, 160, 0);

class PainterSurfaceTest : public testing::Test {
 protected:
  void SetUp() override { EnsureGuiApplication(); }

  static QImage Paint(int width, int height, const Painting& paint) {
    draw::DeviceCaps caps;
    caps.widthPixels = width;
    caps.heightPixels = height;
    return PaintImage(caps, kWhite, paint);
  }

  // The bounding box of every pixel that is not white; empty when none.
  static QRect Ink(const QImage& image) {
    QRect box;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x)
        if (image.pixel(x, y) != qRgb(255, 255, 255)) box |= QRect(x, y, 1, 1);
    return box;
  }

  static draw::Colour At(const QImage& image, int x, int y) { return FromQColor(image.pixelColor(x, y)); }
};

TEST_F(PainterSurfaceTest, ShapesMatchTheReferencePicture) {
  const QImage image = Paint(48, 32, [](draw::Surface& s) {
    s.SetPen({draw::PenStyle::Solid, 1, kRed});
    s.Line({2, 2}, {45, 2});
    s.LineTo({45, 29});
    s.SetPen({draw::PenStyle::Dashed, 1, kBlue});
    s.Line({2, 29}, {40, 29});
    s.SetPen({draw::PenStyle::Solid, 3, kGreen});
    s.Line({5, 8}, {20, 20});
    s.SetPen({draw::PenStyle::Solid, 1, 0});
    s.SetBrush({draw::BrushStyle::Solid, kBlue});
    s.Rectangle({24, 8, 32, 14});
    s.SetBrush({draw::BrushStyle::Hollow, 0});
    s.Ellipse({30, 16, 42, 26});
  });
  const QString reference = QStringLiteral(HP_GFX_REFERENCE_DIR "/shapes.png");
  if (std::getenv("HP_UPDATE_REFERENCES") != nullptr) {
    ASSERT_TRUE(image.save(reference));
  }
  const QImage expected = QImage(reference).convertToFormat(QImage::Format_RGB32);
  ASSERT_FALSE(expected.isNull()) << "missing " << reference.toStdString();
  EXPECT_EQ(image, expected) << "differs from " << reference.toStdString();
}

TEST_F(PainterSurfaceTest, RectanglesLeaveOutTheRightAndBottomEdges) {
  const QImage image = Paint(20, 20, [](draw::Surface& s) {
    s.SetPen({draw::PenStyle::None, 1, 0});
    s.SetBrush({draw::BrushStyle::Solid, kBlue});
    s.Rectangle({2, 3, 6, 8});
    s.SetPen({draw::PenStyle::Solid, 1, kRed});
    s.SetBrush({draw::BrushStyle::Hollow, 0});
    s.Rectangle({10, 10, 15, 14});
  });
  EXPECT_EQ(Ink(image), QRect(QPoint(2, 3), QPoint(14, 13)));
  EXPECT_EQ(At(image, 5, 7), kBlue);
  EXPECT_EQ(At(image, 6, 7), kWhite);
  EXPECT_EQ(At(image, 5, 8), kWhite);
  EXPECT_EQ(At(image, 14, 13), kRed) << "outline's last pixel is right - 1, bottom - 1";
  EXPECT_EQ(At(image, 12, 12), kWhite) << "hollow inside";
}

TEST_F(PainterSurfaceTest, TextIsPlacedByItsAlignment) {
  struct Case {
    unsigned align;
    const char* name;
    std::function<bool(const QRect&)> placed;
  };
  const draw::Point at{100, 50};
  // clang-format off
  const Case cases[] = {
      {draw::kAlignLeft | draw::kAlignTop, "left top", [&](const QRect& r) { return r.left() >= at.x - 1 && r.top() >= at.y; }},
      {draw::kAlignRight | draw::kAlignBottom, "right bottom",
       [&](const QRect& r) { return r.right() <= at.x && r.bottom() < at.y; }},
      {draw::kAlignCentre | draw::kAlignBaseline, "centre baseline",
       [&](const QRect& r) { return r.left() < at.x && r.right() > at.x && r.bottom() <= at.y && r.bottom() >= at.y - 2; }},
  };
  // clang-format on
  for (const Case& c : cases) {
    const QImage image = Paint(200, 100, [&](draw::Surface& s) {
      s.SetFont({-16, 0, 0, 400, false, false, false, "Arial"});
      s.SetTextColour(kRed);
      s.Text(at, "EHE", c.align);
    });
    const QRect ink = Ink(image);
    ASSERT_FALSE(ink.isEmpty()) << c.name;
    EXPECT_TRUE(c.placed(ink)) << c.name << ": ink at " << ink.x() << "," << ink.y() << " " << ink.width() << "x"
                               << ink.height();
    EXPECT_NEAR(ink.height(), 12, 2) << "capital height of a 16-pixel font, " << c.name;
  }
}

TEST_F(PainterSurfaceTest, EscapementTurnsTheTextCounterClockwise) {
  const QImage image = Paint(100, 200, [](draw::Surface& s) {
    s.SetFont({-16, 0, 900, 400, false, false, false, "Arial"});
    s.SetTextColour(0);
    s.Text({50, 150}, "EHEHEH", draw::kAlignLeft | draw::kAlignBaseline);
  });
  const QRect ink = Ink(image);
  EXPECT_GT(ink.height(), 2 * ink.width()) << "the line runs upwards";
  EXPECT_LE(ink.bottom(), 150);
  EXPECT_LE(ink.right(), 50) << "letters stand to the left of an upward baseline";
}

TEST_F(PainterSurfaceTest, FontHeightsAndExtents) {
  const QImage image = Paint(10, 10, [](draw::Surface& s) {
    s.SetFont({-20, 0, 0, 400, false, false, false, "Arial"});
    const draw::Size character = s.TextExtent("Höhle");
    EXPECT_GE(character.cy, 20);  // character height plus leading
    EXPECT_GT(character.cx, 3 * 10);
    s.SetFont({20, 0, 0, 400, false, false, false, "Arial"});
    EXPECT_LE(s.TextExtent("Höhle").cy, 20) << "a positive height is the whole cell";
    const int natural = s.TextExtent("Höhle").cx;
    s.SetFont({20, 30, 0, 400, false, false, false, "Arial"});
    EXPECT_GT(s.TextExtent("Höhle").cx, natural) << "a wide font stretches";
    s.SetFont({0, 0, 0, 400, false, false, false, "Arial"});
    EXPECT_GT(s.TextExtent("x").cy, 10);
    EXPECT_EQ(s.TextExtent("").cx, 0);
  });
  EXPECT_EQ(Ink(image), QRect());
}

TEST_F(PainterSurfaceTest, PicturesAreStretchedIntoTheirRectangle) {
  draw::Image picture;
  picture.width = 2, picture.height = 1;
  picture.pixels = {kRed, kBlue};
  draw::Image broken;
  broken.width = 4, broken.height = 4;  // no pixels: skipped
  const QImage image = Paint(20, 10, [&](draw::Surface& s) {
    s.DrawImage(picture, {0, 2, 10, 6});
    s.DrawImage(broken, {0, 0, 20, 10});
  });
  EXPECT_EQ(Ink(image), QRect(QPoint(0, 2), QPoint(9, 5)));
  EXPECT_EQ(At(image, 1, 3), kRed);
  EXPECT_EQ(At(image, 8, 4), kBlue);
}

TEST(ColourTest, DocumentColoursHaveRedInTheLowByte) {
  EXPECT_EQ(ToQColor(0x0000FF), QColor(255, 0, 0));
  EXPECT_EQ(ToQColor(0xFF0000), QColor(0, 0, 255));
  EXPECT_EQ(ToQColor(0xFF123456), QColor(0x56, 0x34, 0x12)) << "the high byte is ignored";
  EXPECT_EQ(FromQColor(QColor(1, 2, 3)), 0x030201u);
}

}  // namespace
}  // namespace hp::gfx
