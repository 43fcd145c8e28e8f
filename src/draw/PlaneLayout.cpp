// Grid steps, sub-sheets, overview and drawing area of a plane drawing.
#include "draw/PlaneLayout.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "draw/Projection.h"

namespace hp::draw {

namespace {

constexpr double kTolerance = 0.01;
// Grid steps are stored as 32-bit whole metres.
constexpr int kMaxStoredStep = std::numeric_limits<int32_t>::max();

double Floor(double v, double g) { return std::floor(v / g) * g; }
double Ceil(double v, double g) { return std::ceil(v / g) * g; }
double Step(double v) { return std::max(1.0, std::round(NiceStep(v))); }
// A stored step that is not positive would stall every grid loop.
double Usable(double step) { return step >= 1 && std::isfinite(step) ? step : 1.0; }

PlaneRect StoredSheet(const doc::Worksheet& ws) {
  return {ws.subSheetLeft(), ws.subSheetBottom(), ws.subSheetRight(), ws.subSheetTop()};
}

int SheetCount(double length, double size) {
  const double n = std::ceil(length / size - 1e-9);
  if (!(n >= 1)) return 1;
  return static_cast<int>(std::min(n, 100.0));
}

}  // namespace

PlaneLayout LayoutPlane(const doc::Worksheet& ws, const PlaneRect& e, double pageWidthMm, double pageHeightMm,
                        std::optional<SheetChoice> sheet) {
  PlaneLayout layout;
  const bool trueScale = ws.automaticScale() == 0;
  const bool manualPages = ws.manualPages() != 0;
  const bool manualSheets = ws.manualSubSheets() != 0;
  const int fixedRows = std::clamp<int>(ws.sheetRows(), 1, 100);
  const int fixedColumns = std::clamp<int>(ws.sheetColumns(), 1, 100);
  const double scale = std::clamp(ws.scaleDenominator(), 10.0, 10000000.0);

  // Sheet grid step.
  double g = ws.sheetGridStep();
  if (ws.manualGrid() == 0) {
    if (trueScale) {
      g = Step(scale / 50);
    } else if (manualSheets) {
      const PlaneRect s = StoredSheet(ws);
      g = Step(std::max(std::fabs(s.Width()), std::fabs(s.Height())) / 12);
    } else if (manualPages) {
      g = Step(std::max(e.Width() / fixedColumns, e.Height() / fixedRows) / 12);
    } else {
      g = Step(std::max(e.Width(), e.Height()) / 12);
    }
    layout.automaticGrid = true;
    layout.storedSheetGrid = ClampedInt(g, kMaxStoredStep);
  }
  g = Usable(g);

  // First sub-sheet.
  PlaneRect s;
  if (manualSheets) {
    s = StoredSheet(ws);
  } else if (trueScale) {
    const double w = (pageWidthMm - ws.marginLeft() - ws.marginRight()) * scale / 1000;
    const double h = (pageHeightMm - ws.marginTop() - ws.marginBottom()) * scale / 1000;
    s.left = Floor(e.left + kTolerance, g);
    s.right = Floor(s.left + w + kTolerance, g);
    s.top = Ceil(e.top - kTolerance, g);
    s.bottom = Ceil(s.top - h - kTolerance, g);
  } else {
    const double w = manualPages ? e.Width() / fixedColumns : e.Width();
    const double h = manualPages ? e.Height() / fixedRows : e.Height();
    s.left = Floor(e.left + kTolerance, g);
    s.bottom = Floor(e.top - h - kTolerance, g);
    s.right = Ceil(e.left + w + kTolerance, g);
    s.top = Ceil(e.top - kTolerance, g);
  }
  if (!(s.Width() > 0)) s.right = s.left + g;
  if (!(s.Height() > 0)) s.bottom = s.top - g;
  layout.automaticSheet = !manualSheets;
  const double w = s.Width(), h = s.Height();

  // Overview of whole sub-sheets.
  PlaneRect o;
  if (ws.manualOverview() != 0) {
    o = {ws.overviewLeft(), ws.overviewBottom(), ws.overviewRight(), ws.overviewTop()};
  } else {
    o.left = s.left;
    o.top = s.top;
    if (manualPages) {
      o.right = s.left + fixedColumns * w;
      o.bottom = s.top - fixedRows * h;
    } else {
      o.bottom = std::min(s.bottom, Floor(e.bottom - s.bottom + kTolerance, h) + s.bottom);
      o.right = std::max(s.right, Ceil(e.right - s.right - kTolerance, w) + s.right);
    }
    layout.automaticOverview = true;
  }
  layout.rows = manualPages ? fixedRows : SheetCount(o.top - o.bottom, h);
  layout.columns = manualPages ? fixedColumns : SheetCount(o.right - o.left, w);

  double og = ws.overviewGridStep();
  if (ws.manualGrid() == 0) {
    og = Step(std::max(o.Width(), o.Height()) / 12);
    layout.storedOverviewGrid = ClampedInt(og, kMaxStoredStep);
  }
  og = Usable(og);

  layout.sheet = s;
  layout.overview = o;
  layout.sheetGrid = g;
  layout.overviewGrid = og;
  layout.subSheet = sheet ? sheet->subSheet : ws.showSubSheets() != 0;
  layout.sheetNumber = sheet ? sheet->number : ws.currentSheetNumber();
  if (layout.subSheet) {
    const int n = std::max<int>(layout.sheetNumber, 1) - 1;
    const double dx = Floor((n % layout.columns) * w + g / 2, g);
    const double dy = Floor((n / layout.columns) * h + g / 2, g);
    layout.area = {s.left + dx, s.bottom - dy, s.right + dx, s.top - dy};
    layout.grid = g;
  } else {
    layout.area = o;
    layout.grid = og;
  }
  return layout;
}

void StoreLayout(doc::Worksheet& ws, const PlaneLayout& layout) {
  if (layout.automaticGrid) {
    ws.setSheetGridStep(layout.storedSheetGrid);
    ws.setOverviewGridStep(layout.storedOverviewGrid);
  }
  if (layout.automaticSheet) {
    const PlaneRect& s = layout.sheet;
    ws.setSubSheetLeft(s.left), ws.setSubSheetBottom(s.bottom);
    ws.setSubSheetRight(s.right), ws.setSubSheetTop(s.top);
  }
  if (layout.automaticOverview) {
    const PlaneRect& o = layout.overview;
    ws.setOverviewLeft(o.left), ws.setOverviewBottom(o.bottom);
    ws.setOverviewRight(o.right), ws.setOverviewTop(o.top);
  }
  ws.setSheetRows(static_cast<int16_t>(layout.rows));
  ws.setSheetColumns(static_cast<int16_t>(layout.columns));
}

void RestoreSheetDefaults(doc::Worksheet& ws) {
  ws.setManualOverview(0);
  ws.setManualSubSheets(0);
  ws.setManualPages(0);
  ws.setManualGrid(0);
  ws.setShowSubSheets(0);
  ws.setSheetRows(1);
  ws.setSheetColumns(1);
  ws.setCurrentSheetNumber(1);
  ws.setProtocolCurrentPage(1);
  std::fill(ws.printAreaBits().begin(), ws.printAreaBits().end(), uint8_t{0});
  ws.setSubSheetDivision(1);
  ws.setMarginLeft(20);
  ws.setMarginRight(20);
  ws.setMarginTop(20);
  ws.setMarginBottom(20);
  ws.setBackgroundMap(0);
  ws.setLabelAngleIndex(0);
  ws.setNorthArrowSize(0);
  ws.setHeightLabelStep(0);
}

}  // namespace hp::draw
