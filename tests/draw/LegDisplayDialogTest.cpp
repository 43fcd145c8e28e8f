// The leg display dialog's options: what it shows for a worksheet, which
// fields it enables, what it refuses and what storing them changes.
#include <gtest/gtest.h>

#include <limits>

#include "draw/interaction/LegDisplayDialog.h"
#include "support/Survey.h"
#include "support/Values.h"

namespace hp::draw {
namespace {

using test::NewSheet;
using test::Nums;

TEST(LegDisplayDialogTest, DamagedStoredValuesAreShownInsideTheirLists) {
  const struct {
    const char* name;
    int32_t colourMode, lineWidth, angle;
    int16_t numbering, mark;
    int colourModeShown, lineWidthShown, angleShown;
    bool numberingOn;
    int kindShown;
    bool markOn;
    int markShown;
  } cases[] = {
      {"new worksheet", 1, 1, 0, 1, 1, 1, 1, 0, true, 1, true, 1},
      {"largest", 12, 10, 6, 10, 2, 12, 10, 6, true, 10, true, 2},
      {"zero numbering keeps first kind", 0, 1, 0, 0, 0, 0, 1, 0, false, 1, false, 1},
      {"above the lists", 13, 11, 7, 11, 3, 12, 10, 6, true, 10, true, 2},
      {"negative", -1, 0, -1, -5, -1, 0, 1, 0, false, 1, false, 1},
  };
  for (const auto& c : cases) {
    doc::Worksheet ws = NewSheet();
    ws.setLineColourMode(c.colourMode);
    ws.setLineWidth(c.lineWidth);
    ws.setLabelAngleIndex(c.angle);
    ws.setStationNumbering(c.numbering);
    ws.setStationMark(c.mark);
    const LegDisplayOptions o = LoadLegDisplayOptions(ws);
    EXPECT_EQ(
        Nums(o.lineColourMode, o.lineWidth, o.labelAngleIndex, o.numbering, o.numberingKind, o.stationMark,
             o.stationMarkKind),
        Nums(c.colourModeShown, c.lineWidthShown, c.angleShown, c.numberingOn, c.kindShown, c.markOn, c.markShown))
        << c.name;
  }
}

TEST(LegDisplayDialogTest, StandardColourBoxesShowTheStoredFlagsTheRightWayRound) {
  doc::Worksheet ws = NewSheet();  // points in leg colour, cross sections in standard colour
  LegDisplayOptions o = LoadLegDisplayOptions(ws);
  EXPECT_FALSE(o.pointsInStandardColour);
  EXPECT_TRUE(o.crossSectionsInStandardColour);

  o.pointsInStandardColour = true;
  o.crossSectionsInStandardColour = false;
  ASSERT_FALSE(ApplyLegDisplayOptions(o, ws).fault);
  EXPECT_EQ(ws.pointsInLegColour(), 0);
  EXPECT_EQ(ws.crossSectionsInStandardColour(), 0);
}

TEST(LegDisplayDialogTest, RangeFieldsOnlyForFalseColourModesWithManualRange) {
  LegDisplayOptions o;
  for (int mode = 0; mode < 13; ++mode) {
    o.lineColourMode = mode;
    const bool falseColours = mode >= 1 && mode <= 4;  // depth, path, date, cross section
    o.manualRange = false;
    EXPECT_EQ(IsManualRangeEnabled(o), falseColours) << mode;
    EXPECT_FALSE(IsRangeEnabled(o)) << mode;
    o.manualRange = true;
    EXPECT_EQ(IsRangeEnabled(o), falseColours) << mode;
  }
}

TEST(LegDisplayDialogTest, TypedRangeLimits) {
  const double keep = std::numeric_limits<double>::quiet_NaN();  // refused: the stored value stays
  const struct {
    const char* max;
    const char* min;
    double storedMax, storedMin;
    bool refused;
    LegDisplayField field;
  } cases[] = {
      {"12,5", "-3.25", 12.5, -3.25, false, {}},
      {" 100 ", "-0,5", 100, -0.5, false, {}},
      {"1e3", "0", 1000, 0, false, {}},
      {"", "0", keep, keep, true, LegDisplayField::RangeMax},
      {"abc", "0", keep, keep, true, LegDisplayField::RangeMax},
      {"5", "1,2,3", keep, keep, true, LegDisplayField::RangeMin},
      {"5", "1e999", keep, keep, true, LegDisplayField::RangeMin},
      {"inf", "0", keep, keep, true, LegDisplayField::RangeMax},
      {"nan", "0", keep, keep, true, LegDisplayField::RangeMax},
  };
  for (const auto& c : cases) {
    doc::Worksheet ws = NewSheet();
    ws.setColourRangeMax(7);
    ws.setColourRangeMin(-7);
    LegDisplayOptions o = LoadLegDisplayOptions(ws);
    o.manualRange = true;
    o.rangeMax = c.max;
    o.rangeMin = c.min;
    const doc::Worksheet::Image before = ws.image;
    const LegDisplayApplied applied = ApplyLegDisplayOptions(o, ws);
    EXPECT_EQ(applied.fault.has_value(), c.refused) << c.max << " " << c.min;
    if (c.refused) {
      EXPECT_EQ(applied.fault->field, c.field) << c.max << " " << c.min;
      EXPECT_EQ(applied.fault->message, "Bitte geben Sie eine Zahl ein.");
      EXPECT_TRUE(ws.image == before) << "a refused dialog stores nothing";
      EXPECT_FALSE(applied.change.modified);
    } else {
      EXPECT_EQ(ws.colourRangeMax(), c.storedMax) << c.max;
      EXPECT_EQ(ws.colourRangeMin(), c.storedMin) << c.min;
      EXPECT_EQ(ws.manualColourRange(), 1);
    }
  }
}

// OK on an untouched dialog stores nothing, though the range is shown rounded.
TEST(LegDisplayDialogTest, UntouchedDialogChangesNothing) {
  doc::Worksheet ws = NewSheet();
  ws.setManualColourRange(1);
  ws.setColourRangeMax(123.456789);
  ws.setColourRangeMin(-0.004);
  const doc::Worksheet::Image before = ws.image;
  const LegDisplayOptions o = LoadLegDisplayOptions(ws);
  EXPECT_EQ(o.rangeMax, "123,46");
  EXPECT_EQ(o.rangeMin, "-0,00");
  const LegDisplayApplied applied = ApplyLegDisplayOptions(o, ws);
  ASSERT_FALSE(applied.fault);
  EXPECT_TRUE(ws.image == before);
  EXPECT_FALSE(applied.change.modified);
}

TEST(LegDisplayDialogTest, StoredRangeThatIsNoNumberMustBeTypedAnew) {
  doc::Worksheet ws = NewSheet();
  ws.setManualColourRange(1);
  ws.setColourRangeMax(std::numeric_limits<double>::quiet_NaN());
  LegDisplayOptions o = LoadLegDisplayOptions(ws);
  const LegDisplayApplied refused = ApplyLegDisplayOptions(o, ws);
  ASSERT_TRUE(refused.fault);
  EXPECT_EQ(refused.fault->field, LegDisplayField::RangeMax);
  o.rangeMax = "40";
  ASSERT_FALSE(ApplyLegDisplayOptions(o, ws).fault);
  EXPECT_EQ(ws.colourRangeMax(), 40);
}

TEST(LegDisplayDialogTest, DisabledRangeIsNeitherCheckedNorStored) {
  const struct {
    int mode;
    bool manual;
  } cases[] = {{0, true}, {5, true}, {1, false}};
  for (const auto& c : cases) {
    doc::Worksheet ws = NewSheet();
    ws.setColourRangeMax(9.999);
    LegDisplayOptions o = LoadLegDisplayOptions(ws);
    o.lineColourMode = c.mode;
    o.manualRange = c.manual;
    o.rangeMax = "kein Wert";
    o.rangeMin = "3";
    const LegDisplayApplied applied = ApplyLegDisplayOptions(o, ws);
    EXPECT_FALSE(applied.fault) << c.mode;
    EXPECT_EQ(ws.colourRangeMax(), 9.999) << c.mode;
    EXPECT_EQ(ws.colourRangeMin(), 0) << c.mode;
    EXPECT_EQ(ws.manualColourRange(), c.manual ? 1 : 0) << c.mode;
  }
}

TEST(LegDisplayDialogTest, StoredChoicesAreLimited) {
  const struct {
    const char* name;
    int lineWidth, colourMode, angle, kind, markKind;
    bool numbering, mark;
    int32_t lineWidthStored, colourModeStored, angleStored;
    int16_t numberingStored, markStored;
  } cases[] = {
      {"in range", 4, 7, 3, 5, 2, true, true, 4, 7, 3, 5, 2},
      {"too small", 0, -2, -1, 0, 0, true, true, 1, 0, 0, 1, 1},
      {"too large", 11, 14, 7, 11, 3, true, true, 10, 13, 6, 10, 2},
      {"boxes off", 10, 12, 6, 4, 2, false, false, 10, 12, 6, 0, 0},
  };
  for (const auto& c : cases) {
    doc::Worksheet ws = NewSheet();
    LegDisplayOptions o = LoadLegDisplayOptions(ws);
    o.lineWidth = c.lineWidth;
    o.lineColourMode = c.colourMode;
    o.labelAngleIndex = c.angle;
    o.numbering = c.numbering;
    o.numberingKind = c.kind;
    o.stationMark = c.mark;
    o.stationMarkKind = c.markKind;
    ASSERT_FALSE(ApplyLegDisplayOptions(o, ws).fault) << c.name;
    EXPECT_EQ(
        Nums(ws.lineWidth(), doc::LineColourModeOf(ws), ws.labelAngleIndex(), ws.stationNumbering(), ws.stationMark()),
        Nums(c.lineWidthStored, c.colourModeStored, c.angleStored, c.numberingStored, c.markStored))
        << c.name;
  }
}

TEST(LegDisplayDialogTest, EveryCheckBoxReachesItsOwnSetting) {
  using Flag = bool LegDisplayOptions::*;
  const struct {
    Flag flag;
    size_t offset;
    bool wide;  // 32-bit setting
  } cases[] = {
      {&LegDisplayOptions::blackBackground, 1692, true},
      {&LegDisplayOptions::descriptionOverrides, 1618, false},
      {&LegDisplayOptions::crosshair, 2634, true},
      {&LegDisplayOptions::fileSymbol, 2670, true},
      {&LegDisplayOptions::markCoordinateReferences, 2674, true},
      {&LegDisplayOptions::passageMarking, 2834, true},
      {&LegDisplayOptions::auxiliaryLines, 2838, true},
      {&LegDisplayOptions::crossSections, 2842, true},
      {&LegDisplayOptions::crossSectionsInStandardColour, 2846, true},
      {&LegDisplayOptions::manualRange, 1672, true},
  };
  for (const auto& c : cases) {
    doc::Worksheet ws = NewSheet();
    LegDisplayOptions o = LoadLegDisplayOptions(ws);
    const bool was = o.*c.flag;
    o.*c.flag = !was;
    const doc::Worksheet::Image before = ws.image;
    const LegDisplayApplied applied = ApplyLegDisplayOptions(o, ws);
    ASSERT_FALSE(applied.fault) << c.offset;
    const int stored = c.wide ? ws.Get<int32_t>(c.offset) : ws.Get<int16_t>(c.offset);
    EXPECT_EQ(stored, was ? 0 : 1) << c.offset;
    EXPECT_TRUE(applied.change.modified) << c.offset;
    // nothing else changed: restoring this one setting gives the old image
    if (c.wide) ws.Set<int32_t>(c.offset, was ? 1 : 0);
    else ws.Set<int16_t>(c.offset, was ? 1 : 0);
    EXPECT_TRUE(ws.image == before) << c.offset;
  }
}

TEST(LegDisplayDialogTest, ApplyingTwiceChangesOnlyOnceButAlwaysRebuildsPens) {
  doc::Worksheet ws = NewSheet();
  LegDisplayOptions o = LoadLegDisplayOptions(ws);
  o.lineWidth = 3;
  o.lineColourMode = 2;
  const LegDisplayApplied first = ApplyLegDisplayOptions(o, ws);   // "Übernehmen"
  const LegDisplayApplied second = ApplyLegDisplayOptions(o, ws);  // then "OK"
  EXPECT_TRUE(first.change.modified);
  EXPECT_FALSE(second.change.modified);
  EXPECT_TRUE(first.change.pensDirty);
  EXPECT_TRUE(second.change.pensDirty);
  EXPECT_FALSE(first.change.projectionDirty);
}

}  // namespace
}  // namespace hp::draw
