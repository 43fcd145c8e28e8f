// The painter base of every picture of a worksheet, on a window, a picture
// file, a printer page or in an export: the device mapping, the pens and
// fonts, leg pens and station marks, label colours, the file symbol, the
// title lines and page label, and the records that take part. The plane and
// the spatial drawing are built on it.
#pragma once

#include <cmath>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "doc/SurveyStore.h"
#include "doc/Worksheet.h"
#include "draw/LineColours.h"
#include "draw/PageLabel.h"
#include "draw/Picture.h"
#include "draw/PlaneLayout.h"
#include "draw/Surface.h"
#include "draw/ViewTransform.h"
#include "platform/Clock.h"
#include "platform/SettingsStore.h"

namespace hp::draw {

// What a drawing shows when no line of the survey is visible.
inline constexpr std::string_view kNoVisibleLines = "Keine sichtbaren Linien gefunden.";

// A cross of half size `half` at `c`, upright or diagonal.
void DrawCross(Surface& surface, Point c, int half, bool diagonal);

// The station mark at the to-point of a leg from `from` to `to` in the
// current pen: the coordinate-reference cross when asked for, then the
// worksheet's mark kind (1 a stroke across the leg, 2 a circle).
void DrawStationMark(Surface& surface, const doc::Worksheet& worksheet, Point from, Point to, int size,
                     bool coordinateReference);

// What a drawing is told about where it goes.
struct PainterOutput {
  bool printer = false;                    // a printer page
  bool preview = false;                    // a print-preview page
  Size window{};                           // window (client) size in device units; 0: the device size
  int pickedRecord = -1;                   // list position picked with the mouse, for the crosshair
  const platform::Clock* clock = nullptr;  // today's date for the page label; null: the system clock
  std::optional<SheetChoice> sheet;        // the printed page; none: the worksheet's own sheet
  // Legs (list positions) the window shows highlighted, e.g. a loop or a
  // suspect leg to be looked at; null or empty: none.
  const std::vector<size_t>* highlighted = nullptr;
};

// Device margins around the drawing area.
struct Margins {
  int left = 0, top = 0, right = 0, bottom = 0;
};

class Painter {
 public:
  Painter(Surface& surface, const doc::SurveyStore& store, const doc::Worksheet& worksheet, ViewTransform& view,
          const platform::SettingsStore& settings, const PainterOutput& output);

  // A record's station is its reference station (a coordinate reference or
  // a variable reference): the same non-empty name.
  static bool SameStation(const doc::SurveyRecord& record);

  // Drawing metres to device units with the scale and corner offsets of
  // the last placement.
  Point Dev(const Vec3& p) const {
    const DevicePoint d = ToDevice(p.x, p.y, m_k, m_ox, m_oy);
    return {d.x, d.y};
  }
  Point Dev(double x, double y) const { return Dev(Vec3{x, y, 0}); }
  double scale() const { return m_k; }
  int ox() const { return m_ox; }
  int oy() const { return m_oy; }

 protected:
  // Reads the device, prepares the fonts, the pens (with the eye colours of
  // the red-green view from the settings) and the title lines.
  void Start();
  // The record at the document's current record number gives the passage
  // that passage marking draws in its own pen.
  void FindCurrentPassage();
  bool TakesPart(const doc::SurveyRecord& r) { return draw::TakesPart(r, m_ws, m_view.legFilter()); }

  // "Keine sichtbaren Linien gefunden." in the middle of the window.
  void ShowNothingVisible();

  // Device placement: the printer's page margins, the scale that fits
  // `area` into `room` less `margins`, and the corner offsets that put the
  // area at the margins (centred in a larger window when asked).
  Margins PageMargins() const;
  double FitScale(const PlaneRect& area, Size room, const Margins& margins) const;
  void SetScale(double k) { m_k = k > 0 && std::isfinite(k) ? k : 1e-6; }
  // Places `area` at the scale set; `margins` include `shift`, the room kept
  // for a second picture drawn moved by it, which centring leaves aside.
  void PlaceArea(const PlaneRect& area, const Margins& margins, Size window, bool centre, const Margins& shift = {});

  // Black and white devices draw black; a black screen background turns
  // black lines white.
  Pen ScreenPen(Pen pen) const;
  Colour ScreenTextColour(Colour colour) const;
  Colour FontColour(int font) const;
  // The pen of record n's leg: its colour, the passage-marking pen, or the
  // auxiliary-line colour for a record without a point name.
  Pen LegPen(size_t n) const;
  Pen CrossSectionPen(const Pen& legPen) const;
  Colour LabelColour(size_t n) const;
  std::string LabelText(const doc::SurveyRecord& r, int kind) const;

  void Cross(Point c, int half, bool diagonal) { DrawCross(m_s, c, half, diagonal); }
  void DrawMark(size_t n, const Pen& legPen) { DrawMark(n, legPen, Dev(m_view.slot(n).from), Dev(m_view.slot(n).to)); }
  // The same with the leg's ends on the device known.
  void DrawMark(size_t n, const Pen& legPen, Point from, Point to);
  // A small page with a folded corner beside a station that has a file.
  void DrawFileSymbol(Point to);
  // Title lines centred above `area`, the page label `labelDrop` below it,
  // with the page figures of m_figures and the view's pose.
  void DrawTitleAndPageLabel(const Rect& area, int labelDrop);
  // The crosshair marks: the picked record and the current record; the
  // spatial views skip points cut away behind the eye.
  void DrawHighlights(bool skipHidden, bool current);
  // The highlighted legs of the output over the drawn ones (not in print).
  void DrawHighlightedLegs(bool skipHidden);
  // In the loop-quality colour mode: the legend of the four classes in the
  // bottom left corner of the window or page.
  void DrawLoopLegend();

  // A font's height in device units, held to a sane size.
  static int AbsHeight(const Font& font);

  Surface& m_s;
  const doc::SurveyStore& m_store;
  const doc::Worksheet& m_ws;
  ViewTransform& m_view;
  const platform::SettingsStore& m_settings;
  const PainterOutput m_output;
  const doc::DocumentSettings& m_doc;

  DeviceCaps m_caps;
  PenSet m_pens;
  Font m_fonts[4];  // title, page label, axis labels, station labels (turned)
  std::vector<std::string> m_titleLines;
  PageFigures m_figures;  // what the page label shows of pages
  std::vector<LineColour> m_colours;
  double m_k = 1;
  int m_ox = 0, m_oy = 0;
  int m_s4 = 1;  // station mark size: a quarter of the label font height
  long m_currentCave = 0, m_currentPassage = 0;
  bool m_haveCurrent = false;
};

}  // namespace hp::draw
