// The survey data editor: navigation, showing, new records, saving,
// deleting, marking and closing.
#include "edit/DataEditor.h"

#include <gtest/gtest.h>

#include <array>
#include <tuple>
#include <utility>

#include "edit/DataEditorTexts.h"
#include "edit/EditorTestSupport.h"

namespace hp::edit {
namespace {

using test::AddLeg;
using test::AddReference;
using test::AddStation;
using test::EditorFixture;
using test::Rec;

// ---- navigation -------------------------------------------------------------

struct NavCase {
  int start;
  Button button;
  int expected;
};

class CaveRunNavigation : public EditorFixture, public ::testing::WithParamInterface<NavCase> {};

// Caves 1, 1, 2, 2, 2; passages 1, 2, 1, 1, 2; point names A, "", "", B, C.
TEST_P(CaveRunNavigation, MovesToTheExpectedRecord) {
  AddStation(*store, 1, 1, "A");
  AddStation(*store, 1, 2, "");
  AddStation(*store, 2, 1, "");
  AddStation(*store, 2, 1, "B");
  AddStation(*store, 2, 2, "C");
  Open(GetParam().start).Navigate(GetParam().button);
  EXPECT_EQ(editor->number(), GetParam().expected);
  EXPECT_EQ(editor->lastNavigation(), GetParam().button);
}

INSTANTIATE_TEST_SUITE_P(Runs, CaveRunNavigation,
                         ::testing::Values(NavCase{4, Button::CaveBack, 3}, NavCase{3, Button::CaveBack, 1},
                                           NavCase{1, Button::CaveBack, 1}, NavCase{1, Button::CaveForward, 3},
                                           NavCase{3, Button::CaveForward, 5}, NavCase{5, Button::CaveForward, 5},
                                           NavCase{5, Button::PassageBack, 3}, NavCase{4, Button::PassageBack, 3},
                                           NavCase{3, Button::PassageBack, 2}, NavCase{1, Button::PassageForward, 2},
                                           NavCase{3, Button::PassageForward, 5}, NavCase{4, Button::PointBack, 1},
                                           NavCase{5, Button::PointBack, 4}, NavCase{1, Button::PointForward, 4},
                                           NavCase{4, Button::PointForward, 5}, NavCase{5, Button::PointForward, 5},
                                           NavCase{3, Button::First, 1}, NavCase{3, Button::Last, 5},
                                           NavCase{1, Button::Previous, 1}, NavCase{5, Button::Next, 5},
                                           NavCase{2, Button::Next, 3}));

TEST_F(EditorFixture, RefGoesToTheFirstRecordNamingTheReferenceStation) {
  AddReference(*store, "0");
  AddLeg(*store, "0", "1", 5);
  AddLeg(*store, "1", "2", 5);
  AddLeg(*store, "1", "3", 5);
  AddStation(*store, 1, 1, "4");  // no reference station
  const struct { int start, expected; } cases[] = {{4, 2}, {3, 2}, {2, 1}, {5, 5}};
  for (const auto& c : cases) {
    Open(c.start).Navigate(Button::Ref);
    EXPECT_EQ(editor->number(), c.expected) << "from " << c.start;
  }
}

TEST_F(EditorFixture, AnEmptyListShowsNoRecordsAndOffersOnlyNewAndClosing) {
  Open(1).Navigate(Button::Next);
  EXPECT_EQ(editor->number(), 0);
  EXPECT_FALSE(editor->formEnabled());
  EXPECT_EQ(editor->statusText(), texts::kNoRecords);
  for (const Button b : {Button::New, Button::Overview, Button::LoopEvaluation, Button::Close}) {
    EXPECT_TRUE(editor->Enabled(b));
  }
  for (const Button b : {Button::First, Button::Save, Button::Delete, Button::Search, Button::Compute, Button::Mark}) {
    EXPECT_FALSE(editor->Enabled(b));
  }
}

// ---- showing ----------------------------------------------------------------

TEST_F(EditorFixture, ShowingRoundsLengthsAnglesAndCoordinatesOnly) {
  doc::SurveyRecord& r = AddLeg(*store, "1", "2", 10.126, 359.996, -3.14159);
  r.left = 1.234, r.tapeEnd = 12.3456, r.direction = -1, r.refX = 0.004, r.z = -1234.5678, r.ring = -3;
  Open(1);
  const struct {
    Field field;
    const char* text;
  } cases[] = {{Field::Length, "10,13"}, {Field::Azimuth, "360"},     {Field::Inclination, "-3,14"},
               {Field::Left, "1,234"},   {Field::TapeEnd, "12,3456"}, {Field::Direction, "-1"},
               {Field::RefX, "0"},       {Field::Z, "-1234,57"},      {Field::Ring, "-3"},
               {Field::Point, "2"},      {Field::Cave, "1"}};
  for (const auto& c : cases) EXPECT_EQ(Shown(c.field), c.text) << static_cast<int>(c.field);
  EXPECT_EQ(editor->statusText(), texts::kViewing);
  Type(Field::Remark, "nass");
  EXPECT_EQ(editor->statusText(), texts::kChanging);
}

TEST_F(EditorFixture, OutOfRangeInstrumentAndColourAreCorrectedInTheRecord) {
  const struct {
    int instrument, colour, instrumentAfter, colourAfter;
  } cases[] = {{17, -17, 0, -1}, {-1, 33, 0, 1}, {16, -16, 16, -16}, {0, 32, 0, 32}};
  for (const auto& c : cases) {
    store->records.clear();
    doc::SurveyRecord& r = AddLeg(*store, "1", "2");
    r.instrument = c.instrument, r.colour = c.colour;
    Open(1);
    EXPECT_EQ(r.instrument, c.instrumentAfter);
    EXPECT_EQ(r.colour, c.colourAfter);
    EXPECT_EQ(Shown(Field::Colour), std::to_string(c.colourAfter));
  }
}

TEST_F(EditorFixture, TypeTextFollowsTheRecordsContent) {
  AddReference(*store, "1");                   // 1
  AddReference(*store, "1", 0, 0, 0, 2);       // 2 Variable Referenz
  AddLeg(*store, "1", "2", 0);                 // 3 Hilfspunkt
  AddLeg(*store, "2", "3", 4);                 // 4 Messzug
  AddLeg(*store, "1", "3", 4);                 // 5 Verbindung
  AddLeg(*store, "2", "3", 4, 0, 0, 1);        // 6 Ringschluss
  AddLeg(*store, "3", "", 4).fromInclude = 1;  // 7 Hilfslinie
  const char* expected[] = {"Koordinatenreferenz", "Variable Referenz", "Hilfspunkt", "Messzug",
                            "Verbindung",          "Ringschluss",       "Hilfslinie"};
  for (int n = 1; n <= 7; ++n) {
    Open(n);
    EXPECT_EQ(editor->typeText(), expected[n - 1]) << n;
    EXPECT_EQ(editor->includeText(), n == 7 ? texts::kFromInclude : "");
  }
}

// ---- new records ------------------------------------------------------------

TEST(NewRecordTest, PointNameIncrement) {
  const struct {
    const char* name;
    const char* next;
  } cases[] = {{"17", "18"},
               {"99999999", "0"},
               {"A009", "A10"},
               {"A", "A1"},
               {"", ""},
               {"X99", "X100"},
               {"123456789", "123456790"},
               {"A199999999", "A10"},
               {"ABCDEFGHIJK9", "ABCDEFGHIJK1"}};
  for (const auto& c : cases) EXPECT_EQ(IncrementPointName(c.name), c.next) << c.name;
}

TEST(NewRecordTest, NumberOfEachPlacement) {
  const struct {
    Placement placement;
    int current, count, number;
  } cases[] = {{Placement::Before, 4, 9, 4},
               {Placement::Before, 0, 0, 1},
               {Placement::After, 4, 9, 5},
               {Placement::AfterPrefilled, 9, 9, 10},
               {Placement::AfterSameReference, 1, 9, 2},
               {Placement::AtEnd, 4, 9, 10},
               {Placement::AtEndPrefilled, 4, 9, 10}};
  for (const auto& c : cases) EXPECT_EQ(NewRecordNumber(c.placement, c.current, c.count), c.number);
}

TEST(NewRecordTest, PrefillTakesStationReadingsAndSettingsFromTheCurrentRecord) {
  doc::SurveyRecord current = test::MakeLeg("16", "17", 5, 120, 3);
  current.passage = current.refPassage = 2;
  current.tapeStart = 3.5, current.tapeEnd = 8.5, current.instrument = 4, current.direction = -1;
  current.colour = 7, current.level = 3, current.surveyor = 2, current.ring = 5, current.left = 2;
  base::SetText(current.date, "01.02.2024");
  base::SetText(current.remark, "Engstelle");

  const doc::SurveyRecord next = NewRecord(Placement::AtEndPrefilled, &current);
  EXPECT_EQ(doc::StationText(doc::RefStationOf(next)), "1/2/17");
  EXPECT_EQ(doc::StationText(doc::StationOf(next)), "1/2/18");
  // Both tape readings start at the last end reading; the readings and texts of the leg stay empty.
  EXPECT_EQ(std::tuple(next.tapeStart, next.tapeEnd, next.instrument, next.direction, next.colour, next.level,
                       next.surveyor, next.ring, base::TextOf(next.date)),
            std::tuple(8.5, 8.5, 4, -1.0, 7, 3, 2, 5, "01.02.2024"));
  EXPECT_EQ(std::tuple(next.length, next.left, base::TextOf(next.remark)), std::tuple(0.0, 0.0, ""));

  EXPECT_EQ(doc::StationText(doc::RefStationOf(NewRecord(Placement::AfterSameReference, &current))), "1/2/16");
  const doc::SurveyRecord plain = NewRecord(Placement::After, &current);
  EXPECT_EQ(doc::StationText(doc::StationOf(plain)), "0/0/");
  EXPECT_EQ(plain.instrument, 1);
  EXPECT_EQ(plain.direction, 1.0);
  EXPECT_EQ(plain.colour, 1);
}

TEST_F(EditorFixture, TheFirstRecordOfAnEmptyListStartsASeriesAtTheEnd) {
  program.SetInt("Settings", "ModusNeu", 0);
  program.SetInt("Settings", "AutoNeu", 0);
  Open(1);
  EXPECT_FALSE(editor->NewNeedsPlacement());
  editor->StartNew();
  EXPECT_EQ(editor->mode(), EditorMode::New);
  EXPECT_EQ(editor->number(), 1);
  EXPECT_EQ(editor->statusText(), texts::kCreating);
  EXPECT_EQ(editor->typeText(), "Koordinatenreferenz");
  for (const Field f : {Field::Instrument, Field::Direction, Field::Colour}) EXPECT_EQ(Shown(f), "1");
  EXPECT_EQ(editor->settings().placement, 5);
  EXPECT_TRUE(editor->settings().autoNew);
  for (const Button b : {Button::Save, Button::Cancel}) EXPECT_TRUE(editor->Enabled(b));
  for (const Button b : {Button::New, Button::Next, Button::Close, Button::Delete}) EXPECT_FALSE(editor->Enabled(b));
}

TEST_F(EditorFixture, PlacementZeroBeforeRecordFourInsertsTheNewRecordAsNumberFour) {
  AddReference(*store, "1");
  AddLeg(*store, "1", "2", 5);
  AddLeg(*store, "2", "3", 5);
  AddLeg(*store, "3", "4", 5);
  const doc::SurveyRecord* formerFour = store->records[3].get();
  Open(4);
  ASSERT_TRUE(editor->NewNeedsPlacement());
  editor->StartNew(Placement::Before, false);
  EXPECT_EQ(editor->number(), 4);
  EXPECT_EQ(editor->typeText(), "Koordinatenreferenz");
  for (const auto& [field, text] : {std::pair{Field::RefCave, "1"},
                                    {Field::RefPassage, "1"},
                                    {Field::RefPoint, "2"},
                                    {Field::Cave, "1"},
                                    {Field::Passage, "1"},
                                    {Field::Point, "2a"},
                                    {Field::Length, "2,5"}})
    Type(field, text);
  EXPECT_FALSE(editor->Save());
  EXPECT_TRUE(prompter.Texts().empty());
  ASSERT_EQ(store->records.size(), 5u);
  EXPECT_EQ(base::TextOf(Rec(*store, 4).point), "2a");
  EXPECT_EQ(Rec(*store, 4).length, 2.5);
  EXPECT_EQ(store->records[4].get(), formerFour);
  EXPECT_EQ(editor->number(), 4);
  EXPECT_EQ(editor->mode(), EditorMode::Browse);
  EXPECT_FALSE(editor->computed());
  EXPECT_EQ(store->settings.recordCount, 5u);
}

TEST_F(EditorFixture, AutoNewStartsTheNextRecordWithoutAskingAgain) {
  AddReference(*store, "1");
  Open(1);
  editor->StartNew(Placement::AtEndPrefilled, true);
  Type(Field::Length, "4");
  EXPECT_FALSE(editor->Save());
  EXPECT_EQ(editor->mode(), EditorMode::New);
  EXPECT_EQ(editor->number(), 3);
  EXPECT_EQ(Shown(Field::RefPoint), "2");
  EXPECT_EQ(Shown(Field::Point), "3");
  EXPECT_FALSE(editor->NewNeedsPlacement());
  editor->Cancel();  // ends the series
  EXPECT_EQ(editor->mode(), EditorMode::Browse);
  EXPECT_EQ(editor->number(), 2);
  EXPECT_TRUE(editor->NewNeedsPlacement());
}

// ---- saving -----------------------------------------------------------------

TEST_F(EditorFixture, SavingComputesTheSavedRecordAlone) {
  AddReference(*store, "1");
  AddLeg(*store, "1", "2", 10, 90);
  AddLeg(*store, "2", "3", 10, 90);
  platform::ScriptedPrompter quiet;
  calc::RunComputeCommand(*store, quiet);
  Open(2);
  EXPECT_TRUE(editor->computed());
  Type(Field::Length, "20");
  EXPECT_FALSE(editor->Save());
  EXPECT_NEAR(Rec(*store, 2).x, 20, 1e-9);
  EXPECT_NEAR(Rec(*store, 3).x, 20, 1e-9);  // not recomputed yet
  EXPECT_FALSE(editor->computed());
  EXPECT_EQ(Shown(Field::X), "20");
  EXPECT_TRUE(editor->Close(program));
  EXPECT_NEAR(Rec(*store, 3).x, 30, 1e-9);
  EXPECT_EQ(store->settings.computedCurrent, 1);
}

TEST_F(EditorFixture, AnUntouchedFieldKeepsItsExactValue) {
  AddReference(*store, "1");
  AddLeg(*store, "1", "2", 10.123456, 45.678901);
  Open(2);
  Type(Field::Remark, "Schacht");
  EXPECT_FALSE(editor->Save());
  EXPECT_EQ(Rec(*store, 2).length, 10.123456);
  EXPECT_EQ(Rec(*store, 2).azimuth, 45.678901);
  EXPECT_EQ(base::TextOf(Rec(*store, 2).remark), "Schacht");
}

struct EntryCase {
  int instrument;
  unsigned azimuthUnit, inclinationUnit, vertical;
  Field field;
  const char* text;
  bool accepted;
};

class EntryChecks : public EditorFixture, public ::testing::WithParamInterface<EntryCase> {};

TEST_P(EntryChecks, RefuseOutOfRangeOrUnreadableEntries) {
  const EntryCase& c = GetParam();
  store->settings.instruments[1] = {c.azimuthUnit, 0, c.inclinationUnit, c.vertical};
  AddReference(*store, "1");
  AddLeg(*store, "1", "2", 10).instrument = c.instrument;
  Open(2);
  Type(c.field, c.text);
  const std::optional<Field> refused = editor->Save();
  EXPECT_EQ(!refused.has_value(), c.accepted);
  if (refused) {
    EXPECT_EQ(*refused, c.field);
    EXPECT_EQ(Rec(*store, 2).length, 10);  // nothing taken over
    EXPECT_EQ(prompter.Texts().size(), 1u);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Ranges, EntryChecks,
    ::testing::Values(
        EntryCase{2, 0, 0, 0, Field::Azimuth, "360", true}, EntryCase{2, 0, 0, 0, Field::Azimuth, "360,5", false},
        EntryCase{2, 1, 0, 0, Field::Azimuth, "399,9", true}, EntryCase{2, 0, 0, 0, Field::Inclination, "-90", true},
        EntryCase{2, 0, 0, 0, Field::Inclination, "-90,1", false},
        EntryCase{2, 0, 1, 0, Field::Inclination, "-100", true}, EntryCase{2, 0, 0, 1, Field::Inclination, "-1", false},
        EntryCase{2, 0, 0, 2, Field::Inclination, "180", true},
        EntryCase{2, 0, 1, 2, Field::Inclination, "200,5", false}, EntryCase{0, 0, 0, 0, Field::Azimuth, "725", true},
        EntryCase{2, 0, 0, 0, Field::Length, "12,5x", false}, EntryCase{2, 0, 0, 0, Field::Cave, "1,5", false},
        EntryCase{2, 0, 0, 0, Field::Ring, "99999999999", false}, EntryCase{2, 0, 0, 0, Field::Instrument, "17", false},
        EntryCase{2, 0, 0, 0, Field::Left, "", true}, EntryCase{2, 0, 0, 0, Field::Length, "99999999999", false},
        EntryCase{2, 0, 0, 0, Field::Length, "10000000", true},
        EntryCase{2, 0, 0, 0, Field::Length, "10000000,01", false}, EntryCase{2, 0, 0, 0, Field::RefX, "-1e8", false},
        EntryCase{2, 0, 0, 0, Field::Up, "1e300", false}, EntryCase{2, 0, 0, 0, Field::Date, "31.02.2023", false},
        EntryCase{2, 0, 0, 0, Field::Date, "29.02.2024", true}, EntryCase{2, 0, 0, 0, Field::Date, "", true}));

// Dates are stored as day, month and year of two, two and four digits.
TEST(EditorDates, StoredForm) {
  const std::pair<const char*, const char*> cases[] = {
      {"1.2.2023", "01.02.2023"}, {" 31.12.1999 ", "31.12.1999"}, {"29.02.2000", "29.02.2000"}, {"  ", ""}};
  for (const auto& [typed, stored] : cases) EXPECT_EQ(StoredDate(typed), std::optional<std::string>(stored)) << typed;
  for (const char* refused : {"29.02.1900", "29.02.2023", "00.01.2020", "12.13.2020", "01.01.0000", "1.1.20201", "abc",
                              "1.2.23", "1..2023", "01.02.2023.", "01-02-2023"})
    EXPECT_EQ(StoredDate(refused), std::nullopt) << refused;
}

TEST_F(EditorFixture, AnOutOfRangeColourIsCorrectedOnSaving) {
  AddReference(*store, "1");
  Open(1);
  Type(Field::Colour, "40");
  EXPECT_FALSE(editor->Save());
  EXPECT_EQ(Rec(*store, 1).colour, 1);
}

TEST_F(EditorFixture, ARecordTheCheckRefusesLeavesTheListUnchanged) {
  AddReference(*store, "1");
  Open(1);
  editor->StartNew(Placement::AtEnd, true);
  for (const auto& [field, text] :
       {std::pair{Field::RefCave, "1"}, {Field::RefPassage, "1"}, {Field::RefPoint, "9"}, {Field::Point, "10"}})
    Type(field, text);
  prompter.Script({platform::Answer::Cancel});
  EXPECT_FALSE(editor->Save());
  EXPECT_EQ(store->records.size(), 1u);
  EXPECT_EQ(editor->mode(), EditorMode::New);
  ASSERT_EQ(prompter.Texts().size(), 1u);
  EXPECT_NE(prompter.Texts()[0].find("Datensatz speichern?"), std::string::npos);
}

TEST_F(EditorFixture, TheCalculatorsResultIsSavedWithTheRecord) {
  AddReference(*store, "1");
  AddLeg(*store, "1", "2", 10);
  Open(2);
  Type(Field::Azimuth, "45");
  std::optional<Field> refused;
  std::optional<doc::SurveyRecord> record = editor->FormRecord(refused);
  ASSERT_TRUE(record);
  EXPECT_EQ(record->azimuth, 45);
  record->length = 12.345, record->inclination = -8, record->calculator = {1.5, 2.5, 1};
  editor->TakeCalculation(*record);
  EXPECT_EQ(Shown(Field::Length), "12,35");
  EXPECT_EQ(editor->statusText(), texts::kChanging);
  EXPECT_FALSE(editor->Save());
  EXPECT_EQ(Rec(*store, 2).inclination, -8);
  EXPECT_EQ(Rec(*store, 2).calculator.startHeight, 2.5);
  EXPECT_EQ(Rec(*store, 2).calculator.reverse, 1);
}

// Coordinates converted in the coordinates dialog are saved as the
// reference coordinates, also when the record is then placed on the map.
TEST_F(EditorFixture, ConvertedCoordinatesAreSavedAsTheReferenceCoordinates) {
  AddReference(*store, "1", 10, 20, 30);
  AddReference(*store, "2", 40, 50, 60);
  Open(1);
  doc::SurveyRecord converted = *store->records[0];
  converted.refX = converted.x = 612345.678;
  converted.refY = converted.y = 5234567.891;
  converted.refZ = converted.z = 1234.5;
  editor->TakeCoordinates(converted);
  EXPECT_EQ(Shown(Field::RefX), "612345,68");
  EXPECT_EQ(Shown(Field::Y), "5234567,89");
  EXPECT_FALSE(editor->Save());
  EXPECT_NEAR(Rec(*store, 1).refX, 612345.68, 1e-6);
  EXPECT_NEAR(Rec(*store, 1).x, 612345.68, 1e-6);  // a coordinate reference lies at its coordinates
  EXPECT_EQ(Rec(*store, 1).refZ, 1234.5);

  editor->Navigate(Button::Next);
  converted = *store->records[1];
  converted.refX = converted.x = 612345.67;
  editor->TakeCoordinates(converted);
  std::optional<Field> refused;
  EXPECT_EQ(editor->SaveForPlacement(refused), 2);
  EXPECT_FALSE(refused);
  EXPECT_NEAR(Rec(*store, 2).refX, 612345.67, 1e-6);
  EXPECT_EQ(editor->SaveForPlacement(refused), 2) << "an unchanged record is placed as it is";
  editor->Edit(Field::RefZ, "hoch");
  EXPECT_EQ(editor->SaveForPlacement(refused), 0);
  EXPECT_EQ(refused, Field::RefZ);
  EXPECT_EQ(Rec(*store, 2).refZ, 60);
}

// ---- deleting and marking ---------------------------------------------------

TEST_F(EditorFixture, DeletingTheOnlyRecordLeavesAnEmptyDisabledForm) {
  AddReference(*store, "1");
  Open(1);
  EXPECT_TRUE(editor->Delete());
  EXPECT_EQ(prompter.Texts(), std::vector<std::string>{std::string(texts::kReallyDelete)});
  EXPECT_TRUE(store->records.empty());
  EXPECT_EQ(editor->number(), 0);
  EXPECT_FALSE(editor->formEnabled());
  EXPECT_EQ(editor->statusText(), texts::kNoRecords);
  EXPECT_EQ(editor->form(), RecordForm{});
}

TEST_F(EditorFixture, DeletingShowsTheNextRecordOrThePreviousAfterTheLast) {
  const struct {
    int current;
    platform::Answer answer;
    int shown;
    const char* remaining;
  } cases[] = {
      {2, platform::Answer::Ok, 2, "AC"}, {3, platform::Answer::Ok, 2, "AB"}, {2, platform::Answer::Cancel, 2, "ABC"}};
  for (const auto& c : cases) {
    store->records.clear();
    for (const char* name : {"A", "B", "C"}) AddStation(*store, 1, 1, name);
    Open(c.current);
    prompter.Script({c.answer});
    editor->Delete();
    std::string remaining;
    for (const auto& r : store->records) remaining += base::TextOf(r->point);
    EXPECT_EQ(remaining, c.remaining);
    EXPECT_EQ(editor->number(), c.shown);
    EXPECT_EQ(store->settings.recordCount, remaining.size());
  }
}

TEST_F(EditorFixture, DeletingTheMarkedRecordClearsTheMark) {
  for (const char* name : {"A", "B", "C"}) AddStation(*store, 1, 1, name);
  Open(2).Mark();
  EXPECT_EQ(marked, store->records[1].get());
  editor->Navigate(Button::Next);
  editor->Delete();
  EXPECT_EQ(marked, store->records[1].get());  // another record deleted: the mark stays
  EXPECT_EQ(editor->current(), marked);
  editor->Delete();
  EXPECT_EQ(marked, nullptr);
  editor->Mark();
  EXPECT_TRUE(editor->Enabled(Button::Unmark));
  editor->Unmark();
  EXPECT_EQ(marked, nullptr);
}

// ---- closing ----------------------------------------------------------------

TEST_F(EditorFixture, ClosingStoresTheModesAndTheRecordNumber) {
  AddReference(*store, "1");
  AddLeg(*store, "1", "2", 3);
  Open(1);
  editor->Navigate(Button::Last);
  editor->settings() = EditorSettings{2, false, 3, false, {}};
  EXPECT_TRUE(editor->Close(program));
  for (const auto& [name, value] : {std::pair{"ModusNeu", 2}, {"AutoNeu", 0}, {"ModusSuchen", 3}, {"AutoSuchen", 0}})
    EXPECT_EQ(program.GetInt("Settings", name, -1), value) << name;
  EXPECT_EQ(store->settings.currentRecordNumber, 2u);
  const EditorSettings again = EditorSettings::Load(program);
  EXPECT_EQ(again.placement, 2);
  EXPECT_EQ(again.searchDirection, 3);
  // Modes outside their ranges read as the defaults.
  program.SetInt("Settings", "ModusNeu", 6);
  program.SetInt("Settings", "ModusSuchen", -1);
  const EditorSettings s = EditorSettings::Load(program);
  EXPECT_EQ((std::array{s.placement, s.searchDirection}), (std::array{5, 0}));
}

TEST_F(EditorFixture, AFailingFullPassKeepsTheWindowOpenUnlessCancelled) {
  AddReference(*store, "1");
  AddLeg(*store, "1", "2", 3);
  AddLeg(*store, "8", "9", 3);  // reference station never defined
  store->settings.computedCurrent = 0;
  const struct {
    platform::Answer answer;
    bool closes;
    int number;
  } cases[] = {
      {platform::Answer::No, false, 1}, {platform::Answer::Yes, false, 3}, {platform::Answer::Cancel, true, 1}};
  for (const auto& c : cases) {
    Open(1);
    prompter.Script({c.answer});
    EXPECT_EQ(editor->Close(program), c.closes);
    EXPECT_EQ(editor->number(), c.number);
    EXPECT_EQ(store->settings.computedCurrent, 0);
  }
}

// ---- lists ------------------------------------------------------------------

TEST(EditorListsTest, NameListsOfferOnlyLinesNumberedExactly) {
  const std::vector<Choice> choices = NameChoices(
      "0: Unsichtbar\r\n1: Ebene 1\r\n01: doppelt\r\n 2: blank\r\n+4: plus\r\n3:Decke\r\n9: neun\r\n8: Boden");
  ASSERT_EQ(choices.size(), 3u);
  EXPECT_EQ(choices[0].value, 1);
  EXPECT_EQ(choices[0].text, "1: Ebene 1");
  EXPECT_EQ(choices[1].value, 3);
  EXPECT_EQ(choices[2].text, "8: Boden");
  const std::vector<Choice> withZero = WithValue(choices, 0);
  EXPECT_EQ(withZero.front().text, "0");
  EXPECT_EQ(WithValue(choices, 3).size(), 3u);
}

TEST(EditorListsTest, InstrumentAndColourChoices) {
  doc::DocumentSettings settings;
  base::SetText(settings.instrumentNames[15], "Disto");
  settings.lineColours[15] = 0x123456;
  const std::vector<Choice> instruments = InstrumentChoices(settings);
  ASSERT_EQ(instruments.size(), 17u);
  EXPECT_EQ(base::Cp1252ToUtf8(instruments[0].text), "0: Kein Gerät");
  EXPECT_EQ(instruments[16].text, "16: Disto");

  const std::vector<ColourSample> colours = ColourSamples(settings);
  ASSERT_EQ(colours.size(), 49u);
  EXPECT_EQ(colours.front().text, "-16");
  using enum ColourSample::Pattern;  // colours -16, 0, 16 and 17
  EXPECT_EQ((std::array{colours[0].pattern, colours[16].pattern, colours[32].pattern, colours[33].pattern}),
            (std::array{Hatched, Crossed, Solid, Hatched}));
  EXPECT_EQ((std::array{colours[0].colour, colours[32].colour}), (std::array{0x123456u, 0x123456u}));
}

}  // namespace
}  // namespace hp::edit
