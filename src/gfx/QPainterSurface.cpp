// The painter surface: state kept on our side, handed to the painter only
// when a primitive needs it.
#include "gfx/QPainterSurface.h"

#include <QString>
#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace hp::gfx {
namespace {

constexpr int kDefaultFontHeight = 13;  // a font of height 0

QString ToQString(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

QColor ToQColor(draw::Colour colour) {
  return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                static_cast<int>((colour >> 16) & 0xFF));
}

draw::Colour FromQColor(const QColor& colour) {
  return draw::RgbColour(colour.red(), colour.green(), colour.blue());
}

draw::DeviceCaps CapsOf(const QPaintDevice& device) {
  draw::DeviceCaps caps;
  caps.dpiX = device.logicalDpiX();
  caps.dpiY = device.logicalDpiY();
  caps.widthPixels = device.width();
  caps.heightPixels = device.height();
  caps.widthMm = device.widthMM();
  caps.heightMm = device.heightMM();
  caps.colours = device.depth() >= 24 ? 1 << 24 : 1 << std::max(1, device.depth());
  return caps;
}

QFont ToQFont(const draw::Font& font) {
  QFont q(QString::fromStdString(font.faceName));
  q.setStyleHint(QFont::SansSerif);
  q.setWeight(static_cast<QFont::Weight>(std::clamp(font.weight == 0 ? 400 : font.weight, 1, 1000)));
  q.setItalic(font.italic);
  q.setUnderline(font.underline);
  q.setStrikeOut(font.strikeOut);
  // Clamp absurd stored heights; a label taller than any page is no label.
  const int height = font.height == 0 ? -kDefaultFontHeight : std::clamp(font.height, -20000, 20000);
  if (height < 0) {
    q.setPixelSize(-height);
  } else {
    // A cell height includes the leading above the characters: shrink the
    // character size until the cell fits.
    q.setPixelSize(height);
    const int cell = QFontMetrics(q).height();
    if (cell > height) q.setPixelSize(std::max(1, static_cast<int>(std::lround(1.0 * height * height / cell))));
  }
  if (font.width > 0) {
    const int natural = QFontMetrics(q).averageCharWidth();
    if (natural > 0) q.setStretch(std::clamp(static_cast<int>(std::lround(100.0 * font.width / natural)), 1, 4000));
  }
  return q;
}

QPainterSurface::QPainterSurface(QPainter& painter, const draw::DeviceCaps& caps)
    : m_painter(painter), m_caps(caps), m_qfont(ToQFont(m_font)), m_metrics(m_qfont, painter.device()) {
  m_painter.setRenderHint(QPainter::Antialiasing, false);
  m_painter.setRenderHint(QPainter::TextAntialiasing, true);
  SetPen(m_pen);
  SetBrush({});
}

QPainterSurface::~QPainterSurface() { Flush(); }

void QPainterSurface::Flush() {
  if (m_lines.empty()) return;
  UseShapeState();
  m_painter.drawLines(m_lines.data(), static_cast<int>(m_lines.size()));
  m_lines.clear();
}

void QPainterSurface::UseShapeState() {
  if (m_shapeStateCurrent) return;
  m_painter.setPen(m_qpen);
  m_painter.setBrush(m_qbrush);
  m_shapeStateCurrent = true;
}

void QPainterSurface::SetPen(const draw::Pen& pen) {
  if (pen == m_pen && m_shapeStateCurrent) return;
  Flush();
  m_pen = pen;
  if (pen.style == draw::PenStyle::None) {
    m_qpen = QPen(Qt::NoPen);
  } else {
    // Widths 0 and 1 are the thinnest line the device draws.
    m_qpen = QPen(ToQColor(pen.colour), pen.width <= 1 ? 0 : pen.width,
                  pen.style == draw::PenStyle::Dashed ? Qt::DashLine : Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
  }
  m_shapeStateCurrent = false;
}

void QPainterSurface::SetBrush(const draw::Brush& brush) {
  Flush();
  m_qbrush = brush.style == draw::BrushStyle::Solid ? QBrush(ToQColor(brush.colour)) : QBrush(Qt::NoBrush);
  m_shapeStateCurrent = false;
}

void QPainterSurface::SetFont(const draw::Font& font) {
  if (font == m_font) return;
  m_font = font;
  m_qfont = ToQFont(font);
  m_metrics = QFontMetrics(m_qfont, m_painter.device());
}

void QPainterSurface::LineTo(draw::Point p) {
  if (!m_shapeStateCurrent) {
    Flush();
    UseShapeState();
  }
  m_lines.emplace_back(m_position.x, m_position.y, p.x, p.y);
  m_position = p;
}

void QPainterSurface::Rectangle(const draw::Rect& rect) {
  Flush();
  UseShapeState();
  // Right and bottom edges are outside, as on every device the program draws on.
  const QRect r(QPoint(rect.left, rect.top), QPoint(rect.right - 1, rect.bottom - 1));
  if (m_pen.style == draw::PenStyle::None) {
    m_painter.fillRect(r, m_qbrush);
  } else {
    m_painter.drawRect(r.adjusted(0, 0, -1, -1));
  }
}

void QPainterSurface::Ellipse(const draw::Rect& bounds) {
  Flush();
  UseShapeState();
  m_painter.drawEllipse(QRect(QPoint(bounds.left, bounds.top), QPoint(bounds.right - 2, bounds.bottom - 2)));
}

void QPainterSurface::Text(draw::Point at, std::string_view text, unsigned align) {
  Flush();
  const QString s = ToQString(text);
  const int width = m_metrics.horizontalAdvance(s);
  int dx = 0, dy = 0;
  switch (align & draw::kHorizontalAlignMask) {
    case draw::kAlignCentre: dx = -width / 2; break;
    case draw::kAlignRight: dx = -width; break;
    default: break;
  }
  switch (align & draw::kVerticalAlignMask) {
    case draw::kAlignBaseline: break;
    case draw::kAlignBottom: dy = -m_metrics.descent(); break;
    default: dy = m_metrics.ascent(); break;
  }
  m_painter.setFont(m_qfont);
  m_painter.setPen(ToQColor(m_textColour));
  m_shapeStateCurrent = false;
  if (m_font.escapement % 3600 == 0) {
    m_painter.drawText(at.x + dx, at.y + dy, s);
    return;
  }
  m_painter.save();
  m_painter.translate(at.x, at.y);
  m_painter.rotate(-m_font.escapement / 10.0);  // escapement turns counter-clockwise
  m_painter.drawText(dx, dy, s);
  m_painter.restore();
}

draw::Size QPainterSurface::TextExtent(std::string_view text) const {
  return {m_metrics.horizontalAdvance(ToQString(text)), m_metrics.height()};
}

void QPainterSurface::DrawImage(const draw::Image& image, const draw::Rect& destination) {
  if (image.width <= 0 || image.height <= 0 ||
      image.pixels.size() < static_cast<size_t>(image.width) * static_cast<size_t>(image.height)) {
    return;
  }
  Flush();
  QImage picture(image.width, image.height, QImage::Format_RGB32);
  if (picture.isNull()) return;  // no memory for the copy: the drawing goes on without it
  for (int y = 0; y < image.height; ++y) {
    auto* row = reinterpret_cast<QRgb*>(picture.scanLine(y));
    const draw::Colour* source = image.pixels.data() + static_cast<size_t>(y) * image.width;
    for (int x = 0; x < image.width; ++x) {
      const draw::Colour c = source[x];
      row[x] = qRgb(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF), static_cast<int>((c >> 16) & 0xFF));
    }
  }
  m_painter.drawImage(QRect(QPoint(destination.left, destination.top),
                            QPoint(destination.right - 1, destination.bottom - 1)),
                      picture);
}

}  // namespace hp::gfx
