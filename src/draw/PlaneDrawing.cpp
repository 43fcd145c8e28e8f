// Plane drawing: preparation, legs, marks, labels, frame and grid.
#include "draw/PlaneDrawing.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <utility>

#include "base/Cp1252.h"
#include "base/FixedText.h"
#include "base/NumberFormat.h"
#include "draw/LabelSpace.h"
#include "draw/PageLabel.h"
#include "draw/Painter.h"
#include "draw/Picture.h"
#include "draw/PlanFrame.h"
#include "platform/Clock.h"

namespace hp::draw {

namespace {

constexpr int kMaxGridSteps = 256;
constexpr int kScreenMargin = 20;
constexpr int kScreenSpareWidth = 30, kScreenSpareHeight = 150;

// The most UTF-8 bytes a station label of numbering `kind` can have (a
// Windows-1252 character takes up to three), 0 when there is no such bound.
size_t LongestLabel(int kind, bool overrides) {
  constexpr size_t kNumber = 11, kUtf8 = 3;
  constexpr size_t point = (sizeof(doc::SurveyRecord::point) - 1) * kUtf8;
  constexpr size_t description = (sizeof(doc::SurveyRecord::description) - 1) * kUtf8;
  size_t longest = 0;
  switch (kind) {
    case 1: longest = 2 * kNumber + 2 + point; break;
    case 2:
    case 3: longest = kNumber + 1 + point; break;
    case 4: longest = point; break;
    case 7: longest = 2 * kNumber + 1; break;
    case 8: longest = description; break;
    case 9: longest = (sizeof(doc::SurveyRecord::material) - 1) * kUtf8; break;
    case 10: longest = (sizeof(doc::SurveyRecord::measures) - 1) * kUtf8; break;
    default: return 0;
  }
  return overrides ? std::max(longest, description) : longest;
}

PainterOutput OutputOf(const PlaneDrawingOptions& o) {
  return {o.printer, o.preview, o.window, o.pickedRecord, o.clock, o.sheet, o.highlighted};
}

// Everything one drawing needs to place and colour its primitives.
class PlanePainter : public Painter {
 public:
  PlanePainter(Surface& surface, const doc::SurveyStore& store, const doc::Worksheet& ws, ViewTransform& view,
               const platform::SettingsStore& settings, const PlaneDrawingOptions& options, PlaneDrawingResult& result)
      : Painter(surface, store, ws, view, settings, OutputOf(options)), m_options(options), m_result(result) {}

  bool Run();

 private:
  void PlaceOnDevice();
  bool InsideArea(const Vec3& p) const {
    const PlaneRect& a = m_layout.area;
    return p.x >= a.left && p.x <= a.right && p.y >= a.bottom && p.y <= a.top;
  }
  bool Drawable(size_t n) const {
    const doc::SurveyRecord& r = *m_store.records[n];
    if (r.colour == 0) return false;
    if (r.point[0] == '\0' && m_ws.showAuxiliaryLines() == 0) return false;
    if (m_options.preview && (!InsideArea(m_view.slot(n).from) || !InsideArea(m_view.slot(n).to))) return false;
    return true;
  }
  // The leg filter's verdict; without patterns every record shows.
  doc::LegVisibility Visible(const doc::SurveyRecord& r) {
    if (!m_filtered) return {true, true};
    return m_view.legFilter().Test(r, m_ws);
  }
  // The widest pen a leg may be drawn in.
  int WidestPen() const {
    int widest = 2;  // passage marking
    for (const Pen& p : {m_pens.black, m_pens.blackDashed, m_pens.white, m_pens.left, m_pens.right})
      widest = std::max(widest, p.width);
    for (const auto* pens : {&m_pens.solid, &m_pens.dashed, &m_pens.thick, &m_pens.falseColour})
      for (const Pen& p : *pens) widest = std::max(widest, p.width);
    for (const Pen& p : m_pens.loopClass) widest = std::max(widest, p.width);
    return widest;
  }
  void DrawBackgroundMap();
  void DrawTitle(const Rect& shown);
  void DrawNorthArrow();
  void DrawFrame();
  void DrawLegs();
  bool DrawCrossSection(size_t n, const Pen& legPen);
  void DrawSubSheetDivision();
  void DrawLabels();
  void DrawGrid();

  const PlaneDrawingOptions& m_options;
  PlaneDrawingResult& m_result;
  const bool m_filtered = !m_ws.lineFilterPattern().empty() || !m_ws.labelFilterPattern().empty();

  PlaneLayout m_layout;
  int m_t = 1;  // tick size: a quarter of the axis-label font height
  std::vector<FrameLine> m_frameLines;
  const Rect* m_pageClip = nullptr;  // a printed page's area within its margins, while the grid is drawn
};

void PlanePainter::PlaceOnDevice() {
  const PlaneRect& a = m_layout.area;
  Margins m;
  if (m_options.printer) {
    m = PageMargins();
    if (m_ws.automaticScale() == 0) {
      SetScale(m_caps.dpiX * 100 / 2.54 / std::clamp(m_ws.scaleDenominator(), 10.0, 10000000.0));
    } else {
      SetScale(FitScale(a, {m_caps.widthPixels, m_caps.heightPixels}, m));
    }
  } else {
    m = {kScreenMargin, kScreenMargin, kScreenMargin, kScreenMargin};
    if (m_ws.axisLabels() != 0) {
      m_s.SetFont(m_fonts[2]);
      m.right += 10 + m_s.TextExtent("1234567").cx;
      m.bottom += 10 + AbsHeight(m_fonts[2]);
    }
    if (m_ws.showTitleAndPageLabel() != 0) {
      m.top += 10 + AbsHeight(m_fonts[0]) * static_cast<int>(m_titleLines.size());
      m.bottom += 10 + AbsHeight(m_fonts[1]);
    }
    const Size room{m_caps.widthPixels - kScreenSpareWidth, m_caps.heightPixels - kScreenSpareHeight};
    SetScale(FitScale(a, room, m) * m_ws.zoomPercent() / 100);
  }
  // The device rectangle of the area sits at the margins, centred in a
  // larger window.
  const Size window = m_options.window.cx > 0 ? m_options.window : Size{m_caps.widthPixels, m_caps.heightPixels};
  PlaceArea(a, m, window, !m_options.printer || m_ws.centreOnPage() != 0);
}

void PlanePainter::DrawBackgroundMap() {
  // Never in the print preview; the screen and bitmaps draw off-screen.
  if (m_ws.backgroundMap() == 0 || m_options.preview) return;
  BackgroundMap once;
  BackgroundMap& holder = m_options.backgroundMap ? *m_options.backgroundMap : once;
  const Image* map = holder.Get(m_options.documentFolder, m_ws.backgroundMapFile(), m_options.prompter);
  if (!map || map->width <= 0 || map->height <= 0) return;
  const double left = m_ws.mapLeft(), bottom = m_ws.mapBottom(), right = m_ws.mapRight(), top = m_ws.mapTop();
  const double w = right - left, h = top - bottom;
  const PlaneRect& a = m_layout.area;
  if (!(w > 0) || !(h > 0) || !(a.Width() > 0) || !(a.Height() > 0)) return;
  // The part of the map inside the drawing area, as fractions of its size,
  // widened to whole pixels.
  const double fl = std::clamp((a.left - left) / w, 0.0, 1.0), fr = std::clamp((a.right - left) / w, 0.0, 1.0);
  const double fb = std::clamp((a.bottom - bottom) / h, 0.0, 1.0), ft = std::clamp((a.top - bottom) / h, 0.0, 1.0);
  if (!(fr > fl) || !(ft > fb)) return;
  const int x0 = static_cast<int>(std::floor(fl * map->width)), x1 = static_cast<int>(std::ceil(fr * map->width));
  const int y0 = static_cast<int>(std::floor((1 - ft) * map->height));
  const int y1 = static_cast<int>(std::ceil((1 - fb) * map->height));
  if (x1 <= x0 || y1 <= y0) return;
  const Point tl = Dev(left + w * x0 / map->width, top - h * y0 / map->height);
  const Point br = Dev(left + w * x1 / map->width, top - h * y1 / map->height);
  const Rect destination{tl.x, tl.y, br.x, br.y};
  if (x0 == 0 && y0 == 0 && x1 == map->width && y1 == map->height) {
    m_s.DrawImage(*map, destination);
    return;
  }
  Image part;
  part.width = x1 - x0, part.height = y1 - y0;
  part.pixels.reserve(static_cast<size_t>(part.width) * static_cast<size_t>(part.height));
  for (int y = y0; y < y1; ++y) {
    const auto row = map->pixels.begin() + static_cast<ptrdiff_t>(y) * map->width;
    part.pixels.insert(part.pixels.end(), row + x0, row + x1);
  }
  m_s.DrawImage(part, destination);
}

void PlanePainter::DrawTitle(const Rect& shown) {
  if (m_ws.showTitleAndPageLabel() == 0) return;
  // The page label goes below the area, under the axis labels when shown.
  DrawTitleAndPageLabel(shown, m_ws.axisLabels() != 0 ? AbsHeight(m_fonts[2]) : 0);
}

void PlanePainter::DrawNorthArrow() {
  if (m_frameLines.empty()) return;
  m_s.SetPen(ScreenPen({PenStyle::Solid, 1, m_doc.frameColour}));
  for (const FrameLine& line : m_frameLines) m_s.Line(Dev(line.from), Dev(line.to));
}

void PlanePainter::DrawFrame() {
  if (m_ws.showFrame() == 0) return;
  m_s.SetPen(ScreenPen({PenStyle::Solid, 1, m_doc.frameColour}));
  m_s.SetBrush({BrushStyle::Hollow, 0});
  const Point tl = Dev(m_layout.area.left, m_layout.area.top);
  const Point br = Dev(m_layout.area.right, m_layout.area.bottom);
  m_s.Rectangle({tl.x, tl.y, br.x + 1, br.y + 1});
}

bool PlanePainter::DrawCrossSection(size_t n, const Pen& legPen) {
  const doc::SurveyRecord& r = *m_store.records[n];
  const ProjectionSlots& slot = m_view.slot(n);
  const Point to = Dev(slot.to);
  constexpr double kDegree = 0.0174533;
  // A wall point `width` metres from the to-point in direction `angle`:
  // compass bearings in the plan, inclinations in the section planes.
  auto bearing = [&](double width, double angle) {
    return Point{to.x + ClampedInt(m_k * width * std::sin(angle * kDegree)),
                 to.y - ClampedInt(m_k * width * std::cos(angle * kDegree))};
  };
  auto inclined = [&](double width, double angle) {
    return Point{to.x + ClampedInt(m_k * width * std::cos(angle * kDegree)),
                 to.y - ClampedInt(m_k * width * std::sin(angle * kDegree))};
  };
  Point a, b;
  switch (m_ws.displayType()) {
    case DisplayType::Plan:
      a = bearing(r.left, r.crossSection.end.azimuth - 90), b = bearing(r.right, r.crossSection.end.azimuth + 90);
      break;
    case DisplayType::Section:
      a = inclined(r.up, r.crossSection.developedElevation + 90);
      b = inclined(r.down, r.crossSection.developedElevation - 90);
      break;
    case DisplayType::Elevation:
      if (std::fabs(r.crossSection.end.elevation) > 0.01) return false;
      a = inclined(r.up, r.crossSection.end.elevation + 90), b = inclined(r.down, r.crossSection.end.elevation - 90);
      break;
    case DisplayType::Parallel:
      // Only a leg seen end-on shows its section, upright.
      if (Dev(slot.from) != to) return false;
      a = inclined(r.up, 90), b = inclined(r.down, -90);
      break;
    default: return false;
  }
  m_s.SetPen(CrossSectionPen(legPen));
  m_s.Line(a, b);
  return true;
}

void PlanePainter::DrawSubSheetDivision() {
  if (m_layout.subSheet || m_ws.subSheetDivision() == 0) return;
  // The sheets are counted from the first sub-sheet's top-left corner, as
  // the sheet shown, printed or clicked; a manual overview may start
  // elsewhere.
  const PlaneRect& o = m_layout.overview;
  const PlaneRect& s = m_layout.sheet;
  const double w = s.Width(), h = s.Height();
  m_s.SetPen(ScreenPen({PenStyle::Dashed, 1, m_doc.frameColour}));
  for (int i = 1; i < m_layout.columns; ++i) m_s.Line(Dev(s.left + i * w, o.top), Dev(s.left + i * w, o.bottom));
  for (int j = 1; j < m_layout.rows; ++j) m_s.Line(Dev(o.left, s.top - j * h), Dev(o.right, s.top - j * h));
  if (m_options.printer) return;
  const auto bits = m_ws.printAreaBits();
  const Pen red = ScreenPen({PenStyle::Solid, 1, RgbColour(255, 0, 0)});
  m_s.SetPen(red);
  m_s.SetBrush({BrushStyle::Solid, red.colour});
  for (int sheet = 0; sheet < m_layout.rows * m_layout.columns && sheet < 1024; ++sheet) {
    if ((bits[sheet / 8] & (1u << (sheet % 8))) == 0) continue;
    const Point corner = Dev(s.left + (sheet % m_layout.columns) * w, s.top - (sheet / m_layout.columns) * h);
    m_s.Rectangle({corner.x + m_t, corner.y + m_t, corner.x + 2 * m_t, corner.y + 2 * m_t});
  }
  m_s.SetBrush({BrushStyle::Hollow, 0});
}

void PlanePainter::DrawLegs() {
  m_view.legFilter().Init();
  const bool marks = m_ws.stationMark() != 0 || m_ws.markCoordinateReferences() != 0;
  const bool crossSections = m_ws.showCrossSections() != 0;
  // What the record before drew, while nothing has been drawn over it. The
  // same leg and mark once more add nothing; nor does a leg within that
  // leg's end pixel in the same pen, so a chain of legs shorter than a pixel
  // draws as one line.
  struct Drawn {
    Point from, to;
    Pen pen;
    bool line = false, mark = false;
    bool operator==(const Drawn&) const = default;
  };
  Drawn last;
  bool lastOnTop = false;
  // On a surface that leaves out what it does not show, legs and marks
  // wholly beyond it are not handed to it.
  const std::optional<Rect> shown = m_s.ShownArea();
  const Rect room = shown.value_or(Rect{});
  const int reach = WidestPen() / 2 + 2 + (marks ? m_s4 + 2 : 0);
  const auto beyond = [&](Point from, Point to) {
    return shown && ((from.x < room.left - reach && to.x < room.left - reach) ||
                     (from.x >= room.right + reach && to.x >= room.right + reach) ||
                     (from.y < room.top - reach && to.y < room.top - reach) ||
                     (from.y >= room.bottom + reach && to.y >= room.bottom + reach));
  };
  for (size_t n = 0; n < m_store.records.size(); ++n) {
    const doc::SurveyRecord& r = *m_store.records[n];
    if (!Drawable(n)) continue;
    const doc::LegVisibility visible = Visible(r);
    if (!visible.Any()) continue;
    const ProjectionSlots& slot = m_view.slot(n);
    const Point from = Dev(slot.from), to = Dev(slot.to);
    if (beyond(from, to)) {
      if (crossSections && DrawCrossSection(n, LegPen(n))) lastOnTop = false;
      continue;
    }
    const Drawn now{from, to, LegPen(n), visible.line, r.point[0] != '\0' && marks};
    if (lastOnTop && now == last) {
      if (crossSections && DrawCrossSection(n, now.pen)) lastOnTop = false;
      continue;
    }
    if (now.line) {
      const bool covered =
          lastOnTop && last.line && !last.mark && now.from == now.to && now.to == last.to && now.pen == last.pen;
      if (!covered) {
        m_s.SetPen(now.pen);
        m_s.Line(now.from, now.to);
      }
    }
    if (now.mark) DrawMark(n, now.pen, now.from, now.to);
    if (now.line || now.mark) last = now, lastOnTop = true;
    if (crossSections && DrawCrossSection(n, now.pen)) lastOnTop = false;
  }
  DrawHighlightedLegs(false);
  DrawHighlights(false, true);
}

void PlanePainter::DrawLabels() {
  const int kind = m_ws.stationNumbering();
  if (kind < 1 || kind > 10) return;
  const bool overrides = m_ws.descriptionOverridesNumbering() != 0;
  m_s.SetFont(m_fonts[3]);
  m_view.legFilter().Init();
  // Labels go where no label lies yet; on a surface that leaves out what it
  // does not show, labels that cannot reach into it are not laid out at all.
  const std::optional<Rect> shown = m_s.ShownArea();
  const Rect room = shown.value_or(Rect{0, 0, m_caps.widthPixels, m_caps.heightPixels});
  LabelSpace space(room);
  const int escapement = m_fonts[3].escapement;
  const bool turned = escapement % 3600 != 0;
  // Every label covers the box of a label one pixel wide: the height of a
  // line does not depend on its text.
  const Rect column = LabelBox({0, 0}, {1, m_s.TextExtent("0").cy}, escapement);
  // A label is at most two font heights tall, and no character is wider;
  // one more character's room allows for glyphs reaching past their advance.
  const long long charReach = 2LL * std::max(AbsHeight(m_fonts[3]), m_fonts[3].width);
  const long long longest = static_cast<long long>(LongestLabel(kind, overrides) + 1) * charReach;
  const auto beyond = [&](Point at, long long reach) {
    return at.x + reach < room.left || at.x - reach >= room.right || at.y + reach < room.top ||
           at.y - reach >= room.bottom;
  };
  Point last{12345, -45243};
  for (size_t n = 0; n < m_store.records.size(); ++n) {
    const doc::SurveyRecord& r = *m_store.records[n];
    if (r.point[0] == '\0' || !Drawable(n)) continue;
    if (!Visible(r).label) continue;
    if (m_ws.fileSymbol() != 0 && !m_options.printer && r.fileUrl[0] != '\0') {
      DrawFileSymbol(Dev(m_view.slot(n).to));
      m_s.SetFont(m_fonts[3]);
    }
    const Point to = Dev(m_view.slot(n).to);
    const Point at{to.x + m_s4, to.y - m_s4};
    if (!space.Free({at.x + column.left, at.y + column.top, at.x + column.right, at.y + column.bottom})) continue;
    // Unturned labels run right and up from `at`.
    if (shown && !turned &&
        (at.x >= room.right || at.y <= room.top || at.y - charReach >= room.bottom ||
         (longest > charReach && at.x + longest < room.left))) {
      continue;
    }
    const std::string text = LabelText(r, kind);
    if (text.empty()) continue;
    if (shown && beyond(at, static_cast<long long>(text.size() + 1) * charReach)) continue;
    const Size extent = m_s.TextExtent(text);
    auto farFrom = [&](Point p) { return std::abs(to.x - p.x) > extent.cx || std::abs(to.y - p.y) > extent.cy; };
    const bool samePassage = r.passage == r.refPassage;
    const bool drawn = (samePassage && farFrom(last)) || (!samePassage && farFrom(Dev(m_view.slot(n).from))) ||
                       SameStation(r) || r.length == 0 || kind > 7 || overrides;
    if (!drawn) continue;
    const Rect box = LabelBox(at, extent, escapement);
    if (!space.Free(box)) continue;
    m_s.SetTextColour(LabelColour(n));
    m_s.Text(at, text, kAlignLeft | kAlignBottom);
    space.Place(box);
    last = to;
  }
}

void PlanePainter::DrawGrid() {
  const PlaneRect& a = m_layout.area;
  const double g = m_layout.grid;
  const double x0 = std::floor((a.left + g - 0.01) / g) * g, y0 = std::floor((a.bottom + g - 0.01) / g) * g;
  const Point bl = Dev(a.left, a.bottom), tr = Dev(a.right, a.top);
  m_s.SetPen(ScreenPen({PenStyle::Solid, 1, m_doc.frameColour}));
  if (m_ws.axisLabels() != 0) {
    m_s.SetFont(m_fonts[2]);
    m_s.SetTextColour(FontColour(2));
    for (int i = 0; i < kMaxGridSteps && x0 + i * g <= a.right + 0.01; ++i) {
      const double x = x0 + i * g;
      m_s.Text({Dev(x, a.bottom).x, bl.y + m_t}, base::FormatFixed(x, 0), kAlignCentre | kAlignTop);
    }
    for (int i = 0; i < kMaxGridSteps && y0 + i * g <= a.top + 0.01; ++i) {
      const double y = y0 + i * g;
      m_s.Text({tr.x + m_t, Dev(a.right, y).y - AbsHeight(m_fonts[2]) / 2}, base::FormatFixed(y, 0),
               kAlignLeft | kAlignTop);
    }
  }
  // The ticks and crosses lie inside the area: on a page that cuts it they
  // stop at the margins with it, while the axis labels stay outside.
  if (m_pageClip != nullptr) m_s.ClipTo(m_pageClip);
  if (m_ws.showFrame() != 0) {
    for (int i = 0; i < kMaxGridSteps && y0 + i * g <= a.top + 0.01; ++i) {
      const int y = Dev(a.left, y0 + i * g).y;
      m_s.Line({bl.x, y}, {bl.x + 2 * m_t, y});
      m_s.Line({tr.x, y}, {tr.x - 2 * m_t, y});
    }
    for (int i = 0; i < kMaxGridSteps && x0 + i * g <= a.right + 0.01; ++i) {
      const int x = Dev(x0 + i * g, a.bottom).x;
      m_s.Line({x, bl.y}, {x, bl.y - 2 * m_t});
      m_s.Line({x, tr.y}, {x, tr.y + 2 * m_t});
    }
  }
  if (m_ws.gridCrosses() != 0) {
    for (int i = 0; i < kMaxGridSteps && x0 + i * g < a.right - 0.01; ++i)
      for (int j = 0; j < kMaxGridSteps && y0 + j * g < a.top - 0.01; ++j)
        Cross(Dev(x0 + i * g, y0 + j * g), m_t, false);
  }
  if (m_pageClip != nullptr) m_s.ClipTo(nullptr);
}

bool PlanePainter::Run() {
  Start();
  Picture picture = ComposePicture(m_store, m_ws, m_view, m_settings, 0);
  m_frameLines = PreparePlanFrame(m_view, m_ws, m_view.extent());
  m_t = std::max(1, AbsHeight(m_fonts[2]) / 4);
  FindCurrentPassage();
  m_result.sceneSize = picture.sceneSize;
  m_result.extent = picture.extent;
  if (!picture.visible) {
    ShowNothingVisible();
    return false;
  }
  m_colours = std::move(picture.colours);
  m_layout = LayoutPlane(m_ws, m_result.extent, m_options.pageWidthMm, m_options.pageHeightMm, m_options.sheet);
  m_figures.subSheets = m_layout.subSheet;
  m_figures.sheet = m_layout.sheetNumber;
  m_figures.rows = m_layout.rows;
  m_figures.columns = m_layout.columns;
  PlaceOnDevice();
  m_result.layout = m_layout;
  m_result.scale = m_k;
  m_result.ox = m_ox, m_result.oy = m_oy;

  // A printed page shows its area only, so that sub-sheets glued together
  // neither miss nor repeat anything; the title and labels lie around it.
  const Point clipTopLeft = Dev(m_layout.area.left, m_layout.area.top);
  const Point clipBottomRight = Dev(m_layout.area.right, m_layout.area.bottom);
  const Rect area{clipTopLeft.x, clipTopLeft.y, clipBottomRight.x + 1, clipBottomRight.y + 1};
  Rect clip = area;
  if (m_options.printer) {
    // An overview larger than the page at true scale stops at the margins
    // instead of running over them to the paper's edge.
    const Margins page = PageMargins();
    clip.left = std::max(clip.left, page.left);
    clip.top = std::max(clip.top, page.top);
    clip.right = std::min(clip.right, m_caps.widthPixels - page.right);
    clip.bottom = std::min(clip.bottom, m_caps.heightPixels - page.bottom);
    // Rounding to device pixels may move an edge that fits by a pixel.
    constexpr int kSlack = 2;
    m_result.cutAtPage = clip.left > area.left + kSlack || clip.top > area.top + kSlack ||
                         clip.right < area.right - kSlack || clip.bottom < area.bottom - kSlack;
  }
  const auto clipped = [&](bool on) {
    if (m_options.printer) m_s.ClipTo(on ? &clip : nullptr);
  };
  clipped(true);
  DrawBackgroundMap();
  clipped(false);
  // The title and page label sit around the part of the area the page shows.
  DrawTitle(m_options.printer ? Rect{clip.left, clip.top, clip.right - 1, clip.bottom - 1}
                              : Rect{area.left, area.top, area.right - 1, area.bottom - 1});
  clipped(true);
  DrawFrame();
  DrawSubSheetDivision();
  DrawNorthArrow();
  DrawLegs();
  DrawLabels();
  clipped(false);
  if (m_options.printer) m_pageClip = &clip;
  DrawGrid();
  m_pageClip = nullptr;
  DrawLoopLegend();
  m_result.colours = m_colours;
  return true;
}

}  // namespace

PlaneDrawingResult DrawPlane(Surface& surface, const doc::SurveyStore& store, const doc::Worksheet& worksheet,
                             ViewTransform& view, const platform::SettingsStore& settings,
                             const PlaneDrawingOptions& options) {
  PlaneDrawingResult result;
  PlanePainter painter(surface, store, worksheet, view, settings, options, result);
  result.drawn = painter.Run();
  return result;
}

}  // namespace hp::draw
