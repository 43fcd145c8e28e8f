// The drawing module: the abstract drawing surface, the view transform and
// projections, and (later) the plane and spatial drawings on top of them.
// This header owns the Surface interface every drawing goes through; the
// windows, image files and printers implement it outside the core.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "doc/DocumentSettings.h"

namespace hp::draw {

// Colours as the document stores them: 0x00BBGGRR.
using Colour = uint32_t;

inline constexpr Colour RgbColour(int red, int green, int blue) {
  return static_cast<Colour>((red & 0xFF) | ((green & 0xFF) << 8) | ((blue & 0xFF) << 16));
}

struct Point {
  int x = 0, y = 0;
  bool operator==(const Point&) const = default;
};
struct Size {
  int cx = 0, cy = 0;
  bool operator==(const Size&) const = default;
};
// Device rectangle; y grows downwards.
struct Rect {
  int left = 0, top = 0, right = 0, bottom = 0;
  bool operator==(const Rect&) const = default;
};

enum class PenStyle { Solid, Dashed, None };
struct Pen {
  PenStyle style = PenStyle::Solid;
  int width = 1;  // device units; 0 and 1 both draw the thinnest line
  Colour colour = 0;
  bool operator==(const Pen&) const = default;
};

enum class BrushStyle { Solid, Hollow };
struct Brush {
  BrushStyle style = BrushStyle::Hollow;  // hollow: rectangles and ellipses are outlines only
  Colour colour = 0xFFFFFF;
  bool operator==(const Brush&) const = default;
};

// A font ready for one device.
struct Font {
  int height = -13;    // device units; negative: character height, positive: cell height
  int width = 0;       // 0: the face's natural width
  int escapement = 0;  // turn of the text line, tenths of a degree counter-clockwise
  int weight = 400;    // 400 normal, 700 bold
  bool italic = false, underline = false, strikeOut = false;
  std::string faceName = "Arial";  // UTF-8
  bool operator==(const Font&) const = default;
};

// Stored font heights are pixels of a 96-dpi screen; other devices scale them
// so that a label keeps its physical size on paper.
inline constexpr int kFontReferenceDpi = 96;
int DeviceFontHeight(int32_t storedHeight, int deviceDpiY);
// A document font for a device of `deviceDpiY` dots per inch; the escapement
// and everything else are taken as stored.
Font MakeFont(const doc::FontSetting& setting, int deviceDpiY);

// Text alignment relative to the reference point, one horizontal and one
// vertical flag combined.
enum TextAlign : unsigned {
  kAlignLeft = 0,
  kAlignCentre = 1,
  kAlignRight = 2,
  kAlignTop = 0,
  kAlignBaseline = 4,
  kAlignBottom = 8,
};
inline constexpr unsigned kHorizontalAlignMask = 3;
inline constexpr unsigned kVerticalAlignMask = 12;

struct DeviceCaps {
  int dpiX = 96, dpiY = 96;
  int widthMm = 0, heightMm = 0;  // size of the drawable area
  int widthPixels = 0, heightPixels = 0;
  int colours = 1 << 24;  // 2 for a black-and-white printer
};

// A picture in memory (the background map), rows from the top.
struct Image {
  int width = 0, height = 0;
  std::vector<Colour> pixels;  // width * height, row by row
};

// What a drawing needs from a screen, an image file or a printer. Texts are
// UTF-8; the drawing converts stored Windows-1252 texts before it passes them.
class Surface {
 public:
  virtual ~Surface() = default;

  virtual DeviceCaps Caps() const = 0;

  virtual void SetPen(const Pen& pen) = 0;
  virtual void SetBrush(const Brush& brush) = 0;
  virtual void SetFont(const Font& font) = 0;
  virtual void SetTextColour(Colour colour) = 0;

  virtual void MoveTo(Point p) = 0;
  // Draws from the current position to `p` with the pen; `p` becomes current.
  virtual void LineTo(Point p) = 0;
  void Line(Point from, Point to) {
    MoveTo(from);
    LineTo(to);
  }
  // Outline with the pen, inside with the brush; right and bottom excluded.
  virtual void Rectangle(const Rect& rect) = 0;
  virtual void Ellipse(const Rect& bounds) = 0;

  // Text in the current font and text colour, placed by `align` relative to
  // `at` and turned by the font's escapement about `at`; no background.
  virtual void Text(Point at, std::string_view text, unsigned align) = 0;
  // Width and height of an unturned line of text in the current font.
  virtual Size TextExtent(std::string_view text) const = 0;

  // Draws `image` stretched to fill `destination`.
  virtual void DrawImage(const Image& image, const Rect& destination) = 0;

  // Limits what is drawn next to `rect` (right and bottom excluded); null
  // lifts the limit. A surface that cannot clip draws everything.
  virtual void ClipTo(const Rect* /*rect*/) {}

  // The part of the device the surface shows (right and bottom excluded),
  // when it leaves out what lies wholly beyond it; none: a surface that
  // keeps everything it is given, such as a vector file.
  virtual std::optional<Rect> ShownArea() const { return std::nullopt; }
};

}  // namespace hp::draw
