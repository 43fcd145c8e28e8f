// Page setup, sub-sheet dialog, print area, page choice and the print job:
// what the surveyor types and what ends up on which page.
#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <memory>

#include "doc/SurveyStore.h"
#include "draw/DrawingTestSupport.h"
#include "draw/pages/PageSetup.h"
#include "draw/pages/Printing.h"
#include "draw/pages/SubSheetSetup.h"
#include "platform/SettingsStore.h"
#include "support/Survey.h"
#include "support/Values.h"

namespace hp::draw {
namespace {

using test::NewSheet;

using test::Nums;

TEST(PageSetupTest, PrintablePageTurnsWithTheOrientation) {
  const struct {
    double w, h;
    bool landscape;
    PageSizeMm expected;
  } cases[] = {
      {0, 0, false, {197, 285}},     {0, 0, true, {285, 197}},   {210, 297, true, {297, 210}},
      {297, 210, false, {210, 297}}, {-1, 5, false, {197, 285}},
  };
  for (const auto& c : cases) EXPECT_EQ(PrintablePageSize(c.w, c.h, c.landscape), c.expected) << c.w << "x" << c.h;
}

TEST(PageSetupTest, ScaleTextsAreReadOrRefusedLeavingTheWorksheetAlone) {
  const struct {
    const char* text;
    std::optional<double> scale;
    // clang-format off
  } cases[] = {
      {"1:500", 500},     {"500", 500},      {" 1:1000,5", 1000.5}, {"1:10", 10}, {"10000000", 10000000},
      {"0", std::nullopt}, {"-500", std::nullopt}, {"1:-500", std::nullopt}, {"abc", std::nullopt},
      {"1:", std::nullopt}, {"1:5", std::nullopt}, {"1:20000000", std::nullopt}, {"1:500x", std::nullopt},
      {"Maßstab", std::nullopt},
  };
  // clang-format on
  doc::Worksheet ws = NewSheet();
  const auto before = ws.image;
  PageSetupOptions o = LoadPageSetup(ws);
  for (const auto& c : cases) {
    EXPECT_EQ(ParseScale(c.text), c.scale) << c.text;
    if (c.scale) continue;
    o.scale = c.text;
    const PageSetupApplied applied = ApplyPageSetup(o, ws);
    ASSERT_TRUE(applied.fault) << c.text;
    EXPECT_EQ(applied.fault->field, PageSetupField::Scale);
    EXPECT_EQ(applied.fault->message, page::kBadScale);
    EXPECT_EQ(ws.image, before);
  }
}

TEST(PageSetupTest, ApplyStoresLimitsMarginsAndShowsTheFirstSheet) {
  doc::Worksheet ws = NewSheet();
  ws.setCurrentSheetNumber(4);
  PageSetupOptions o = LoadPageSetup(ws);
  o.scale = "1:500";
  o.subSheets = true;
  o.landscape = true;
  o.fitScale = true;
  o.marginLeft = 150, o.marginRight = 200;  // 350 mm on a page 285 mm wide
  const PageSetupApplied applied = ApplyPageSetup(o, ws);
  ASSERT_FALSE(applied.fault);
  EXPECT_TRUE(applied.change.modified && applied.change.projectionDirty);
  EXPECT_EQ(Nums(ws.scaleDenominator(), ws.printSubSheets(), ws.landscape(), ws.automaticScale(), ws.marginLeft(),
                 ws.marginRight(), ws.currentSheetNumber()),
            Nums(500, 1, 1, 1, 150, 285 - 20 - 150, 1));

  // The fitting is kept only for the types with a scale.
  ws.setDisplayType(doc::DisplayType::Perspective);
  ws.setAutomaticScale(0);
  ApplyPageSetup(o, ws);
  EXPECT_EQ(ws.automaticScale(), 0);
  EXPECT_FALSE(IsFitScaleEnabled(DisplayType::Perspective));
  EXPECT_TRUE(IsFitScaleEnabled(DisplayType::Elevation));
}

TEST(PageSetupTest, MarginsAreLimitedToThePage) {
  // left, right, top, bottom as typed and as kept
  const std::array<int, 4> cases[][2] = {
      {{80, 80, 80, 80}, {80, 80, 80, 80}},     // 160 together: as typed
      {{190, 10, 20, 20}, {177, 0, 20, 20}},    // left at most width - 20
      {{20, 20, 200, 100}, {20, 20, 200, 65}},  // bottom at most height - 20 - top
      {{-5, 20, 20, 20}, {0, 20, 20, 20}},
  };
  for (const auto& c : cases) {
    PageSetupOptions o;
    o.marginLeft = c[0][0], o.marginRight = c[0][1], o.marginTop = c[0][2], o.marginBottom = c[0][3];
    LimitMargins(o, {197, 285});
    EXPECT_EQ((std::array{o.marginLeft, o.marginRight, o.marginTop, o.marginBottom}), c[1]) << c[0][0];
  }
}

TEST(PageSetupTest, CentreGraphicPutsTheAreaInTheMiddleOrSaysItIsTooLarge) {
  doc::Worksheet ws = NewSheet();
  ws.setOverviewLeft(0), ws.setOverviewRight(100), ws.setOverviewBottom(-150), ws.setOverviewTop(0);
  ws.setSubSheetLeft(0), ws.setSubSheetRight(50), ws.setSubSheetBottom(-50), ws.setSubSheetTop(0);
  PageSetupOptions o = LoadPageSetup(ws);
  o.scale = "1:1000";  // 100 x 150 mm on 197 x 285
  ASSERT_FALSE(CentreGraphic(o, ws, {197, 285}));
  EXPECT_EQ((std::array{o.marginLeft, o.marginRight, o.marginTop, o.marginBottom}), (std::array{48, 48, 67, 67}));

  o.subSheets = true;  // one sheet, 50 x 50 mm: margins capped at half the page less 10
  o.scale = "1:10000";
  ASSERT_FALSE(CentreGraphic(o, ws, {197, 285}));
  EXPECT_EQ((std::array{o.marginLeft, o.marginTop}), (std::array{88, 132}));

  o = LoadPageSetup(ws);
  o.scale = "1:500";  // 200 x 300 mm
  const auto fault = CentreGraphic(o, ws, {197, 285});
  ASSERT_TRUE(fault);
  EXPECT_EQ(fault->message, page::kGraphicTooLarge);
  EXPECT_EQ(o.marginLeft, 20);
}

TEST(PageSetupTest, CentreProtocolSharesTheRoomOrSaysItIsTooWide) {
  const struct {
    double width;
    int margin;  // -1: refused, margins unchanged
  } cases[] = {{157, 20}, {100.5, 48}, {197, 0}, {197.5, -1}};
  for (const auto& c : cases) {
    PageSetupOptions o;
    o.marginLeft = o.marginRight = 7;
    const auto fault = CentreProtocol(o, c.width, {197, 285});
    EXPECT_EQ(fault ? fault->message : "", c.margin < 0 ? protocol_texts::kTooWide : "") << c.width;
    EXPECT_EQ(o.marginLeft, c.margin < 0 ? 7 : c.margin) << c.width;
    EXPECT_EQ(o.marginRight, o.marginLeft);
  }
}

TEST(SubSheetSetupTest, ApplyOrdersSnapsAndLimitsTheGrid) {
  doc::Worksheet ws = NewSheet();
  ws.setCurrentSheetNumber(3);
  SubSheetOptions o = LoadSubSheetOptions(ws);
  o.manualOverview = o.manualSubSheets = o.manualGrid = true;
  o.overviewLeft = "100", o.overviewRight = "0", o.overviewBottom = "50", o.overviewTop = "-50";
  o.sheetLeft = "3", o.sheetRight = "47,5", o.sheetBottom = "-12", o.sheetTop = "21";
  o.overviewGrid = "5", o.sheetGrid = "10";  // the sheet step becomes 5
  o.mapLeft = "10", o.mapRight = "0", o.mapBottom = "0", o.mapTop = "8";
  const SubSheetApplied applied = ApplySubSheetOptions(o, ws);
  ASSERT_FALSE(applied.fault);
  EXPECT_TRUE(applied.change.projectionDirty);
  EXPECT_EQ(Nums(ws.overviewLeft(), ws.overviewRight(), ws.overviewBottom(), ws.overviewTop()), Nums(0, 100, -50, 50));
  EXPECT_EQ(Nums(ws.sheetGridStep(), ws.subSheetLeft(), ws.subSheetRight(), ws.subSheetBottom(), ws.subSheetTop()),
            Nums(5, 0, 50, -15, 25));
  EXPECT_EQ(Nums(ws.mapLeft(), ws.mapRight(), ws.currentSheetNumber(), ws.manualOverview()), Nums(0, 10, 1, 1));
}

TEST(SubSheetSetupTest, BadFieldsAreRefusedWithTheirField) {
  const struct {
    std::string SubSheetOptions::*member;
    const char* text;
    SubSheetField field;
  } cases[] = {
      {&SubSheetOptions::overviewTop, "oben", SubSheetField::OverviewTop},
      {&SubSheetOptions::rows, "0", SubSheetField::Rows},
      {&SubSheetOptions::columns, "101", SubSheetField::Columns},
      {&SubSheetOptions::sheetGrid, "0", SubSheetField::SheetGrid},
      {&SubSheetOptions::mapRight, "", SubSheetField::MapRight},
  };
  for (const auto& c : cases) {
    doc::Worksheet ws = NewSheet();
    const auto before = ws.image;
    SubSheetOptions o = LoadSubSheetOptions(ws);
    o.*c.member = c.text;
    const SubSheetApplied applied = ApplySubSheetOptions(o, ws);
    ASSERT_TRUE(applied.fault) << c.text;
    EXPECT_EQ(applied.fault->field, c.field);
    EXPECT_EQ(ws.image, before);
  }
}

TEST(SubSheetSetupTest, MapNamesAreRelativeInsideTheDocumentFolder) {
  const std::filesystem::path folder = std::filesystem::temp_directory_path() / "hp_map_names";
  EXPECT_EQ(MapFileName(folder / "karten" / "plan.bmp", folder), std::optional<std::string>("karten/plan.bmp"));
  EXPECT_EQ(MapFileName("/elsewhere/plan.bmp", folder), std::optional<std::string>("/elsewhere/plan.bmp"));
  EXPECT_EQ(MapFileName(folder / ".." / "plan.bmp", folder),
            std::optional<std::string>((folder.parent_path() / "plan.bmp").string()));
  EXPECT_FALSE(MapFileName("/elsewhere/" + std::string(130, 'k') + ".bmp", folder));
}

TEST(SubSheetSetupTest, MapEdgesFollowTheBitmap) {
  const struct {
    bool keepSize, keepProportions;
    const char* right;
    const char* top;
  } cases[] = {
      {false, false, "210,00", "115,00"},  // one metre per pixel from the lower left corner
      {false, true, "210,00", "115,00"},
      {true, true, "50", "35,00"},  // width 40 kept, height 40 * 100 / 200
      {true, false, "50", "99"},
  };
  for (const auto& c : cases) {
    SubSheetOptions o;
    o.mapLeft = "10", o.mapBottom = "15", o.mapRight = "50", o.mapTop = "99";
    o.keepSize = c.keepSize, o.keepProportions = c.keepProportions;
    AdaptMapEdges(o, 200, 100);
    EXPECT_EQ(o.mapRight, c.right);
    EXPECT_EQ(o.mapTop, c.top);
  }
}

TEST(PrintAreaTest, SelectTogglesTheShownSheetWhileSubSheetsAreShown) {
  doc::Worksheet ws = NewSheet();
  ws.setCurrentSheetNumber(5);
  EXPECT_FALSE(SelectPrintArea(ws));  // sub-sheets hidden
  ws.setShowSubSheets(1);
  EXPECT_TRUE(SelectPrintArea(ws));
  EXPECT_EQ(ws.printAreaBits()[0], 0x10);
  EXPECT_TRUE(SelectPrintArea(ws));
  EXPECT_FALSE(PrintAreaBit(ws, 5));

  EXPECT_FALSE(TogglePrintAreaBit(ws, 1025));
  EXPECT_TRUE(TogglePrintAreaBit(ws, 1024));
  EXPECT_EQ(ws.printAreaBits()[127], 0x80);
  ws.setDisplayType(doc::DisplayType::Protocol);
  EXPECT_FALSE(IsSelectPrintAreaEnabled(ws));
  EXPECT_FALSE(ClearPrintArea(ws));
  ws.setDisplayType(doc::DisplayType::RedGreen);
  EXPECT_TRUE(ClearPrintArea(ws));
  EXPECT_FALSE(PrintAreaBit(ws, 1024));
  EXPECT_FALSE(ClearPrintArea(ws));  // nothing left to clear
}

TEST(PrintAreaTest, PagesOfAJob) {
  doc::Worksheet ws = NewSheet();
  TogglePrintAreaBit(ws, 2);
  TogglePrintAreaBit(ws, 5);
  const struct {
    PageRequest request;
    int pages;
    std::vector<int> printed;
    std::string_view message;
  } cases[] = {
      {{PageChoice::All, 0, 0}, 4, {1, 2, 3, 4}, {}},
      {{PageChoice::Range, 2, 3}, 4, {2, 3}, {}},
      {{PageChoice::Range, 3, 9}, 4, {3, 4}, {}},
      {{PageChoice::Range, 5, 9}, 4, {}, print::kRangeOutside},
      {{PageChoice::Selection, 0, 0}, 6, {2, 5}, {}},
      {{PageChoice::Selection, 0, 0}, 4, {2}, {}},
      {{PageChoice::Selection, 0, 0}, 1, {}, print::kNoPrintArea},
  };
  for (const auto& c : cases) {
    const PagePlan plan = PlanPages(ws, c.pages, c.request);
    EXPECT_EQ(plan.pages, c.printed);
    EXPECT_EQ(plan.message, c.message);
  }
}

class PrintJobTest : public test::DrawingTest {
 protected:
  PrintJobTest() {
    ws.setShowFrame(0), ws.setAxisLabels(0), ws.setNorthArrow(0), ws.setCentreOnPage(0);
    ws.setScaleDenominator(500), ws.setAutomaticScale(0), ws.setPrintSubSheets(1);
    store.worksheets.clear();
    store.worksheets.push_back(std::make_unique<doc::Worksheet>(ws));
    store.currentWorksheet = store.worksheets.back().get();
    Add("- 1 @ 0 0 0 100 0 0 length=1\n- 2 @ 100 0 0 100 -150 0 length=1");
  }
  static DeviceCaps Printer() {
    DeviceCaps caps;
    caps.dpiX = caps.dpiY = 600;
    caps.widthPixels = static_cast<int>(197 / 25.4 * 600), caps.heightPixels = static_cast<int>(285 / 25.4 * 600);
    caps.widthMm = 197, caps.heightMm = 285;
    return caps;
  }
};

TEST_F(PrintJobTest, SubSheetsAtTrueScaleOnePerPageAndTheWorksheetPutBack) {
  doc::Worksheet& sheet = *store.currentWorksheet;
  sheet.setCurrentSheetNumber(3);
  const auto before = sheet.image;
  {
    PrintJob job(store, sheet, view, settings, Printer(), {197, 285});
    EXPECT_TRUE(job.allowsSelection());
    ASSERT_EQ(job.pageCount(), 4);  // sheets of 70 x 120 m
    RecordingSurface page(Printer());
    ASSERT_TRUE(job.DrawPage(page, 2));
    // Sheet 2 starts 70 m east: the east leg from its left edge, at the
    // margins, at 600 dpi and 1:500.
    const double k = 600 * 100 / 2.54 / 500;
    const int margin = static_cast<int>(20 * 600 / 25.4);
    bool found = false;
    for (const auto& line : page.primitives()) {
      if (line.kind != RecordedPrimitive::Kind::Line || line.from.y != line.to.y) continue;
      found = true;
      EXPECT_NEAR(std::min(line.from.x, line.to.x), margin - 70 * k, 1.5);
      EXPECT_NEAR(std::abs(line.to.x - line.from.x), 100 * k, 1.5);
      EXPECT_NEAR(line.from.y, margin, 1.5);
    }
    EXPECT_TRUE(found);
  }
  EXPECT_EQ(sheet.image, before);
}

}  // namespace
}  // namespace hp::draw
