// The data editor and the rest of the document: its saves as steps of the
// undo history, and its closing compute pass as the document chooses it.
#include <gtest/gtest.h>

#include <utility>

#include "base/FixedText.h"
#include "calc/ComputeCommand.h"
#include "doc/DocumentSettings.h"
#include "doc/History.h"
#include "edit/DataEditor.h"
#include "edit/EditorTestSupport.h"

namespace hp::edit {
namespace {

using test::AddLeg;
using test::AddReference;
using test::EditorFixture;
using test::Rec;

// With the network adjustment chosen, closing the editor adjusts the
// network as the compute command does, not loop by loop.
TEST_F(EditorFixture, ClosingComputesAsTheDocumentChooses) {
  AddReference(*store, "1");
  AddLeg(*store, "1", "2", 10, 0);
  AddLeg(*store, "2", "3", 10, 90);
  AddLeg(*store, "3", "1", 14, 225);  // closes 0.1 m short
  doc::ChooseNetworkAdjustment(store->settings, true);
  Open(2);
  Type(Field::Length, "10,5");
  EXPECT_FALSE(editor->Save());
  EXPECT_TRUE(editor->Close(program));
  const doc::SurveyRecord closed = Rec(*store, 3);
  calc::RunChosenComputeCommand(*store, prompter, {});
  EXPECT_NEAR(Rec(*store, 3).x, closed.x, 1e-9);
  EXPECT_NEAR(Rec(*store, 3).y, closed.y, 1e-9);
}

// Each record saved or deleted is a step; the last one leaves the settings
// as the editor's closing pass made them.
TEST_F(EditorFixture, SavesAndDeletesAreStepsOfTheHistory) {
  AddReference(*store, "1");
  AddLeg(*store, "1", "2", 5);
  AddLeg(*store, "2", "3", 5);
  const doc::DocumentSettings before = store->settings;
  doc::History history;
  Open(3).SetHistory(&history);
  editor->StartNew(Placement::AtEnd, false);
  for (const auto& [field, text] : {std::pair{Field::RefCave, "1"},
                                    {Field::RefPassage, "1"},
                                    {Field::RefPoint, "2"},
                                    {Field::Cave, "1"},
                                    {Field::Passage, "1"},
                                    {Field::Point, "4"},
                                    {Field::Length, "2,5"}})
    Type(field, text);
  EXPECT_FALSE(editor->Save());
  editor->Navigate(Button::Previous);
  prompter.Script({platform::Answer::Ok});
  ASSERT_TRUE(editor->Delete());
  ASSERT_TRUE(editor->tookSteps());
  EXPECT_EQ(history.UndoStep()->name(), "Datensatz 3 löschen");
  EXPECT_TRUE(editor->Close(program));
  const doc::DocumentSettings closed = store->settings;

  history.Undo(*store);
  EXPECT_EQ(history.UndoStep()->name(), "Datensatz 4 anlegen");
  history.Undo(*store);
  ASSERT_EQ(store->records.size(), 3u);
  EXPECT_EQ(base::TextOf(Rec(*store, 3).point), "3");
  EXPECT_EQ(store->settings.currentRecordNumber, before.currentRecordNumber);
  history.Redo(*store);
  history.Redo(*store);
  ASSERT_EQ(store->records.size(), 3u);
  EXPECT_EQ(base::TextOf(Rec(*store, 3).point), "4");
  EXPECT_EQ(store->settings.currentRecordNumber, closed.currentRecordNumber);
  EXPECT_EQ(store->settings.computedCurrent, closed.computedCurrent);
}

}  // namespace
}  // namespace hp::edit
