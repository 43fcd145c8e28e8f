// The compute pass on small surveys: the head reference, propagation, the
// two compute messages with each answer, connections, repeated references,
// junctions, cross-section limits and the check before saving.
#include <gtest/gtest.h>

#include <cmath>

#include "calc/ComputePass.h"
#include "calc/CalcTestSupport.h"

namespace hp::calc {
namespace {

using platform::Answer;
using platform::ScriptedPrompter;
using test::AddLeg;
using test::AddReference;
using test::EmptySurvey;
using test::Rec;

enum { kStartAz, kStartEl, kEndAz, kEndEl, kLegAz, kLegEl, kHalfSize };

void ExpectAt(const doc::SurveyRecord& r, double x, double y, double z) {
  EXPECT_NEAR(r.x, x, 1e-9);
  EXPECT_NEAR(r.y, y, 1e-9);
  EXPECT_NEAR(r.z, z, 1e-9);
}

TEST(ComputePass, InsertsHeadReferenceBeforeALeadingLeg) {
  auto store = EmptySurvey();
  doc::SurveyRecord& leg = AddLeg(*store, "1", "2", 10, 90);
  leg.instrument = 3;
  leg.left = 2;
  base::SetText(leg.description, "Eingang");
  store->settings.currentRecordNumber = 1;
  ScriptedPrompter prompter;
  const ComputeOutcome outcome = RunComputeCommand(*store, prompter);
  ASSERT_EQ(store->records.size(), 2u);
  EXPECT_EQ(store->settings.recordCount, 2u);
  EXPECT_EQ(store->settings.currentRecordNumber, 2u) << "still designates the leg";
  EXPECT_EQ(outcome.recordNumber, 2);
  const doc::SurveyRecord& head = Rec(*store, 1);
  EXPECT_TRUE(doc::IsSelfReference(head));
  EXPECT_EQ(base::TextOf(head.point), "1");
  EXPECT_EQ(base::TextOf(head.remark), "Koordinatenreferenz");
  EXPECT_EQ(base::TextOf(head.description), "");
  EXPECT_EQ(head.instrument, 3) << "other fields stay as copied";
  EXPECT_EQ(head.length + head.direction + head.left, 0);
  ExpectAt(head, 0, 0, 0);
  ExpectAt(Rec(*store, 2), 10, 0, 0);
  EXPECT_EQ(store->settings.computedCurrent, 1);
}

TEST(ComputePass, LegAddsItsVectorPathAndSectionDistance) {
  auto store = EmptySurvey();
  AddReference(*store, "S", 100, 200, 300);
  AddLeg(*store, "S", "A", 5, 0);
  doc::SurveyRecord& b = AddLeg(*store, "A", "B", 10, 90);
  b.direction = -1;
  ScriptedPrompter prompter;
  RunComputeCommand(*store, prompter);

  ExpectAt(b, 110, 205, 300);
  EXPECT_NEAR(b.refY, 205, 1e-9);
  EXPECT_NEAR(b.pathLength, 15, 1e-9);
  EXPECT_NEAR(b.calcA[0], 5, 1e-9) << "section starts where A's ends";
  EXPECT_NEAR(b.calcA[3], 5 - 10, 1e-9) << "10 * direction";
  EXPECT_NEAR(b.calcA[4], 300, 1e-9);
  EXPECT_EQ(b.work.vertical, 0);
}

// 1 S, 2 S->B, 3 X->A (X defined only by record 4), 4 S->X.
std::unique_ptr<doc::SurveyStore> UndefinedReferenceSurvey() {
  auto store = EmptySurvey();
  AddReference(*store, "S");
  AddLeg(*store, "S", "B", 5, 0);
  AddLeg(*store, "X", "A", 10, 90);
  doc::SurveyRecord& later = AddLeg(*store, "S", "X", 3, 0);
  later.x = 77;
  store->settings.currentRecordNumber = 2;
  return store;
}

TEST(ComputePass, UndefinedReferenceAsksWhatToDo) {
  const struct {
    Answer answer;
    bool loadRecord, aborted, laterComputed;
    int current;
  } cases[] = {
      {Answer::No, false, false, true, 2},
      {Answer::Yes, true, false, false, 3},
      {Answer::Cancel, false, true, false, 2},
  };
  for (const auto& c : cases) {
    auto store = UndefinedReferenceSurvey();
    ScriptedPrompter prompter;
    prompter.Script({c.answer});
    const ComputeOutcome outcome = RunComputeCommand(*store, prompter);

    ASSERT_EQ(prompter.Entries().size(), 1u);
    EXPECT_EQ(prompter.Entries()[0].kind, ScriptedPrompter::Kind::YesNoCancel);
    EXPECT_EQ(prompter.Entries()[0].icon, platform::Icon::Exclamation);
    EXPECT_EQ(prompter.Texts()[0],
              "Fehler beim Berechnen von Datensatz 3.\nReferenzpunkt 1/1/X nicht definiert.\nDatensatz laden?");
    EXPECT_EQ(outcome.loadRecord, c.loadRecord);
    EXPECT_EQ(outcome.aborted, c.aborted);
    EXPECT_EQ(store->settings.currentRecordNumber, static_cast<uint32_t>(c.current));
    if (c.loadRecord) {
      EXPECT_EQ(outcome.recordNumber, 3);
    }
    EXPECT_EQ(store->settings.computedCurrent, 0);
    ExpectAt(Rec(*store, 2), 0, 5, 0);  // computed before the message
    if (c.laterComputed) {
      ExpectAt(Rec(*store, 3), 10, 0, 0);  // from the origin
      ExpectAt(Rec(*store, 4), 0, 3, 0);
    } else {
      EXPECT_EQ(Rec(*store, 4).x, 77);
    }
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

  ASSERT_EQ(prompter.Texts().size(), 1u) << "no second message for the reference";
  EXPECT_EQ(prompter.Texts()[0],
            "Fehler beim Berechnen von Datensatz 3.\nMesszug 1/1/S - 1/1/A ist bereits in Datensatz 2 "
            "definiert.\nDatensatz laden?");
  ExpectAt(twice, 11, 1, 1);
  EXPECT_EQ(twice.refX, 1);
  EXPECT_EQ(twice.length, 7);
  EXPECT_EQ(twice.pathLength, 123);
  EXPECT_EQ(store->settings.computedCurrent, 0);
}

TEST(ComputePass, ConnectionTakesBothKnownStationsAndKeepsItsMeasurements) {
  auto store = EmptySurvey();
  AddReference(*store, "S");
  AddLeg(*store, "S", "A", 10, 90);
  AddLeg(*store, "S", "B", 5, 0);
  doc::SurveyRecord& connection = AddLeg(*store, "A", "B", 99, 45, 10);
  connection.pathLength = 123;
  ScriptedPrompter prompter;
  RunComputeCommand(*store, prompter);

  EXPECT_NEAR(connection.refX, 10, 1e-9);
  ExpectAt(connection, 0, 5, 0);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(connection.calcA[i], Rec(*store, 2).calcA[3 + i]);
    EXPECT_EQ(connection.calcA[3 + i], Rec(*store, 3).calcA[3 + i]);
  }
  EXPECT_EQ(connection.length, 99);
  EXPECT_EQ(connection.azimuth, 45);
  EXPECT_EQ(connection.pathLength, 123);
  EXPECT_EQ(store->settings.computedCurrent, 1) << "no message";
}

TEST(ComputePass, RepeatedReferenceTakesTheLastEarlierDefinition) {
  auto store = EmptySurvey(0);
  AddReference(*store, "S");
  AddLeg(*store, "S", "A", 10, 90);
  AddLeg(*store, "S", "B", 10, 0);
  AddLeg(*store, "B", "A", 10, 90, 0, 9);  // closes a loop but is not adjusted
  AddReference(*store, "A", 500, 500, 500);
  doc::SurveyRecord& on = AddLeg(*store, "A", "C", 1, 0);
  ScriptedPrompter prompter;
  RunComputeCommand(*store, prompter);

  ExpectAt(Rec(*store, 2), 10, 0, 0);
  ExpectAt(Rec(*store, 4), 10, 10, 0);
  ExpectAt(Rec(*store, 5), 10, 10, 0);
  EXPECT_EQ(Rec(*store, 5).refX, Rec(*store, 5).x);
  ExpectAt(on, 10, 1, 0);  // legs still start from the first definition
}

TEST(ComputePass, LegacyFlagSetsReferenceLengthAndClearsOnlyAfterCleanPass) {
  auto store = EmptySurvey();
  AddReference(*store, "S", 3, 4, 7).direction = -1;  // no earlier definition: keeps its coordinates
  AddLeg(*store, "X", "A", 1, 0);
  store->legacyConversion = true;
  ScriptedPrompter prompter;
  prompter.Script({Answer::No});
  RunComputeCommand(*store, prompter);
  const doc::SurveyRecord& s = Rec(*store, 1);
  ExpectAt(s, 3, 4, 7);
  EXPECT_EQ(s.length, 5);
  const double section[6] = {-5, 7, 0, -5, 7, 0};  // length and direction place it in the section
  for (int i = 0; i < 6; ++i) EXPECT_EQ(s.calcA[i], section[i]) << i;
  EXPECT_TRUE(store->legacyConversion) << "a message was shown";
  EXPECT_EQ(store->settings.computedCurrent, 0);

  base::SetText(Rec(*store, 2).refPoint, "S");
  RunComputeCommand(*store, prompter);
  EXPECT_FALSE(store->legacyConversion);
  EXPECT_EQ(store->settings.computedCurrent, 1);
}

TEST(ComputePass, OnlyTheFirstBranchFormsAJunction) {
  auto store = EmptySurvey();
  AddReference(*store, "S");
  doc::SurveyRecord& a = AddLeg(*store, "S", "A", 10, 0);
  doc::SurveyRecord& b = AddLeg(*store, "A", "B", 10, 90);
  doc::SurveyRecord& c = AddLeg(*store, "A", "C", 10, 270);
  ScriptedPrompter prompter;
  RunComputeCommand(*store, prompter);

  EXPECT_EQ(a.work.successor, 1);
  EXPECT_EQ(b.work.successor, 0);
  EXPECT_NEAR(a.calcC[kEndAz], 45, 1e-6);
  EXPECT_NEAR(b.calcC[kStartAz], 45, 1e-6);
  EXPECT_NEAR(b.calcC[kEndAz], 90, 1e-6);
  EXPECT_EQ(a.drawFlags[1], 0);
  EXPECT_EQ(b.drawFlags[0], 0);
  EXPECT_NEAR(c.calcC[kStartAz], 270, 1e-6);
  EXPECT_NEAR(c.calcC[kEndAz], 270, 1e-6);
  EXPECT_EQ(c.drawFlags[0], 1);
  EXPECT_EQ(c.drawFlags[1], 1);
}

TEST(ComputePass, TurnBeyondTheAcuteLimitUsesTheBisector) {
  const struct {
    double turn, acuteLimit;
    int flag;
    double bisector;
  } cases[] = {
      {170, 45, 1, 355}, {140, 45, 1, 340}, {130, 45, 0, 65}, {90, 45, 0, 45}, {170, 5, 0, 85}, {190, 45, 1, 5},
  };
  for (const auto& c : cases) {
    auto store = EmptySurvey();
    store->settings.crossSectionAcuteLimit = c.acuteLimit;
    AddReference(*store, "S");
    doc::SurveyRecord& p = AddLeg(*store, "S", "A", 10, 0);
    doc::SurveyRecord& r = AddLeg(*store, "A", "B", 10, c.turn);
    r.left = r.right = 2;
    ScriptedPrompter prompter;
    RunComputeCommand(*store, prompter);
    EXPECT_EQ(r.calcFlag, c.flag) << c.turn;
    EXPECT_NEAR(r.calcC[kStartAz], c.bisector, 1e-6) << c.turn;
    EXPECT_NEAR(p.calcC[kEndAz], c.bisector, 1e-6) << c.turn;
    EXPECT_EQ(r.drawFlags[0], c.flag == 1 ? 1 : 0) << "an acute turn keeps its start cap";
    EXPECT_EQ(p.drawFlags[1], 0);
    EXPECT_EQ(r.calcC[kHalfSize], 1) << "(2 + 2 + 0 + 0) / 4";
  }
}

TEST(ComputePass, SteepLegsTiltTheirCrossSection) {
  const struct {
    bool branch;  // a second branch gets a single-station section
    double inclination, direction, startEl, endEl, scale;
  } cases[] = {
      {true, 20, 1, 0, 0, 0},  {true, 40, -1, 40, 40, -40}, {true, -40, 1, -40, -40, -40},
      {false, 20, 1, 0, 0, 0}, {false, 40, 1, 0, 40, NAN},   {false, 80, 1, 40, 80, 80},
  };
  for (const auto& c : cases) {
    auto store = EmptySurvey();
    AddReference(*store, "S");
    AddLeg(*store, "S", "A", 10, 0);
    if (c.branch) AddLeg(*store, "A", "X", 10, 0);
    doc::SurveyRecord& r = AddLeg(*store, "A", "B", 10, 90, c.inclination);
    r.direction = c.direction;
    r.up = 3;
    ScriptedPrompter prompter;
    RunComputeCommand(*store, prompter);
    SCOPED_TRACE(testing::Message() << c.branch << " " << c.inclination);
    EXPECT_NEAR(r.calcC[kStartEl], c.startEl, 1e-6);
    EXPECT_NEAR(r.calcC[kEndEl], c.endEl, 1e-6);
    if (!std::isnan(c.scale)) {
      EXPECT_NEAR(r.calcScale, c.scale, 1e-6);
    }
    // The upper wall point is perpendicular to the end orientation.
    const double b = c.endEl * kDegreeFactor;
    EXPECT_NEAR(r.altCoords[8], r.z + 3 * std::cos(b), 1e-6);
    EXPECT_NEAR(r.altCoords[6], r.x - 3 * std::sin(b), 1e-6);
  }
}

TEST(ComputePass, AuxiliaryPointAndAuxiliaryLine) {
  auto store = EmptySurvey();
  AddReference(*store, "S", 1, 2, 3);
  doc::SurveyRecord& point = AddLeg(*store, "S", "P", 0, 45);
  doc::SurveyRecord& line1 = AddLeg(*store, "S", "", 4, 90);
  doc::SurveyRecord& line2 = AddLeg(*store, "S", "", 6, 180);
  ScriptedPrompter prompter;
  RunComputeCommand(*store, prompter);

  EXPECT_TRUE(prompter.Entries().empty()) << "an auxiliary line is never a known end";
  ExpectAt(point, 1, 2, 3);
  EXPECT_EQ(point.work.vertical, 1);
  ExpectAt(line1, 5, 2, 3);
  ExpectAt(line2, 1, -4, 3);
}

TEST(ComputePass, SingleRecordShowsNoMessageAndTouchesNothingElse) {
  auto store = UndefinedReferenceSurvey();
  ScriptedPrompter prompter;
  Computation computation(*store, prompter);
  EXPECT_EQ(computation.ComputeRecords(3, false), 0);
  EXPECT_TRUE(prompter.Entries().empty());
  EXPECT_FALSE(computation.computed);
  ExpectAt(Rec(*store, 3), 10, 0, 0);
  EXPECT_EQ(Rec(*store, 2).x, 0);
  EXPECT_EQ(Rec(*store, 2).y, 0) << "not computed";
  EXPECT_EQ(Rec(*store, 4).x, 77);
}

// 1 S, 2 S->A, 3 S->B; the edited record is saved as number 4.
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
  for (const auto& c : cases) {
    doc::SurveyRecord edited = test::MakeLeg(c.from, c.to);
    ScriptedPrompter prompter;
    prompter.Script({c.answer});
    EXPECT_EQ(CheckRecordBeforeSave(*store, edited, c.number, prompter), c.accepted) << c.from << c.to << c.number;
    if (c.message.empty()) {
      EXPECT_TRUE(prompter.Entries().empty());
    } else {
      ASSERT_EQ(prompter.Entries().size(), 1u);
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
  doc::SurveyRecord edited = test::MakeLeg("S", "S");
  ScriptedPrompter prompter;
  EXPECT_TRUE(CheckRecordBeforeSave(*store, edited, 4, prompter));
  EXPECT_TRUE(prompter.Entries().empty());
  ExpectAt(edited, 4, 5, 6);
  EXPECT_EQ(edited.refZ, 6);
}

}  // namespace
}  // namespace hp::calc
