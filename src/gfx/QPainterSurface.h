// The drawing surface over a QPainter: a window, an image, an SVG or PDF
// page, later a printer. Lines drawn one after the other in the same pen, and
// unturned texts one after the other in the same font and colour, are handed
// to the painter together, so a plan of many legs and labels stays fast; call
// Flush() (or destroy the surface) before the painter ends.
#pragma once

#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QGlyphRun>
#include <QImage>
#include <QLine>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QPen>
#include <QRawFont>
#include <algorithm>
#include <array>
#include <optional>
#include <unordered_map>
#include <utility>
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

// Glyphs and advances of one font for the characters of simple texts (the
// Latin scripts the document's Windows-1252 texts hold): station labels are
// laid out without the general text shaper, which would cost far more than
// drawing them. Texts with other characters, or in a stretched font, are
// left to the painter's text layout.
class GlyphCache {
 public:
  explicit GlyphCache(const QFont& font);

  // Fills glyph indexes and pen positions (baseline at 0), the advance
  // width and, unless null, the box the glyphs' outlines cover; false when
  // the text needs the general layout.
  bool Layout(const QString& text, QList<quint32>& glyphs, QList<QPointF>& positions, qreal& width, QRectF* ink);
  const QRawFont& rawFont() const { return m_raw; }

 private:
  struct Glyph {
    quint32 index = 0;
    qreal advance = 0;
    QRectF bounds;       // of the outline, pen at (0, 0)
    bool known = false;  // looked up in the font
  };
  // The glyph of `c`, null when the text needs the general layout.
  const Glyph* Find(char32_t c);
  Glyph Load(char32_t c) const;

  QRawFont m_raw;
  bool m_usable = false;
  std::array<Glyph, 256> m_direct;  // the first 256 characters, looked up most
  std::unordered_map<char32_t, Glyph> m_glyphs;
};

// A box of pixels, edges included.
struct PixelBox {
  int left = 0, top = 0, right = -1, bottom = -1;
  static PixelBox Around(int x1, int y1, int x2, int y2) {
    return {std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)};
  }
  // True when the boxes come closer than `reach` pixels.
  bool Meets(const PixelBox& o, int reach) const {
    return o.left <= right + reach && left <= o.right + reach && o.top <= bottom + reach && top <= o.bottom + reach;
  }
  PixelBox United(const PixelBox& o) const {
    return {std::min(left, o.left), std::min(top, o.top), std::max(right, o.right), std::max(bottom, o.bottom)};
  }
};

class QPainterSurface final : public draw::Surface {
 public:
  // Draws with `painter` (already begun) on a device of `caps`.
  QPainterSurface(QPainter& painter, const draw::DeviceCaps& caps);
  ~QPainterSurface() override;

  QPainterSurface(const QPainterSurface&) = delete;
  QPainterSurface& operator=(const QPainterSurface&) = delete;

  // Hands the lines and texts still waiting to the painter.
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
  void ClipTo(const draw::Rect* rect) override;
  std::optional<draw::Rect> ShownArea() const override;

 private:
  // Puts the line pen and brush on the painter for outlines and lines.
  void UseShapeState();
  void FlushLines();
  void FlushText();
  // True when lines and texts may wait together: on pixel pictures only (a
  // vector file keeps the order it was drawn in), and under a plain
  // translation, where the boxes are in device pixels.
  bool Reorderable() const { return m_raster && m_painter.worldTransform().type() <= QTransform::TxTranslate; }
  // Queues the line (x1, y1)-(x2, y2) in m_qpen, first drawing waiting texts it meets.
  void QueueLine(int x1, int y1, int x2, int y2);
  // Puts the pen for texts of `colour` on the painter.
  void UseTextPen(draw::Colour colour);
  // The advance width of `text` in the current font, through the cache
  // when the text is simple.
  int Advance(const QString& text) const;
  // True when a text box at (x, y) of `width` (logical units, baseline y)
  // lies wholly outside the device: nothing of it would show.
  bool OutsideDevice(int x, int y, int width) const;

  QPainter& m_painter;
  draw::DeviceCaps m_caps;
  draw::Pen m_pen;
  bool m_penBuilt = false;  // m_qpen is made from m_pen
  bool m_raster = false;    // the painter draws pixels
  QPen m_qpen;
  std::array<std::pair<draw::Pen, QPen>, 4> m_builtPens;  // the pens built last
  size_t m_builtPenCount = 0, m_nextBuiltPen = 0;
  QBrush m_qbrush;
  bool m_shapeStateCurrent = false;  // the painter holds m_qpen and m_qbrush
  bool m_brushCurrent = false;       // the painter holds m_qbrush (texts leave it alone)
  draw::Font m_font;
  QFont m_qfont;
  QFontMetrics m_metrics;
  // Measuring fills the cache as drawing does, so these change in const calls.
  mutable std::optional<GlyphCache> m_glyphs;  // of m_qfont, unless stretched
  mutable QList<quint32> m_glyphIndexes;
  mutable QList<QPointF> m_glyphPositions;
  draw::Colour m_textColour = 0;
  draw::Point m_position;
  std::vector<QLine> m_lines;  // waiting to be drawn in m_qpen
  // Lines and texts wait together only while no waiting line meets the
  // device box of a waiting text: their pixels are disjoint, so drawing
  // either batch first gives the same picture.
  std::vector<PixelBox> m_textBoxes;
  PixelBox m_textUnion;   // of m_textBoxes, when there are any
  int m_textRuns = 0;     // texts waiting in the glyph run
  int m_lineReach = 0;    // pixels the waiting lines reach beyond their ideal path
  PixelBox m_lineBounds;  // of the waiting lines' end points
  QRectF m_glyphInk;      // of the text laid out last
  // Glyphs waiting to be drawn in m_runFont and m_runColour, at device
  // positions.
  QRawFont m_runFont;
  draw::Colour m_runColour = 0;
  QList<quint32> m_runIndexes;
  QList<QPointF> m_runPositions;
  // The text pen of m_textPenColour, kept so that labels between lines do not
  // build a new pen each time; the glyph run is reused for the same reason.
  QPen m_textPen;
  draw::Colour m_textPenColour = 0;
  bool m_textPenValid = false;
  QGlyphRun m_run;
};

}  // namespace hp::gfx
