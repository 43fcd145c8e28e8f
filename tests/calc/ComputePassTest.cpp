// The compute pass on small surveys: head reference, the two compute
// messages with each answer, cross sections and the check before saving.
#include <gtest/gtest.h>

#include <array>
#include <cmath>

#include "calc/CalcTestSupport.h"
#include "doc/RecordCodec.h"

namespace hp::calc {
namespace {

using platform::Answer;
using platform::ScriptedPrompter;
using namespace test;

TEST(ComputePass, InsertsHeadReferenceBeforeALeadingLegOnly) {
  auto store = EmptySurvey();
  doc::SurveyRecord& leg = AddLeg(*store, "1", "2", 10, 90);
  leg.instrument = 3, leg.left = 2;
  base::SetText(leg.description, "Eingang");
  store->settings.currentRecordNumber = 1;
  ScriptedPrompter prompter;
  EXPECT_EQ(RunComputeCommand(*store, prompter).recordNumber, 2);
  ASSERT_EQ(store->settings.recordCount, 2u);
  EXPECT_EQ(store->settings.currentRecordNumber, 2u) << "still designates the leg";
  const doc::SurveyRecord& head = Rec(*store, 1);
  EXPECT_TRUE(doc::IsSelfReference(head));
  EXPECT_EQ(base::TextOf(head.point), "1");
  EXPECT_EQ(base::TextOf(head.remark), "Koordinatenreferenz");
  EXPECT_EQ(base::TextOf(head.description), "");
  EXPECT_EQ(head.instrument, 3);
  EXPECT_EQ(head.length + head.left, 0);
  ExpectAt(head, 0, 0, 0);
  ExpectAt(Rec(*store, 2), 10, 0, 0);
  EXPECT_EQ(store->settings.computedCurrent, 1);

  // A leading record without reference station gets none, however often it is computed.
  auto bare = EmptySurvey();
  AddLeg(*bare, "", "2", 10, 90);
  ScriptedPrompter answers(Answer::No);
  RunComputeCommand(*bare, answers);
  RunComputeCommand(*bare, answers);
  EXPECT_EQ(bare->records.size(), 1u);
}

// A new document's one record names no station: it computes without a
// message and keeps its bytes, alone and with a survey added below it.
TEST(ComputePass, RecordWithoutStationNamesIsLeftAsItStands) {
  for (const bool withSurvey : {false, true}) {
    SCOPED_TRACE(withSurvey);
    doc::SurveyStore store;
    store.SetDefaults();
    if (withSurvey) {
      AddReference(store, "S");
      AddLeg(store, "S", "1", 10, 90);
    }
    std::array<uint8_t, doc::kRecordImageSize> before{}, after{};
    doc::EncodeRecord(*store.records.front(), before);
    ScriptedPrompter prompter(Answer::Yes);
    const ComputeOutcome outcome = RunComputeCommand(store, prompter);
    EXPECT_TRUE(prompter.Texts().empty());
    EXPECT_FALSE(outcome.loadRecord);
    EXPECT_EQ(store.settings.computedCurrent, 1);
    ASSERT_EQ(store.records.size(), withSurvey ? 3u : 1u);
    doc::EncodeRecord(*store.records.front(), after);
    EXPECT_EQ(before, after);
    if (withSurvey) ExpectAt(Rec(store, 3), 10, 0, 0);
  }
}

// 1 S, 2 S->B, 3 X->A (X defined only by record 4), 4 S->X.
std::unique_ptr<doc::SurveyStore> UndefinedReferenceSurvey() {
  auto store = EmptySurvey();
  AddReference(*store, "S");
  AddLeg(*store, "S", "B", 5, 0);
  AddLeg(*store, "X", "A", 10, 90);
  AddLeg(*store, "S", "X", 3, 0).x = 77;
  store->settings.currentRecordNumber = 2;
  return store;
}

TEST(ComputePass, UndefinedReferenceAsksWhatToDo) {
  const struct {
    Answer answer;
    bool loadRecord, aborted, laterComputed;
    uint32_t current;
  } cases[] = {{Answer::No, false, false, true, 2},
               {Answer::Yes, true, false, false, 3},
               {Answer::Cancel, false, true, false, 2}};
  for (const auto& c : cases) {
    auto store = UndefinedReferenceSurvey();
    ScriptedPrompter prompter;
    prompter.Script({c.answer});
    const ComputeOutcome outcome = RunComputeCommand(*store, prompter);
    ASSERT_EQ(prompter.Entries().size(), 1u);
    EXPECT_EQ(prompter.Entries()[0].kind, ScriptedPrompter::Kind::YesNoCancel);
    EXPECT_EQ(prompter.Texts()[0],
              "Fehler beim Berechnen von Datensatz 3.\nReferenzpunkt 1/1/X nicht definiert.\nDatensatz laden?");
    EXPECT_EQ(outcome.loadRecord, c.loadRecord);
    EXPECT_EQ(outcome.aborted, c.aborted);
    EXPECT_EQ(store->settings.currentRecordNumber, c.current);
    EXPECT_EQ(store->settings.computedCurrent, 0);
    ExpectAt(Rec(*store, 2), 0, 5, 0);                        // computed before the message
    if (c.laterComputed) ExpectAt(Rec(*store, 3), 10, 0, 0);  // from the origin
    EXPECT_EQ(Rec(*store, 4).x, c.laterComputed ? 0 : 77);
  }
}

TEST(ComputePass, SameLegTwiceBecomesAConnectionOnNo) {
  auto store = EmptySurvey();
  AddReference(*store, "S", 1, 1, 1);
  AddLeg(*store, "S", "A", 10, 90);
  doc::SurveyRecord& twice = AddLeg(*store, "S", "A", 7, 0);
  twice.pathLength = 123;
  ScriptedPrompter prompter;
  prompter.Script({Answer::No});
  RunComputeCommand(*store, prompter);
  ASSERT_EQ(prompter.Texts().size(), 1u);
  EXPECT_EQ(prompter.Texts()[0],
            "Fehler beim Berechnen von Datensatz 3.\nMesszug 1/1/S - 1/1/A ist bereits in Datensatz 2 "
            "definiert.\nDatensatz laden?");
  ExpectAt(twice, 11, 1, 1);
  EXPECT_EQ(twice.pathLength, 123);
  EXPECT_EQ(store->settings.computedCurrent, 0);
}

TEST(ComputePass, LegacyFlagSetsReferenceLengthAndClearsOnlyAfterCleanPass) {
  auto store = EmptySurvey();
  AddReference(*store, "S", 3, 4, 7).direction = -1;
  AddLeg(*store, "X", "A", 1, 0);
  store->legacyConversion = true;
  ScriptedPrompter prompter(Answer::No);
  RunComputeCommand(*store, prompter);
  EXPECT_EQ(Rec(*store, 1).length, 5);
  EXPECT_EQ(Rec(*store, 1).developed.to.distance, -5) << "length and direction place it in the section";
  EXPECT_TRUE(store->legacyConversion) << "a message was shown";
  base::SetText(Rec(*store, 2).refPoint, "S");
  RunComputeCommand(*store, prompter);
  EXPECT_FALSE(store->legacyConversion);
}

// S, S->A north, a branch A->X if asked, then A->B after a pass.
doc::SurveyRecord& Section(doc::SurveyStore& store, double azimuth, double inclination, bool branch, double direction) {
  AddReference(store, "S");
  AddLeg(store, "S", "A", 10, 0);
  if (branch) AddLeg(store, "A", "X", 10, 0);
  doc::SurveyRecord& r = AddLeg(store, "A", "B", 10, azimuth, inclination);
  r.left = r.right = 2, r.up = 3, r.direction = direction;
  ScriptedPrompter prompter;
  RunComputeCommand(store, prompter);
  return r;
}

TEST(ComputePass, TurnBeyondTheAcuteLimitUsesTheBisector) {
  const struct {
    double turn, acuteLimit;
    int flag;
    double bisector;
  } cases[] = {{140, 45, 1, 340}, {130, 45, 0, 65}, {170, 5, 0, 85}, {190, 45, 1, 5}};
  for (const auto& c : cases) {
    auto store = EmptySurvey();
    store->settings.crossSectionAcuteLimit = c.acuteLimit;
    const doc::SurveyRecord& r = Section(*store, c.turn, 0, false, 1);
    EXPECT_EQ(r.crossSection.acuteJunction, c.flag) << c.turn;
    EXPECT_NEAR(r.crossSection.start.azimuth, c.bisector, 1e-6) << c.turn;
    EXPECT_NEAR(Rec(*store, 2).crossSection.end.azimuth, c.bisector, 1e-6) << c.turn;
    EXPECT_EQ(r.drawFlags[0], c.flag) << "an acute turn keeps its start cap";
    EXPECT_EQ(r.crossSection.halfSize, 1.75) << "(2 + 2 + 3 + 0) / 4";
  }
}

TEST(ComputePass, SteepLegsTiltTheirCrossSection) {
  const struct {
    bool branch;  // a second branch gets a single-station section
    double inclination, direction, startEl, endEl, scale;
    // clang-format off
  } cases[] = {
      {true, 20, 1, 0, 0, 0}, {true, 40, -1, 40, 40, -40}, {false, 40, 1, 0, 40, NAN}, {false, 80, 1, 40, 80, 80}};
  for (const auto& c : cases) {
    auto store = EmptySurvey();
    const doc::SurveyRecord& r = Section(*store, 90, c.inclination, c.branch, c.direction);
    SCOPED_TRACE(testing::Message() << c.branch << " " << c.inclination);
    EXPECT_NEAR(r.crossSection.start.elevation, c.startEl, 1e-6);
    EXPECT_NEAR(r.crossSection.end.elevation, c.endEl, 1e-6);
    if (!std::isnan(c.scale)) {
      EXPECT_NEAR(r.crossSection.developedElevation, c.scale, 1e-6);
    }
    const double b = c.endEl * kDegreeFactor;  // upper wall point perpendicular to the end
    EXPECT_NEAR(r.altCoords[8], r.z + 3 * std::cos(b), 1e-6);
    EXPECT_NEAR(r.altCoords[6], r.x - 3 * std::sin(b), 1e-6);
  }
}

TEST(ComputePass, SingleRecordShowsNoMessageAndTouchesNothingElse) {
  auto store = UndefinedReferenceSurvey();
  ScriptedPrompter prompter;
  Computation computation(*store, prompter);
  EXPECT_EQ(computation.ComputeRecords(3, false), 0);
  EXPECT_TRUE(prompter.Entries().empty());
  ExpectAt(Rec(*store, 3), 10, 0, 0);
  EXPECT_EQ(Rec(*store, 2).y + Rec(*store, 4).x, 0 + 77) << "not computed";
}

// 1 S, 2 S->A, 3 S->B; the edited record is saved as `number`.
TEST(CheckRecordBeforeSave, AsksAboutDoubleLegsAndUndefinedReferences) {
  auto store = EmptySurvey();
  AddReference(*store, "S", 1, 2, 3);
  AddLeg(*store, "S", "A", 10, 90);
  AddLeg(*store, "S", "B", 5, 0);
  const std::string doubled =
      "Fehler beim Berechnen.\nMesszug 1/1/S - 1/1/A ist bereits in Datensatz 2 definiert.\nDatensatz speichern?";
  const std::string undefined = "Fehler beim Berechnen.\nReferenzpunkt 1/1/Q nicht definiert.\nDatensatz speichern?";
  const struct {
    const char *from, *to;
    int number;
    Answer answer;
    bool accepted;
    std::string message;
  } cases[] = {
      {"S", "A", 4, Answer::Ok, true, doubled},   {"S", "A", 4, Answer::Cancel, false, doubled},
      {"Q", "R", 4, Answer::Ok, true, undefined}, {"Q", "R", 4, Answer::Cancel, false, undefined},
      {"A", "C", 4, Answer::Cancel, true, ""},    {"S", "A", 2, Answer::Cancel, true, ""},
      {"S", "A", 1, Answer::Cancel, false, "Fehler beim Berechnen.\nReferenzpunkt 1/1/S nicht definiert.\n"
                                           "Datensatz speichern?"},
  };
  // clang-format on
  for (const auto& c : cases) {
    doc::SurveyRecord edited = MakeLeg(c.from, c.to);
    ScriptedPrompter prompter;
    prompter.Script({c.answer});
    EXPECT_EQ(CheckRecordBeforeSave(*store, edited, c.number, prompter), c.accepted) << c.from << c.to << c.number;
    ASSERT_EQ(prompter.Entries().size(), c.message.empty() ? 0u : 1u);
    if (!c.message.empty()) {
      EXPECT_EQ(prompter.Entries()[0].kind, ScriptedPrompter::Kind::OkCancel);
      EXPECT_EQ(prompter.Texts()[0], c.message);
    }
  }
}

TEST(CheckRecordBeforeSave, SelfReferenceTakesTheLastEarlierCoordinates) {
  auto store = EmptySurvey();
  AddReference(*store, "S", 1, 2, 3);
  AddReference(*store, "S", 4, 5, 6);
  AddReference(*store, "T", 7, 8, 9);
  doc::SurveyRecord edited = MakeLeg("S", "S");
  ScriptedPrompter prompter;
  EXPECT_TRUE(CheckRecordBeforeSave(*store, edited, 4, prompter));
  ExpectAt(edited, 4, 5, 6);
}

}  // namespace
}  // namespace hp::calc
