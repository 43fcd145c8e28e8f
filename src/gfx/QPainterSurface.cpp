// The painter surface: state kept on our side, handed to the painter only
// when a primitive needs it.
#include "gfx/QPainterSurface.h"

#include <QGlyphRun>
#include <QString>
#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace hp::gfx {
namespace {

constexpr int kDefaultFontHeight = 13;  // a font of height 0
// Waiting lines or texts a new text or line is compared with one by one;
// beyond that the waiting batch is drawn first.
constexpr size_t kMaxCompared = 64;
// Pixels added around a glyph outline for hinting and smoothing.
constexpr int kInkMargin = 1;

QString ToQString(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

}  // namespace

QColor ToQColor(draw::Colour colour) {
  return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                static_cast<int>((colour >> 16) & 0xFF));
}

draw::Colour FromQColor(const QColor& colour) { return draw::RgbColour(colour.red(), colour.green(), colour.blue()); }

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

GlyphCache::GlyphCache(const QFont& font) : m_raw(QRawFont::fromFont(font)) {
  // A stretched or synthesised face is drawn differently from its raw font.
  const int stretch = font.stretch();
  m_usable = m_raw.isValid() && (stretch == QFont::AnyStretch || stretch == QFont::Unstretched) && !font.underline() &&
             !font.strikeOut();
  if (m_usable && (m_raw.weight() < 600) != (font.weight() < 600)) m_usable = false;
  if (m_usable && (m_raw.style() != QFont::StyleNormal) != font.italic()) m_usable = false;
}

GlyphCache::Glyph GlyphCache::Load(char32_t c) const {
  Glyph glyph;
  glyph.known = true;
  // Only characters that need no shaping: Latin letters, digits, signs.
  if ((c < 0x20) || (c > 0x24F && c < 0x2000) || c > 0x22FF) return glyph;
  const QString one = QString::fromUcs4(&c, 1);
  const QList<quint32> indexes = m_raw.glyphIndexesForString(one);
  if (indexes.size() == 1 && indexes[0] != 0) {
    glyph.index = indexes[0];
    const QList<QPointF> advances = m_raw.advancesForGlyphIndexes(indexes);
    glyph.advance = advances.isEmpty() ? 0 : advances[0].x();
    glyph.bounds = m_raw.boundingRect(glyph.index);
  }
  return glyph;
}

const GlyphCache::Glyph* GlyphCache::Find(char32_t c) {
  if (c < m_direct.size()) {
    Glyph& glyph = m_direct[c];
    if (!glyph.known) glyph = Load(c);
    return glyph.index != 0 ? &glyph : nullptr;
  }
  auto it = m_glyphs.find(c);
  if (it == m_glyphs.end()) it = m_glyphs.emplace(c, Load(c)).first;
  return it->second.index != 0 ? &it->second : nullptr;
}

bool GlyphCache::Layout(const QString& text, QList<quint32>& glyphs, QList<QPointF>& positions, qreal& width,
                        QRectF* ink) {
  glyphs.clear();
  positions.clear();
  width = 0;
  if (ink != nullptr) *ink = QRectF();
  if (!m_usable) return false;
  double left = 0, top = 0, right = 0, bottom = 0;
  bool inked = false;
  for (qsizetype i = 0; i < text.size(); ++i) {
    char32_t c = text[i].unicode();
    if (QChar::isHighSurrogate(c)) return false;
    const Glyph* found = Find(c);
    if (found == nullptr) return false;
    const Glyph& glyph = *found;
    glyphs.push_back(glyph.index);
    positions.push_back(QPointF(width, 0));
    if (ink != nullptr && !glyph.bounds.isEmpty()) {
      const double l = width + glyph.bounds.left(), r = width + glyph.bounds.right();
      left = inked ? std::min(left, l) : l, right = inked ? std::max(right, r) : r;
      top = inked ? std::min(top, glyph.bounds.top()) : glyph.bounds.top();
      bottom = inked ? std::max(bottom, glyph.bounds.bottom()) : glyph.bounds.bottom();
      inked = true;
    }
    width += glyph.advance;
  }
  if (inked) *ink = QRectF(QPointF(left, top), QPointF(right, bottom));
  return true;
}

QPainterSurface::QPainterSurface(QPainter& painter, const draw::DeviceCaps& caps)
    : m_painter(painter), m_caps(caps), m_qfont(ToQFont(m_font)), m_metrics(m_qfont, painter.device()),
      m_glyphs(std::in_place, m_qfont) {
  m_raster = m_painter.paintEngine() != nullptr && m_painter.paintEngine()->type() == QPaintEngine::Raster;
  m_painter.setRenderHint(QPainter::Antialiasing, false);
  m_painter.setRenderHint(QPainter::TextAntialiasing, true);
  SetPen(m_pen);
  SetBrush({});
}

QPainterSurface::~QPainterSurface() { Flush(); }

void QPainterSurface::Flush() {
  FlushLines();
  FlushText();
}

void QPainterSurface::FlushLines() {
  if (m_lines.empty()) return;
  UseShapeState();
  m_painter.drawLines(m_lines.data(), static_cast<int>(m_lines.size()));
  m_lines.clear();
}

void QPainterSurface::FlushText() {
  if (m_runIndexes.isEmpty()) return;
  UseTextPen(m_runColour);
  if (m_run.rawFont() != m_runFont) m_run.setRawFont(m_runFont);
  m_run.setGlyphIndexes(m_runIndexes);
  m_run.setPositions(m_runPositions);
  m_painter.drawGlyphRun(QPointF(0, 0), m_run);
  // Let go of the shared lists, so clearing them below keeps their storage.
  m_run.setGlyphIndexes({});
  m_run.setPositions({});
  m_runIndexes.clear();
  m_runPositions.clear();
  m_textBoxes.clear();
  m_textRuns = 0;
}

void QPainterSurface::UseTextPen(draw::Colour colour) {
  if (!m_textPenValid || m_textPenColour != colour) {
    m_textPen = QPen(ToQColor(colour));
    m_textPenColour = colour;
    m_textPenValid = true;
  }
  m_painter.setPen(m_textPen);
  m_shapeStateCurrent = false;
}

void QPainterSurface::UseShapeState() {
  if (m_shapeStateCurrent) return;
  m_painter.setPen(m_qpen);
  if (!m_brushCurrent) m_painter.setBrush(m_qbrush);
  m_shapeStateCurrent = m_brushCurrent = true;
}

void QPainterSurface::SetPen(const draw::Pen& pen) {
  // Texts drawn in between leave the line pen as it was on our side.
  if (pen == m_pen && m_penBuilt) return;
  FlushLines();
  m_penBuilt = true;
  m_pen = pen;
  m_shapeStateCurrent = false;
  // A plan switches between a few pens again and again (legs and marks):
  // the pens built last are kept.
  for (size_t i = 0; i < m_builtPenCount; ++i) {
    if (m_builtPens[i].first == pen) {
      m_qpen = m_builtPens[i].second;
      return;
    }
  }
  if (pen.style == draw::PenStyle::None) {
    m_qpen = QPen(Qt::NoPen);
  } else {
    // Widths 0 and 1 are the thinnest line the device draws.
    m_qpen = QPen(ToQColor(pen.colour), pen.width <= 1 ? 0 : pen.width,
                  pen.style == draw::PenStyle::Dashed ? Qt::DashLine : Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
  }
  m_builtPens[m_nextBuiltPen] = {pen, m_qpen};
  m_nextBuiltPen = (m_nextBuiltPen + 1) % m_builtPens.size();
  m_builtPenCount = std::min(m_builtPenCount + 1, m_builtPens.size());
}

void QPainterSurface::SetBrush(const draw::Brush& brush) {
  FlushLines();
  m_qbrush = brush.style == draw::BrushStyle::Solid ? QBrush(ToQColor(brush.colour)) : QBrush(Qt::NoBrush);
  m_shapeStateCurrent = m_brushCurrent = false;
}

void QPainterSurface::SetFont(const draw::Font& font) {
  if (font == m_font) return;
  FlushText();
  m_font = font;
  m_qfont = ToQFont(font);
  m_metrics = QFontMetrics(m_qfont, m_painter.device());
  m_glyphs.reset();
  if (font.width == 0) m_glyphs.emplace(m_qfont);
}

int QPainterSurface::Advance(const QString& text) const {
  qreal width = 0;
  if (m_glyphs && m_glyphs->Layout(text, m_glyphIndexes, m_glyphPositions, width, nullptr)) {
    return static_cast<int>(std::lround(width));
  }
  return m_metrics.horizontalAdvance(text);
}

bool QPainterSurface::OutsideDevice(int x, int y, int width) const {
  const QPaintDevice* device = m_painter.device();
  if (device == nullptr || m_painter.worldTransform().type() > QTransform::TxTranslate) return false;
  const QRect box = m_painter.worldTransform().mapRect(
      QRect(x, y - m_metrics.ascent(), width + m_metrics.maxWidth(), m_metrics.height()));
  return !box.intersects(QRect(0, 0, device->width(), device->height()));
}

std::optional<draw::Rect> QPainterSurface::ShownArea() const {
  // Texts wholly outside the device are left out (OutsideDevice); lines are
  // clipped by the painter.
  const QPaintDevice* device = m_painter.device();
  if (device == nullptr || m_painter.worldTransform().type() > QTransform::TxTranslate) return std::nullopt;
  const QRect shown = m_painter.worldTransform().inverted().mapRect(QRect(0, 0, device->width(), device->height()));
  return draw::Rect{shown.left(), shown.top(), shown.right() + 1, shown.bottom() + 1};
}

void QPainterSurface::LineTo(draw::Point p) {
  QueueLine(m_position.x, m_position.y, p.x, p.y);
  m_position = p;
}

namespace {

// True when `line`, widened by `reach` pixels, may touch `box`.
bool ClipsInto(const QLine& line, int reach, const PixelBox& box) {
  const double left = box.left - reach, right = box.right + reach, top = box.top - reach, bottom = box.bottom + reach;
  double t0 = 0, t1 = 1;
  const double x = line.x1(), y = line.y1(), dx = line.dx(), dy = line.dy();
  // Cut the line at each side of the box; what is left lies inside.
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {x - left, right - x, y - top, bottom - y};
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0) {
      if (q[i] < 0) return false;
      continue;
    }
    const double t = q[i] / p[i];
    if (p[i] < 0) {
      t0 = std::max(t0, t);
    } else {
      t1 = std::min(t1, t);
    }
    if (t0 > t1) return false;
  }
  return true;
}

inline bool LineMeets(const QLine& line, int reach, const PixelBox& box) {
  return box.Meets(PixelBox::Around(line.x1(), line.y1(), line.x2(), line.y2()), reach) && ClipsInto(line, reach, box);
}

}  // namespace

void QPainterSurface::QueueLine(int x1, int y1, int x2, int y2) {
  // Pixels of the thinnest line lie within half a pixel of its path; round
  // caps and wide pens reach half the width beyond it.
  const int reach = m_pen.width <= 1 ? 1 : m_pen.width / 2 + 2;
  if (!m_runIndexes.isEmpty()) {
    const QLine line(x1, y1, x2, y2);
    const auto meets = [&](const PixelBox& b) { return LineMeets(line, reach, b); };
    if (!Reorderable() || m_textBoxes.size() != static_cast<size_t>(m_textRuns) || m_textBoxes.size() > kMaxCompared ||
        (LineMeets(line, reach, m_textUnion) && std::any_of(m_textBoxes.begin(), m_textBoxes.end(), meets))) {
      FlushText();
    }
  }
  // The lines waiting are all in m_qpen (a new pen draws them first), even
  // when a text put its own pen on the painter since.
  UseShapeState();
  m_lines.emplace_back(x1, y1, x2, y2);
  m_lineReach = reach;
  const PixelBox bounds = PixelBox::Around(x1, y1, x2, y2);
  m_lineBounds = m_lines.size() == 1 ? bounds : m_lineBounds.United(bounds);
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
  const QString s = ToQString(text);
  qreal laidOut = 0;
  const bool simple = m_glyphs && m_glyphs->Layout(s, m_glyphIndexes, m_glyphPositions, laidOut, &m_glyphInk);
  const int width = simple ? static_cast<int>(std::lround(laidOut)) : m_metrics.horizontalAdvance(s);
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
  const bool turned = m_font.escapement % 3600 != 0;
  if (s.isEmpty() || (!turned && OutsideDevice(at.x + dx, at.y + dy, width))) return;
  if (simple && !turned) {
    // Unturned simple texts of one colour go to the painter together, and
    // wait beside the lines as long as they do not meet any of them.
    const QPointF origin(at.x + dx, at.y + dy);
    const PixelBox box{static_cast<int>(std::floor(origin.x() + m_glyphInk.left())) - kInkMargin,
                       static_cast<int>(std::floor(origin.y() + m_glyphInk.top())) - kInkMargin,
                       static_cast<int>(std::ceil(origin.x() + m_glyphInk.right())) + kInkMargin,
                       static_cast<int>(std::ceil(origin.y() + m_glyphInk.bottom())) + kInkMargin};
    const bool reorderable = Reorderable();
    const auto meets = [&](const QLine& line) { return LineMeets(line, m_lineReach, box); };
    if (!m_lines.empty() &&
        (!reorderable || m_lines.size() > kMaxCompared ||
         (box.Meets(m_lineBounds, m_lineReach) && std::any_of(m_lines.begin(), m_lines.end(), meets)))) {
      FlushLines();
    }
    if (m_runColour != m_textColour || m_textBoxes.size() > kMaxCompared) FlushText();
    m_runColour = m_textColour;
    m_runFont = m_glyphs->rawFont();
    ++m_textRuns;
    if (reorderable) {
      m_textUnion = m_textBoxes.empty() ? box : m_textUnion.United(box);
      m_textBoxes.push_back(box);
    }
    m_runIndexes.append(m_glyphIndexes);
    for (const QPointF& p : m_glyphPositions) m_runPositions.append(origin + p);
    return;
  }
  Flush();
  UseTextPen(m_textColour);
  if (turned) {
    m_painter.save();
    m_painter.translate(at.x, at.y);
    m_painter.rotate(-m_font.escapement / 10.0);  // escapement turns counter-clockwise
    at = {0, 0};
  }
  if (simple) {
    QGlyphRun run;
    run.setRawFont(m_glyphs->rawFont());
    run.setGlyphIndexes(m_glyphIndexes);
    run.setPositions(m_glyphPositions);
    m_painter.drawGlyphRun(QPointF(at.x + dx, at.y + dy), run);
  } else {
    m_painter.setFont(m_qfont);
    m_painter.drawText(at.x + dx, at.y + dy, s);
  }
  if (turned) m_painter.restore();
}

draw::Size QPainterSurface::TextExtent(std::string_view text) const {
  return {Advance(ToQString(text)), m_metrics.height()};
}

void QPainterSurface::ClipTo(const draw::Rect* rect) {
  Flush();
  if (rect == nullptr) {
    m_painter.setClipping(false);
    return;
  }
  m_painter.setClipRect(QRect(QPoint(rect->left, rect->top), QPoint(rect->right - 1, rect->bottom - 1)));
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
  m_painter.drawImage(
      QRect(QPoint(destination.left, destination.top), QPoint(destination.right - 1, destination.bottom - 1)), picture);
}

}  // namespace hp::gfx
