// The survey protocol: which records and sections it lists and how, the
// pagination, the page drawn, the navigation, the clipboard text and the
// centring on the printed page.
#include <gtest/gtest.h>

#include <array>
#include <map>
#include <memory>

#include "base/FixedText.h"
#include "draw/DrawingTestSupport.h"
#include "draw/pages/Printing.h"
#include "draw/protocol/Protocol.h"
#include "draw/protocol/ProtocolDialog.h"
#include "platform/Prompter.h"

namespace hp::draw {
namespace {

class ProtocolTest : public test::DrawingTest {
 protected:
  ProtocolTest() {
    ws.setDisplayType(doc::DisplayType::Protocol);
    Only({});
  }
  // Switches on exactly the sections given by index.
  void Only(std::initializer_list<int> indices) {
    ProtocolOptions o = ProtocolOptionsOf(ws);
    o.sections = {};
    for (int i : indices) o.sections[static_cast<size_t>(i)] = true;
    ApplyProtocolOptions(ws, o);
  }
  // 200 legs of cave 2, passage 3: 12.345 m east, 5 degrees down.
  void ManyLegs() {
    Only({5});
    for (int i = 0; i < 200; ++i) Add("2/3/A 2/3/P" + std::to_string(i) + " 12.345 90 -5 @ 0 0 0 1.5 -2.25 0");
  }
  // A printer of 300 dpi, by default with an A4 page less its margins.
  static DeviceCaps Printer() {
    DeviceCaps printer = RecordingSurface::DefaultCaps();
    printer.dpiX = printer.dpiY = 300;
    printer.widthPixels = 197 * 300 * 10 / 254, printer.heightPixels = 285 * 300 * 10 / 254;
    return printer;
  }
  std::vector<ProtocolSection> Sections() {
    view.setProjectionDirty(true);
    return BuildProtocolSections(store, ws, view, settings);
  }
  // Draws the current page as the window does, which keeps the pages.
  ProtocolDrawingResult Draw(int heightPixels = 600) {
    DeviceCaps caps = RecordingSurface::DefaultCaps();
    caps.heightPixels = heightPixels;
    surface = RecordingSurface(caps);
    view.setProjectionDirty(true);
    const ProtocolDrawingResult drawn = DrawProtocol(surface, store, ws, view, settings);
    KeepProtocolPages(ws, drawn);
    return drawn;
  }
};

TEST_F(ProtocolTest, LegListTakesVisibleNamedColouredRecordsWithDecimalCommas) {
  Only({5});
  Add("2/3/A 2/3/B 12.345 90 -5 @ 0 0 0 1.5 -2.25 4");
  Add("2/3/B 2/3/C 12.345 90 -5 @ 0 0 0 1.5 -2.25 5 colour=0");  // colour 0: never listed
  Add("2/3/C 2/3/- 12.345 90 -5 @ 0 0 0 1.5 -2.25 6");           // no point name: never listed
  struct Case {
    int numbering, info;
    const char* header;
    const char* row;
  };
  const Case cases[] = {
      {0, 0, "Referenz\tMesspunkt\tLänge\tAzimut\tNeigung\tX\tY\tZ\t",
       "2/3/A\t2/3/B\t12,35\t90,00\t-5,00\t1,50\t-2,25\t4,00\t"},
      {1, 3, "Referenz\tMesspunkt\tLänge\tAzimut\tNeigung\tX\tY\tZ\tDatum",
       "2/A\t2/B\t12,35\t90,00\t-5,00\t1,50\t-2,25\t4,00\t01.02.2003"},
      {2, 4, "Referenz\tMesspunkt\tLänge\tAzimut\tNeigung\tRefX\tRefY\tRefZ\tX\tY\tZ\t",
       "3/A\t3/B\t12,35\t90,00\t-5,00\t0,00\t0,00\t0,00\t1,50\t-2,25\t4,00\t"},
      {3, 5, "Referenz\tMesspunkt\tLänge\tAzimut\tNeigung\tX\tY\tZ\tLinks\tRechts\tOben\tUnten",
       "A\tB\t12,35\t90,00\t-5,00\t1,50\t-2,25\t4,00\t0,00\t0,00\t0,00\t0,00"},
  };
  base::SetText(store.records[0]->date, "01.02.2003");
  for (const Case& c : cases) {
    ProtocolOptions o = ProtocolOptionsOf(ws);
    o.numbering = c.numbering, o.legInfo = c.info;
    ApplyProtocolOptions(ws, o);
    const auto sections = Sections();
    ASSERT_EQ(sections.size(), 1u);
    EXPECT_EQ(sections[0].header, c.header) << c.info;
    ASSERT_EQ(sections[0].rows.size(), 1u);
    EXPECT_EQ(sections[0].rows[0], c.row) << c.info;
  }
}

TEST_F(ProtocolTest, MaterialAndMeasuresListsOnlyRecordsWithTheirTextAndDepthFromTheReference) {
  Only({6, 7});
  ws.setProtocolMaterialInfo(2), ws.setProtocolMeasuresInfo(3), ws.setProtocolNumbering(3);
  ws.setOriginPoint("A"), ws.setOriginCave(2), ws.setOriginPassage(3);
  Add("2/3/A 2/3/A 12.345 90 -5 @ 0 0 0 1.5 -2.25 100");
  base::SetText(Add("2/3/A 2/3/B 12.345 90 -5 @ 0 0 0 1.5 -2.25 90").material, "Lehm");
  doc::SurveyRecord& c = Add("2/3/B 2/3/C 12.345 90 -5 @ 0 0 0 1.5 -2.25 80");
  base::SetText(c.measures, "Gitter");
  base::SetText(c.description, "Engstelle");
  const auto sections = Sections();
  ASSERT_EQ(sections.size(), 2u);
  EXPECT_EQ(sections[0].rows, std::vector<std::string>{"B\t-10,00\t\tLehm"});
  EXPECT_EQ(sections[1].header, "Messpunkt\tBezeichnung\tMaterial\tMaßnahmen");
  EXPECT_EQ(sections[1].rows, std::vector<std::string>{"C\tEngstelle\t\tGitter"});
}

TEST_F(ProtocolTest, ClipboardTextHoldsEverySectionWithTitlesAndEmptyLines) {
  Only({0, 1, 2, 4});
  store.settings.cadastreNumber = 1234;
  base::SetText(store.settings.cadastreDesignation, "Testh\xF6hle");
  base::SetText(store.settings.descriptionText, "Zeile 1\r\nZeile 2");
  doc::SurveyRecord& fix = Add("2/3/F 2/3/F 12.345 90 -5 @ 0 0 0 1.5 -2.25 0");
  base::SetText(fix.description, "B\xE4renh\xF6hle");
  fix.length = 0;
  Add("2/3/F 2/3/G 12.345 90 -5 @ 0 0 0 1.5 -2.25 -3.5");
  const std::string text = ProtocolClipboardText(store, ws, view, settings);
  EXPECT_EQ(text.substr(0, text.find("Datenauswertung")),
            "Kataster\n1234: Testhöhle\n\nHöhle\n2: Bärenhöhle\n\n"
            "Dokument-Beschreibung\nZeile 1\nZeile 2\n\n");
  EXPECT_NE(text.find("Datenauswertung\nAnzahl der Messzüge\t1\t1\nGesamtlänge\t"), std::string::npos) << text;
  EXPECT_NE(text.find("\nGesamttiefe\t-3,50\t-3,50\n"), std::string::npos);
  EXPECT_NE(text.find("Längster Weg zum Ursprung\t"), std::string::npos);
}

TEST(ProtocolPaginationTest, SectionsAndLongListsOverPages) {
  const int L = 10;
  struct Case {
    const char* name;
    std::vector<int> rows;
    std::vector<bool> lists;
    int pages;
    std::vector<int> startPages;
  };
  const Case cases[] = {
      {"cadastre only", {1}, {false}, 1, {1}},
      {"two small sections share a page", {1, 3}, {false, false}, 1, {1, 1}},
      {"a section that does not fit starts a page", {3, 6}, {false, false}, 2, {1, 2}},
      {"empty sections take no room", {1, 0, 0, 3}, {false, false, true, true}, 1, {1, 1, 1, 1}},
      {"a list of 3L rows", {3 * L}, {true}, 4, {1}},
      {"a long list after a section", {2, 3 * L, 1}, {false, true, false}, 6, {1, 2, 6}},
      {"a long description is cut, not paged", {3 * L}, {false}, 1, {1}},
  };
  for (const Case& c : cases) {
    const ProtocolPagination p = PaginateProtocol(c.rows, c.lists, L);
    EXPECT_EQ(p.pageCount, c.pages) << c.name;
    std::vector<int> starts;
    for (const auto& s : p.starts) starts.push_back(s.page);
    EXPECT_EQ(starts, c.startPages) << c.name;
  }
}

TEST(ProtocolPaginationTest, EveryRowOfALongListIsOnExactlyOnePageWithinTheCount) {
  for (int n : {1, 8, 9, 10, 27, 30, 31}) {
    std::vector<ProtocolSection> sections(1);
    sections[0].index = 5;
    sections[0].header = "H";
    sections[0].rows.assign(static_cast<size_t>(n), "r");
    const ProtocolPagination p = PaginateProtocol(sections, 10);
    std::vector<int> seen(static_cast<size_t>(n), 0);
    for (int page = 1; page <= p.pageCount + 1; ++page)
      for (const ProtocolLine& line : ProtocolLinesOnPage(sections, p, page)) {
        EXPECT_LE(page, p.pageCount);
        EXPECT_LE(line.line, 10) << "n " << n;
        if (line.kind == ProtocolLine::Kind::Row) ++seen[line.row];
      }
    EXPECT_EQ(std::count(seen.begin(), seen.end(), 1), n) << "n " << n;
  }
}

TEST_F(ProtocolTest, CurrentPageFollowsTheLayoutAndPagesStepWithinTheCount) {
  ManyLegs();
  EXPECT_GT(Draw().pageCount, 3);
  EXPECT_EQ(ws.protocolPageCount(), Draw().pageCount);
  EXPECT_TRUE(StepProtocolPage(ws, ProtocolPageStep::Last));
  EXPECT_FALSE(StepProtocolPage(ws, ProtocolPageStep::Next));
  EXPECT_EQ(ws.protocolCurrentPage(), ws.protocolPageCount());
  EXPECT_TRUE(StepProtocolPage(ws, ProtocolPageStep::Previous));
  EXPECT_TRUE(StepProtocolPage(ws, ProtocolPageStep::First));
  EXPECT_FALSE(StepProtocolPage(ws, ProtocolPageStep::Previous));
  StepProtocolPage(ws, ProtocolPageStep::Last);
  store.records.resize(5);  // rows disappear
  const ProtocolDrawingResult drawn = Draw();
  EXPECT_EQ(drawn.pageCount, 1);
  EXPECT_EQ(ws.protocolCurrentPage(), 1);
  const auto texts = Texts();
  EXPECT_EQ(texts.front(), "Messlinien-Liste");
  EXPECT_EQ(std::count(texts.begin(), texts.end(), "2/3/P4"), 1);
}

TEST_F(ProtocolTest, PiecesStartAtTheirColumnsAndPrintedPagesKeepTheCurrentPage) {
  ManyLegs();
  const int count = Draw(1080).pageCount;
  EXPECT_EQ(ProtocolPageCount(surface, store, ws, view, settings), count);
  surface = RecordingSurface(RecordingSurface::DefaultCaps());
  EXPECT_EQ(DrawProtocolPage(surface, store, ws, view, settings, count).page, count);
  EXPECT_EQ(ws.protocolCurrentPage(), 1);
  const auto texts = surface.primitives();
  const auto last = std::find_if(texts.begin(), texts.end(), [](const auto& p) { return p.text == "2/3/P199"; });
  ASSERT_NE(last, texts.end());
  surface.SetFont(MakeFont(store.settings.fonts[4], 96));
  EXPECT_EQ(last->from.x, 20 + surface.TextExtent("Messpunkt   ").cx);  // the second station column
}

TEST_F(ProtocolTest, CentringSetsEqualMarginsOrRefusesAProtocolWiderThanThePage) {
  Only({5});
  Add("2/3/A 2/3/B 12.345 90 -5 @ 0 0 0 1.5 -2.25 0");
  platform::ScriptedPrompter prompter;
  surface = RecordingSurface(RecordingSurface::DefaultCaps());
  EXPECT_FALSE(CentreProtocolOnPage(surface, store, ws, view, settings, 100, prompter));
  EXPECT_EQ(prompter.Texts(), std::vector<std::string>{std::string(protocol_texts::kTooWide)});
  EXPECT_EQ(ws.marginLeft(), 20);
  EXPECT_TRUE(CentreProtocolOnPage(surface, store, ws, view, settings, 2000, prompter));
  EXPECT_EQ(ws.marginLeft(), ws.marginRight());
  EXPECT_GT(ws.marginLeft(), 500);
}

TEST_F(ProtocolTest, PrintJobPrintsEveryRowOnceFromThePageMarginsAndPutsTheWorksheetBack) {
  ManyLegs();
  ws.setProtocolPageCount(1), ws.setProtocolCurrentPage(1);  // as the window left it
  ws.setMarginLeft(10), ws.setMarginTop(15);
  const DeviceCaps printer = Printer();
  surface = RecordingSurface(printer);
  ProtocolDrawingOptions options;
  options.printer = true;
  const int expected = ProtocolPageCount(surface, store, ws, view, settings, options);
  ASSERT_GT(expected, 1);
  const auto before = ws.image;
  {
    PrintJob job(store, ws, view, settings, printer, {197, 285});
    EXPECT_TRUE(job.printable());
    EXPECT_FALSE(job.allowsSelection());
    ASSERT_EQ(job.pageCount(), expected);
    std::map<std::string, int> printed;
    for (int page = 1; page <= expected; ++page) {
      surface = RecordingSurface(printer);
      ASSERT_TRUE(job.DrawPage(surface, page));
      if (page == 1) {
        EXPECT_EQ(surface.primitives().front().from, (Point{118, 177})) << "10 and 15 mm at 300 dpi";
      }
      for (const std::string& text : Texts()) ++printed[text];
    }
    for (int i = 0; i < 200; ++i) EXPECT_EQ(printed["2/3/P" + std::to_string(i)], 1) << i;
    surface = RecordingSurface(printer);
    EXPECT_FALSE(job.DrawPage(surface, expected + 1));
    EXPECT_TRUE(surface.primitives().empty());
  }
  EXPECT_EQ(ws.image, before);
}

TEST(ProtocolDialogTest, ChoicesAreLimitedAndOnlyChangesCount) {
  doc::Worksheet ws = test::NewSheet();
  ProtocolOptions o = ProtocolOptionsOf(ws);
  EXPECT_FALSE(ApplyProtocolOptions(ws, o));
  o.numbering = 9, o.legInfo = -1, o.materialInfo = 5, o.measuresInfo = 4, o.sections[7] = !o.sections[7];
  EXPECT_TRUE(ApplyProtocolOptions(ws, o));
  const ProtocolOptions stored = ProtocolOptionsOf(ws);
  EXPECT_EQ((std::array{stored.numbering, stored.legInfo, stored.materialInfo, stored.measuresInfo}),
            (std::array{3, 0, 2, 4}));
  EXPECT_EQ(stored.sections, o.sections);
}

}  // namespace
}  // namespace hp::draw
