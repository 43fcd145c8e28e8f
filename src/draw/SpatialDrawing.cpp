// Spatial drawing: rebuild, extent and device mapping, frame lines, height
// labels, legs of both eyes, station marks, wall spokes and labels.
#include "draw/SpatialDrawing.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "base/Cp1252.h"
#include "base/FixedText.h"
#include "draw/PageLabel.h"
#include "draw/Painter.h"
#include "draw/Picture.h"
#include "draw/PlanFrame.h"
#include "draw/PlaneDrawing.h"

namespace hp::draw {

namespace {

constexpr int kMaxHeightSteps = 256;
constexpr int kScreenMargin = 20;
constexpr int kScreenSpareWidth = 30, kScreenSpareHeight = 150;

bool Hidden(const Vec3& p) { return p.z == kHiddenDepth; }

PainterOutput OutputOf(const SpatialDrawingOptions& o) {
  return {o.printer, o.preview, o.window, o.pickedRecord, o.clock, o.sheet, o.highlighted};
}

class SpatialPainter : public Painter {
 public:
  SpatialPainter(Surface& surface, const doc::SurveyStore& store, const doc::Worksheet& ws, ViewTransform& view,
                 const platform::SettingsStore& settings, const SpatialDrawingOptions& options,
                 SpatialDrawingResult& result)
      : Painter(surface, store, ws, view, settings, OutputOf(options)), m_options(options), m_result(result) {}

  bool Run();

 private:
  bool Camera() const { return m_type == DisplayType::Animation; }
  bool Stereo() const { return m_type == DisplayType::RedGreen; }
  Size Screen() const {
    return m_options.screen.cy > 0 ? m_options.screen : Size{m_caps.widthPixels, m_caps.heightPixels};
  }
  Size Window() const {
    return m_options.window.cx > 0 ? m_options.window : Size{m_caps.widthPixels, m_caps.heightPixels};
  }
  Point Right(const Vec3& p) const {
    const Point d = Dev(p);
    return {d.x + m_stereo.x, d.y + m_stereo.y};
  }
  void PlaceOnDevice();
  void DrawFrame();
  void DrawLegs();
  void DrawStereoLegs();
  void DrawSpokes(size_t n, const Pen& legPen);
  void DrawLabel(size_t n);
  void DrawTitle(const Rect& area);
  bool ShowsTitle() const {
    return m_ws.showTitleAndPageLabel() != 0 && (!Camera() || m_options.printer || m_options.preview);
  }

  const SpatialDrawingOptions& m_options;
  SpatialDrawingResult& m_result;

  DisplayType m_type = DisplayType::Perspective;
  Point m_stereo;
};

void SpatialPainter::PlaceOnDevice() {
  if (Camera()) {
    // The zoom and the screen factor are in the matrix: one unit is one
    // pixel, the eye looks at the middle of the window.
    Size picture = Window();
    m_k = 1;
    if (m_options.printer) {
      const Size client = m_options.rememberedClient.cx > 0 ? m_options.rememberedClient : Screen();
      const double mm = m_caps.dpiX / 25.4, mmY = m_caps.dpiY / 25.4;
      const int freeW = m_caps.widthPixels - ClampedInt((m_ws.marginLeft() + m_ws.marginRight()) * mm);
      const int freeH = m_caps.heightPixels - ClampedInt((m_ws.marginTop() + m_ws.marginBottom()) * mmY);
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
  // The right eye's picture is the left one moved by the stereo offset: the
  // margins make room for it, so neither picture leaves the window.
  const Margins shift{std::max(0, -m_stereo.x), std::max(0, -m_stereo.y), std::max(0, m_stereo.x),
                      std::max(0, m_stereo.y)};
  const auto widened = [&shift](Margins m) {
    return Margins{m.left + shift.left, m.top + shift.top, m.right + shift.right, m.bottom + shift.bottom};
  };
  Margins m;
  if (m_options.printer) {
    m = widened(PageMargins());
    SetScale(FitScale(a, {m_caps.widthPixels, m_caps.heightPixels}, m));
  } else {
    m = widened({kScreenMargin, kScreenMargin, kScreenMargin, kScreenMargin});
    if (ShowsTitle()) {
      m.top += 10 + AbsHeight(m_fonts[0]) * static_cast<int>(m_titleLines.size());
      m.bottom += 10 + AbsHeight(m_fonts[1]);
    }
    const Size screen = Screen();
    SetScale(FitScale(a, {screen.cx - kScreenSpareWidth, screen.cy - kScreenSpareHeight}, m) * m_ws.zoomPercent() /
             100);
  }
  PlaceArea(a, m, m_options.printer ? Size{m_caps.widthPixels, m_caps.heightPixels} : Window(), true, shift);
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
  m_s.SetFont(m_fonts[2]);
  m_s.SetTextColour(FontColour(2));
  for (const SpatialFrameLine& line : lines) {
    if (line.text.empty()) continue;
    const Segment seg = project(m_view.matrix(), line);
    if (Hidden(seg.to)) continue;
    m_s.Text(Dev(seg.to), line.text, kAlignRight | kAlignBaseline);
  }
}

void SpatialPainter::DrawSpokes(size_t n, const Pen& legPen) {
  const ProjectionExtras& slot = m_view.extras(n);
  // The pen only when a spoke shows: a pen taken for nothing would end the
  // batch of legs drawn in the leg pen.
  bool penSet = false;
  for (int k = 0; k < 4; ++k) {
    if (Hidden(slot.wallTo[k]) || Hidden(slot.wall[k])) continue;
    if (!penSet) m_s.SetPen(CrossSectionPen(legPen));
    penSet = true;
    m_s.Line(Dev(slot.wallTo[k]), Dev(slot.wall[k]));
  }
}

void SpatialPainter::DrawLabel(size_t n) {
  const int kind = m_ws.stationNumbering();
  if (kind < 1 || kind > 10) return;
  const std::string text = LabelText(*m_store.records[n], kind);
  if (text.empty()) return;
  const Colour colour = LabelColour(n);
  const Point to = Dev(m_view.slot(n).to);
  m_s.SetFont(m_fonts[3]);
  m_s.SetTextColour(colour);
  m_s.Text({to.x + m_s4, to.y - m_s4}, text, kAlignLeft | kAlignBottom);
}

void SpatialPainter::DrawLegs() {
  m_view.legFilter().Init();
  constexpr size_t kAhead = 4;  // records fetched ahead; the drawing between them pushes them out of the cache
  for (size_t n = 0; n < m_store.records.size(); ++n) {
    if (n + kAhead < m_store.records.size()) {
      const doc::SurveyRecord& next = *m_store.records[n + kAhead];
      __builtin_prefetch(&next.colour);
      __builtin_prefetch(&next.point);
    }
    const doc::SurveyRecord& r = *m_store.records[n];
    const ProjectionSlots& slot = m_view.slot(n);
    if (r.colour == 0 || Hidden(slot.from) || Hidden(slot.to)) continue;
    const bool named = !base::TextOf(r.point).empty();
    if (!named && m_ws.showAuxiliaryLines() == 0) continue;
    const doc::LegVisibility visible = m_view.legFilter().Test(r, m_ws);
    if (!visible.Any()) continue;
    const Pen pen = LegPen(n);
    if (visible.line) {
      m_s.SetPen(pen);
      m_s.Line(Dev(slot.from), Dev(slot.to));
    }
    if (named) DrawMark(n, pen);
    if (m_ws.showCrossSections() != 0) DrawSpokes(n, pen);
    if (named && visible.label) {
      if (m_ws.fileSymbol() != 0 && !m_options.printer && !base::TextOf(r.fileUrl).empty())
        DrawFileSymbol(Dev(slot.to));
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
      if (pass == 0) m_s.Line(Dev(m_view.slot(n).from), Dev(m_view.slot(n).to));
      else m_s.Line(Right(m_view.extras(n).rightFrom), Right(m_view.extras(n).rightTo));
    }
  }
}

void SpatialPainter::DrawTitle(const Rect& area) {
  if (ShowsTitle()) DrawTitleAndPageLabel(area, 0);
}

bool SpatialPainter::Run() {
  m_type = m_ws.displayType();
  Start();
  Picture picture = ComposePicture(m_store, m_ws, m_view, m_settings, Screen().cy);
  FindCurrentPassage();
  m_result.sceneSize = picture.sceneSize;
  m_result.extent = picture.extent;
  if (!picture.visible) {
    ShowNothingVisible();
    return false;
  }
  m_stereo = Stereo() ? StereoOffset(m_ws, m_caps) : Point{};
  m_colours = std::move(picture.colours);
  PlaceOnDevice();
  m_result.scale = m_k;
  m_result.ox = m_ox, m_result.oy = m_oy;
  m_result.stereoOffset = m_stereo;

  Rect area;
  if (Camera()) {
    const Size client =
        m_options.printer ? (m_options.rememberedClient.cx > 0 ? m_options.rememberedClient : Screen()) : Window();
    const int w = ClampedInt(client.cx * m_k), h = ClampedInt(client.cy * m_k);
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
  if (Stereo()) DrawStereoLegs();
  else DrawLegs();
  DrawHighlightedLegs(true);
  DrawHighlights(true, !Stereo());
  DrawLoopLegend();
  m_result.colours = m_colours;
  return true;
}

}  // namespace

Point StereoOffset(const doc::Worksheet& worksheet, const DeviceCaps& caps) {
  return {ClampedInt(worksheet.stereoOffsetX() * caps.dpiX / 25.4 / 3.5 + 0.5),
          ClampedInt(worksheet.stereoOffsetY() * caps.dpiY / 25.4 / 3.5 + 0.5)};
}

std::vector<SpatialFrameLine> SpatialFrameGeometry(const ViewTransform& view, const doc::Worksheet& worksheet) {
  std::vector<SpatialFrameLine> lines;
  const DisplayType type = worksheet.displayType();
  if (!doc::IsSpatialType(type)) return lines;
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

SpatialDrawingResult DrawSpatial(Surface& surface, const doc::SurveyStore& store, const doc::Worksheet& worksheet,
                                 ViewTransform& view, const platform::SettingsStore& settings,
                                 const SpatialDrawingOptions& options) {
  SpatialDrawingResult result;
  SpatialPainter painter(surface, store, worksheet, view, settings, options, result);
  result.drawn = painter.Run();
  return result;
}

}  // namespace hp::draw
