// The worksheet dialog's options: what it shows, its limits, the default
// page label and which changes need a new projection.
#include <gtest/gtest.h>

#include <string>

#include "draw/PageLabel.h"
#include "draw/interaction/WorksheetDialog.h"
#include "support/Survey.h"

namespace hp::draw {
namespace {

using test::NewSheet;

TEST(WorksheetDialogTest, NorthArrowSizeChoices) {
  const std::vector<int> standard = {0, 1, 2, 5, 10, 20, 50, 100};
  std::vector<int> withOdd = standard;
  withOdd.push_back(7);
  EXPECT_EQ(NorthArrowSizeChoices(0), standard);
  EXPECT_EQ(NorthArrowSizeChoices(50), standard);
  EXPECT_EQ(NorthArrowSizeChoices(7), withOdd) << "a size from the document stays choosable";
  EXPECT_EQ(NorthArrowSizeChoices(-3), standard) << "negative sizes mean automatic";
  EXPECT_EQ(SizeChoiceText(0), "automatisch");
}

TEST(WorksheetDialogTest, SizesAndStepsAreLimited) {
  const struct {
    int32_t storedSize, storedStep;
    int shownSize, shownStep;
  } cases[] = {
      {0, 0, 0, 0}, {100, 200, 100, 200}, {7, 1, 7, 1}, {-1, -5, 0, 0}, {5, 201, 5, 200},
  };
  for (const auto& c : cases) {
    doc::Worksheet ws = NewSheet();
    ws.setNorthArrowSize(c.storedSize);
    ws.setHeightLabelStep(c.storedStep);
    const WorksheetOptions o = LoadWorksheetOptions(ws);
    EXPECT_EQ(o.northArrowSize, c.shownSize) << c.storedSize;
    EXPECT_EQ(o.heightLabelStep, c.shownStep) << c.storedStep;
    // typed values go through the same limits on the way back
    WorksheetOptions typed = o;
    typed.northArrowSize = c.storedSize;
    typed.heightLabelStep = c.storedStep;
    ApplyWorksheetOptions(typed, ws);
    EXPECT_EQ(ws.northArrowSize(), c.shownSize) << c.storedSize;
    EXPECT_EQ(ws.heightLabelStep(), c.shownStep) << c.storedStep;
  }
}

TEST(WorksheetDialogTest, TextsAreCutTo255Characters) {
  doc::Worksheet ws = NewSheet();
  WorksheetOptions o = LoadWorksheetOptions(ws);
  o.title = std::string(254, 'a') + "\xE4\xF6";  // 256 characters ending in ä ö
  o.title2 = std::string(255, 'b');
  o.pageLabel = std::string(400, 'c');
  ApplyWorksheetOptions(o, ws);
  EXPECT_EQ(ws.title(), std::string(254, 'a') + "\xE4");
  EXPECT_EQ(ws.title2(), std::string(255, 'b'));
  EXPECT_EQ(ws.pageLabel(), std::string(255, 'c'));
  // the field after the page label is untouched
  EXPECT_EQ(ws.showTitleAndPageLabel(), 1);
}

TEST(WorksheetDialogTest, DefaultButtonPutsTheTemplateBack) {
  doc::Worksheet ws = NewSheet();
  WorksheetOptions o = LoadWorksheetOptions(ws);
  EXPECT_EQ(o.pageLabel, "<Seitenbezeichnung>");
  SetDefaultPageLabel(o);
  ApplyWorksheetOptions(o, ws);
  EXPECT_EQ(ws.pageLabel(), kDefaultPageLabel);
}

TEST(WorksheetDialogTest, WhatEachChangeAsksFor) {
  using Edit = void (*)(WorksheetOptions&);
  const struct {
    const char* name;
    Edit edit;
    bool modified, projectionDirty;
  } cases[] = {
      {"nothing", [](WorksheetOptions&) {}, false, false},
      {"title", [](WorksheetOptions& o) { o.title = "Nordteil"; }, true, false},
      {"title emptied: the document's title is used", [](WorksheetOptions& o) { o.title.clear(); }, true, false},
      {"subtitle", [](WorksheetOptions& o) { o.title2 = "1:500"; }, true, false},
      {"page label", [](WorksheetOptions& o) { o.pageLabel = "&Blatt"; }, true, false},
      {"title shown", [](WorksheetOptions& o) { o.titleAndPageLabel = false; }, true, false},
      {"axis labels", [](WorksheetOptions& o) { o.axisLabels = false; }, true, false},
      {"grid crosses", [](WorksheetOptions& o) { o.gridCrosses = false; }, true, false},
      {"sub-sheet division", [](WorksheetOptions& o) { o.subSheetDivision = false; }, true, false},
      {"frame", [](WorksheetOptions& o) { o.frame = false; }, true, true},
      {"north arrow", [](WorksheetOptions& o) { o.northArrow = false; }, true, true},
      {"north arrow size", [](WorksheetOptions& o) { o.northArrowSize = 20; }, true, true},
      {"height labels", [](WorksheetOptions& o) { o.heightLabels = false; }, true, true},
      {"height label step", [](WorksheetOptions& o) { o.heightLabelStep = 5; }, true, true},
      {"step limited to what is stored", [](WorksheetOptions& o) { o.heightLabelStep = -4; }, false, false},
  };
  for (const auto& c : cases) {
    doc::Worksheet ws = NewSheet();
    ws.setTitle("Alt");
    WorksheetOptions o = LoadWorksheetOptions(ws);
    c.edit(o);
    const WorksheetChange change = ApplyWorksheetOptions(o, ws);
    EXPECT_EQ(ws.title(), o.title) << c.name;
    EXPECT_EQ(change.modified, c.modified) << c.name;
    EXPECT_EQ(change.projectionDirty, c.projectionDirty) << c.name;
    EXPECT_FALSE(change.pensDirty) << c.name;
  }
}

}  // namespace
}  // namespace hp::draw
