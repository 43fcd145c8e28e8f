// The page label expanded from its template.
#include <gtest/gtest.h>

#include "draw/PageLabel.h"
#include "support/Survey.h"

namespace hp::draw {
namespace {

constexpr platform::Date kToday{5, 3, 2024};

doc::Worksheet Sheet(int type, bool subSheets, int sheet, int rows, int columns, bool automaticScale) {
  doc::Worksheet ws = test::NewSheet(type);
  ws.setSheetDesignation("Ostteil");
  ws.setShowSubSheets(subSheets ? 1 : 0);
  ws.setCurrentSheetNumber(static_cast<int16_t>(sheet));
  ws.setSheetRows(static_cast<int16_t>(rows));
  ws.setSheetColumns(static_cast<int16_t>(columns));
  ws.setAutomaticScale(automaticScale ? 1 : 0);
  ws.setScaleDenominator(500);
  ws.setViewAzimuth(123.456);
  ws.setViewInclination(-12.5);
  ws.setProtocolCurrentPage(4);
  ws.setProtocolPageCount(9);
  return ws;
}

TEST(PageLabelTest, DefaultTemplateForEachDisplayType) {
  const struct {
    int type;
    bool subSheets, automaticScale;
    const char* expected;  // Windows-1252
  } cases[] = {
      {0, true, false, "Ostteil  Seite 5/6 (2;2)  0\xB0/-90\xB0  1:500   05.03.2024"},
      {0, false, false, "Ostteil  Seite 1/1 (1;1)  0\xB0/-90\xB0  1:500   05.03.2024"},
      {0, false, true, "Ostteil  Seite 1/1 (1;1)  0\xB0/-90\xB0     05.03.2024"},
      {1, false, false, "Ostteil  Seite 1/1 (1;1)  0\xB0/0\xB0  1:500   05.03.2024"},
      {2, false, false, "Ostteil  Seite 1/1 (1;1)  123,46\xB0/-12,50\xB0  1:500   05.03.2024"},
      {7, true, false, "Ostteil  Seite 5/6 (2;2)  123,46\xB0/0\xB0  1:500   05.03.2024"},
      // the spatial views have no true scale and no sheet of their own
      {3, false, false, "Ostteil  Seite 1/1 (1;1)  123,46\xB0/-12,50\xB0     05.03.2024"},
      {6, false, false, "Ostteil  Seite 4/9 (;)  \xB0/\xB0     05.03.2024"},
  };
  for (const auto& c : cases) {
    const doc::Worksheet ws = Sheet(c.type, c.subSheets, 5, 2, 3, c.automaticScale);
    EXPECT_EQ(ExpandPageLabel(kDefaultPageLabel, ws, kToday), c.expected) << c.type;
  }
}

TEST(PageLabelTest, OnlyTheFirstOccurrenceIsReplaced) {
  const doc::Worksheet ws = Sheet(0, true, 3, 2, 2, false);
  const struct {
    const char* pattern;
    const char* expected;
  } cases[] = {
      {"Plan ohne Platzhalter", "Plan ohne Platzhalter"},
      {"&Seite &Seite", "3 &Seite"},
      {"&MaxSeite vor &Seite", "4 vor 3"},
      {"(&Zeile;&Spalte)", "(2;1)"},
      {"&Ma\xDFstab &Massstab", "1:500 &Massstab"},
      {"&Datum", "05.03.2024"},
      {"&Blatt&Blatt", "Ostteil&Blatt"},
  };
  for (const auto& c : cases) EXPECT_EQ(ExpandPageLabel(c.pattern, ws, kToday), c.expected) << c.pattern;
}

TEST(PageLabelTest, ScaleIsRoundedAndDateComesFromTheClock) {
  doc::Worksheet ws = Sheet(0, false, 1, 1, 1, false);
  ws.setScaleDenominator(2499.6);
  ws.setPageLabel("&Ma\xDFstab &Datum");
  const platform::FixedClock clock({31, 12, 1999});
  EXPECT_EQ(ExpandPageLabel(ws, PageFiguresOf(ws), clock), "1:2500 31.12.1999");
}

}  // namespace
}  // namespace hp::draw
