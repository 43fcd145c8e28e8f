// The instrument dialog's cells: typed numbers with a decimal comma, range
// refusals naming the cell, and OK storing the table with sag coefficients.
#include "calc/InstrumentDialog.h"

#include <gtest/gtest.h>

#include <tuple>
#include <utility>

#include "calc/LegReduction.h"

namespace hp::calc {
namespace {

doc::DocumentSettings Defaults() {
  doc::DocumentSettings s;
  doc::SetDefaultSettings(s);
  return s;
}

TEST(InstrumentDialog, TypedCellsAreReadOrRefusedAtTheirRangeEnds) {
  const struct {
    InstrumentColumn column;
    const char* typed;
    bool accepted;
    const char* message;
  } cases[] = {
      {InstrumentColumn::Divider, "1000", true, ""},
      {InstrumentColumn::Divider, "1000,01", false, "Bitte eine Zahl zwischen 0 und 1000 eingeben."},
      {InstrumentColumn::Divider, "-0,5", false, "Bitte eine Zahl zwischen 0 und 1000 eingeben."},
      {InstrumentColumn::Sag, "100", true, ""},
      {InstrumentColumn::Sag, "100,5", false, "Bitte eine Zahl zwischen 0 und 100 eingeben."},
      {InstrumentColumn::Declination, "-400", true, ""},
      {InstrumentColumn::Declination, "400,1", false, "Bitte eine Zahl zwischen -400 und 400 eingeben."},
      {InstrumentColumn::Year, "4000", true, ""},
      {InstrumentColumn::Year, "4001", false, "Bitte eine Zahl zwischen 0 und 4000 eingeben."},
      {InstrumentColumn::Change, "-10", true, ""},
      {InstrumentColumn::Change, "10,5", false, "Bitte eine Zahl zwischen -10 und 10 eingeben."},
      {InstrumentColumn::Change, "zwei", false, "Bitte eine Zahl zwischen -10 und 10 eingeben."},
      {InstrumentColumn::Name, "123456789012345", true, ""},
      {InstrumentColumn::Name, "1234567890123456", false,
       "Der Ger\u00e4tename darf h\u00f6chstens 15 Zeichen lang sein."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    doc::DocumentSettings s = Defaults();
    InstrumentDialogModel model(s);
    model.SetText(1, InstrumentColumn::Sag, "10");
    model.SetText(7, c.column, c.typed);
    const doc::DialogOutcome outcome = model.Apply(s);
    EXPECT_EQ(!outcome.fault, c.accepted);
    EXPECT_EQ(outcome.fault ? outcome.fault->message : "", c.message);
    EXPECT_EQ(s.instrumentSag[0], c.accepted ? 10 : 0) << "a refused table stores nothing";
    if (!c.accepted) {
      EXPECT_EQ(InstrumentOfField(outcome.fault->field), 7);
      EXPECT_EQ(ColumnOfField(outcome.fault->field), c.column);
    } else {
      EXPECT_TRUE(outcome.modified && outcome.recompute && outcome.redraw);
    }
  }
}

TEST(InstrumentDialog, OkStoresEveryColumnWithFreshSagCoefficients) {
  doc::DocumentSettings s = Defaults();
  s.instrumentSag[15] = 4;
  s.instrumentSagCoefficient[15] = 0.5;  // stale
  InstrumentDialogModel model(s);
  EXPECT_EQ(model.Text(16, InstrumentColumn::Sag), "4");
  EXPECT_EQ(model.Text(3, InstrumentColumn::Name), "Ger\xE4t 3");
  model.SetText(16, InstrumentColumn::Name, "Suunto");
  model.SetText(16, InstrumentColumn::Divider, "2,5");
  model.SetText(16, InstrumentColumn::Declination, "2.25");
  model.SetText(16, InstrumentColumn::Year, "2010");
  model.SetText(16, InstrumentColumn::Change, "0,1");
  model.SetChoice(16, InstrumentColumn::AzimuthUnit, 1);
  model.SetChoice(16, InstrumentColumn::InclinationUnit, 1);
  model.SetChoice(16, InstrumentColumn::Vertical, 2);
  model.SetText(2, InstrumentColumn::Sag, "0");
  ASSERT_FALSE(model.Apply(s).fault);

  const doc::Instrument i = doc::GetInstrument(s, 16);
  EXPECT_EQ(std::tuple(i.name, i.divider, i.declination, i.declinationYear, i.declinationChange, i.azimuthUnit,
                       i.inclinationUnit, i.verticalReference),
            std::tuple("Suunto", 2.5, 2.25, 2010.0, 0.1, 1u, 1u, 2u));
  EXPECT_EQ(i.sagCoefficient, SagCoefficient(4));
  EXPECT_LT(i.sagCoefficient, 0);
  EXPECT_EQ(s.instrumentSagCoefficient[1], 0) << "no sag, no correction";
}

// A choice beyond its list is refused; so is a negative one, which must not
// wrap into a valid unsigned value.
TEST(InstrumentDialog, ListChoicesOutsideTheirListsAreRefused) {
  for (const auto& [column, choice] :
       {std::pair{InstrumentColumn::Vertical, 3}, {InstrumentColumn::InclinationUnit, -1}}) {
    doc::DocumentSettings s = Defaults();
    InstrumentDialogModel model(s);
    model.SetChoice(4, column, choice);
    const doc::DialogOutcome outcome = model.Apply(s);
    ASSERT_TRUE(outcome.fault) << choice;
    EXPECT_EQ(ColumnOfField(outcome.fault->field), column);
  }
}

}  // namespace
}  // namespace hp::calc
