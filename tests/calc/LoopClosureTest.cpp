// Loop closure: misclosures, their distribution in both adjustment modes,
// the report without adjustment, and the rows of the evaluation.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "calc/CalcTestSupport.h"
#include "calc/LoopEvaluation.h"

namespace hp::calc {
namespace {

using platform::Answer;
using platform::ScriptedPrompter;
using namespace test;

TEST(LoopClosure, SpreadsMisclosureOverTheLoopAndEndsOnTheKnownStation) {
  for (const int mode : {1, 2}) {
    SCOPED_TRACE(mode);
    auto store = SquareLoop(mode, {5, 5, 5, 5});
    // An auxiliary line in the loop is no loop leg.
    store->records.insert(store->records.begin() + 4,
                          std::make_unique<doc::SurveyRecord>(MakeLeg("1", "", 3, 45, 0, 5)));
    // A second closure of the closed loop is an ordinary leg.
    doc::SurveyRecord& again = AddLeg(*store, "2", "S", 10, 180, 0, 5);
    ScriptedPrompter prompter;
    const auto results = Compute(*store, prompter);
    ASSERT_EQ(results.size(), 1u);
    const LoopResult& r = results[0];
    EXPECT_EQ(r.kind + r.recordNumber + r.loopNumber + r.legCount + r.length, 0 + 7 + 5 + 4 + 40);
    EXPECT_NEAR(r.dX, 0.3, 1e-9);
    EXPECT_NEAR(r.percent, 0.75, 1e-9);
    for (const size_t n : {3, 4, 6, 7}) EXPECT_NEAR(Rec(*store, n).work.loopCorrection[0], 0.075, 1e-9) << n;
    ExpectAt(Rec(*store, 7), 0.3, 0, 0);
    EXPECT_NEAR(Rec(*store, 7).developed.to.distance, Rec(*store, 2).developed.to.distance, 1e-9)
        << "the section closes as well";
    EXPECT_NEAR(Rec(*store, 4).x, 10.15, 1e-9);
    for (const double c : again.work.loopCorrection) EXPECT_EQ(c, 0);
    EXPECT_NEAR(again.y, Rec(*store, 4).y - 10, 1e-9);
  }
}

TEST(LoopClosure, NegativeRingsTakeTheOppositeShare) {
  const struct {
    int rings[4];
    double signs[4];
    double dX;
  } cases[] = {
      {{-5, -5, 5, 5}, {-1, -1, 1, 1}, 0.3},
      {{5, 5, 5, -5}, {-1, -1, -1, 1}, -0.3},  // the closing record's sign turns the misclosure
  };
  for (const auto& c : cases) {
    auto store = SquareLoop(1, c.rings);
    ScriptedPrompter prompter;
    const auto results = Compute(*store, prompter);
    ASSERT_EQ(results.size(), 1u);
    EXPECT_NEAR(results[0].dX, c.dX, 1e-9);
    for (size_t i = 0; i < 4; ++i) EXPECT_NEAR(Rec(*store, 3 + i).work.loopCorrection[0], c.signs[i] * 0.075, 1e-9);
  }
}

TEST(LoopClosure, VerticalLegsInModeTwoKeepTheirPlumb) {
  const struct {
    int mode;
    std::vector<double> azimuths, inclinations, xCorrections, zCorrections;
  } cases[] = {
      {1, {90, 0, 270, 0}, {0, 90, 0, -90}, {0.075, 0.075, 0.075, 0.075}, {0.05, 0.05, 0.05, 0.05}},
      {2, {90, 0, 270, 0}, {0, 90, 0, -90}, {0.15, 0, 0.15, 0}, {0.05, 0.05, 0.05, 0.05}},
      {2, {0, 0}, {90, -90}, {0.15, 0.15}, {0.1, 0.1}},  // all vertical
  };
  for (const auto& c : cases) {
    auto store = EmptySurvey(c.mode);
    AddReference(*store, "S");
    AddReference(*store, "K", 0.3, 0, 0.2);
    const size_t legs = c.azimuths.size();
    for (size_t i = 0; i < legs; ++i) {
      AddLeg(*store, i == 0 ? "S" : std::to_string(i), i + 1 == legs ? "K" : std::to_string(i + 1), 10, c.azimuths[i],
             c.inclinations[i], 4);
    }
    ScriptedPrompter prompter;
    ASSERT_EQ(Compute(*store, prompter).size(), 1u);
    for (size_t i = 0; i < legs; ++i) {
      const doc::SurveyRecord& leg = Rec(*store, 3 + i);
      EXPECT_NEAR(leg.work.loopCorrection[0], c.xCorrections[i], 1e-9) << c.mode << " " << i;
      EXPECT_NEAR(leg.work.loopCorrection[2], c.zCorrections[i], 1e-9) << c.mode << " " << i;
    }
    ExpectAt(*store->records.back(), 0.3, 0, 0.2);
  }
}

TEST(LoopClosure, LoopFromVariableReferenceMovesTheReference) {
  auto store = EmptySurvey(1);
  AddReference(*store, "S");
  AddLeg(*store, "S", "A", 10, 90);
  AddReference(*store, "V", 0, 20, 0, 7);
  AddLeg(*store, "V", "1", 10, 90, 0, 7);
  AddLeg(*store, "1", "A", 19.7, 180, 0, 7);
  ScriptedPrompter prompter;
  const auto results = Compute(*store, prompter);
  ASSERT_EQ(results.size(), 1u);
  EXPECT_EQ(results[0].kind, 3);
  EXPECT_EQ(results[0].legCount + results[0].length + results[0].percent, 0);
  EXPECT_NEAR(results[0].misclosure, 0.3, 1e-9);
  EXPECT_NEAR(Rec(*store, 3).refY, 19.7, 1e-9);
  ExpectAt(Rec(*store, 5), 10, 0, 0);
}

// An auxiliary line with the ring number of a loop of shafts must not take a
// share divided by the loop's zero horizontal length.
TEST(LoopClosure, AuxiliaryLineInALoopOfShaftsGetsNoHorizontalShare) {
  auto store = EmptySurvey(2);
  AddReference(*store, "S");
  AddLeg(*store, "S", "1", 10, 0, -90, 7);
  AddLeg(*store, "1", "", 3, 90, 0, 7);
  AddLeg(*store, "1", "S", 9.7, 0, 90, 7);
  ScriptedPrompter prompter;
  ASSERT_EQ(Compute(*store, prompter).size(), 1u);
  EXPECT_EQ(Rec(*store, 3).work.loopCorrection[0], 0);
  EXPECT_NEAR(Rec(*store, 4).z, 0, 1e-9);
}

TEST(LoopClosure, ModeZeroOnlyReports) {
  auto store = SquareLoop(0, {5, 5, 5, 5});
  store->settings.computedCurrent = 0;  // computes first, then collects
  ScriptedPrompter prompter;
  const auto rows = EvaluateLoops(*store, prompter);
  ASSERT_TRUE(rows.has_value());
  ASSERT_EQ(rows->size(), 1u);
  EXPECT_EQ(rows->front().kind, 2);
  const std::string expected[9] = {" 5", "1/1/3 - 1/1/K", "0", "0,00", "0,00%", "0,30", "0,30", "0,00", "0,00"};
  for (int i = 0; i < 9; ++i) EXPECT_EQ(rows->front().cells[i], expected[i]) << i;
  for (const auto& record : store->records) EXPECT_EQ(record->work.loopCorrection[0], 0);
  EXPECT_NEAR(Rec(*store, 6).x, 0, 1e-9) << "nothing corrected";
}

TEST(LoopEvaluation, RowsAreRoundedToHundredthsWithDecimalComma) {
  LoopResult r;
  r.loopNumber = -15, r.legCount = 7, r.length = 123.456, r.percent = 0.125;
  r.misclosure = 1.005;  // just below 1.005 in binary
  r.dX = -0.004, r.dY = -0.006, r.dZ = 2.5;
  r.refCave = 3, r.refPassage = 12, r.cave = 3, r.passage = 13;
  base::SetText(r.refPoint, "12a");
  base::SetText(r.point, "1");
  const LoopRow row = MakeLoopRow(r, 1.0);
  const std::string expected[9] = {" 15", "3/12/12a - 3/13/1", "7", "123,46", "0,13%", "1,00", "0,00", "-0,01", "2,50"};
  for (int i = 0; i < 9; ++i) EXPECT_EQ(row.cells[i], expected[i]) << i;
  EXPECT_TRUE(row.withinTolerance) << "shown as 1,00, the tolerance itself";
  EXPECT_FALSE(MakeLoopRow(r, 0.5).withinTolerance);
}

TEST(LoopEvaluation, MisclosureAgainstTheLengthSearchTolerance) {
  struct Case {
    const char* name;
    double misclosure, tolerance;
    bool within;
  } cases[] = {
      {"well closed", 0.3, 1.0, true},
      {"exactly the tolerance", 1.0, 1.0, true},
      {"rounds down to the tolerance", 1.004, 1.0, true},
      {"rounds up beyond it", 1.006, 1.0, false},
      {"16 % of a 50 m loop", 8.0, 1.0, false},
      {"18 % of a 20 m loop", 3.6, 1.0, false},
      {"decimal tolerance", 0.1, 0.1, true},
      {"beyond a decimal tolerance", 0.11, 0.1, false},
      {"tolerance 0, closed exactly", 0.004, 0.0, true},
      {"tolerance 0, open", 0.01, 0.0, false},
  };
  for (const Case& c : cases) EXPECT_EQ(LoopWithinTolerance(c.misclosure, c.tolerance), c.within) << c.name;
}

TEST(LoopEvaluation, NothingAfterAMessageInTheFirstPass) {
  auto store = SquareLoop(1, {5, 5, 5, 5});
  AddLeg(*store, "X", "Y", 10, 0);
  store->settings.computedCurrent = 0;
  ScriptedPrompter prompter(Answer::No);
  EXPECT_FALSE(EvaluateLoops(*store, prompter).has_value());
  EXPECT_EQ(prompter.Entries().size(), 1u);
}

}  // namespace
}  // namespace hp::calc
