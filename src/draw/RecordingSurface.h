// A surface that draws nothing and logs every primitive with the pen, brush,
// font and text colour in effect, so tests can check what a drawing puts
// where. Text extents follow a simple fixed metric.
#pragma once

#include <string>
#include <vector>

#include "draw/Surface.h"

namespace hp::draw {

struct RecordedPrimitive {
  enum class Kind { Line, Rectangle, Ellipse, Text, Image };
  Kind kind = Kind::Line;
  Point from, to;    // Line: its ends; Rectangle, Ellipse, Image: top-left and bottom-right
  std::string text;  // Text only
  unsigned align = 0;
  int imageWidth = 0, imageHeight = 0;  // Image only
  Pen pen;
  Brush brush;
  Font font;
  Colour textColour = 0;
};

class RecordingSurface final : public Surface {
 public:
  explicit RecordingSurface(DeviceCaps caps = DefaultCaps()) : m_caps(caps) {}

  // A 96-dpi full-colour screen of 1920 x 1080 pixels.
  static DeviceCaps DefaultCaps();

  // Each character (UTF-8 code point) is 3/5 of the font's absolute height
  // wide, at least 1; the line is the absolute height tall (13 for height 0).
  static Size MeasureText(std::string_view text, const Font& font);

  DeviceCaps Caps() const override { return m_caps; }
  void SetPen(const Pen& pen) override { m_pen = pen; }
  void SetBrush(const Brush& brush) override { m_brush = brush; }
  void SetFont(const Font& font) override { m_font = font; }
  void SetTextColour(Colour colour) override { m_textColour = colour; }
  void MoveTo(Point p) override { m_position = p; }
  void LineTo(Point p) override;
  void Rectangle(const Rect& rect) override;
  void Ellipse(const Rect& bounds) override;
  void Text(Point at, std::string_view text, unsigned align) override;
  Size TextExtent(std::string_view text) const override { return MeasureText(text, m_font); }
  void DrawImage(const Image& image, const Rect& destination) override;

  const std::vector<RecordedPrimitive>& primitives() const { return m_log; }
  Point position() const { return m_position; }
  void Clear() { m_log.clear(); }

 private:
  RecordedPrimitive Start(RecordedPrimitive::Kind kind) const;

  DeviceCaps m_caps;
  Pen m_pen;
  Brush m_brush;
  Font m_font;
  Colour m_textColour = 0;
  Point m_position;
  std::vector<RecordedPrimitive> m_log;
};

}  // namespace hp::draw
