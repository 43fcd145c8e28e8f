// The painter base shared by the plane and the spatial drawing.
#include "draw/Painter.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "base/Cp1252.h"
#include "base/FixedText.h"
#include "calc/LoopQuality.h"
#include "doc/DocumentDialogs.h"
#include "doc/Station.h"
#include "draw/PageLabel.h"
#include "draw/StationLabel.h"

namespace hp::draw {

namespace {

constexpr Colour kBlack = 0, kWhite = 0xFFFFFF;
constexpr Colour kHighlight = RgbColour(255, 0, 255);
constexpr int kLegendGap = 8;  // pixels between the legend and the window's edges
constexpr std::string_view kLoopLegendTitle = "Ringschlussfehler (normiert)";
constexpr std::string_view kSettingsSection = "Settings";
// Far above any real font; keeps margin and mark arithmetic within an int.
constexpr long long kMaxFontHeight = 1 << 24;

}  // namespace

void DrawCross(Surface& s, Point c, int half, bool diagonal) {
  if (diagonal) {
    s.Line({c.x - half, c.y - half}, {c.x + half + 1, c.y + half + 1});
    s.Line({c.x - half, c.y + half}, {c.x + half + 1, c.y - half - 1});
  } else {
    s.Line({c.x - half, c.y}, {c.x + half + 1, c.y});
    s.Line({c.x, c.y - half}, {c.x, c.y + half + 1});
  }
}

void DrawStationMark(Surface& s, const doc::Worksheet& ws, Point from, Point to, int size, bool coordinateReference) {
  if (ws.markCoordinateReferences() != 0 && coordinateReference) DrawCross(s, to, size, true);
  switch (ws.stationMark()) {
    case 1: {
      const double dx = to.x - from.x, dy = to.y - from.y, len = std::hypot(dx, dy);
      if (len == 0) {
        DrawCross(s, to, size, true);
        break;
      }
      const int px = static_cast<int>(std::lround(-dy / len * size));
      const int py = static_cast<int>(std::lround(dx / len * size));
      s.Line({to.x - px, to.y - py}, {to.x + px, to.y + py});
      break;
    }
    case 2:
      s.SetBrush({BrushStyle::Hollow, 0});
      s.Ellipse({to.x - size, to.y - size, to.x + size, to.y + size});
      break;
    default: break;
  }
}

Painter::Painter(Surface& surface, const doc::SurveyStore& store, const doc::Worksheet& worksheet, ViewTransform& view,
                 const platform::SettingsStore& settings, const PainterOutput& output)
    : m_s(surface), m_store(store), m_ws(worksheet), m_view(view), m_settings(settings), m_output(output),
      m_doc(store.settings), m_figures(PageFiguresOf(worksheet)) {
  if (output.sheet) {
    m_figures.subSheets = output.sheet->subSheet;
    if (output.sheet->subSheet) m_figures.sheet = output.sheet->number;
  }
}

bool Painter::SameStation(const doc::SurveyRecord& record) { return doc::IsSelfReference(record); }

int Painter::AbsHeight(const Font& font) {
  if (font.height == 0) return 13;
  return static_cast<int>(std::min(std::llabs(static_cast<long long>(font.height)), kMaxFontHeight));
}

void Painter::Start() {
  m_caps = m_s.Caps();
  for (int i = 0; i < 4; ++i) m_fonts[i] = MakeFont(m_doc.fonts[i], m_caps.dpiY);
  m_fonts[3].escapement = std::clamp<int>(m_ws.labelAngleIndex(), 0, 6) * 150;
  m_s4 = std::max(1, AbsHeight(m_fonts[3]) / 4);
  const Colour left =
      static_cast<Colour>(m_settings.GetInt(kSettingsSection, "FarbeLinks", doc::kDefaultLeftEyeColour));
  const Colour right =
      static_cast<Colour>(m_settings.GetInt(kSettingsSection, "FarbeRechts", doc::kDefaultRightEyeColour));
  m_pens = BuildPenSet(m_doc, m_ws.lineWidth(), m_caps, m_output.printer, left, right);
  for (std::string_view line : {m_ws.title().empty() ? base::TextOf(m_doc.title) : m_ws.title(),
                                m_ws.title2().empty() ? base::TextOf(m_doc.title2) : m_ws.title2()})
    if (!line.empty()) m_titleLines.push_back(base::Cp1252ToUtf8(line));
}

void Painter::FindCurrentPassage() {
  const size_t current = m_doc.currentRecordNumber;
  if (current >= 1 && current <= m_store.records.size()) {
    m_currentCave = m_store.records[current - 1]->cave;
    m_currentPassage = m_store.records[current - 1]->passage;
    m_haveCurrent = true;
  }
}

void Painter::ShowNothingVisible() {
  const Size window = m_output.window.cx > 0 ? m_output.window : Size{m_caps.widthPixels, m_caps.heightPixels};
  m_s.SetFont(m_fonts[0]);
  m_s.SetTextColour(kBlack);
  m_s.Text({window.cx / 2, window.cy / 2}, kNoVisibleLines, kAlignCentre | kAlignBaseline);
}

Margins Painter::PageMargins() const {
  const double mm = m_caps.dpiX / 25.4, mmY = m_caps.dpiY / 25.4;
  return {ClampedInt(m_ws.marginLeft() * mm), ClampedInt(m_ws.marginTop() * mmY), ClampedInt(m_ws.marginRight() * mm),
          ClampedInt(m_ws.marginBottom() * mmY)};
}

double Painter::FitScale(const PlaneRect& a, Size room, const Margins& m) const {
  const double aw = std::max(a.Width(), 1e-6), ah = std::max(a.Height(), 1e-6);
  return std::min((room.cy - m.top - m.bottom) / ah, (room.cx - m.left - m.right) / aw);
}

void Painter::PlaceArea(const PlaneRect& a, const Margins& m, Size window, bool centre, const Margins& shift) {
  const double aw = std::max(a.Width(), 1e-6), ah = std::max(a.Height(), 1e-6);
  const int width = ClampedInt(std::round(m_k * aw)), height = ClampedInt(std::round(m_k * ah));
  int x0 = m.left, y0 = m.top;
  if (centre) {
    if (m.left + width + m.right < window.cx) x0 = (window.cx - width - shift.left - shift.right) / 2 + shift.left;
    if (m.top + height + m.bottom < window.cy) y0 = (window.cy - height - shift.top - shift.bottom) / 2 + shift.top;
  }
  m_ox = ClampedInt(m_k * a.left + 0.5) - x0;
  m_oy = -ClampedInt(m_k * a.top + 0.5) - y0;
}

Pen Painter::ScreenPen(Pen pen) const {
  pen.colour = ScreenTextColour(pen.colour);
  return pen;
}

Colour Painter::ScreenTextColour(Colour colour) const {
  if (m_caps.colours < 3) colour = kBlack;
  if (!m_output.printer && m_ws.blackBackground() != 0 && colour == kBlack) colour = kWhite;
  return colour;
}

Colour Painter::FontColour(int font) const { return m_caps.colours < 3 ? kBlack : m_doc.fontColours[font]; }

Pen Painter::LegPen(size_t n) const {
  const doc::SurveyRecord& r = *m_store.records[n];
  const bool marking = m_ws.passageMarking() != 0 && !m_output.printer && m_haveCurrent;
  Pen pen = ColourPen(m_pens, m_colours[n]);
  if (marking && r.cave == m_currentCave && r.passage == m_currentPassage)
    pen = {PenStyle::Solid, 2, m_doc.frameColour};
  else if (r.point[0] == '\0' && m_ws.crossSectionsInStandardColour() != 0)
    pen = {PenStyle::Solid, m_pens.solid[0].width, m_doc.auxLineColour};
  return ScreenPen(pen);
}

Pen Painter::CrossSectionPen(const Pen& legPen) const {
  return m_ws.crossSectionsInStandardColour() != 0
             ? ScreenPen({PenStyle::Solid, m_pens.solid[0].width, m_doc.auxLineColour})
             : legPen;
}

Colour Painter::LabelColour(size_t n) const {
  Colour colour = m_doc.fontColours[3];
  if (m_ws.pointsInLegColour() != 0) colour = ColourPen(m_pens, m_colours[n]).colour;
  return ScreenTextColour(colour);
}

std::string Painter::LabelText(const doc::SurveyRecord& r, int kind) const {
  if (m_ws.descriptionOverridesNumbering() != 0 && !base::TextOf(r.description).empty())
    return base::Cp1252ToUtf8(base::TextOf(r.description));
  return StationLabel(r, kind, m_doc, m_view.heightOffset(), m_view.referencePath());
}

void Painter::DrawMark(size_t n, const Pen& legPen, Point from, Point to) {
  const doc::SurveyRecord& r = *m_store.records[n];
  m_s.SetPen(m_ws.pointsInLegColour() != 0 ? legPen : ScreenPen({PenStyle::Solid, 1, m_doc.pointColour}));
  DrawStationMark(m_s, m_ws, from, to, m_s4, SameStation(r) && r.ring == 0);
}

void Painter::DrawFileSymbol(Point to) {
  const Point at{to.x + 5, to.y + 5};
  m_s.SetPen(ScreenPen({PenStyle::Solid, 1, kBlack}));
  m_s.SetBrush({BrushStyle::Hollow, 0});
  m_s.Rectangle({at.x, at.y, at.x + 7, at.y + 9});
  m_s.Line({at.x + 4, at.y}, {at.x + 6, at.y + 2});
}

void Painter::DrawTitleAndPageLabel(const Rect& area, int labelDrop) {
  const int centre = (area.left + area.right) / 2;
  if (!m_titleLines.empty()) {
    m_s.SetFont(m_fonts[0]);
    m_s.SetTextColour(FontColour(0));
    const int h = AbsHeight(m_fonts[0]);
    int y = area.top - 5 - h * static_cast<int>(m_titleLines.size() - 1);
    for (const std::string& line : m_titleLines) {
      m_s.Text({centre, y}, line, kAlignCentre | kAlignBottom);
      y += h;
    }
  }
  const platform::SystemClock systemClock;
  const platform::Clock& clock = m_output.clock ? *m_output.clock : static_cast<const platform::Clock&>(systemClock);
  PageFigures figures = m_figures;
  const ViewPose pose = PoseOf(m_view, m_ws);
  figures.azimuth = pose.azimuth;
  figures.inclination = pose.inclination;
  const std::string label = base::Cp1252ToUtf8(ExpandPageLabel(m_ws, figures, clock));
  if (label.empty()) return;
  m_s.SetFont(m_fonts[1]);
  m_s.SetTextColour(FontColour(1));
  m_s.Text({centre, area.bottom + 5 + labelDrop}, label, kAlignCentre | kAlignTop);
}

void Painter::DrawHighlightedLegs(bool skipHidden) {
  if (m_output.highlighted == nullptr || m_output.printer) return;
  const Pen pen = ScreenPen({PenStyle::Solid, 3 * m_pens.solid[0].width + 2, kHighlight});
  m_s.SetPen(pen);
  for (const size_t n : *m_output.highlighted) {
    if (n >= m_store.records.size() || n >= m_view.slots().size()) continue;
    const ProjectionSlots& slot = m_view.slot(n);
    if (skipHidden && (slot.from.z == kHiddenDepth || slot.to.z == kHiddenDepth)) continue;
    m_s.Line(Dev(slot.from), Dev(slot.to));
  }
}

void Painter::DrawLoopLegend() {
  if (doc::LineColourModeOf(m_ws) != doc::kLoopQualityColourMode) return;
  const Size window = m_output.window.cx > 0 ? m_output.window : Size{m_caps.widthPixels, m_caps.heightPixels};
  const Margins m = m_output.printer ? PageMargins() : Margins{kLegendGap, kLegendGap, kLegendGap, kLegendGap};
  m_s.SetFont(m_fonts[2]);
  const int row = AbsHeight(m_fonts[2]) * 5 / 4 + 1;
  const int x = m.left;
  int y = window.cy - m.bottom - row * (calc::kLoopClassCount + 1);
  m_s.SetTextColour(FontColour(2));
  m_s.Text({x, y}, kLoopLegendTitle, kAlignLeft | kAlignTop);
  for (int c = 0; c < calc::kLoopClassCount; ++c) {
    y += row;
    Pen pen = m_pens.loopClass[static_cast<size_t>(c)];
    pen.width = std::max(2, 2 * pen.width);
    m_s.SetPen(ScreenPen(pen));
    m_s.Line({x, y + row / 2}, {x + 2 * row, y + row / 2});
    m_s.Text({x + 2 * row + row / 2, y}, calc::LoopClassText(static_cast<calc::LoopClass>(c)), kAlignLeft | kAlignTop);
  }
}

void Painter::DrawHighlights(bool skipHidden, bool current) {
  if (m_ws.crosshair() == 0 || m_output.printer) return;
  m_s.SetPen(ScreenPen({PenStyle::Solid, 1, kBlack}));
  const size_t count = m_store.records.size();
  const auto shown = [&](const Vec3& p) { return !skipHidden || p.z != kHiddenDepth; };
  if (m_output.pickedRecord >= 0 && static_cast<size_t>(m_output.pickedRecord) < count) {
    const Vec3& to = m_view.slot(static_cast<size_t>(m_output.pickedRecord)).to;
    if (shown(to)) Cross(Dev(to), 7 * m_s4, true);
  }
  const size_t number = m_doc.currentRecordNumber;
  if (current && number >= 1 && number <= count && shown(m_view.slot(number - 1).to))
    Cross(Dev(m_view.slot(number - 1).to), 10 * m_s4, false);
}

}  // namespace hp::draw
