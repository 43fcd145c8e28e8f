// The record search: criteria, tolerances, directions and the editor's
// search messages.
#include "edit/RecordSearch.h"

#include <gtest/gtest.h>

#include "edit/DataEditorTexts.h"
#include "edit/EditorTestSupport.h"

namespace hp::edit {
namespace {

using test::AddStation;
using test::EditorFixture;

RecordSearch SearchFor(Field field, std::string_view utf8) {
  RecordForm form;
  form[field] = base::Utf8ToCp1252(utf8);
  RecordSearch search;
  EXPECT_FALSE(RecordSearch::FromForm(form, search));
  return search;
}

TEST(RecordSearchTest, AzimuthWrapsAroundTheFullCircleOfTheInstrument) {
  const struct {
    unsigned azimuthUnit;
    int instrument;
    double tolerance;
    const char* typed;
    double azimuth;
    bool matches;
  } cases[] = {
      {1, 2, 0.1, "399,95", 0.0, true},  {1, 2, 0.0, "399,95", 0.0, false},
      {0, 2, 0.1, "359,95", 0.0, true},  {0, 2, 0.1, "359,85", 0.0, false},
      {0, 0, 0.1, "399,95", 0.0, true},  {0, 2, 0.0, "0,005", 359.999, true},
      {0, 2, 5.0, "100", 105.0, true},   {0, 2, 5.0, "100", 105.02, false},
      {0, 17, 0.1, "359,95", 0.0, true},  // beyond 16: instrument 1 (degrees)
  };
  for (const auto& c : cases) {
    doc::DocumentSettings settings;
    settings.instruments[1].azimuthUnit = c.azimuthUnit;
    settings.searchToleranceAngle = c.tolerance;
    doc::SurveyRecord record;
    record.instrument = c.instrument;
    record.azimuth = c.azimuth;
    EXPECT_EQ(SearchFor(Field::Azimuth, c.typed).Matches(record, settings), c.matches)
        << c.typed << " against " << c.azimuth << " tolerance " << c.tolerance;
  }
}

TEST(RecordSearchTest, EachKindOfFieldHasItsOwnComparison) {
  doc::SurveyRecord r = test::MakeLeg("A1", "A2", 10, 0, -12.5, -3);
  r.left = 1.5, r.x = 100, r.direction = -1, r.level = 4, r.surveyor = 2, r.colour = -5;
  base::SetText(r.material, base::Utf8ToCp1252("Lehm, Sand"));
  base::SetText(r.remark, base::Utf8ToCp1252("GROSSE ÖFFNUNG"));
  base::SetText(r.date, "01.02.2024");
  doc::DocumentSettings settings;  // tolerances 1 and 5
  const struct {
    Field field;
    const char* typed;
    bool matches;
  } cases[] = {
      {Field::Material, "lehm", true},     {Field::Material, "SAND", true}, {Field::Material, "ton", false},
      {Field::Remark, "öffnung", true},    {Field::Date, ".2024", true},    {Field::Point, "A2", true},
      {Field::Point, "a2", false},         {Field::Point, "A", false},      {Field::RefPoint, "A1", true},
      {Field::Length, "11", true},         {Field::Length, "11,02", false}, {Field::X, "99,5", true},
      {Field::Left, "1,5", true},          {Field::Left, "1,50001", false}, {Field::Ring, "3", true},
      {Field::Ring, "-3", true},           {Field::Ring, "2", false},       {Field::Inclination, "-7,5", true},
      {Field::Inclination, "-7,4", false}, {Field::Direction, "-1", true},  {Field::Level, "4", true},
      {Field::Surveyor, "3", false},       {Field::Colour, "-5", true},     {Field::Cave, "1", true},
      {Field::Passage, "2", false},        {Field::Instrument, "1", true},  {Field::Description, "x", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SearchFor(c.field, c.typed).Matches(r, settings), c.matches)
        << static_cast<int>(c.field) << " " << c.typed;
  }
}

TEST(RecordSearchTest, BlankFieldsAreNoCriteriaAndBadNumbersAreRefused) {
  RecordForm form;
  form[Field::Remark] = "  ";
  RecordSearch search;
  EXPECT_FALSE(RecordSearch::FromForm(form, search));
  EXPECT_TRUE(search.empty());
  form[Field::Length] = "zehn";
  const auto fault = RecordSearch::FromForm(form, search);
  ASSERT_TRUE(fault);
  EXPECT_EQ(fault->field, Field::Length);
}

TEST(RecordSearchTest, DirectionsStartWhereTheyShould) {
  doc::SurveyStore store;
  for (const char* name : {"X", "Y", "X", "Y", "X"}) AddStation(store, 1, 1, name);
  const RecordSearch search = RecordSearch::ForStation({1, 1, "X"});
  const struct {
    SearchDirection direction;
    size_t current;
    std::optional<size_t> start, on;
  } cases[] = {
      {SearchDirection::FromStart, 2, 0, 4},
      {SearchDirection::ForwardFromCurrent, 2, 4, 4},
      {SearchDirection::ForwardFromCurrent, 4, std::nullopt, std::nullopt},
      {SearchDirection::BackwardFromCurrent, 2, 0, 0},
      {SearchDirection::BackwardFromCurrent, 0, std::nullopt, std::nullopt},
      {SearchDirection::FromEnd, 1, 4, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SearchFromStart(store.records, store.settings, search, c.direction, c.current), c.start)
        << static_cast<int>(c.direction) << " from " << c.current;
    EXPECT_EQ(SearchOn(store.records, store.settings, search, c.direction, c.current), c.on)
        << static_cast<int>(c.direction) << " on from " << c.current;
  }
}

TEST_F(EditorFixture, SearchStartAndContinueTellWhenNothingMoreIsFound) {
  AddStation(*store, 1, 1, "A");
  base::SetText(AddStation(*store, 1, 1, "B").material, base::Utf8ToCp1252("Lehm, Sand"));
  AddStation(*store, 1, 1, "C");
  Open(1).BeginSearch();
  EXPECT_EQ(editor->mode(), EditorMode::Search);
  EXPECT_EQ(editor->statusText(), texts::kSearching);
  EXPECT_EQ(editor->form(), RecordForm{});
  EXPECT_TRUE(editor->Enabled(Button::SearchStart));
  EXPECT_FALSE(editor->Enabled(Button::Save));
  Type(Field::Material, "lehm");
  EXPECT_FALSE(editor->StartSearch(SearchDirection::FromStart, true));
  EXPECT_EQ(editor->number(), 2);
  EXPECT_EQ(editor->mode(), EditorMode::Browse);
  EXPECT_TRUE(editor->Enabled(Button::SearchOn));
  EXPECT_TRUE(prompter.Texts().empty());
  editor->ContinueSearch();
  EXPECT_EQ(prompter.Texts(), std::vector<std::string>{std::string(texts::kNoMoreFound)});
  EXPECT_EQ(editor->number(), 2);

  prompter.Clear();
  editor->BeginSearch();
  Type(Field::Material, "kalk");
  editor->StartSearch(SearchDirection::FromEnd, false);
  EXPECT_EQ(prompter.Texts(), std::vector<std::string>{std::string(texts::kNotFound)});
  EXPECT_EQ(editor->number(), 2);
  EXPECT_EQ(editor->mode(), EditorMode::Browse);
  EXPECT_EQ(editor->settings().searchDirection, 3);
  EXPECT_FALSE(editor->settings().autoSearch);
}

TEST_F(EditorFixture, SavingAFoundRecordContinuesTheSearch) {
  test::AddReference(*store, "1");
  test::AddLeg(*store, "1", "2", 5).ring = 7;
  test::AddLeg(*store, "2", "3", 5);
  test::AddLeg(*store, "3", "4", 5).ring = 7;
  Open(1).BeginSearch();
  Type(Field::Ring, "7");
  editor->StartSearch(SearchDirection::FromStart, true);
  ASSERT_EQ(editor->number(), 2);
  Type(Field::Remark, "geprüft");
  EXPECT_FALSE(editor->Save());
  EXPECT_EQ(editor->number(), 4);
}

TEST_F(EditorFixture, OpeningOnAStationSearchesItsMeasuredStation) {
  AddStation(*store, 1, 1, "A");
  AddStation(*store, 2, 1, "S");
  AddStation(*store, 1, 1, "S");
  AddStation(*store, 2, 1, "S");
  editor = std::make_unique<DataEditor>(*store, prompter, EditorSettings{}, &marked);
  editor->OpenAtStation({2, 1, "S"});
  EXPECT_EQ(editor->number(), 2);
  editor->ContinueSearch();
  EXPECT_EQ(editor->number(), 4);
  editor->ContinueSearch();
  EXPECT_EQ(prompter.Texts(), std::vector<std::string>{std::string(texts::kNoMoreStations)});

  prompter.Clear();
  store->settings.currentRecordNumber = 3;
  editor->OpenAtStation({3, 1, "S"});
  EXPECT_EQ(prompter.Texts(), std::vector<std::string>{std::string(texts::kStationNotFound)});
  EXPECT_EQ(editor->number(), 3);
}

}  // namespace
}  // namespace hp::edit
