// The display dialog: opening values, enabling by list position, checks of
// typed values and what OK changes in the worksheet and the view.
#include <gtest/gtest.h>

#include "draw/interaction/DisplayDialog.h"
#include "support/Survey.h"
#include "support/Values.h"

namespace hp::draw {
namespace {

doc::Worksheet Sheet(int type) { return test::NewSheet(type); }

TEST(DisplayDialog, EnablingFollowsTheListPosition) {
  // Per list position 0 to 7: azimuth, inclination, distance, centre, label pattern, adapt overview.
  const char* enabled[] = {
      "000011", "000011", "100011", "110011", "110011", "110001", "111111", "000000",
  };
  for (int p = 0; p < 8; ++p) {
    const DisplayFieldEnabling e = EnablingForListPosition(p);
    const std::string got = {e.azimuth ? '1' : '0', e.inclination ? '1' : '0',  e.distance ? '1' : '0',
                             e.centre ? '1' : '0',  e.labelPattern ? '1' : '0', e.adaptOverview ? '1' : '0'};
    EXPECT_EQ(got, enabled[p]) << "position " << p;
  }
}

TEST(DisplayDialog, OpensWithTheWorksheetsValuesRoundedAndLimited) {
  doc::Worksheet ws = Sheet(7);
  ws.setZoomPercent(250.4);
  ws.setViewCentreX(12.344);
  ws.setViewCentreY(-85.504);  // rounds like the positive side, not towards zero
  ws.setViewCentreZ(0.125);
  ws.setOriginX(5234567.125);
  ws.setOriginZ(-0.1);
  ws.setFilterCriterion(9);  // out of range in a damaged file: first criterion
  const DisplayDialogState s = LoadDisplayDialog(ws);
  EXPECT_EQ(s.zoom, "250 %");
  EXPECT_EQ(s.listPosition, 2);
  EXPECT_EQ(s.centre[0] + " " + s.centre[1] + " " + s.centre[2], "12,34 -85,50 0,13");
  EXPECT_EQ(s.origin[0] + " " + s.origin[1] + " " + s.origin[2], "5234567,125 0 -0,1");
  EXPECT_EQ(s.filterCriterion, 0);
}

TEST(DisplayDialog, ZoomIsReadUpToThePercentSignAndLimited) {
  const struct {
    const char* text;
    std::optional<double> zoom;
  } cases[] = {
      {"250 %", 250}, {"250%", 250},      {" 12,5 %", 12.5},  {"7.5", 7.5}, {"3 %", 5},
      {"0 %", 5},     {"20000 %", 10000}, {"10000 %", 10000}, {"abc", {}},  {"", {}},
      {"% 250", {}},  {"1e999 %", {}},    {"-40 %", 5},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseZoomText(c.text), c.zoom) << c.text;
}

TEST(DisplayDialog, ChangingTheTypeRecentresAndResetsTheDistanceExceptForTheProtocol) {
  const struct {
    int oldType;
    int listPosition;
    int newType;
    bool recentre;
    double distance;  // typed distance is 42, stored distance 7
  } cases[] = {
      {0, 6, 5, true, 0},    // plan to camera view: the typed distance gives way
      {5, 3, 2, true, 0},    // camera view to parallel projection
      {0, 2, 7, true, 0},    // plan to elevation (list position 2)
      {5, 6, 5, false, 42},  // same type: the typed distance is stored
      {3, 4, 3, false, 7},   // distance disabled: kept
      {5, 7, 6, false, 7},   // to the protocol (distance disabled there)
      {6, 0, 0, false, 7},   // from the protocol
  };
  for (const auto& c : cases) {
    doc::Worksheet ws = Sheet(c.oldType);
    ws.setViewDistance(7);
    ViewTransform view;
    view.setRecentre(false);
    view.setProjectionDirty(false);
    DisplayDialogState s = LoadDisplayDialog(ws);
    s.listPosition = c.listPosition;
    s.distance = "42";
    ASSERT_FALSE(ApplyDisplayDialog(s, ws, view)) << c.oldType << "->" << c.listPosition;
    EXPECT_EQ(ws.displayType(), DisplayTypeOf(c.newType));
    EXPECT_EQ(view.recentre(), c.recentre) << c.oldType << "->" << c.listPosition;
    EXPECT_DOUBLE_EQ(ws.viewDistance(), c.distance) << c.oldType << "->" << c.listPosition;
    EXPECT_TRUE(view.projectionDirty());
  }
}

TEST(DisplayDialog, RefusedValuesNameTheirFieldAndChangeNothing) {
  const struct {
    int listPosition;
    void (*edit)(DisplayDialogState&);
    std::optional<DisplayField> field;
    const char* message;
  } cases[] = {
      {3, [](DisplayDialogState& s) { s.inclination = "95"; }, DisplayField::Inclination,
       "Bitte geben Sie eine Zahl zwischen -90 und 90 ein."},
      {0, [](DisplayDialogState& s) { s.inclination = "95"; }, {}, ""},  // disabled in the plan
      {2, [](DisplayDialogState& s) { s.azimuth = "360"; }, {}, ""},
      {2, [](DisplayDialogState& s) { s.azimuth = "360,5"; }, DisplayField::Azimuth,
       "Bitte geben Sie eine Zahl zwischen 0 und 360 ein."},
      {6, [](DisplayDialogState& s) { s.centre[2] = "tief"; }, DisplayField::CentreZ, "Bitte geben Sie eine Zahl ein."},
      {0, [](DisplayDialogState& s) { s.centre[2] = "tief"; }, {}, ""},
      {0, [](DisplayDialogState& s) { s.zoom = "viel"; }, DisplayField::Zoom, "Bitte geben Sie eine Zahl ein."},
      {0, [](DisplayDialogState& s) { s.originCave = "1,5"; }, DisplayField::OriginCave,
       "Bitte geben Sie eine ganze Zahl ein."},
      {0, [](DisplayDialogState& s) { s.originPassage = "2147483648"; }, DisplayField::OriginPassage,
       "Bitte geben Sie eine ganze Zahl ein."},
      {0, [](DisplayDialogState& s) { s.originPoint = std::string(13, 'P'); }, DisplayField::OriginPoint,
       "Bitte geben Sie höchstens 12 Zeichen ein."},
      {0, [](DisplayDialogState& s) { s.originPoint = std::string(12, 'P'); }, {}, ""},
      {0, [](DisplayDialogState& s) { s.linePattern = std::string(81, '1'); }, DisplayField::LinePattern,
       "Bitte geben Sie höchstens 80 Zeichen ein."},
      {1, [](DisplayDialogState& s) { s.labelPattern = std::string(81, '1'); }, DisplayField::LabelPattern,
       "Bitte geben Sie höchstens 80 Zeichen ein."},
      {5, [](DisplayDialogState& s) { s.labelPattern = std::string(81, '1'); }, {}, ""},  // disabled in 3D
      {0, [](DisplayDialogState& s) { s.origin[1] = ""; }, DisplayField::OriginY, "Bitte geben Sie eine Zahl ein."},
  };
  int row = 0;
  for (const auto& c : cases) {
    doc::Worksheet ws = Sheet(doc::DisplayTypeNumber(*DisplayTypeFromListPosition(c.listPosition)));
    const doc::Worksheet before = ws;
    ViewTransform view;
    view.setProjectionDirty(false);
    DisplayDialogState s = LoadDisplayDialog(ws);
    c.edit(s);
    const auto problem = ApplyDisplayDialog(s, ws, view);
    EXPECT_EQ(problem.has_value(), c.field.has_value()) << "row " << row;
    if (problem && c.field) {
      EXPECT_EQ(problem->field, *c.field) << "row " << row;
      EXPECT_EQ(problem->message, c.message) << "row " << row;
      EXPECT_EQ(ws.image, before.image) << "row " << row;
      EXPECT_FALSE(view.projectionDirty()) << "row " << row;
    }
    ++row;
  }
}

TEST(DisplayDialog, OkWithoutChangesKeepsEveryStoredValue) {
  for (int type : {0, 2, 5, 6}) {
    doc::Worksheet ws = Sheet(type);
    ws.setViewAzimuth(123.456789012345);
    ws.setViewInclination(-33.3333333333333);
    ws.setViewDistance(0.1 + 0.2);
    ws.setOriginX(3456789.0123456789);
    ws.setOriginY(1e-7);
    ws.setViewCentreX(type == 5 ? 1.5 : 1.23456);  // shown to two decimals
    ws.setZoomPercent(250);
    ws.setLineFilterPattern("3,7-9");
    ws.setLabelFilterPattern("H3+G2,R1");
    ws.setAdaptOverview(1);
    ws.setFilterCriterion(5);
    ws.setOriginPoint("P\xDC");
    const doc::Worksheet before = ws;
    ViewTransform view;
    ASSERT_FALSE(ApplyDisplayDialog(LoadDisplayDialog(ws), ws, view)) << type;
    EXPECT_EQ(ws.image, before.image) << type;
  }
}

TEST(DisplayDialog, OkReadsTypedNumbersWithCommaOrPoint) {
  doc::Worksheet ws = Sheet(5);
  ViewTransform view;
  DisplayDialogState s = LoadDisplayDialog(ws);
  s.zoom = "12,5 %";
  s.distance = "-3,25";
  s.centre[2] = "-85,5";
  s.originPassage = "-2";
  s.origin[2] = "-3.5";
  ASSERT_FALSE(ApplyDisplayDialog(s, ws, view));
  EXPECT_EQ(test::Nums(ws.zoomPercent(), ws.viewDistance(), ws.viewCentreZ(), ws.originPassage(), ws.originZ()),
            test::Nums(12.5, -3.25, -85.5, -2, -3.5));
}

TEST(DisplayDialog, ProtocolKeepsTheAdaptOverviewFlagAndLabelPattern) {
  doc::Worksheet ws = Sheet(6);
  ws.setAdaptOverview(1);
  ws.setLabelFilterPattern("5");
  ViewTransform view;
  DisplayDialogState s = LoadDisplayDialog(ws);
  s.adaptOverview = false;
  s.labelPattern = "7";
  ASSERT_FALSE(ApplyDisplayDialog(s, ws, view));
  EXPECT_EQ(ws.adaptOverview(), 1);
  EXPECT_EQ(ws.labelFilterPattern(), "5");
}

}  // namespace
}  // namespace hp::draw
