// Picking, zoom steps, rubber bands, sheet navigation and camera moves.
#include "draw/interaction/ViewInteraction.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "base/FixedText.h"
#include "draw/pages/Printing.h"
#include "draw/protocol/Protocol.h"

namespace hp::draw {
namespace {

// The mouse code converts degrees with this factor, not the exact π/180.
constexpr double kMouseDegree = 0.0174533;

constexpr double kMinWheelZoom = 10, kMaxZoom = 10000;
constexpr double kSnapLow = 94, kSnapHigh = 106;

double Step(double step) { return step >= 1 ? step : 1; }

double FloorTo(double v, double step) { return std::floor(v / step) * step; }
double CeilTo(double v, double step) { return std::ceil(v / step) * step; }

PlaneRect SubSheet(const doc::Worksheet& ws) {
  return {ws.subSheetLeft(), ws.subSheetBottom(), ws.subSheetRight(), ws.subSheetTop()};
}
void SetSubSheet(doc::Worksheet& ws, const PlaneRect& r) {
  ws.setSubSheetLeft(r.left), ws.setSubSheetBottom(r.bottom);
  ws.setSubSheetRight(r.right), ws.setSubSheetTop(r.top);
}
void SetOverview(doc::Worksheet& ws, const PlaneRect& r) {
  ws.setOverviewLeft(r.left), ws.setOverviewBottom(r.bottom);
  ws.setOverviewRight(r.right), ws.setOverviewTop(r.top);
}

int Columns(const doc::Worksheet& ws) { return std::max<int>(1, ws.sheetColumns()); }
int Rows(const doc::Worksheet& ws) { return std::max<int>(1, ws.sheetRows()); }

// clang-format off
constexpr MouseModeEntry kModes[] = {
    {MouseMode::Edit, 6005, "&Daten bearbeiten\tStrg+1"},
    {MouseMode::StationInfo, 6001, "Messpunkt-&Info\tStrg+2"},
    {MouseMode::Overview, 6003, "\xC3\x9C" "bersicht &festlegen\tStrg+3"},
    {MouseMode::Sheets, 6004, "&Teilbl\xC3\xA4tter ausw\xC3\xA4hlen\tStrg+4"},
    {MouseMode::PrintArea, 6006, "Druck&bereich ausw\xC3\xA4hlen\tStrg+5"},
    {MouseMode::Mark, 6002, "&Abstandsmarkierung\tStrg+6"},
    {MouseMode::Centre, 6007, "&Zentrieren\tStrg+7"},
};
// clang-format on

}  // namespace

PlanePoint DeviceToDrawing(DevicePoint p, const DeviceMapping& m) {
  if (!(m.scale > 0)) return {};
  return {(p.x + m.ox) / m.scale, -(p.y + m.oy) / m.scale};
}

int PickStation(const doc::SurveyStore& store, std::span<const ProjectionSlots> slots, const DeviceMapping& m,
                DevicePoint click, bool skipHidden, int tolerance) {
  if (!(m.scale > 0)) return -1;
  // Compared in drawing units: the slot's device point is
  // trunc(k·x + 0.5) − ox, so a cheap bound in metres rejects most records
  // before the exact rounding is done.
  const double bound = (tolerance + 1.0) / m.scale;
  const PlanePoint c = DeviceToDrawing(click, m);
  const long long limit = static_cast<long long>(tolerance) * tolerance;
  long long best = limit + 1;
  int found = -1;
  const size_t n = std::min(store.records.size(), slots.size());
  for (size_t i = 0; i < n; ++i) {
    const Vec3& to = slots[i].to;
    if (!(std::fabs(to.x - c.x) <= bound && std::fabs(to.y - c.y) <= bound)) continue;  // NaN too
    if (skipHidden && to.z == kHiddenDepth) continue;
    if (base::TextOf(store.records[i]->point).empty()) continue;
    const DevicePoint d = ToDevice(to.x, to.y, m.scale, m.ox, m.oy);
    const long long dx = static_cast<long long>(d.x) - click.x, dy = static_cast<long long>(d.y) - click.y;
    const long long dist = dx * dx + dy * dy;
    if (dist < best) {
      best = dist;
      found = static_cast<int>(i);
    }
  }
  return found;
}

bool IsClick(DevicePoint down, DevicePoint up) {
  return std::abs(up.x - down.x) < kClickLimit && std::abs(up.y - down.y) < kClickLimit;
}

double WheelZoom(double zoom, bool towardsUser) {
  const double s = zoom * 0.15;
  double z = towardsUser ? std::min(zoom + s, kMaxZoom) : std::max(zoom - s, kMinWheelZoom);
  if (z >= kSnapLow && z < kSnapHigh) z = 100;
  return z;
}

PlaneRect DeviceRectToDrawing(DevicePoint a, DevicePoint b, const DeviceMapping& m) {
  const PlanePoint p = DeviceToDrawing(a, m), q = DeviceToDrawing(b, m);
  return {std::min(p.x, q.x), std::min(p.y, q.y), std::max(p.x, q.x), std::max(p.y, q.y)};
}

PlaneRect SnapRubberBand(PlaneRect r, double step) {
  step = Step(step);
  if (r.left > r.right) std::swap(r.left, r.right);
  if (r.bottom > r.top) std::swap(r.bottom, r.top);
  PlaneRect s{FloorTo(r.left + step / 2, step), FloorTo(r.bottom + step / 2, step), CeilTo(r.right - step / 2, step),
              CeilTo(r.top - step / 2, step)};
  if (s.right < s.left + step / 2) s.right += step;
  if (s.bottom > s.top - step / 2) s.bottom -= step;
  return s;
}

double SnapDistance(double distance, double step) {
  step = Step(step);
  return FloorTo(step / 2 + distance, step);
}

void SetOverviewFromRubberBand(doc::Worksheet& ws, const PlaneRect& r) {
  const double step = std::min<double>(ws.overviewGridStep(), ws.sheetGridStep());
  SetOverview(ws, SnapRubberBand(r, step));
  ws.setManualOverview(1);
}

void MoveOverview(doc::Worksheet& ws, double dx, double dy) {
  const double step = std::min<double>(ws.overviewGridStep(), ws.sheetGridStep());
  const double sx = SnapDistance(dx, step), sy = SnapDistance(dy, step);
  SetOverview(ws, {ws.overviewLeft() + sx, ws.overviewBottom() + sy, ws.overviewRight() + sx, ws.overviewTop() + sy});
}

void ResetOverview(doc::Worksheet& ws) {
  ws.setShowSubSheets(0);
  ws.setManualOverview(0);
}

void SetSubSheetFromRubberBand(doc::Worksheet& ws, const PlaneRect& r) {
  const double g = Step(ws.sheetGridStep());
  PlaneRect s{FloorTo(r.left, g), FloorTo(r.bottom, g), CeilTo(r.right, g), CeilTo(r.top, g)};
  if (s.right - s.left < g / 2) s.right += g;
  if (s.top - s.bottom < g / 2) s.bottom -= g;
  SetSubSheet(ws, s);
  ws.setShowSubSheets(1);
  ws.setCurrentSheetNumber(1);
  ws.setManualPages(0);
}

void MoveSubSheets(doc::Worksheet& ws, double dx, double dy) {
  const double g = ws.sheetGridStep();
  const double sx = SnapDistance(dx, g), sy = SnapDistance(dy, g);
  const PlaneRect s = SubSheet(ws);
  SetSubSheet(ws, {s.left + sx, s.bottom + sy, s.right + sx, s.top + sy});
  ws.setManualPages(1);
}

int SheetAt(const doc::Worksheet& ws, PlanePoint p) {
  const PlaneRect s = SubSheet(ws);
  const double w = s.Width(), h = s.Height();
  if (!(w > 0) || !(h > 0)) return 0;
  const double column = std::floor((p.x - s.left) / w), row = std::floor((s.top - p.y) / h);
  if (!(column >= 0 && row >= 0 && column < Columns(ws) && row < Rows(ws))) return 0;  // NaN too
  return Columns(ws) * static_cast<int>(row) + static_cast<int>(column) + 1;
}

bool SelectSheetAt(doc::Worksheet& ws, PlanePoint p) {
  const int n = SheetAt(ws, p);
  if (n < 1 || n > kPrintAreaSheets) return false;
  ws.setShowSubSheets(1);
  ws.setCurrentSheetNumber(static_cast<int16_t>(n));
  return true;
}

bool TogglePrintAreaAt(doc::Worksheet& ws, PlanePoint p) {
  const int n = SheetAt(ws, p);
  return TogglePrintAreaBit(ws, n);
}

bool NavigateSheet(doc::Worksheet& ws, int id) {
  const doc::DisplayType type = ws.displayType();
  if (type == doc::DisplayType::Protocol) {
    switch (id) {
      case 32798: return StepProtocolPage(ws, ProtocolPageStep::First);
      case 32799: return StepProtocolPage(ws, ProtocolPageStep::Last);
      case 32794:
      case 32801: return StepProtocolPage(ws, ProtocolPageStep::Previous);
      case 32797:
      case 32800: return StepProtocolPage(ws, ProtocolPageStep::Next);
      default: return false;
    }
  }
  if (!doc::IsPlaneType(type) || ws.showSubSheets() == 0) return false;
  const int columns = Columns(ws), count = Rows(ws) * columns;
  const int n = std::clamp<int>(ws.currentSheetNumber(), 1, count);
  const int column = (n - 1) % columns;
  int next = n;
  switch (id) {
    case 32798: next = 1; break;
    case 32799: next = count; break;
    case 32795: next = column > 0 ? n - 1 : n; break;
    case 32796: next = column + 1 < columns ? n + 1 : n; break;
    case 32794: next = n - columns >= 1 ? n - columns : n; break;
    case 32797: next = n + columns <= count ? n + columns : n; break;
    case 32800: next = std::min(n + 1, count); break;
    case 32801: next = std::max(n - 1, 1); break;
    default: return false;
  }
  if (next == ws.currentSheetNumber()) return false;
  ws.setCurrentSheetNumber(static_cast<int16_t>(next));
  return true;
}

void DragTurn(doc::Worksheet& ws, int dx, int dy) {
  double azimuth = std::fmod(ws.viewAzimuth() + dx, 360.0);
  if (azimuth < 0) azimuth += 360;
  ws.setViewAzimuth(azimuth);
  ws.setViewInclination(std::clamp(ws.viewInclination() - dy, -90.0, 90.0));
}

double CameraFactor(double sceneSize, const doc::Worksheet& ws, int screenHeight, double per) {
  const double zoom = ws.zoomPercent() > 0 ? ws.zoomPercent() : 100;
  return std::max(sceneSize + ws.viewDistance(), sceneSize / 5) / std::max(1, screenHeight) / zoom * per;
}

void PanCamera(doc::Worksheet& ws, int dx, int dy, double f) {
  const double a = ws.viewAzimuth() * kMouseDegree, i = ws.viewInclination() * kMouseDegree;
  const double across = dx * f, vertical = dy * f;
  // Across: against the drag along the screen's right (cos a, −sin a, 0).
  // Vertical: along the screen's up (−sin i·sin a, −sin i·cos a, cos i),
  // so the picture follows the mouse.
  ws.setViewCentreX(ws.viewCentreX() - std::cos(a) * across - std::sin(i) * std::sin(a) * vertical);
  ws.setViewCentreY(ws.viewCentreY() + std::sin(a) * across - std::sin(i) * std::cos(a) * vertical);
  ws.setViewCentreZ(ws.viewCentreZ() + std::cos(i) * vertical);
}

void DragCameraDistance(doc::Worksheet& ws, int dy, double f) { ws.setViewDistance(ws.viewDistance() - dy * f); }

bool MoveCamera(doc::Worksheet& ws, int id, double step) {
  const double a = ws.viewAzimuth() * kMouseDegree;
  double dx = 0, dy = 0;
  switch (id) {
    case 32775: dx = -std::cos(a) * step, dy = std::sin(a) * step; break;
    case 32776: dx = std::cos(a) * step, dy = -std::sin(a) * step; break;
    case 32773: dx = std::sin(a) * step, dy = std::cos(a) * step; break;
    case 32774: dx = -std::sin(a) * step, dy = -std::cos(a) * step; break;
    default: return false;
  }
  ws.setViewCentreX(ws.viewCentreX() + dx);
  ws.setViewCentreY(ws.viewCentreY() + dy);
  return true;
}

bool PlaceFromDrawing(doc::DisplayType type, PlanePoint p, const Vec3& offset, PlacedPoint& placed) {
  switch (type) {
    case doc::DisplayType::Plan: placed = {p.x - offset.x, p.y - offset.y, 0, true}; return true;
    case doc::DisplayType::Section:
    case doc::DisplayType::Elevation: placed = {0, 0, p.y - offset.y, false}; return true;
    default: return false;
  }
}

void ApplyPlacement(doc::SurveyRecord& r, const PlacedPoint& placed) {
  if (placed.horizontal) {
    r.x = r.refX = placed.x;
    r.y = r.refY = placed.y;
  } else {
    r.z = r.refZ = placed.z;
  }
}

std::span<const MouseModeEntry> MouseModeEntries() { return kModes; }

bool IsMouseModeEnabled(MouseMode mode, doc::DisplayType type) {
  const bool protocol = type == doc::DisplayType::Protocol;
  switch (mode) {
    case MouseMode::Centre: return doc::IsCameraType(type);
    case MouseMode::Overview:
    case MouseMode::Sheets:
    case MouseMode::PrintArea: return !doc::IsSpatialType(type) && !protocol;
    // The red-green picture has no single drawing point to pick a station at.
    case MouseMode::Edit:
    case MouseMode::Mark:
    case MouseMode::StationInfo: return type != doc::DisplayType::RedGreen && !protocol;
  }
  return false;
}

}  // namespace hp::draw
