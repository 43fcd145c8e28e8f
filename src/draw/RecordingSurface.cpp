// The recording surface of the tests.
#include "draw/RecordingSurface.h"

#include <algorithm>
#include <cstdlib>

namespace hp::draw {

DeviceCaps RecordingSurface::DefaultCaps() {
  DeviceCaps caps;
  caps.dpiX = caps.dpiY = 96;
  caps.widthPixels = 1920;
  caps.heightPixels = 1080;
  caps.widthMm = 508;
  caps.heightMm = 286;
  caps.colours = 1 << 24;
  return caps;
}

Size RecordingSurface::MeasureText(std::string_view text, const Font& font) {
  const int height = font.height == 0 ? 13 : std::abs(font.height);
  const int charWidth = std::max(1, height * 3 / 5);
  int chars = 0;
  for (const char c : text)
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++chars;  // continuation bytes do not count
  return {chars * charWidth, height};
}

RecordedPrimitive RecordingSurface::Start(RecordedPrimitive::Kind kind) const {
  RecordedPrimitive p;
  p.kind = kind;
  p.pen = m_pen;
  p.brush = m_brush;
  p.font = m_font;
  p.textColour = m_textColour;
  return p;
}

void RecordingSurface::LineTo(Point p) {
  RecordedPrimitive line = Start(RecordedPrimitive::Kind::Line);
  line.from = m_position;
  line.to = p;
  m_log.push_back(std::move(line));
  m_position = p;
}

void RecordingSurface::Rectangle(const Rect& rect) {
  RecordedPrimitive r = Start(RecordedPrimitive::Kind::Rectangle);
  r.from = {rect.left, rect.top};
  r.to = {rect.right, rect.bottom};
  m_log.push_back(std::move(r));
}

void RecordingSurface::Ellipse(const Rect& bounds) {
  RecordedPrimitive e = Start(RecordedPrimitive::Kind::Ellipse);
  e.from = {bounds.left, bounds.top};
  e.to = {bounds.right, bounds.bottom};
  m_log.push_back(std::move(e));
}

void RecordingSurface::Text(Point at, std::string_view text, unsigned align) {
  RecordedPrimitive t = Start(RecordedPrimitive::Kind::Text);
  t.from = t.to = at;
  t.text = std::string(text);
  t.align = align;
  m_log.push_back(std::move(t));
}

void RecordingSurface::DrawImage(const Image& image, const Rect& destination) {
  RecordedPrimitive i = Start(RecordedPrimitive::Kind::Image);
  i.from = {destination.left, destination.top};
  i.to = {destination.right, destination.bottom};
  i.imageWidth = image.width;
  i.imageHeight = image.height;
  m_log.push_back(std::move(i));
}

}  // namespace hp::draw
