// The survey protocol ("Vermessungsprotokoll"): the worksheet's survey as a
// paged, tabular text report. This header owns its sections and rows, the
// column positions, the pagination, the drawing of one page, the page
// navigation, the clipboard text and the centring on the printed page.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "doc/SurveyStore.h"
#include "draw/Surface.h"
#include "draw/ViewTransform.h"
#include "platform/Clock.h"
#include "platform/Prompter.h"
#include "platform/SettingsStore.h"

namespace hp::draw {

namespace protocol_texts {
inline constexpr std::string_view kTooWide = "Das Vermessungsprotokoll ist breiter als das Seitenformat.";
}  // namespace protocol_texts

// The kind of a column decides its width (measured with a sample text in the
// row font).
enum class ProtocolColumn { Station, Angle, Number, Text, EvaluationLabel };

// One section of the protocol. Texts are UTF-8; the pieces of a row are
// separated by tabs and numbers already carry their decimal comma.
struct ProtocolSection {
  int index = 0;       // 0 cadastre ... 7 measures list
  std::string title;   // without line break
  std::string header;  // column header of the three lists, empty otherwise
  std::vector<ProtocolColumn> columns;
  std::vector<std::string> rows;
  bool IsList() const { return index >= 5; }
};

// The sections the worksheet switches on, in order, each with its rows; a
// section without rows is left out. Prepares the view's projection first when
// it is dirty (the leg filter and the height reference come from it); the
// data evaluation writes its extent marks into the records.
std::vector<ProtocolSection> BuildProtocolSections(doc::SurveyStore& store, const doc::Worksheet& worksheet,
                                                   ViewTransform& view, const platform::SettingsStore& settings);

// The protocol as the clipboard takes it: per section its title, the list
// header, the rows, one line each, and an empty line after the section.
std::string ProtocolClipboardText(const std::vector<ProtocolSection>& sections);

// Where the sections fall on the pages.
struct ProtocolPagination {
  int linesPerPage = 1;
  int pageCount = 1;
  struct Start {
    int page = 1, line = 0;
  };
  std::vector<Start> starts;  // per section
};

// Lines per page: (page height - top margin) / line height + 1, at least 3.
int ProtocolLinesPerPage(int pageHeight, int topMargin, int lineHeight);

// Paginates sections of `rowCounts` rows (the lists flagged in `lists`
// may run over several pages; the others are cut at the page end).
ProtocolPagination PaginateProtocol(const std::vector<int>& rowCounts, const std::vector<bool>& lists,
                                    int linesPerPage);
ProtocolPagination PaginateProtocol(const std::vector<ProtocolSection>& sections, int linesPerPage);

// One line of a page: the section's title, its list header or one of its rows.
struct ProtocolLine {
  enum class Kind { Title, Header, Row };
  int line = 0;  // from 0 at the top of the page
  size_t section = 0;
  Kind kind = Kind::Row;
  size_t row = 0;  // Row only
};

// The lines that fall on `page` (from 1), top to bottom. A list running over
// several pages repeats its header at the top of each further page, with
// linesPerPage - 1 rows per page.
std::vector<ProtocolLine> ProtocolLinesOnPage(const std::vector<ProtocolSection>& sections,
                                              const ProtocolPagination& pagination, int page);

// Column start positions: `x` for the first column, then each column's sample
// width further, measured in the surface's current font.
std::vector<int> ProtocolColumnPositions(const Surface& surface, const std::vector<ProtocolColumn>& columns, int x);

// Draws a tab-separated line: the pieces from `firstColumn` on start at their
// column positions (pieces beyond the last position follow the last one).
void DrawTabbedLine(Surface& surface, int x, int y, std::string_view text, const std::vector<int>& columns,
                    size_t firstColumn = 0);

struct ProtocolDrawingOptions {
  bool printer = false;                    // a printer page: the worksheet's page margins
  bool preview = false;                    // a print-preview page
  const platform::Clock* clock = nullptr;  // today's date for the page label; null: the system clock
};

struct ProtocolDrawingResult {
  int pageCount = 1;
  int page = 1;   // the page drawn
  int width = 0;  // the protocol's width in device units
};

// Lays the protocol out on the surface and draws the worksheet's current
// page (limited to the page count) with the title and page label when they
// are switched on.
ProtocolDrawingResult DrawProtocol(Surface& surface, doc::SurveyStore& store, const doc::Worksheet& worksheet,
                                   ViewTransform& view, const platform::SettingsStore& settings,
                                   const ProtocolDrawingOptions& options = {});

// Draws page `page` (from 1, limited to the page count) as the print flow
// asks for it.
ProtocolDrawingResult DrawProtocolPage(Surface& surface, doc::SurveyStore& store, const doc::Worksheet& worksheet,
                                       ViewTransform& view, const platform::SettingsStore& settings, int page,
                                       const ProtocolDrawingOptions& options = {});

// The number of pages the protocol takes on `surface` (a printer page with
// options.printer), for the print flow before it draws the pages.
int ProtocolPageCount(Surface& surface, doc::SurveyStore& store, const doc::Worksheet& worksheet, ViewTransform& view,
                      const platform::SettingsStore& settings, const ProtocolDrawingOptions& options = {});

// The clipboard text of the worksheet's protocol.
std::string ProtocolClipboardText(doc::SurveyStore& store, const doc::Worksheet& worksheet, ViewTransform& view,
                                  const platform::SettingsStore& settings);

// Keeps the window's page count and page in the worksheet, for the page
// keys, the status line and the saved document.
void KeepProtocolPages(doc::Worksheet& worksheet, const ProtocolDrawingResult& drawn);

// Page navigation by the sheet keys and the wheel (towards the user the next
// page, away the previous).
enum class ProtocolPageStep { First, Last, Previous, Next };
// Moves the worksheet's current page within 1 ... page count; true when it changed.
bool StepProtocolPage(doc::Worksheet& worksheet, ProtocolPageStep step);

// The protocol's width in millimetres as it is printed on `surface` (a page
// of the printer): its width in device units / dots per inch · 25.4.
double ProtocolWidthMm(Surface& surface, doc::SurveyStore& store, const doc::Worksheet& worksheet, ViewTransform& view,
                       const platform::SettingsStore& settings);

// "Grafik &zentrieren" for the protocol: its width in millimetres on
// `surface` (a page of the printer) is compared with the page width; a wider
// protocol gives the message and leaves the margins, else the left and right
// margins share the room left (at least 0). True when the margins were set.
bool CentreProtocolOnPage(Surface& surface, doc::SurveyStore& store, doc::Worksheet& worksheet, ViewTransform& view,
                          const platform::SettingsStore& settings, double pageWidthMm, platform::Prompter& prompter);

}  // namespace hp::draw
