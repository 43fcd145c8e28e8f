// Print-area commands, page choice and the print job.
#include "draw/pages/Printing.h"

#include <algorithm>
#include <cstdlib>

#include "draw/DisplayType.h"
#include "draw/WorksheetDrawing.h"
#include "draw/protocol/Protocol.h"

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
  return PrintAreaType(ws.displayType()) && ws.showSubSheets() != 0;
}

bool SelectPrintArea(doc::Worksheet& ws) {
  return IsSelectPrintAreaEnabled(ws) && TogglePrintAreaBit(ws, ws.currentSheetNumber());
}

bool IsClearPrintAreaEnabled(const doc::Worksheet& ws) { return PrintAreaType(ws.displayType()); }

bool ClearPrintArea(doc::Worksheet& ws) {
  if (!IsClearPrintAreaEnabled(ws)) return false;
  auto bits = ws.printAreaBits();
  const bool any = std::any_of(bits.begin(), bits.end(), [](uint8_t b) { return b != 0; });
  std::fill(bits.begin(), bits.end(), uint8_t{0});
  return any;
}

bool PrintsSubSheets(const doc::Worksheet& ws) {
  if (!doc::IsPlaneType(ws.displayType())) return false;
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

PrintJob::PrintJob(doc::SurveyStore& store, const doc::Worksheet& ws, ViewTransform& view,
                   const platform::SettingsStore& settings, const DeviceCaps& printer, const PageSizeMm& page,
                   const PrintJobOptions& options)
    : m_store(store), m_ws(ws), m_view(view), m_settings(settings), m_caps(printer), m_page(page), m_options(options) {
  m_subSheets = PrintsSubSheets(ws);
  if (ws.displayType() == DisplayType::Protocol) {
    // The protocol's pages on this page: its lines follow the fonts and the
    // printer's page and margins, not what the text measures.
    DiscardingSurface layoutPass(m_caps);
    m_pageCount = std::max(1, ProtocolPageCount(layoutPass, store, ws, view, settings, ProtocolOptions()));
    return;
  }
  if (!doc::IsPlaneType(ws.displayType())) return;
  // The rows and columns on this page, and whether the page cuts the
  // drawing: a drawing that places nothing. Every sub-sheet has the size of
  // the first.
  DiscardingSurface layoutPass(m_caps);
  const WorksheetDrawingResult laidOut = DrawOn(layoutPass, 1, true);
  m_cutAtPage = laidOut.cutAtPage;
  if (m_subSheets && laidOut.layout) {
    m_pageCount = std::clamp(laidOut.layout->rows, 1, 100) * std::clamp(laidOut.layout->columns, 1, 100);
  }
}

ProtocolDrawingOptions PrintJob::ProtocolOptions() const {
  ProtocolDrawingOptions o;
  o.printer = true;
  o.preview = m_options.preview;
  o.clock = m_options.clock;
  return o;
}

bool PrintJob::DrawPage(Surface& surface, int page) {
  if (m_ws.displayType() == DisplayType::Protocol) {
    if (page < 1 || page > m_pageCount) return false;
    DrawProtocolPage(surface, m_store, m_ws, m_view, m_settings, page, ProtocolOptions());
    return true;
  }
  return DrawOn(surface, page, false).drawn;
}

WorksheetDrawingResult PrintJob::DrawOn(Surface& surface, int page, bool layoutOnly) {
  WorksheetDrawingOptions o;
  o.sheet = SheetChoice{m_subSheets, m_subSheets ? std::clamp(page, 1, 10000) : m_ws.currentSheetNumber()};
  o.printer = true;
  // The layout pass leaves the background map alone: nothing to load or report.
  o.preview = m_options.preview || layoutOnly;
  o.pageWidthMm = m_page.width;
  o.pageHeightMm = m_page.height;
  o.clock = m_options.clock;
  o.backgroundMap = m_options.backgroundMap;
  o.documentFolder = m_options.documentFolder;
  o.prompter = m_options.prompter;
  return DrawWorksheet(surface, m_store, m_ws, m_view, m_settings, o);
}

}  // namespace hp::draw
