// The view's status line and its scroll sizes.
#include <gtest/gtest.h>

#include "base/FixedText.h"
#include "draw/DisplayType.h"
#include "draw/interaction/StatusLine.h"
#include "support/Survey.h"

namespace hp::draw {
namespace {

struct View {
  int type;
  int automaticScale = 0;
  int subSheets = 0;
  int sheet = 1, rows = 1, columns = 1;
  const char* pattern = "";
  int criterion = 0;
};

doc::Worksheet Sheet(const View& v) {
  doc::Worksheet ws = test::NewSheet(v.type);
  ws.setScaleDenominator(500);
  ws.setAutomaticScale(static_cast<int16_t>(v.automaticScale));
  ws.setViewAzimuth(12.5);
  ws.setViewInclination(-33.25);
  ws.setShowSubSheets(static_cast<int16_t>(v.subSheets));
  ws.setCurrentSheetNumber(static_cast<int16_t>(v.sheet));
  ws.setSheetRows(static_cast<int16_t>(v.rows));
  ws.setSheetColumns(static_cast<int16_t>(v.columns));
  ws.setLineFilterPattern(v.pattern);
  ws.setFilterCriterion(v.criterion);
  ws.setProtocolCurrentPage(2);
  ws.setProtocolPageCount(7);
  return ws;
}

TEST(StatusLine, DescribesTheView) {
  const struct {
    View view;
    const char* text;
  } cases[] = {
      {{0}, "Grundriss        1:500        Übersicht"},
      {{0, 1}, "Grundriss        Übersicht"},
      {{2}, "Parallelprojektion        1:500        12,50°/-33,25°        Übersicht"},
      {{7}, "Aufriss        1:500        12,50°        Übersicht"},
      {{3}, "Perspektivprojektion        12,50°/-33,25°"},
      {{6}, "Vermessungsprotokoll        Seite 2/7"},
      {{0, 0, 1, 5, 2, 3}, "Grundriss        1:500        Seite 5/6 (2;2)"},
      {{7, 1, 1, 3, 2, 3}, "Aufriss        12,50°        Seite 3/6 (1;3)"},
      {{4, 0, 1, 5, 2, 3}, "3D-Darstellung        12,50°/-33,25°"},
      {{0, 1, 0, 1, 1, 1, "1-3"}, "Grundriss        Ebene 1-3        Übersicht"},
      {{0, 1, 0, 1, 1, 1, "3,7-9", 1}, "Grundriss        Höhle 3,7-9        Übersicht"},
      {{3, 0, 0, 1, 1, 1, "H3+G2,R1", 5}, "Perspektivprojektion        12,50°/-33,25°        regelbasierend H3+G2,R1"},
      {{0, 1, 0, 1, 1, 1, "\xC4", 0}, "Grundriss        Ebene Ä        Übersicht"},
  };
  for (const auto& c : cases) EXPECT_EQ(StatusLineText(Sheet(c.view), MouseMode::Edit, nullptr, nullptr), c.text);
}

doc::SurveyRecord Station(int cave, int passage, const char* point, double x, double y, double z) {
  doc::SurveyRecord r;
  r.cave = cave, r.passage = passage, r.x = x, r.y = y, r.z = z, r.level = 3, r.pathLength = 150.5;
  base::SetText(r.point, point);
  return r;
}

TEST(StatusLine, ShowsTheCurrentAndTheMarkedStation) {
  doc::SurveyRecord dated = Station(1, 2, "A5", 0, 0, -12.3);
  base::SetText(dated.date, "01.02.2003");
  const doc::SurveyRecord undated = Station(1, 2,
                                            "\xDC"
                                            "7",
                                            0, 0, 4);
  const doc::SurveyRecord marked = Station(1, 1, "M", 10, 20, 30);
  const doc::SurveyRecord away = Station(2, 0, "9", 13, 24, 18);
  const doc::Worksheet plan = Sheet({0, 1});
  const struct {
    int mode;
    const doc::SurveyRecord* current;
    const doc::SurveyRecord* marked;
    const char* text;
    // clang-format off
  } cases[] = {
      {5, &dated, nullptr, "Messpunkt 1/2/A5      Ebene 3      Tiefe -12,30      Weg 150,50      Datum 01.02.2003"},
      {4, &undated, nullptr, "Messpunkt 1/2/Ü7      Ebene 3      Tiefe 4,00      Weg 150,50"},
      {4, &away, &marked,
       "Markierung 1/1/M      Messpunkt 2/0/9      Abstand 13,00      Horizontal 5,00      Vertikal -12,00"},
      {0, &undated, nullptr, "Grundriss        Übersicht        Messpunkt 1/2/Ü7      Ebene 3      Tiefe 4,00      Weg 150,50"},
      {4, nullptr, &marked, "Grundriss        Übersicht        Markierung 1/1/M"},
      {5, nullptr, nullptr, "Grundriss        Übersicht"},
  };
  // clang-format on
  for (const auto& c : cases) EXPECT_EQ(StatusLineText(plan, MouseModeOf(c.mode), c.current, c.marked), c.text);
}

TEST(StatusLine, SaysWhereToClickToPlaceAStation) {
  const doc::SurveyRecord station = Station(1, 2,
                                            "\xDC"
                                            "7",
                                            0, 0, 4);
  const struct {
    DisplayType type;
    const char* text;
  } cases[] = {
      {DisplayType::Plan, "Messpunkt 1/2/Ü7 positionieren: in den Grundriss klicken (Esc bricht ab)"},
      {DisplayType::Elevation, "Höhe von Messpunkt 1/2/Ü7 positionieren: in die Karte klicken (Esc bricht ab)"},
      {DisplayType::Animation,
       "Messpunkt 1/2/Ü7 positionieren: nur im Grundriss, Längsschnitt oder Aufriss möglich (Esc bricht ab)"},
  };
  for (const auto& c : cases) EXPECT_EQ(PlaceOnMapStatusText(c.type, station), c.text);
}

TEST(StatusLine, ScrollPagesAndLinesArePartsOfTheClientSize) {
  const struct {
    int width, height;
    ScrollSizes expected;
  } cases[] = {
      {1000, 600, {1000, 600, 950, 570, 100, 60}},
      {19, 5, {19, 5, 18, 4, 1, 1}},
      {0, -3, {0, 0, 0, 0, 0, 0}},
  };
  for (const auto& c : cases) {
    const ScrollSizes s = ScrollSizesForClient(c.width, c.height);
    const ScrollSizes& e = c.expected;
    EXPECT_EQ(std::tie(s.width, s.height, s.pageX, s.pageY, s.lineX, s.lineY),
              std::tie(e.width, e.height, e.pageX, e.pageY, e.lineX, e.lineY))
        << c.width << "x" << c.height;
  }
}

}  // namespace
}  // namespace hp::draw
