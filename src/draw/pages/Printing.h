// Printing a worksheet: the print-area commands, which pages a print job
// holds (all, a range or the selected print area), and the job itself, which
// draws one page after the other on a printer surface at true scale or fitted
// to the page. The rectangles and clicks of the view's mouse modes are in
// draw/ViewInteraction.h.
#pragma once

#include <filesystem>
#include <string_view>
#include <vector>

#include "doc/DisplayType.h"
#include "doc/SurveyStore.h"
#include "draw/BackgroundMap.h"
#include "draw/PlaneLayout.h"
#include "draw/Surface.h"
#include "draw/ViewTransform.h"
#include "draw/WorksheetDrawing.h"
#include "draw/pages/PageSetup.h"
#include "draw/protocol/Protocol.h"
#include "platform/Clock.h"
#include "platform/Prompter.h"
#include "platform/SettingsStore.h"

namespace hp::draw {

namespace print {
inline constexpr std::string_view kSelectPrintArea = "Druckbereich &auswählen\tStrg+Gr+D";
inline constexpr std::string_view kClearPrintArea = "Druckbereich &löschen";
inline constexpr std::string_view kPrint = "&Drucken...\tStrg+D";
inline constexpr std::string_view kPreview = "Sei&tenvorschau\tStrg+P";
inline constexpr std::string_view kClipboard = "&Zwischenablage";
inline constexpr std::string_view kPageSetup = "Seite &einrichten...\tStrg+E";
inline constexpr std::string_view kSubSheets = "&Teilblätter...\tStrg+T";
inline constexpr std::string_view kNoPrintArea = "Es ist kein Druckbereich ausgewählt. Es wird nichts gedruckt.";
inline constexpr std::string_view kRangeOutside =
    "Der Seitenbereich liegt außerhalb der Seiten. Es wird nichts gedruckt.";
inline constexpr std::string_view kNotPrinted = "Diese Darstellungsart kann nicht gedruckt werden.";
inline constexpr std::string_view kPrinterFailed = "Der Druck ist fehlgeschlagen.";
inline constexpr std::string_view kCutAtPage =
    "Die Grafik ist größer als das Seitenformat und wird am Seitenrand abgeschnitten.";
}  // namespace print

// Sheets 1 to 1024 have a print-area bit.
inline constexpr int kPrintAreaSheets = 1024;

bool PrintAreaBit(const doc::Worksheet& worksheet, int sheet);
// Toggles the bit of `sheet`; false (nothing changed) for sheets without one.
bool TogglePrintAreaBit(doc::Worksheet& worksheet, int sheet);

// "Druckbereich &auswählen": the plane types and the perspective and
// red-green views, and only while sub-sheets are shown. Toggles the bit of
// the current sheet; false when nothing changed.
bool IsSelectPrintAreaEnabled(const doc::Worksheet& worksheet);
bool SelectPrintArea(doc::Worksheet& worksheet);
// "Druckbereich &löschen": clears every bit; false when none was set.
bool IsClearPrintAreaEnabled(const doc::Worksheet& worksheet);
bool ClearPrintArea(doc::Worksheet& worksheet);

// Whether a print job prints sub-sheets one per page: the plane types, with
// fitted scale while sub-sheets are shown, with true scale when the page
// setup asks for sub-sheets.
bool PrintsSubSheets(const doc::Worksheet& worksheet);

// Which pages a job prints.
enum class PageChoice { All, Range, Selection };
struct PageRequest {
  PageChoice choice = PageChoice::All;
  int from = 1, to = 1;  // PageChoice::Range, from 1
};
struct PagePlan {
  std::vector<int> pages;    // in print order; empty: nothing is printed
  std::string_view message;  // why nothing is printed
};
// The pages of a job of `pageCount` pages: a range is cut to the pages and
// prints nothing when it lies outside them; the selection prints the sheets
// whose print-area bit is set, between the first and the last such sheet.
PagePlan PlanPages(const doc::Worksheet& worksheet, int pageCount, const PageRequest& request);

struct PrintJobOptions {
  bool preview = false;  // print-preview pages: no background map
  const platform::Clock* clock = nullptr;
  BackgroundMap* backgroundMap = nullptr;
  std::filesystem::path documentFolder;
  platform::Prompter* prompter = nullptr;
};

// One print job of the store's current worksheet on pages of `page`
// (printable millimetres, turned for the orientation): each page is the
// sub-sheet of its number when sub-sheets are printed, laid out on the
// printer's page. The worksheet is only read, so printing never changes the
// document. The survey protocol prints its pages laid out on the printer's
// page with the page margins. The store is not const: the protocol's data
// evaluation marks the records.
class PrintJob {
 public:
  PrintJob(doc::SurveyStore& store, const doc::Worksheet& worksheet, ViewTransform& view,
           const platform::SettingsStore& settings, const DeviceCaps& printer, const PageSizeMm& page,
           const PrintJobOptions& options = {});
  PrintJob(const PrintJob&) = delete;
  PrintJob& operator=(const PrintJob&) = delete;

  // Pages of the job: rows·columns of the layout on this page when
  // sub-sheets are printed, the protocol's page count for the survey
  // protocol, else 1.
  int pageCount() const { return m_pageCount; }
  // Whether the worksheet's display type has pages to print: the drawn
  // types and the survey protocol.
  bool printable() const {
    return doc::IsDrawnType(m_ws.displayType()) || m_ws.displayType() == doc::DisplayType::Protocol;
  }
  // The print dialog offers the selection only when sub-sheets are printed.
  bool allowsSelection() const { return m_subSheets; }
  bool subSheets() const { return m_subSheets; }
  // Whether the drawing is larger than the page within its margins (an
  // overview at true scale, or manual sub-sheets), so that the printed
  // pages cut it at the margins.
  bool cutAtPage() const { return m_cutAtPage; }
  // Draws `page` (from 1) on a surface of the printer's caps; false when
  // nothing was drawn.
  bool DrawPage(Surface& surface, int page);

 private:
  ProtocolDrawingOptions ProtocolOptions() const;
  // A page of a drawn type; the layout pass only finds the pages.
  WorksheetDrawingResult DrawOn(Surface& surface, int page, bool layoutOnly);

  doc::SurveyStore& m_store;
  const doc::Worksheet& m_ws;
  ViewTransform& m_view;
  const platform::SettingsStore& m_settings;
  DeviceCaps m_caps;
  PageSizeMm m_page;
  PrintJobOptions m_options;
  bool m_subSheets = false;
  int m_pageCount = 1;
  bool m_cutAtPage = false;
};

}  // namespace hp::draw
