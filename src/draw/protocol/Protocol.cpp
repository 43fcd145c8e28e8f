// The survey protocol's pages: pagination, column positions, the drawing of
// one page, page navigation and the centring on the printed page.
#include "draw/protocol/Protocol.h"

#include <algorithm>

#include "draw/Painter.h"

namespace hp::draw {
namespace {

constexpr int kScreenMargin = 20;
constexpr int kMinLinesPerPage = 3;

std::string_view SampleText(ProtocolColumn column) {
  switch (column) {
    case ProtocolColumn::Station: return "Messpunkt   ";
    case ProtocolColumn::Angle: return "Neigung    ";
    case ProtocolColumn::Number: return "1234567.00  ";
    case ProtocolColumn::EvaluationLabel: return "Längster Weg zum Ursprung  ";
    case ProtocolColumn::Text: break;
  }
  return "12345678901234567890123456789012";
}

// The worksheet's protocol drawn on one surface: fonts, margins, line
// height and pagination, then the lines of one page.
class ProtocolPainter : public Painter {
 public:
  ProtocolPainter(Surface& surface, doc::SurveyStore& store, const doc::Worksheet& ws, ViewTransform& view,
                  const platform::SettingsStore& settings, const ProtocolDrawingOptions& options)
      : Painter(surface, store, ws, view, settings, {options.printer, options.preview, {}, -1, options.clock, {}}),
        m_printer(options.printer), m_sections(BuildProtocolSections(store, ws, view, settings)) {}

  // Lays the sections out; afterwards pageCount() and width() are known.
  void Layout() {
    Start();
    m_rowFont = MakeFont(m_doc.fonts[4], m_caps.dpiY);
    m_boldFont = m_rowFont;
    m_boldFont.weight = 700;
    m_lineHeight = std::max(1, std::max(AbsHeight(m_rowFont), AbsHeight(m_boldFont)) * 6 / 5);
    Margins m = m_printer ? PageMargins() : Margins{kScreenMargin, kScreenMargin, kScreenMargin, kScreenMargin};
    if (m_ws.showTitleAndPageLabel() != 0) {
      m.top += 10 + AbsHeight(m_fonts[0]) * static_cast<int>(m_titleLines.size());
      m.bottom += 10 + AbsHeight(m_fonts[1]);
    }
    m_left = m.left;
    m_top = m.top;
    m_bottom = std::max(m_top + m_lineHeight, m_caps.heightPixels - m.bottom);
    // The first page of a long list carries its title and header above
    // linesPerPage - 1 rows: two lines are kept free below the counted ones.
    const int lines = ProtocolLinesPerPage(m_bottom - 2 * m_lineHeight, m_top, m_lineHeight);
    m_pagination = PaginateProtocol(m_sections, lines);
    m_s.SetFont(m_rowFont);
    m_columns.clear();
    m_width = 0;
    for (const ProtocolSection& s : m_sections) {
      m_columns.push_back(ProtocolColumnPositions(m_s, s.columns, m_left));
      const int end = m_columns.back().back() + m_s.TextExtent(SampleText(s.columns.back())).cx;
      m_width = std::max(m_width, end - m_left);
    }
  }

  void DrawPage(int page) {
    m_figures.protocolPage = page;
    m_figures.protocolPages = pageCount();
    if (m_ws.showTitleAndPageLabel() != 0) DrawTitleAndPageLabel({m_left, m_top, m_left + m_width, m_bottom}, 0);
    const Colour colour = ScreenTextColour(FontColour(4));
    for (const ProtocolLine& line : ProtocolLinesOnPage(m_sections, m_pagination, page)) {
      const ProtocolSection& s = m_sections[line.section];
      const int y = m_top + line.line * m_lineHeight;
      m_s.SetTextColour(colour);
      switch (line.kind) {
        case ProtocolLine::Kind::Title:
          m_s.SetFont(m_boldFont);
          m_s.Text({m_left, y}, s.title, kAlignLeft | kAlignTop);
          break;
        case ProtocolLine::Kind::Header:
          m_s.SetFont(m_boldFont);
          DrawTabbedLine(m_s, m_left, y, s.header, m_columns[line.section]);
          break;
        case ProtocolLine::Kind::Row:
          m_s.SetFont(m_rowFont);
          DrawTabbedLine(m_s, m_left, y, s.rows[line.row], m_columns[line.section]);
          break;
      }
    }
  }

  int pageCount() const { return m_pagination.pageCount; }
  int width() const { return m_width; }
  int dpiX() const { return m_caps.dpiX; }

 private:
  const bool m_printer;
  std::vector<ProtocolSection> m_sections;
  std::vector<std::vector<int>> m_columns;  // per section
  ProtocolPagination m_pagination;
  Font m_rowFont, m_boldFont;
  int m_lineHeight = 1, m_left = 0, m_top = 0, m_bottom = 0, m_width = 0;
};

}  // namespace

int ProtocolLinesPerPage(int pageHeight, int topMargin, int lineHeight) {
  if (lineHeight <= 0) return kMinLinesPerPage;
  return std::max(kMinLinesPerPage, (pageHeight - topMargin) / lineHeight + 1);
}

ProtocolPagination PaginateProtocol(const std::vector<int>& rowCounts, const std::vector<bool>& lists,
                                    int linesPerPage) {
  ProtocolPagination result;
  const int L = std::max(kMinLinesPerPage, linesPerPage);
  result.linesPerPage = L;
  int p = 1, c = 0;
  for (size_t i = 0; i < rowCounts.size(); ++i) {
    const int n = rowCounts[i];
    if (n <= 0) {
      result.starts.push_back({p, c});
      continue;
    }
    if (c != 0 && c + 2 + n > L) ++p, c = 0;
    result.starts.push_back({p, c});
    if (i < lists.size() && lists[i] && c + 2 + n > L) p += (n - 1) / (L - 1);
    c = std::min(c + 3 + n, L);
  }
  result.pageCount = p;
  return result;
}

ProtocolPagination PaginateProtocol(const std::vector<ProtocolSection>& sections, int linesPerPage) {
  std::vector<int> counts;
  std::vector<bool> lists;
  for (const ProtocolSection& s : sections) {
    counts.push_back(static_cast<int>(std::min<size_t>(s.rows.size(), 1u << 30)));
    lists.push_back(s.IsList());
  }
  return PaginateProtocol(counts, lists, linesPerPage);
}

std::vector<ProtocolLine> ProtocolLinesOnPage(const std::vector<ProtocolSection>& sections,
                                              const ProtocolPagination& pagination, int page) {
  std::vector<ProtocolLine> lines;
  const int L = pagination.linesPerPage;
  for (size_t i = 0; i < sections.size() && i < pagination.starts.size(); ++i) {
    const ProtocolSection& s = sections[i];
    const auto [first, c] = pagination.starts[i];
    const int n = static_cast<int>(s.rows.size());
    const bool runs = s.IsList() && c + 2 + n > L;
    if (!runs) {
      if (first != page) continue;
      int line = c;
      lines.push_back({line++, i, ProtocolLine::Kind::Title, 0});
      if (!s.header.empty()) lines.push_back({line++, i, ProtocolLine::Kind::Header, 0});
      for (int r = 0; r < n && line < L + 2; ++r)
        lines.push_back({line++, i, ProtocolLine::Kind::Row, static_cast<size_t>(r)});
      continue;
    }
    const int perPage = L - 1;
    const int k = page - first;
    if (k < 0 || k > (n - 1) / perPage) continue;
    int line = 0;
    if (k == 0) lines.push_back({line++, i, ProtocolLine::Kind::Title, 0});
    lines.push_back({line++, i, ProtocolLine::Kind::Header, 0});
    for (int r = k * perPage; r < n && r < (k + 1) * perPage; ++r)
      lines.push_back({line++, i, ProtocolLine::Kind::Row, static_cast<size_t>(r)});
  }
  return lines;
}

std::vector<int> ProtocolColumnPositions(const Surface& surface, const std::vector<ProtocolColumn>& columns, int x) {
  std::vector<int> positions;
  for (const ProtocolColumn column : columns) {
    positions.push_back(x);
    x += surface.TextExtent(SampleText(column)).cx;
  }
  if (positions.empty()) positions.push_back(x);
  return positions;
}

// Numbers reach here with their decimal comma already; dates and names keep
// their points.
void DrawTabbedLine(Surface& surface, int x, int y, std::string_view text, const std::vector<int>& columns,
                    size_t firstColumn) {
  size_t column = firstColumn;
  int last = columns.empty() ? x : columns.back();
  while (true) {
    const size_t tab = text.find('\t');
    const std::string_view piece = text.substr(0, tab);
    int at = x;
    if (column < columns.size()) {
      at = columns[column];
    } else if (!columns.empty()) {
      at = last;
    }
    if (!piece.empty()) surface.Text({at, y}, piece, kAlignLeft | kAlignTop);
    last = at + surface.TextExtent(std::string(piece) + "  ").cx;
    if (tab == std::string_view::npos) break;
    text.remove_prefix(tab + 1);
    ++column;
  }
}

ProtocolDrawingResult DrawProtocol(Surface& surface, doc::SurveyStore& store, const doc::Worksheet& worksheet,
                                   ViewTransform& view, const platform::SettingsStore& settings,
                                   const ProtocolDrawingOptions& options) {
  ProtocolPainter painter(surface, store, worksheet, view, settings, options);
  painter.Layout();
  const int page = std::clamp(worksheet.protocolCurrentPage(), 1, painter.pageCount());
  painter.DrawPage(page);
  return {painter.pageCount(), page, painter.width()};
}

ProtocolDrawingResult DrawProtocolPage(Surface& surface, doc::SurveyStore& store, const doc::Worksheet& worksheet,
                                       ViewTransform& view, const platform::SettingsStore& settings, int page,
                                       const ProtocolDrawingOptions& options) {
  ProtocolPainter painter(surface, store, worksheet, view, settings, options);
  painter.Layout();
  const int count = painter.pageCount();
  page = std::clamp(page, 1, count);
  painter.DrawPage(page);
  return {count, page, painter.width()};
}

int ProtocolPageCount(Surface& surface, doc::SurveyStore& store, const doc::Worksheet& worksheet, ViewTransform& view,
                      const platform::SettingsStore& settings, const ProtocolDrawingOptions& options) {
  ProtocolPainter painter(surface, store, worksheet, view, settings, options);
  painter.Layout();
  return painter.pageCount();
}

std::string ProtocolClipboardText(doc::SurveyStore& store, const doc::Worksheet& worksheet, ViewTransform& view,
                                  const platform::SettingsStore& settings) {
  return ProtocolClipboardText(BuildProtocolSections(store, worksheet, view, settings));
}

void KeepProtocolPages(doc::Worksheet& worksheet, const ProtocolDrawingResult& drawn) {
  worksheet.setProtocolPageCount(drawn.pageCount);
  worksheet.setProtocolCurrentPage(drawn.page);
}

bool StepProtocolPage(doc::Worksheet& worksheet, ProtocolPageStep step) {
  const int count = std::max(1, worksheet.protocolPageCount());
  const int current = worksheet.protocolCurrentPage();
  int page = current;
  switch (step) {
    case ProtocolPageStep::First: page = 1; break;
    case ProtocolPageStep::Last: page = count; break;
    case ProtocolPageStep::Previous: page = current - 1; break;
    case ProtocolPageStep::Next: page = current + 1; break;
  }
  page = std::clamp(page, 1, count);
  if (page == current) return false;
  worksheet.setProtocolCurrentPage(page);
  return true;
}

double ProtocolWidthMm(Surface& surface, doc::SurveyStore& store, const doc::Worksheet& worksheet, ViewTransform& view,
                       const platform::SettingsStore& settings) {
  ProtocolDrawingOptions options;
  options.printer = true;
  ProtocolPainter painter(surface, store, worksheet, view, settings, options);
  painter.Layout();
  return painter.dpiX() > 0 ? painter.width() * 25.4 / painter.dpiX() : 0;
}

bool CentreProtocolOnPage(Surface& surface, doc::SurveyStore& store, doc::Worksheet& worksheet, ViewTransform& view,
                          const platform::SettingsStore& settings, double pageWidthMm, platform::Prompter& prompter) {
  const double widthMm = ProtocolWidthMm(surface, store, worksheet, view, settings);
  if (widthMm > pageWidthMm) {
    prompter.Message(protocol_texts::kTooWide, platform::Icon::Exclamation);
    return false;
  }
  const auto margin = static_cast<int16_t>(std::clamp((pageWidthMm - widthMm) / 2, 0.0, 32767.0));
  worksheet.setMarginLeft(margin);
  worksheet.setMarginRight(margin);
  return true;
}

}  // namespace hp::draw
