// The drawing surface over a QPainter: a window, an image, an SVG or PDF
// page, later a printer. Lines drawn one after the other in the same pen are
// handed to the painter together, so a plan of many legs stays fast; call
// Flush() (or destroy the surface) before the painter ends.
#pragma once

#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QLine>
#include <QPaintDevice>
#include <QPainter>
#include <QPen>
#include <optional>
#include <vector>

#include "draw/Surface.h"

namespace hp::gfx {

QColor ToQColor(draw::Colour colour);
draw::Colour FromQColor(const QColor& colour);

// The device capabilities of a paint device as it reports them.
draw::DeviceCaps CapsOf(const QPaintDevice& device);

// A Qt font for a surface font: negative heights are character heights,
// positive ones cell heights; a width other than 0 stretches the face.
QFont ToQFont(const draw::Font& font);

class QPainterSurface final : public draw::Surface {
 public:
  // Draws with `painter` (already begun) on a device of `caps`.
  QPainterSurface(QPainter& painter, const draw::DeviceCaps& caps);
  ~QPainterSurface() override;

  QPainterSurface(const QPainterSurface&) = delete;
  QPainterSurface& operator=(const QPainterSurface&) = delete;

  // Hands the lines still waiting to the painter.
  void Flush();

  draw::DeviceCaps Caps() const override { return m_caps; }
  void SetPen(const draw::Pen& pen) override;
  void SetBrush(const draw::Brush& brush) override;
  void SetFont(const draw::Font& font) override;
  void SetTextColour(draw::Colour colour) override { m_textColour = colour; }
  void MoveTo(draw::Point p) override { m_position = p; }
  void LineTo(draw::Point p) override;
  void Rectangle(const draw::Rect& rect) override;
  void Ellipse(const draw::Rect& bounds) override;
  void Text(draw::Point at, std::string_view text, unsigned align) override;
  draw::Size TextExtent(std::string_view text) const override;
  void DrawImage(const draw::Image& image, const draw::Rect& destination) override;

 private:
  // Puts the line pen and brush on the painter for outlines and lines.
  void UseShapeState();

  QPainter& m_painter;
  draw::DeviceCaps m_caps;
  draw::Pen m_pen;
  QPen m_qpen;
  QBrush m_qbrush;
  bool m_shapeStateCurrent = false;  // the painter holds m_qpen and m_qbrush
  draw::Font m_font;
  QFont m_qfont;
  QFontMetrics m_metrics;
  draw::Colour m_textColour = 0;
  draw::Point m_position;
  std::vector<QLine> m_lines;  // waiting to be drawn in m_qpen
};

}  // namespace hp::gfx
