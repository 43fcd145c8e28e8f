// Print-area commands, page choice and the print job.
#include "draw/Printing.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "draw/DisplayType.h"
#include "draw/Protocol.h"
#include "draw/WorksheetDrawing.h"

namespace hp::draw {

namespace {

bool PrintAreaType(DisplayType t) {
  return doc::IsPlaneType(t) || t == DisplayType::Perspective || t == DisplayType::RedGreen;
}

// A surface that draws nothing: the layout pass that finds the pages.
class DiscardingSurface final : public Surface {
 public:
  explicit DiscardingSurface(const DeviceCaps& caps) : m_caps(caps) {}
  DeviceCaps Caps() const override { return m_caps; }
  void SetPen(const Pen&) override {}
  void SetBrush(const Brush&) override {}
  void SetFont(const Font& font) override { m_height = std::max(1, std::abs(font.height)); }
  void SetTextColour(Colour) override {}
  void MoveTo(Point) override {}
  void LineTo(Point) override {}
  void Rectangle(const Rect&) override {}
  void Ellipse(const Rect&) override {}
  void Text(Point, std::string_view, unsigned) override {}
  Size TextExtent(std::string_view text) const override {
    return {static_cast<int>(text.size()) * m_height / 2, m_height};
  }
  void DrawImage(const Image&, const Rect&) override {}

 private:
  DeviceCaps m_caps;
  int m_height = 10;
};

double Snapped(double distance, double step) { return std::floor((step / 2 + distance) / step) * step; }

}  // namespace

bool PrintAreaBit(const doc::Worksheet& ws, int sheet) {
  if (sheet < 1 || sheet > kPrintAreaSheets) return false;
  const auto bits = ws.printAreaBits();
  return (bits[static_cast<size_t>(sheet - 1) / 8] & (1u << ((sheet - 1) % 8))) != 0;
}

bool TogglePrintAreaBit(doc::Worksheet& ws, int sheet) {
  if (sheet < 1 || sheet > kPrintAreaSheets) return false;
  auto bits = ws.printAreaBits();
  bits[static_cast<size_t>(sheet - 1) / 8] ^= static_cast<uint8_t>(1u << ((sheet - 1) % 8));
  return true;
}

bool IsSelectPrintAreaEnabled(const doc::Worksheet& ws) {
  return PrintAreaType(ws.displayKind()) && ws.showSubSheets() != 0;
}

bool SelectPrintArea(doc::Worksheet& ws) {
  return IsSelectPrintAreaEnabled(ws) && TogglePrintAreaBit(ws, ws.currentSheetNumber());
}

bool IsClearPrintAreaEnabled(const doc::Worksheet& ws) { return PrintAreaType(ws.displayKind()); }

bool ClearPrintArea(doc::Worksheet& ws) {
  if (!IsClearPrintAreaEnabled(ws)) return false;
  auto bits = ws.printAreaBits();
  const bool any = std::any_of(bits.begin(), bits.end(), [](uint8_t b) { return b != 0; });
  std::fill(bits.begin(), bits.end(), uint8_t{0});
  return any;
}

int SheetAt(const PlaneLayout& layout, double x, double y) {
  const PlaneRect& o = layout.overview;
  const double w = layout.sheet.Width(), h = layout.sheet.Height();
  if (!(w > 0) || !(h > 0) || x < o.left || y > o.top) return 0;
  const int column = static_cast<int>(std::floor((x - o.left) / w));
  const int row = static_cast<int>(std::floor((o.top - y) / h));
  if (column >= layout.columns || row >= layout.rows) return 0;
  return row * layout.columns + column + 1;
}

PlaneRect SnapDraggedRect(PlaneRect r, double step) {
  if (!(step > 0) || !std::isfinite(step)) step = 1;
  if (r.left > r.right) std::swap(r.left, r.right);
  if (r.bottom > r.top) std::swap(r.bottom, r.top);
  PlaneRect s{std::floor((r.left + step / 2) / step) * step, std::floor((r.bottom + step / 2) / step) * step,
              std::ceil((r.right - step / 2) / step) * step, std::ceil((r.top - step / 2) / step) * step};
  if (s.right - s.left < step / 2) s.right += step;
  if (s.top - s.bottom < step / 2) s.bottom -= step;
  return s;
}

void SetOverviewFromRect(doc::Worksheet& ws, const PlaneLayout& layout, const PlaneRect& rect) {
  const PlaneRect o = SnapDraggedRect(rect, std::min(layout.overviewGrid, layout.sheetGrid));
  ws.setManualOverview(1);
  ws.setOverviewLeft(o.left), ws.setOverviewBottom(o.bottom);
  ws.setOverviewRight(o.right), ws.setOverviewTop(o.top);
}

void SetSubSheetFromRect(doc::Worksheet& ws, const PlaneLayout& layout, const PlaneRect& rect) {
  const PlaneRect s = SnapDraggedRect(rect, layout.sheetGrid);
  ws.setManualSubSheets(1);
  ws.setSubSheetLeft(s.left), ws.setSubSheetBottom(s.bottom);
  ws.setSubSheetRight(s.right), ws.setSubSheetTop(s.top);
  ws.setCurrentSheetNumber(1);
}

void MoveSheets(doc::Worksheet& ws, const PlaneLayout& layout, double dx, double dy) {
  if (layout.subSheet) {
    const double g = layout.sheetGrid;
    const double x = Snapped(dx, g), y = Snapped(dy, g);
    const PlaneRect& s = layout.sheet;
    ws.setManualSubSheets(1);
    ws.setSubSheetLeft(s.left + x), ws.setSubSheetRight(s.right + x);
    ws.setSubSheetBottom(s.bottom + y), ws.setSubSheetTop(s.top + y);
    return;
  }
  const double g = layout.overviewGrid;
  const double x = Snapped(dx, g), y = Snapped(dy, g);
  const PlaneRect& o = layout.overview;
  ws.setManualOverview(1);
  ws.setOverviewLeft(o.left + x), ws.setOverviewRight(o.right + x);
  ws.setOverviewBottom(o.bottom + y), ws.setOverviewTop(o.top + y);
}

bool PrintsSubSheets(const doc::Worksheet& ws) {
  if (!doc::IsPlaneType(ws.displayKind())) return false;
  return ws.automaticScale() != 0 ? ws.showSubSheets() != 0 : ws.printSubSheets() != 0;
}

PagePlan PlanPages(const doc::Worksheet& ws, int pageCount, const PageRequest& request) {
  PagePlan plan;
  pageCount = std::max(pageCount, 1);
  switch (request.choice) {
    case PageChoice::All:
      for (int p = 1; p <= pageCount; ++p) plan.pages.push_back(p);
      break;
    case PageChoice::Range: {
      const int from = std::max(std::min(request.from, request.to), 1);
      const int to = std::min(std::max(request.from, request.to), pageCount);
      for (int p = from; p <= to; ++p) plan.pages.push_back(p);
      if (plan.pages.empty()) plan.message = print::kRangeOutside;
      break;
    }
    case PageChoice::Selection:
      for (int p = 1; p <= std::min(pageCount, kPrintAreaSheets); ++p)
        if (PrintAreaBit(ws, p)) plan.pages.push_back(p);
      if (plan.pages.empty()) plan.message = print::kNoPrintArea;
      break;
  }
  return plan;
}

PrintJob::PrintJob(doc::SurveyStore& store, doc::Worksheet& ws, ViewTransform& view,
                   const platform::SettingsStore& settings, const DeviceCaps& printer, const PageSizeMm& page,
                   const PrintJobOptions& options)
    : m_store(store), m_ws(ws), m_view(view), m_settings(settings), m_caps(printer), m_page(page),
      m_options(options) {
  if (options.resetFlag != nullptr && *options.resetFlag) {
    RestoreSheetDefaults(ws);
    *options.resetFlag = false;
  }
  m_options.resetFlag = nullptr;
  m_saved = ws.image;
  m_subSheets = PrintsSubSheets(ws);
  if (ws.displayKind() == DisplayType::Protocol) {
    // The protocol's pages on this page: its lines follow the fonts and the
    // printer's page and margins, not what the text measures.
    DiscardingSurface layoutPass(m_caps);
    m_pageCount = std::max(1, ProtocolPageCount(layoutPass, store, ws, view, settings, ProtocolOptions()));
    return;
  }
  ws.setShowSubSheets(m_subSheets ? 1 : 0);
  if (m_subSheets) {
    // The rows and columns on this page: a drawing that places nothing.
    DiscardingSurface layoutPass(m_caps);
    ws.setCurrentSheetNumber(1);
    DrawPage(layoutPass, 1);
    m_pageCount = std::clamp<int>(ws.sheetRows(), 1, 100) * std::clamp<int>(ws.sheetColumns(), 1, 100);
  }
}

PrintJob::~PrintJob() { m_ws.image = m_saved; }

ProtocolDrawingOptions PrintJob::ProtocolOptions() const {
  ProtocolDrawingOptions o;
  o.printer = true;
  o.preview = m_options.preview;
  o.clock = m_options.clock;
  return o;
}

bool PrintJob::DrawPage(Surface& surface, int page) {
  if (m_ws.displayKind() == DisplayType::Protocol) {
    if (page < 1 || page > m_pageCount) return false;
    DrawProtocolPage(surface, m_store, m_ws, m_view, m_settings, page, ProtocolOptions());
    return true;
  }
  if (m_subSheets) {
    m_ws.setCurrentSheetNumber(static_cast<int16_t>(std::clamp(page, 1, 10000)));
  }
  WorksheetDrawingOptions o;
  o.printer = true;
  o.preview = m_options.preview;
  o.pageWidthMm = m_page.width;
  o.pageHeightMm = m_page.height;
  o.clock = m_options.clock;
  o.backgroundMap = m_options.backgroundMap;
  o.documentFolder = m_options.documentFolder;
  o.prompter = m_options.prompter;
  o.resetFlag = m_options.resetFlag;
  return DrawWorksheet(surface, m_store, m_ws, m_view, m_settings, o).drawn;
}

}  // namespace hp::draw
