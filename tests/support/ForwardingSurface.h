// A surface that hands every primitive to another one. Tests derive from it
// to count, flush or hide what passes and forward the rest unchanged.
#pragma once

#include <optional>
#include <string_view>

#include "draw/Surface.h"

namespace hp::test {

class ForwardingSurface : public draw::Surface {
 public:
  explicit ForwardingSurface(draw::Surface& to) : m_to(to) {}
  draw::DeviceCaps Caps() const override { return m_to.Caps(); }
  void SetPen(const draw::Pen& pen) override { m_to.SetPen(pen); }
  void SetBrush(const draw::Brush& brush) override { m_to.SetBrush(brush); }
  void SetFont(const draw::Font& font) override { m_to.SetFont(font); }
  void SetTextColour(draw::Colour colour) override { m_to.SetTextColour(colour); }
  void MoveTo(draw::Point p) override { m_to.MoveTo(p); }
  void LineTo(draw::Point p) override { m_to.LineTo(p); }
  void Rectangle(const draw::Rect& rect) override { m_to.Rectangle(rect); }
  void Ellipse(const draw::Rect& bounds) override { m_to.Ellipse(bounds); }
  void Text(draw::Point at, std::string_view text, unsigned align) override { m_to.Text(at, text, align); }
  draw::Size TextExtent(std::string_view text) const override { return m_to.TextExtent(text); }
  void DrawImage(const draw::Image& image, const draw::Rect& destination) override {
    m_to.DrawImage(image, destination);
  }
  void ClipTo(const draw::Rect* rect) override { m_to.ClipTo(rect); }
  std::optional<draw::Rect> ShownArea() const override { return m_to.ShownArea(); }

 protected:
  draw::Surface& m_to;
};

}  // namespace hp::test
