// The undo history: every kind of change undone gives the document file's
// bytes of before, redone those of after; the memory bound and the saved
// mark.
#include <gtest/gtest.h>

#include <functional>

#include "DocTestSupport.h"
#include "base/FixedText.h"
#include "doc/DocumentChanges.h"
#include "doc/History.h"
#include "doc/WorksheetCommands.h"
#include "support/Survey.h"

namespace hp::doc {
namespace {

std::unique_ptr<SurveyStore> Sample() {
  auto store = test::Survey(R"(
    1.1.0 1.1.0 @ 0 0 0 0 0 0 desc=Eingang
    1.1.0 1.1.1 10 45 -5
    1.1.1 1.1.2 7.5 90 3 desc=Halle
    1.1.2 1.2.0 4 180 0 level=2
  )");
  CopyWorksheet(*store, "Zweites", 1);
  return store;
}

// A command on the store that returns its step.
using Command = std::function<std::unique_ptr<Change>(SurveyStore&)>;

// A command that changes what `parts` covers, through a capture.
Command Captured(unsigned parts, std::function<void(SurveyStore&)> change) {
  return [parts, change](SurveyStore& store) {
    DocumentCapture capture(store, parts);
    change(store);
    return capture.Finish(store, "Schritt");
  };
}

SurveyRecord Changed(const SurveyStore& store, size_t index) {
  SurveyRecord record = *store.records[index];
  record.length += 1.25;
  base::SetText(record.remark, "nachgemessen");
  return record;
}

struct ChangeCase {
  const char* kind;
  Command command;
};

const ChangeCase kChanges[] = {
    {"change record", [](SurveyStore& s) { return SpliceRecords(s, ChangeRecordName(2), 1, 1, {Changed(s, 1)}); }},
    {"new record", [](SurveyStore& s) { return SpliceRecords(s, NewRecordName(3), 2, 0, {Changed(s, 1)}); }},
    {"delete record", [](SurveyStore& s) { return SpliceRecords(s, DeleteRecordName(3), 2, 1, {}); }},
    {"replace all records", Captured(DocumentCapture::kRecords | DocumentCapture::kWorksheets,
                                     [](SurveyStore& s) {
                                       s.records.clear();
                                       test::AddRecords(s, "2.1.0 2.1.1 3 10 0\n2.1.1 2.1.2 4 20 0");
                                     })},
    {"renumber", Captured(DocumentCapture::kRecords,
                          [](SurveyStore& s) {
                            for (auto& record : s.records) record->cave = record->refCave = 7;
                          })},
    {"instruments", Captured(DocumentCapture::kSettings,
                             [](SurveyStore& s) {
                               Instrument instrument = GetInstrument(s.settings, 2);
                               instrument.name = "Kompass";
                               instrument.declination = 2.5;
                               SetInstrument(s.settings, 2, instrument);
                             })},
    {"surveyors", Captured(DocumentCapture::kSettings,
                           [](SurveyStore& s) { base::SetText(s.settings.surveyorNames, "Ada\r\nBert"); })},
    {"levels", Captured(DocumentCapture::kSettings,
                        [](SurveyStore& s) { base::SetText(s.settings.levelNames, "Oben\r\nUnten"); })},
    {"document settings", Captured(DocumentCapture::kSettings,
                                   [](SurveyStore& s) {
                                     base::SetText(s.settings.title, "Höhle am Berg");
                                     s.settings.cadastreNumber = 1234;
                                   })},
    {"new worksheet", Captured(DocumentCapture::kWorksheets,
                               [](SurveyStore& s) {
                                 bool reset = false;
                                 NewWorksheet(s, "Neu", 0, reset);
                               })},
    {"copy worksheet", Captured(DocumentCapture::kWorksheets, [](SurveyStore& s) { CopyWorksheet(s, "Kopie", 2); })},
    {"move worksheet", Captured(DocumentCapture::kWorksheets, [](SurveyStore& s) { MoveWorksheet(s, 0); })},
    {"delete worksheet", Captured(DocumentCapture::kWorksheets, [](SurveyStore& s) { DeleteWorksheet(s); })},
    {"rename worksheet",
     Captured(DocumentCapture::kWorksheets, [](SurveyStore& s) { RenameWorksheet(s, "Grundriss"); })},
    {"worksheet settings", Captured(DocumentCapture::kWorksheets,
                                    [](SurveyStore& s) {
                                      s.currentWorksheet->setTitle("Plan 1:500");
                                      s.currentWorksheet->positions.push_back(std::make_unique<AnimationPosition>());
                                    })},
};

TEST(HistoryTest, UndoGivesTheBytesOfBeforeAndRedoThoseOfAfter) {
  for (const ChangeCase& c : kChanges) {
    SCOPED_TRACE(c.kind);
    auto store = Sample();
    const std::vector<uint8_t> before = test::WriteBody(*store);
    History history;
    std::unique_ptr<Change> step = c.command(*store);
    ASSERT_NE(step, nullptr);
    const std::vector<uint8_t> after = test::WriteBody(*store);
    ASSERT_NE(after, before);
    history.Push(std::move(step));
    for (int round = 0; round < 2; ++round) {
      const uint64_t generation = store->computeGeneration;
      const Change* undone = history.Undo(*store);
      ASSERT_NE(undone, nullptr);
      // Figures of the last compute pass are stale once the records change.
      EXPECT_EQ(store->computeGeneration != generation, undone->ChangesRecords());
      EXPECT_EQ(test::WriteBody(*store), before);
      EXPECT_EQ(store->currentWorksheet, store->worksheets[store->settings.currentWorksheetIndex].get());
      ASSERT_NE(history.Redo(*store), nullptr);
      EXPECT_EQ(test::WriteBody(*store), after);
    }
  }
}

TEST(HistoryTest, StepsUndoneInTurnLeadBackToTheStart) {
  auto store = Sample();
  const std::vector<uint8_t> start = test::WriteBody(*store);
  History history;
  std::vector<std::vector<uint8_t>> states;
  for (const ChangeCase& c : kChanges) {
    history.Push(c.command(*store));
    states.push_back(test::WriteBody(*store));
  }
  EXPECT_EQ(history.UndoStep()->name(), "Schritt");
  while (history.CanUndo()) history.Undo(*store);
  EXPECT_EQ(test::WriteBody(*store), start);
  EXPECT_EQ(history.RedoStep()->name(), "Datensatz 2 ändern");
  for (const auto& state : states) {
    history.Redo(*store);
    EXPECT_EQ(test::WriteBody(*store), state);
  }
}

// A step of the settings alone leaves the worksheet and the record chosen
// since as they are.
TEST(HistoryTest, UndoKeepsTheWorksheetAndRecordChosenSince) {
  auto store = Sample();
  const std::string title(base::TextOf(store->settings.title));
  History history;
  history.Push(
      Captured(DocumentCapture::kSettings, [](SurveyStore& s) { base::SetText(s.settings.title, "T"); })(*store));
  const int other = 1 - store->IndexOf(store->currentWorksheet);
  store->SelectWorksheet(other);
  store->settings.currentRecordNumber = 3;
  history.Undo(*store);
  EXPECT_EQ(base::TextOf(store->settings.title), title);
  EXPECT_EQ(store->settings.currentWorksheetIndex, other);
  EXPECT_EQ(store->settings.currentRecordNumber, 3u);
}

// The compute pass may put a coordinate reference in front of the list.
TEST(HistoryTest, ARecordStepFollowsARecordPutInFront) {
  auto store = Sample();
  History history;
  history.Push(SpliceRecords(*store, DeleteRecordName(3), 2, 1, {}));
  const SurveyRecord head = *store->records[0];
  store->records.insert(store->records.begin(), std::make_unique<SurveyRecord>(head));
  store->settings.recordCount = 4;
  const std::vector<uint8_t> withHead = test::WriteBody(*store);
  history.Undo(*store);
  ASSERT_EQ(store->records.size(), 5u);
  EXPECT_EQ(store->settings.recordCount, 5u);
  EXPECT_EQ(base::TextOf(store->records[3]->description), "Halle");
  history.Redo(*store);
  EXPECT_EQ(test::WriteBody(*store), withHead);
}

TEST(HistoryTest, ACommandThatChangedNothingGivesNoStep) {
  auto store = Sample();
  DocumentCapture capture(*store, DocumentCapture::kRecords | DocumentCapture::kWorksheets);
  EXPECT_EQ(capture.Finish(*store, "Schritt"), nullptr);
}

TEST(HistoryTest, TheOldestStepsGoWhenTheHistoryHoldsTooMuch) {
  auto store = Sample();
  const size_t stepBytes = SpliceRecords(*store, "a", 0, 1, {Changed(*store, 0)})->Bytes();
  History history(stepBytes * 3);
  for (int i = 0; i < 5; ++i) history.Push(SpliceRecords(*store, ChangeRecordName(i + 1), 0, 1, {Changed(*store, 0)}));
  EXPECT_EQ(history.count(), 3u);
  EXPECT_LE(history.bytes(), stepBytes * 3);
  EXPECT_EQ(history.Undo(*store)->name(), "Datensatz 5 ändern");
  history.Undo(*store);
  EXPECT_EQ(history.Undo(*store)->name(), "Datensatz 3 ändern");
  EXPECT_FALSE(history.CanUndo());
  // A step larger than the bound alone is kept.
  History small(1);
  small.Push(SpliceRecords(*store, "b", 0, 1, {Changed(*store, 0)}));
  EXPECT_TRUE(small.CanUndo());
}

TEST(HistoryTest, TheSavedMarkFollowsUndoAndRedo) {
  auto store = Sample();
  History history;
  EXPECT_TRUE(history.AtSaved());
  history.Push(SpliceRecords(*store, "a", 0, 1, {Changed(*store, 0)}));
  EXPECT_FALSE(history.AtSaved());
  history.MarkSaved();
  history.Push(SpliceRecords(*store, "b", 1, 1, {}));
  EXPECT_FALSE(history.AtSaved());
  history.Undo(*store);
  EXPECT_TRUE(history.AtSaved());
  history.Undo(*store);
  EXPECT_FALSE(history.AtSaved());
  // A new step after undoing past the saved state leaves it for good.
  history.Push(SpliceRecords(*store, "c", 0, 0, {Changed(*store, 0)}));
  history.Undo(*store);
  EXPECT_FALSE(history.AtSaved());
  EXPECT_FALSE(history.CanUndo());
}

}  // namespace
}  // namespace hp::doc
