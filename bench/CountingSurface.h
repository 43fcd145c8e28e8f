// What the drawing benches draw on: a 1920 x 1080 screen, and a surface that
// draws nothing and only counts the primitives, so that a bench times the
// drawing code's own cost without any rasterisation.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "draw/RecordingSurface.h"
#include "draw/Surface.h"

namespace hp::bench {

// A 96-dpi full-colour screen of 1920 x 1080 pixels.
inline draw::DeviceCaps ScreenCaps() {
  draw::DeviceCaps caps;
  caps.dpiX = caps.dpiY = 96;
  caps.widthPixels = 1920;
  caps.heightPixels = 1080;
  caps.widthMm = 1920 * 254 / 960;  // 96 dpi
  caps.heightMm = 1080 * 254 / 960;
  caps.colours = 1 << 24;
  return caps;
}

class CountingSurface final : public draw::Surface {
 public:
  explicit CountingSurface(draw::DeviceCaps caps = ScreenCaps()) : m_caps(caps) {}

  draw::DeviceCaps Caps() const override { return m_caps; }
  void SetPen(const draw::Pen& pen) override { colours += pen.colour; }
  void SetBrush(const draw::Brush&) override {}
  void SetFont(const draw::Font& font) override { m_font = font; }
  void SetTextColour(draw::Colour) override {}
  void MoveTo(draw::Point) override {}
  void LineTo(draw::Point) override { ++lines; }
  void Rectangle(const draw::Rect&) override { ++rectangles; }
  void Ellipse(const draw::Rect&) override { ++ellipses; }
  void Text(draw::Point, std::string_view, unsigned) override { ++texts; }
  draw::Size TextExtent(std::string_view text) const override {
    return draw::RecordingSurface::MeasureText(text, m_font);
  }
  void DrawImage(const draw::Image&, const draw::Rect&) override { ++images; }

  void Reset() { lines = rectangles = ellipses = texts = images = 0; }

  size_t lines = 0, rectangles = 0, ellipses = 0, texts = 0, images = 0;
  uint64_t colours = 0;  // the pens' colours summed, so that no pen is optimised away

 private:
  draw::DeviceCaps m_caps;
  draw::Font m_font;
};

}  // namespace hp::bench
