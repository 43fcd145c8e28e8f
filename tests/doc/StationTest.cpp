// Station names and the record kinds that follow from them.
#include <gtest/gtest.h>

#include "base/FixedText.h"
#include "doc/Station.h"
#include "support/Survey.h"

namespace hp::doc {
namespace {

TEST(Station, TextAndComparison) {
  SurveyRecord r;
  r.cave = 12, r.passage = -3;
  base::SetText(r.point, "A17");
  EXPECT_EQ(StationText(StationOf(r)), "12/-3/A17");
  EXPECT_FALSE(SameStation({1, 2, "A"}, {1, 2, "a"}));
  EXPECT_TRUE(SameStation({1, 2, "A"}, {1, 2, "A"}));
  EXPECT_FALSE(SameStation({1, 2, ""}, {1, 2, ""}));
  EXPECT_FALSE(SameStation({1, 2, "A"}, {1, 3, "A"}));
  base::SetText(r.point, "ABCDEFGHIJKLMN");
  EXPECT_EQ(StationOf(r).point, "ABCDEFGHIJKL");  // 12 characters stay, more are cut
}

TEST(Station, RecordKindsInListOrder) {
  const auto store = test::Survey(
      "0 0 5 0 0\n"         // self reference, ring 0
      "0 1 5 0 0\n"         // new station with length
      "1 2\n"               // new station, length 0
      "2 -\n"               // empty point, length 0
      "2 1 5 0 0\n"         // repeated station, ring 0
      "2 0 5 0 0 ring=4\n"  // repeated station, ring 4
      "5 5 5 0 0 ring=3\n"  // self reference, ring 3
      "1 a 5 0 0\n"         // differs from "A" only in case
      "1 1/2/1 5 0 0\n"     // same name, other passage
      "1 2 5 0 0");         // defined first with length 0, repeated now
  const std::vector<RecordKind> expected = {RecordKind::CoordinateReference, RecordKind::SurveyLeg,
                                            RecordKind::AuxiliaryPoint,      RecordKind::AuxiliaryLine,
                                            RecordKind::Connection,          RecordKind::LoopClosure,
                                            RecordKind::VariableReference,   RecordKind::SurveyLeg,
                                            RecordKind::SurveyLeg,           RecordKind::Connection};
  EXPECT_EQ(ClassifyRecords(store->records), expected);
}

}  // namespace
}  // namespace hp::doc
