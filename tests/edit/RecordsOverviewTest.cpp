// Records overview: the table's texts, the cave and passage tree, what
// selecting, switching and double clicking do to the current record, and the
// loop closure evaluation list's start, selection and follow-ups.
#include "edit/RecordsOverview.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "calc/CalcTestSupport.h"

namespace hp::edit {
namespace {

using platform::Answer;
using platform::ScriptedPrompter;
using namespace test;

using Next = FollowUp::Next;
using Node = OverviewTree::NodeId;

TEST(RecordsOverview, OneRecordShowsRowOneAndSelectsIt) {
  auto store = EmptySurvey();
  AddReference(*store, "A");
  store->settings.currentRecordNumber = 0;  // as a reset document leaves it
  RecordsOverview overview(*store);
  ASSERT_EQ(overview.RowCount(), 1u);
  EXPECT_EQ(overview.CellText(0, 0), " 1");
  EXPECT_EQ(overview.CurrentRow(), 0u);
  EXPECT_EQ(overview.CurrentNode(), overview.tree().NodeOfRecord(1));
  EXPECT_EQ(store->settings.currentRecordNumber, 1u);
}

TEST(RecordsOverview, CellTextsOfEveryColumn) {
  doc::SurveyRecord r;
  r.refCave = 1, r.refPassage = 2, r.cave = 1, r.passage = 3;
  base::SetText(r.refPoint, "17");
  base::SetText(r.point, "18a");
  r.tapeStart = 12.5, r.tapeEnd = 25.125, r.length = -0.001, r.azimuth = 399.995, r.inclination = -12.344;
  r.left = 0.125, r.right = 1.5, r.up = 1234.567, r.down = 0;
  r.instrument = 16, r.direction = -1, r.ring = -5, r.colour = 12, r.level = 0, r.surveyor = 8;
  base::SetText(r.date, "03.11.2021");
  base::SetText(r.description,
                "Gro\xDF"
                "e Halle");  // Windows-1252 sharp s
  base::SetText(r.material, "Lehm, Sand");
  base::SetText(r.measures, "Seil 50 m");
  base::SetText(r.remark, "Koordinatenreferenz");
  base::SetText(r.fileUrl, "bilder\\halle.jpg");
  base::SetText(r.includeFile, "http://example.org/teil.hpn");
  r.refX = -0.004, r.refY = 0.125, r.refZ = -1234.567;
  r.x = 1234.567, r.y = 0.995, r.z = -0.005;
  r.pathLength = 99999.999;

  const struct {
    int column;
    const char* title;
    const char* text;
  } cases[] = {
      {0, "Satz", " 42"},
      {1, "Referenz", "1/2/17"},
      {2, "Messpunkt", "1/3/18a"},
      {3, "Start", "12,50"},
      {4, "Ende", "25,12"},
      {5, "Länge", "-0,00"},  // printed as it is, not rounded first
      {6, "Azimut", "400,00"},
      {7, "Neigung", "-12,34"},
      {8, "Links", "0,12"},  // printf rounds the tie to even
      {9, "Rechts", "1,50"},
      {10, "Oben", "1234,57"},
      {11, "Unten", "0,00"},
      {12, "Gerät", "16"},
      {13, "Richtung", "-1,0"},
      {14, "Ring", "-5"},
      {15, "Farbe", "12"},
      {16, "Ebene", "0"},
      {17, "Datum", "03.11.2021"},  // a text: its points stay
      {18, "Vermesser", "8"},
      {19, "Bezeichnung", "Große Halle"},
      {20, "Material", "Lehm, Sand"},
      {21, "Maßnahmen", "Seil 50 m"},
      {22, "Bemerkung", "Koordinatenreferenz"},
      {23, "Datei/URL", "bilder\\halle.jpg"},
      {24, "Include-Datei", "http://example.org/teil.hpn"},
      {25, "Ref X", "0,00"},  // rounded to hundredths first: no minus sign
      {26, "Ref Y", "0,13"},  // floor(v * 100 + 0.5) rounds the tie up
      {27, "Ref Z", "-1234,57"},
      {28, "X", "1234,57"},
      {29, "Y", "1,00"},
      {30, "Z", "0,00"},
      {31, "Weg", "100000,00"},
  };
  ASSERT_EQ(std::size(cases), static_cast<size_t>(kOverviewColumnCount));
  for (const auto& c : cases) {
    SCOPED_TRACE(c.column);
    EXPECT_EQ(OverviewColumns()[c.column].title, c.title);
    EXPECT_EQ(OverviewCellText(r, 42, c.column), c.text);
  }
}

TEST(RecordsOverview, TextColumnsLeftNumbersRight) {
  for (int column = 0; column < kOverviewColumnCount; ++column) {
    const bool text = column <= 2 || (column >= 19 && column <= 24);
    EXPECT_EQ(OverviewColumns()[column].rightAligned, !text) << column;
  }
  EXPECT_EQ(OverviewColumns()[23].width, 300);
}

// 1 the coordinate reference 1/1/0 "Eingang", then records of caves 1 and 2
// out of order: 2 1/1/1, 3 2/1/1 "Schacht", 4 1/2/1, 5 1/1/2 "Halle",
// 6 2/1/2.
std::unique_ptr<doc::SurveyStore> TwoCaves() {
  auto store = EmptySurvey();
  doc::SurveyRecord& entrance = AddReference(*store, "0");
  base::SetText(entrance.description, "Eingang");
  AddStation(*store, 1, 1, "1", 0, 0, 0);
  AddStation(*store, 2, 1, "1", 0, 0, 0, "Schacht");
  AddStation(*store, 1, 2, "1", 0, 0, 0);
  AddStation(*store, 1, 1, "2", 0, 0, 0, "Halle");
  AddStation(*store, 2, 1, "2", 0, 0, 0);
  store->settings.cadastreNumber = 1836;
  base::SetText(store->settings.cadastreDesignation, "B\xE4renh\xF6hle");
  return store;
}

TEST(RecordsOverview, TreeGroupsRecordsByCaveAndPassage) {
  auto store = TwoCaves();
  RecordsOverview overview(*store);
  const OverviewTree& tree = overview.tree();
  EXPECT_EQ(overview.NodeLabel(OverviewTree::kRoot), "1836: Bärenhöhle");
  ASSERT_EQ(tree.ChildCount(OverviewTree::kRoot), 2u);

  // Each cave and passage with its opening record and its records' numbers.
  const struct {
    size_t cave, passage;
    const char* caveLabel;
    const char* passageLabel;
    int opening;
    std::vector<int> records;
    std::vector<std::string> labels;
  } cases[] = {
      {0, 0, "1: Eingang", "1: Eingang", 1, {1, 2, 5}, {"1/1/0, Eingang", "1/1/1", "1/1/2, Halle"}},
      {0, 1, "1: Eingang", "2", 4, {4}, {"1/2/1"}},
      // A description names a cave only when a coordinate reference opens it.
      {1, 0, "2", "1", 3, {3, 6}, {"2/1/1, Schacht", "2/1/2"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.passageLabel);
    const Node cave = tree.Child(OverviewTree::kRoot, c.cave);
    const Node passage = tree.Child(cave, c.passage);
    EXPECT_EQ(tree.Type(cave), OverviewNodeType::Cave);
    EXPECT_EQ(tree.Type(passage), OverviewNodeType::Passage);
    EXPECT_EQ(overview.NodeLabel(cave), c.caveLabel);
    EXPECT_EQ(overview.NodeLabel(passage), c.passageLabel);
    EXPECT_EQ(tree.RecordNumber(passage), c.opening);
    ASSERT_EQ(tree.ChildCount(passage), c.records.size());
    for (size_t i = 0; i < c.records.size(); ++i) {
      const Node record = tree.Child(passage, i);
      EXPECT_EQ(tree.Type(record), OverviewNodeType::Record);
      EXPECT_EQ(tree.RecordNumber(record), c.records[i]);
      EXPECT_EQ(tree.NodeOfRecord(c.records[i]), record);
      EXPECT_EQ(overview.NodeLabel(record), c.labels[i]);
    }
  }
}

TEST(RecordsOverview, EveryNodeIsFoundAgainThroughItsParent) {
  auto store = TwoCaves();
  RecordsOverview overview(*store);
  const OverviewTree& tree = overview.tree();
  EXPECT_EQ(tree.NodeCount(), 1u + 2 + 3 + 6);
  for (Node node = 1; node < tree.NodeCount(); ++node) {
    EXPECT_EQ(tree.Child(tree.Parent(node), tree.RowInParent(node)), node) << node;
  }
  EXPECT_EQ(tree.Parent(OverviewTree::kRoot), OverviewTree::kRoot);
}

TEST(RecordsOverview, SelectingInTableOrTreeMakesTheRecordCurrent) {
  auto store = TwoCaves();
  store->settings.currentRecordNumber = 5;
  RecordsOverview overview(*store);
  const OverviewTree& tree = overview.tree();
  EXPECT_EQ(overview.CurrentRow(), 4u);
  EXPECT_EQ(overview.CurrentNode(), tree.NodeOfRecord(5));

  overview.SelectTableRow(2);
  EXPECT_EQ(store->settings.currentRecordNumber, 3u);

  // A cave node stands for the record that opens the cave.
  const Node secondCave = tree.Child(OverviewTree::kRoot, 1);
  overview.SelectTreeNode(secondCave);
  EXPECT_EQ(store->settings.currentRecordNumber, 3u);
  EXPECT_FALSE(overview.treeSelectionIsRecord());
  const Node passage12 = tree.Child(tree.Child(OverviewTree::kRoot, 0), 1);
  overview.SelectTreeNode(passage12);
  EXPECT_EQ(store->settings.currentRecordNumber, 4u);

  // The root stands for no record: the first becomes current.
  overview.SelectTreeNode(OverviewTree::kRoot);
  EXPECT_EQ(store->settings.currentRecordNumber, 1u);

  // Focus: the current record follows the control that got it.
  overview.Focus(RecordsOverview::Control::Table);
  EXPECT_EQ(store->settings.currentRecordNumber, 3u);
  overview.SelectTreeNode(tree.NodeOfRecord(6));
  overview.Focus(RecordsOverview::Control::Tree);
  EXPECT_EQ(store->settings.currentRecordNumber, 6u);
  EXPECT_TRUE(overview.treeSelectionIsRecord());
  EXPECT_EQ(overview.tableSelection(), 3);
  EXPECT_EQ(overview.treeSelection(), 6);
}

TEST(RecordsOverview, SwitchGoesToTheOtherControl) {
  auto store = TwoCaves();
  RecordsOverview overview(*store);
  EXPECT_EQ(overview.Switch(), RecordsOverview::Control::Tree);  // the table has the focus at first
  overview.Focus(RecordsOverview::Control::Tree);
  EXPECT_EQ(overview.Switch(), RecordsOverview::Control::Table);
}

TEST(RecordsOverview, DoubleClickOpensTheEditorOnlyOnRecordNodes) {
  auto store = TwoCaves();
  RecordsOverview overview(*store);
  const OverviewTree& tree = overview.tree();
  const Node cave = tree.Child(OverviewTree::kRoot, 1);
  overview.SelectTreeNode(cave);
  EXPECT_EQ(overview.DoubleClickNode(cave), FollowUp{});
  EXPECT_EQ(overview.DoubleClickNode(tree.Child(cave, 0)), FollowUp{});
  EXPECT_EQ(overview.DoubleClickNode(OverviewTree::kRoot), FollowUp{});
  EXPECT_EQ(overview.DoubleClickNode(tree.NodeOfRecord(6)), (FollowUp{Next::Editor, 6}));
  EXPECT_EQ(store->settings.currentRecordNumber, 6u);

  overview.SelectTableRow(1);
  EXPECT_EQ(overview.Edit(), (FollowUp{Next::Editor, 2}));
  EXPECT_EQ(overview.LoopEvaluation().next, Next::LoopEvaluation);
}

TEST(RecordsOverview, CurrentRecordIsHeldToTheList) {
  const struct {
    size_t records;
    uint32_t stored;
    uint32_t opened;
    int selected;
    uint32_t current;
  } cases[] = {
      {3, 99, 3, 2, 2},  // a number beyond the list, as a damaged file may hold
      {3, 0, 1, 0, 1},  {3, 2, 2, -7, 1}, {3, 1, 1, 4, 3}, {0, 4, 0, 2, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.stored);
    auto store = EmptySurvey();
    for (size_t i = 0; i < c.records; ++i) AddReference(*store, std::to_string(i));
    store->settings.currentRecordNumber = c.stored;
    RecordsOverview overview(*store);
    EXPECT_EQ(store->settings.currentRecordNumber, c.opened);
    if (c.opened > 0) {
      EXPECT_EQ(overview.CurrentRow(), c.opened - 1);
    }
    SetCurrentRecord(*store, c.selected);
    EXPECT_EQ(store->settings.currentRecordNumber, c.current);
  }
}

TEST(RecordsOverview, EmptyDocumentHasOnlyTheRoot) {
  auto store = EmptySurvey();
  store->settings.currentRecordNumber = 0;
  base::SetText(store->settings.cadastreDesignation, "");
  RecordsOverview overview(*store);
  EXPECT_EQ(overview.RowCount(), 0u);
  EXPECT_EQ(overview.tree().NodeCount(), 1u);
  EXPECT_EQ(overview.NodeLabel(OverviewTree::kRoot), "0: ");
  EXPECT_FALSE(overview.CurrentRow().has_value());
  EXPECT_FALSE(overview.CurrentNode().has_value());
  EXPECT_FALSE(overview.SelectTreeNode(OverviewTree::kRoot));
  EXPECT_FALSE(overview.SelectTableRow(0));
  EXPECT_EQ(store->settings.currentRecordNumber, 0u);
}

TEST(RecordsOverview, ViewsRedrawWhenTheWorksheetMarksTheCurrentRecord) {
  const struct {
    int16_t displayType;
    int32_t crosshair;
    bool redraw;
  } cases[] = {
      {0, 1, true}, {1, 1, true},  {2, 1, true}, {3, 1, true},  {4, 1, false},
      {5, 1, true}, {6, 1, false}, {7, 1, true}, {0, 0, false}, {5, 0, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.displayType * 10 + c.crosshair);
    auto store = TwoCaves();
    store->currentWorksheet->setDisplayType(doc::DisplayTypeOf(c.displayType));
    store->currentWorksheet->setCrosshair(c.crosshair);
    EXPECT_EQ(CurrentRecordShownIn(*store->currentWorksheet), c.redraw);
    RecordsOverview overview(*store);
    EXPECT_EQ(overview.SelectTableRow(3), c.redraw);
    EXPECT_FALSE(overview.SelectTableRow(3)) << "the same record again is no change";
    EXPECT_FALSE(overview.Focus(RecordsOverview::Control::Table));
  }
}

// The square loop of the computation tests, every leg of ring 5.
std::unique_ptr<doc::SurveyStore> SquareLoop(int mode) { return test::SquareLoop(mode, {5, 5, 5, 5}); }

TEST(LoopEvaluationList, StartComputesAndListsTheLoops) {
  auto store = SquareLoop(1);
  ScriptedPrompter prompter;
  const LoopEvaluationStart start = StartLoopEvaluation(*store, prompter);
  ASSERT_TRUE(start.rows.has_value());
  ASSERT_EQ(start.rows->size(), 1u);
  EXPECT_EQ(start.rows->front().recordNumber, 6);
  EXPECT_EQ(start.rows->front().cells[4], "0,75%");
  EXPECT_EQ(start.editRecord, 0);
  EXPECT_EQ(store->settings.computedCurrent, 1);
  EXPECT_TRUE(prompter.Entries().empty());
}

TEST(LoopEvaluationList, AMessageInTheFirstPassShowsNoList) {
  const struct {
    Answer answer;
    int editRecord;
  } cases[] = {
      {Answer::No, 0}, {Answer::Cancel, 0}, {Answer::Yes, 7},  // the user asked to see the record of the message
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.answer));
    auto store = SquareLoop(1);
    AddLeg(*store, "X", "Y", 10, 0);  // its reference station is nowhere defined
    ScriptedPrompter prompter(c.answer);
    const LoopEvaluationStart start = StartLoopEvaluation(*store, prompter);
    EXPECT_FALSE(start.rows.has_value());
    EXPECT_EQ(start.editRecord, c.editRecord);
    EXPECT_EQ(prompter.Entries().size(), 1u);
  }
}

TEST(LoopEvaluationList, SelectedRowIsTheRecordTheFollowUpsKeep) {
  auto store = SquareLoop(0);
  ScriptedPrompter prompter;
  LoopEvaluationStart start = StartLoopEvaluation(*store, prompter);
  ASSERT_TRUE(start.rows.has_value());
  store->settings.currentRecordNumber = 1;
  LoopEvaluationList list(*store, std::move(*start.rows));
  ASSERT_FALSE(list.rows().empty());
  const int closing = list.rows().back().recordNumber;
  list.SelectRow(list.rows().size() - 1);
  EXPECT_EQ(store->settings.currentRecordNumber, static_cast<uint32_t>(closing));
  EXPECT_FALSE(list.SelectRow(list.rows().size())) << "beyond the list";
  EXPECT_EQ(list.Edit(), (FollowUp{Next::Editor, closing}));
  EXPECT_EQ(list.Overview().next, Next::Overview);
}

// With the network adjustment the list is every loop of the network, ring
// numbers or not, in the columns of the batch tool's network list.
TEST(LoopEvaluationList, WithTheNetworkAdjustmentListsEveryLoop) {
  auto store = test::SquareLoop(0, {0, 0, 0, 0});
  doc::ChooseNetworkAdjustment(store->settings, true);
  ScriptedPrompter prompter;
  const LoopEvaluationStart start = StartLoopEvaluation(*store, prompter);
  ASSERT_TRUE(start.rows.has_value());
  EXPECT_TRUE(start.network);
  ASSERT_EQ(start.rows->size(), 1u);
  const calc::LoopRow& row = start.rows->front();
  EXPECT_EQ(row.cells, (std::vector<std::string>{"1", "4", "40,00", "0,30", "0,30", "0,00", "0,00", "1,17"}));
  EXPECT_EQ(row.recordNumber, 5);  // the leg that closes the traverse from both fixed points
  EXPECT_EQ(LoopColumns(true).back().title, "Normiert");
  EXPECT_EQ(store->settings.computedCurrent, 1);
}

}  // namespace
}  // namespace hp::edit
