// Spatial drawing: rebuild, extent and device mapping, frame lines, height
// labels, legs of both eyes, station marks, wall spokes and labels.
#include "draw/SpatialDrawing.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "base/Cp1252.h"
#include "draw/DrawingParts.h"
#include "base/FixedText.h"
#include "draw/PageLabel.h"
#include "draw/PlaneDrawing.h"
#include "draw/PlanFrame.h"

namespace hp::draw {

namespace {

constexpr int kMaxHeightSteps = 256;
constexpr int kScreenMargin = 20;
constexpr int kScreenSpareWidth = 30, kScreenSpareHeight = 150;
constexpr double kReferenceScreenHeight = 768;
constexpr Colour kBlack = 0, kWhite = 0xFFFFFF;
constexpr std::string_view kSettingsSection = "Settings";

bool SameStation(const doc::SurveyRecord& r) {
  return r.cave == r.refCave && r.passage == r.refPassage && base::TextOf(r.point) == base::TextOf(r.refPoint);
}

int AbsHeight(const Font& font) { return font.height == 0 ? 13 : std::abs(font.height); }

bool Hidden(const Vec3& p) { return p.z == kHiddenDepth; }

class SpatialPainter {
 public:
  SpatialPainter(Surface& surface, const doc::SurveyStore& store, doc::Worksheet& ws, ViewTransform& view,
                 const platform::SettingsStore& settings, const SpatialDrawingOptions& options,
                 SpatialDrawingResult& result)
      : m_s(surface), m_store(store), m_ws(ws), m_view(view), m_settings(settings), m_options(options),
        m_result(result) {}

  bool Run();

 private:
  bool TakesPart(const doc::SurveyRecord& r) { return draw::TakesPart(r, m_ws, m_view.legFilter()); }
  bool Camera() const { return m_type == DisplayType::Animation; }
  bool Stereo() const { return m_type == DisplayType::RedGreen; }
  Size Screen() const {
    return m_options.screen.cy > 0 ? m_options.screen : Size{m_caps.widthPixels, m_caps.heightPixels};
  }
  Size Window() const {
    return m_options.window.cx > 0 ? m_options.window : Size{m_caps.widthPixels, m_caps.heightPixels};
  }
  Point Dev(const Vec3& p) const {
    const DevicePoint d = ToDevice(p.x, p.y, m_k, m_ox, m_oy);
    return {d.x, d.y};
  }
  Point Right(const Vec3& p) const {
    const Point d = Dev(p);
    return {d.x + m_stereo.x, d.y + m_stereo.y};
  }
  Pen ScreenPen(Pen pen) const {
    if (m_caps.colours < 3) pen.colour = kBlack;
    if (!m_options.printer && m_ws.blackBackground() != 0 && pen.colour == kBlack) pen.colour = kWhite;
    return pen;
  }
  void Cross(Point c, int half, bool diagonal) { DrawCross(m_s, c, half, diagonal); }
  void Rebuild();
  bool MeasureExtent();
  void ComputeColours();
  void PlaceOnDevice();
  void DrawFrame();
  void DrawLegs();
  void DrawStereoLegs();
  void DrawMark(size_t n, const Pen& pen);
  void DrawSpokes(size_t n, const Pen& legPen);
  void DrawLabel(size_t n);
  void DrawHighlights();
  void DrawTitle(const Rect& area);
  bool ShowsTitle() const {
    return m_ws.showTitleAndPageLabel() != 0 && (!Camera() || m_options.printer || m_options.preview);
  }

  Surface& m_s;
  const doc::SurveyStore& m_store;
  doc::Worksheet& m_ws;
  ViewTransform& m_view;
  const platform::SettingsStore& m_settings;
  const SpatialDrawingOptions& m_options;
  SpatialDrawingResult& m_result;
  const doc::DocumentSettings& m_doc = m_store.settings;

  DisplayType m_type = DisplayType::Perspective;
  DeviceCaps m_caps;
  PenSet m_pens;
  Font m_labelFont, m_titleFont, m_pageLabelFont;
  std::vector<std::string> m_titleLines;
  double m_k = 1;
  int m_ox = 0, m_oy = 0;
  int m_s4 = 1;
  Point m_stereo;
  long m_currentCave = 0, m_currentPassage = 0;
  bool m_haveCurrent = false;
};

void SpatialPainter::Rebuild() {
  const double factor = Camera() ? (Screen().cy - kScreenSpareHeight) / (kReferenceScreenHeight - kScreenSpareHeight)
                                 : 1.0;
  m_view.PrepareProjection(m_store, m_ws, m_settings, factor);
  m_view.setProjectionDirty(false);
}

bool SpatialPainter::MeasureExtent() {
  m_view.legFilter().Init();
  bool any = false;
  PlaneRect e;
  Extent world;
  const auto slots = m_view.slots();
  auto widen = [&](const Vec3& p) {
    if (!any) e = {p.x, p.y, p.x, p.y};
    any = true;
    e.left = std::min(e.left, p.x), e.right = std::max(e.right, p.x);
    e.bottom = std::min(e.bottom, p.y), e.top = std::max(e.top, p.y);
  };
  bool anyWorld = false;
  for (size_t n = 0; n < m_store.records.size() && n < slots.size(); ++n) {
    const doc::SurveyRecord& r = *m_store.records[n];
    if (!TakesPart(r)) continue;
    for (const Vec3& p : {Vec3{r.refX, r.refY, r.refZ}, Vec3{r.x, r.y, r.z}}) {
      if (!anyWorld) world.min = world.max = p;
      anyWorld = true;
      world.min = {std::min(world.min.x, p.x), std::min(world.min.y, p.y), std::min(world.min.z, p.z)};
      world.max = {std::max(world.max.x, p.x), std::max(world.max.y, p.y), std::max(world.max.z, p.z)};
    }
    for (const Vec3& p : {slots[n].from, slots[n].to})
      if (!Hidden(p)) widen(p);
    if (Stereo())
      for (const Vec3& p : {slots[n].rightFrom, slots[n].rightTo}) widen(p);
  }
  const size_t current = m_doc.currentRecordNumber;
  if (current >= 1 && current <= m_store.records.size()) {
    m_currentCave = m_store.records[current - 1]->cave;
    m_currentPassage = m_store.records[current - 1]->passage;
    m_haveCurrent = true;
  }
  m_result.sceneSize = world.DepthNormaliser();
  m_view.setSceneSize(m_result.sceneSize);
  if (std::fabs(e.Width()) < 0.5) e.left -= 0.5, e.right += 0.5;
  if (std::fabs(e.Height()) < 0.5) e.bottom -= 0.5, e.top += 0.5;
  m_result.extent = e;
  return anyWorld;
}

void SpatialPainter::ComputeColours() { m_result.colours = RecordColours(m_store, m_ws, m_view); }

void SpatialPainter::PlaceOnDevice() {
  if (Camera()) {
    // The zoom and the screen factor are in the matrix: one unit is one
    // pixel, the eye looks at the middle of the window.
    Size picture = Window();
    m_k = 1;
    if (m_options.printer) {
      const Size client = m_options.rememberedClient.cx > 0 ? m_options.rememberedClient : Screen();
      const double mm = m_caps.dpiX / 25.4, mmY = m_caps.dpiY / 25.4;
      const int freeW = m_caps.widthPixels - static_cast<int>((m_ws.marginLeft() + m_ws.marginRight()) * mm);
      const int freeH = m_caps.heightPixels - static_cast<int>((m_ws.marginTop() + m_ws.marginBottom()) * mmY);
      m_k = std::min(static_cast<double>(freeH) / std::max(client.cy, 1),
                     static_cast<double>(freeW) / std::max(client.cx, 1));
      picture = {m_caps.widthPixels, m_caps.heightPixels};
    }
    if (!(m_k > 0) || !std::isfinite(m_k)) m_k = 1;
    m_ox = -picture.cx / 2;
    m_oy = -picture.cy / 2;
    return;
  }
  const PlaneRect& a = m_result.extent;
  const double aw = std::max(a.Width(), 1e-6), ah = std::max(a.Height(), 1e-6);
  // The right eye's picture is the left one moved by the stereo offset: the
  // margins make room for it, so neither picture leaves the window.
  const int shiftLeft = std::max(0, -m_stereo.x), shiftRight = std::max(0, m_stereo.x);
  const int shiftUp = std::max(0, -m_stereo.y), shiftDown = std::max(0, m_stereo.y);
  int left, right, top, bottom;
  if (m_options.printer) {
    const double mm = m_caps.dpiX / 25.4, mmY = m_caps.dpiY / 25.4;
    left = static_cast<int>(m_ws.marginLeft() * mm) + shiftLeft;
    right = static_cast<int>(m_ws.marginRight() * mm) + shiftRight;
    top = static_cast<int>(m_ws.marginTop() * mmY) + shiftUp;
    bottom = static_cast<int>(m_ws.marginBottom() * mmY) + shiftDown;
    m_k = std::min((m_caps.heightPixels - top - bottom) / ah, (m_caps.widthPixels - left - right) / aw);
  } else {
    left = kScreenMargin + shiftLeft, right = kScreenMargin + shiftRight;
    top = kScreenMargin + shiftUp, bottom = kScreenMargin + shiftDown;
    if (ShowsTitle()) {
      top += 10 + AbsHeight(m_titleFont) * static_cast<int>(m_titleLines.size());
      bottom += 10 + AbsHeight(m_pageLabelFont);
    }
    const Size screen = Screen();
    m_k = std::min((screen.cy - kScreenSpareHeight - top - bottom) / ah,
                   (screen.cx - kScreenSpareWidth - left - right) / aw) *
          m_ws.zoomPercent() / 100;
  }
  if (!(m_k > 0) || !std::isfinite(m_k)) m_k = 1e-6;
  const int width = static_cast<int>(std::lround(m_k * aw)), height = static_cast<int>(std::lround(m_k * ah));
  const Size window = m_options.printer ? Size{m_caps.widthPixels, m_caps.heightPixels} : Window();
  int x0 = left, y0 = top;
  if (left + width + right < window.cx) x0 = (window.cx - width - shiftLeft - shiftRight) / 2 + shiftLeft;
  if (top + height + bottom < window.cy) y0 = (window.cy - height - shiftUp - shiftDown) / 2 + shiftUp;
  m_ox = static_cast<int>(std::trunc(m_k * a.left + 0.5)) - x0;
  m_oy = -static_cast<int>(std::trunc(m_k * a.top + 0.5)) - y0;
}

void SpatialPainter::DrawFrame() {
  const std::vector<SpatialFrameLine> lines = SpatialFrameGeometry(m_view, m_ws);
  if (lines.empty()) return;
  const Pen framePen = ScreenPen({PenStyle::Solid, 1, m_doc.frameColour});
  auto project = [&](const Matrix4& m, const SpatialFrameLine& line) {
    if (Camera()) return ProjectSegment(m, line.from, line.to);
    return Segment{ProjectPoint(m, line.from), ProjectPoint(m, line.to)};
  };
  m_s.SetPen(Stereo() ? m_pens.left : framePen);
  for (const SpatialFrameLine& line : lines) {
    const Segment seg = project(m_view.matrix(), line);
    if (Hidden(seg.from) || Hidden(seg.to)) continue;
    m_s.Line(Dev(seg.from), Dev(seg.to));
  }
  if (Stereo()) {
    m_s.SetPen(m_pens.right);
    for (const SpatialFrameLine& line : lines) {
      const Segment seg = project(m_view.rightMatrix(), line);
      m_s.Line(Right(seg.from), Right(seg.to));
    }
    return;
  }
  // The height scale's labels at the outer end of their strokes.
  m_s.SetFont(MakeFont(m_doc.fonts[2], m_caps.dpiY));
  m_s.SetTextColour(m_caps.colours < 3 ? kBlack : m_doc.fontColours[2]);
  for (const SpatialFrameLine& line : lines) {
    if (line.text.empty()) continue;
    const Segment seg = project(m_view.matrix(), line);
    if (Hidden(seg.to)) continue;
    m_s.Text(Dev(seg.to), line.text, kAlignRight | kAlignBaseline);
  }
}

void SpatialPainter::DrawMark(size_t n, const Pen& legPen) {
  const doc::SurveyRecord& r = *m_store.records[n];
  const ProjectionSlots& slot = m_view.slot(n);
  m_s.SetPen(m_ws.pointsInLegColour() != 0 ? legPen : ScreenPen({PenStyle::Solid, 1, m_doc.pointColour}));
  DrawStationMark(m_s, m_ws, Dev(slot.from), Dev(slot.to), m_s4, SameStation(r) && r.ring == 0);
}

void SpatialPainter::DrawSpokes(size_t n, const Pen& legPen) {
  const ProjectionSlots& slot = m_view.slot(n);
  m_s.SetPen(m_ws.crossSectionsInStandardColour() != 0
                 ? ScreenPen({PenStyle::Solid, m_pens.solid[0].width, m_doc.auxLineColour})
                 : legPen);
  for (int k = 0; k < 4; ++k) {
    if (Hidden(slot.wallTo[k]) || Hidden(slot.wall[k])) continue;
    m_s.Line(Dev(slot.wallTo[k]), Dev(slot.wall[k]));
  }
}

void SpatialPainter::DrawLabel(size_t n) {
  const int kind = m_ws.stationNumbering();
  if (kind < 1 || kind > 10) return;
  const doc::SurveyRecord& r = *m_store.records[n];
  std::string text = StationLabel(r, kind, m_doc, m_view.heightOffset(), m_view.referencePath());
  if (m_ws.descriptionOverridesNumbering() != 0 && !base::TextOf(r.description).empty())
    text = base::Cp1252ToUtf8(base::TextOf(r.description));
  if (text.empty()) return;
  Colour colour = m_doc.fontColours[3];
  if (m_ws.pointsInLegColour() != 0) colour = ColourPen(m_pens, m_result.colours[n]).colour;
  if (m_caps.colours < 3) colour = kBlack;
  if (!m_options.printer && m_ws.blackBackground() != 0 && colour == kBlack) colour = kWhite;
  const Point to = Dev(m_view.slot(n).to);
  m_s.SetFont(m_labelFont);
  m_s.SetTextColour(colour);
  m_s.Text({to.x + m_s4, to.y - m_s4}, text, kAlignLeft | kAlignBottom);
}

void SpatialPainter::DrawLegs() {
  m_view.legFilter().Init();
  const Pen auxPen{PenStyle::Solid, m_pens.solid[0].width, m_doc.auxLineColour};
  const bool marking = m_ws.passageMarking() != 0 && !m_options.printer && m_haveCurrent;
  for (size_t n = 0; n < m_store.records.size(); ++n) {
    const doc::SurveyRecord& r = *m_store.records[n];
    const ProjectionSlots& slot = m_view.slot(n);
    if (r.colour == 0 || Hidden(slot.from) || Hidden(slot.to)) continue;
    const bool named = !base::TextOf(r.point).empty();
    if (!named && m_ws.showAuxiliaryLines() == 0) continue;
    const doc::LegVisibility visible = m_view.legFilter().Test(r, m_ws);
    if (!visible.Any()) continue;
    Pen pen = ColourPen(m_pens, m_result.colours[n]);
    if (marking && r.cave == m_currentCave && r.passage == m_currentPassage)
      pen = {PenStyle::Solid, 2, m_doc.frameColour};
    else if (!named && m_ws.crossSectionsInStandardColour() != 0)
      pen = auxPen;
    pen = ScreenPen(pen);
    if (visible.line) {
      m_s.SetPen(pen);
      m_s.Line(Dev(slot.from), Dev(slot.to));
    }
    if (named) DrawMark(n, pen);
    if (m_ws.showCrossSections() != 0) DrawSpokes(n, pen);
    if (named && visible.label) {
      if (m_ws.fileSymbol() != 0 && !m_options.printer && !base::TextOf(r.fileUrl).empty()) {
        // A small page with a folded corner beside the station.
        const Point to = Dev(slot.to), at{to.x + 5, to.y + 5};
        m_s.SetPen(ScreenPen({PenStyle::Solid, 1, kBlack}));
        m_s.SetBrush({BrushStyle::Hollow, 0});
        m_s.Rectangle({at.x, at.y, at.x + 7, at.y + 9});
        m_s.Line({at.x + 4, at.y}, {at.x + 6, at.y + 2});
      }
      DrawLabel(n);
    }
  }
}

void SpatialPainter::DrawStereoLegs() {
  for (int pass = 0; pass < 2; ++pass) {
    m_view.legFilter().Init();
    m_s.SetPen(pass == 0 ? m_pens.left : m_pens.right);
    for (size_t n = 0; n < m_store.records.size(); ++n) {
      const doc::SurveyRecord& r = *m_store.records[n];
      if (r.colour == 0) continue;
      if (base::TextOf(r.point).empty() && m_ws.showAuxiliaryLines() == 0) continue;
      if (!m_view.legFilter().Test(r, m_ws).line) continue;
      const ProjectionSlots& slot = m_view.slot(n);
      if (pass == 0)
        m_s.Line(Dev(slot.from), Dev(slot.to));
      else
        m_s.Line(Right(slot.rightFrom), Right(slot.rightTo));
    }
  }
}

void SpatialPainter::DrawHighlights() {
  if (m_ws.crosshair() == 0 || m_options.printer) return;
  m_s.SetPen(ScreenPen({PenStyle::Solid, 1, kBlack}));
  const size_t count = m_store.records.size();
  if (m_options.pickedRecord >= 0 && static_cast<size_t>(m_options.pickedRecord) < count) {
    const Vec3& to = m_view.slot(m_options.pickedRecord).to;
    if (!Hidden(to)) Cross(Dev(to), 7 * m_s4, true);
  }
  const size_t current = m_doc.currentRecordNumber;
  if (!Stereo() && current >= 1 && current <= count && !Hidden(m_view.slot(current - 1).to))
    Cross(Dev(m_view.slot(current - 1).to), 10 * m_s4, false);
}

void SpatialPainter::DrawTitle(const Rect& area) {
  if (!ShowsTitle()) return;
  const int centre = (area.left + area.right) / 2;
  if (!m_titleLines.empty()) {
    m_s.SetFont(m_titleFont);
    m_s.SetTextColour(m_caps.colours < 3 ? kBlack : m_doc.fontColours[0]);
    const int h = AbsHeight(m_titleFont);
    int y = area.top - 5 - h * static_cast<int>(m_titleLines.size() - 1);
    for (const std::string& line : m_titleLines) {
      m_s.Text({centre, y}, line, kAlignCentre | kAlignBottom);
      y += h;
    }
  }
  const platform::SystemClock systemClock;
  const platform::Clock& clock = m_options.clock ? *m_options.clock : static_cast<const platform::Clock&>(systemClock);
  const std::string label = base::Cp1252ToUtf8(ExpandPageLabel(m_ws, clock));
  if (label.empty()) return;
  m_s.SetFont(m_pageLabelFont);
  m_s.SetTextColour(m_caps.colours < 3 ? kBlack : m_doc.fontColours[1]);
  m_s.Text({centre, area.bottom + 5}, label, kAlignCentre | kAlignTop);
}

bool SpatialPainter::Run() {
  m_type = static_cast<DisplayType>(m_ws.displayType());
  m_caps = m_s.Caps();
  m_labelFont = MakeFont(m_doc.fonts[3], m_caps.dpiY);
  m_labelFont.escapement = std::clamp<int>(m_ws.labelAngleIndex(), 0, 6) * 150;
  m_s4 = std::max(1, AbsHeight(m_labelFont) / 4);
  m_titleFont = MakeFont(m_doc.fonts[0], m_caps.dpiY);
  m_pageLabelFont = MakeFont(m_doc.fonts[1], m_caps.dpiY);
  for (std::string_view line : {m_ws.title().empty() ? base::TextOf(m_doc.title) : m_ws.title(),
                                m_ws.title2().empty() ? base::TextOf(m_doc.title2) : m_ws.title2()})
    if (!line.empty()) m_titleLines.push_back(base::Cp1252ToUtf8(line));
  bool any = true;
  if (m_view.projectionDirty()) {
    any = m_view.ComputeExtents(m_store, m_ws);
    if (any) Rebuild();
  }
  if (!any || !MeasureExtent()) {
    const Size window = Window();
    m_s.SetFont(MakeFont(m_doc.fonts[0], m_caps.dpiY));
    m_s.SetTextColour(kBlack);
    m_s.Text({window.cx / 2, window.cy / 2}, kNoVisibleLines, kAlignCentre | kAlignBaseline);
    return false;
  }
  const Colour left = static_cast<Colour>(m_settings.GetInt(kSettingsSection, "FarbeLinks", kDefaultLeftEyeColour));
  const Colour right =
      static_cast<Colour>(m_settings.GetInt(kSettingsSection, "FarbeRechts", kDefaultRightEyeColour));
  m_pens = BuildPenSet(m_doc, m_ws.lineWidth(), m_caps, m_options.printer, left, right);
  m_stereo = Stereo() ? StereoOffset(m_ws, m_caps) : Point{};
  ComputeColours();
  PlaceOnDevice();
  m_result.scale = m_k;
  m_result.ox = m_ox, m_result.oy = m_oy;
  m_result.stereoOffset = m_stereo;

  Rect area;
  if (Camera()) {
    const Size client = m_options.printer ? (m_options.rememberedClient.cx > 0 ? m_options.rememberedClient : Screen())
                                          : Window();
    const int w = static_cast<int>(client.cx * m_k), h = static_cast<int>(client.cy * m_k);
    area = {-m_ox - w / 2, -m_oy - h / 2, -m_ox + w / 2, -m_oy + h / 2};
  } else {
    const Point tl = Dev(Vec3{m_result.extent.left, m_result.extent.top, 0});
    const Point br = Dev(Vec3{m_result.extent.right, m_result.extent.bottom, 0});
    area = {tl.x, tl.y, br.x, br.y};
  }
  DrawTitle(area);
  if (Camera() && m_options.printer && !m_options.preview) {
    m_s.SetPen(ScreenPen({PenStyle::Solid, 1, m_doc.frameColour}));
    m_s.SetBrush({BrushStyle::Hollow, 0});
    m_s.Rectangle({area.left, area.top, area.right + 1, area.bottom + 1});
  }
  DrawFrame();
  if (Stereo())
    DrawStereoLegs();
  else
    DrawLegs();
  DrawHighlights();
  return true;
}

}  // namespace

Point StereoOffset(const doc::Worksheet& worksheet, const DeviceCaps& caps) {
  return {static_cast<int>(worksheet.stereoOffsetX() * caps.dpiX / 25.4 / 3.5 + 0.5),
          static_cast<int>(worksheet.stereoOffsetY() * caps.dpiY / 25.4 / 3.5 + 0.5)};
}

std::vector<SpatialFrameLine> SpatialFrameGeometry(const ViewTransform& view, const doc::Worksheet& worksheet) {
  std::vector<SpatialFrameLine> lines;
  const auto type = static_cast<DisplayType>(worksheet.displayType());
  if (type != DisplayType::Perspective && type != DisplayType::RedGreen && type != DisplayType::Animation)
    return lines;
  const Extent& e = view.extent();
  const double unit = NorthArrowUnit(worksheet.northArrowSize(), e);
  if (worksheet.showFrame() != 0) {
    // Corners 0 to 3 the lower rectangle, 4 to 7 the upper one.
    Vec3 c[8];
    for (int i = 0; i < 8; ++i) {
      const bool east = i % 4 == 1 || i % 4 == 2, north = i % 4 >= 2;
      c[i] = {east ? e.max.x : e.min.x, north ? e.max.y : e.min.y, i >= 4 ? e.max.z : e.min.z};
    }
    for (int i = 0; i < 4; ++i) {
      lines.push_back({c[i], c[(i + 1) % 4], {}});
      lines.push_back({c[4 + i], c[4 + (i + 1) % 4], {}});
      lines.push_back({c[i], c[4 + i], {}});
    }
  }
  if (worksheet.northArrow() != 0)
    for (const FrameLine& line : NorthArrowLines(view.referencePoint(), unit))
      lines.push_back({line.from, line.to, {}});
  if (worksheet.heightLabels() != 0 && type != DisplayType::RedGreen) {
    const double offset = view.heightOffset();
    double step = worksheet.heightLabelStep();
    if (step <= 0) step = std::max(1.0, NiceStep((e.max.z - e.min.z) / 10));
    const double first = std::floor((e.min.z - offset + step - 0.01) / step) * step;
    for (int i = 0; i < kMaxHeightSteps && first + i * step <= e.max.z - offset + 0.01; ++i) {
      const double h = first + i * step;
      char text[32];
      std::snprintf(text, sizeof text, "%1.0f", h);
      lines.push_back({{e.min.x, e.min.y, h + offset}, {e.min.x - 2 * unit, e.min.y, h + offset}, text});
    }
  }
  return lines;
}

SpatialDrawingResult DrawSpatial(Surface& surface, const doc::SurveyStore& store, doc::Worksheet& worksheet,
                                 ViewTransform& view, const platform::SettingsStore& settings,
                                 const SpatialDrawingOptions& options) {
  SpatialDrawingResult result;
  SpatialPainter painter(surface, store, worksheet, view, settings, options, result);
  result.drawn = painter.Run();
  return result;
}

}  // namespace hp::draw
