// Station names and the record kinds that follow from them.
#include <gtest/gtest.h>

#include "base/FixedText.h"
#include "doc/Station.h"

namespace hp::doc {
namespace {

std::unique_ptr<SurveyRecord> Rec(int refCave, int refPassage, const char* refPoint, int cave,
                                  int passage, const char* point, int ring = 0, double length = 5) {
  auto r = std::make_unique<SurveyRecord>();
  r->refCave = refCave, r->refPassage = refPassage, r->cave = cave, r->passage = passage;
  base::SetText(r->refPoint, refPoint);
  base::SetText(r->point, point);
  r->ring = ring;
  r->length = length;
  return r;
}

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
  std::vector<std::unique_ptr<SurveyRecord>> records;
  records.push_back(Rec(1, 1, "0", 1, 1, "0"));          // self reference, ring 0
  records.push_back(Rec(1, 1, "0", 1, 1, "1"));          // new station with length
  records.push_back(Rec(1, 1, "1", 1, 1, "2", 0, 0));    // new station, length 0
  records.push_back(Rec(1, 1, "2", 1, 1, "", 0, 0));     // empty point, length 0
  records.push_back(Rec(1, 1, "2", 1, 1, "1"));          // repeated station, ring 0
  records.push_back(Rec(1, 1, "2", 1, 1, "0", 4));       // repeated station, ring 4
  records.push_back(Rec(1, 1, "5", 1, 1, "5", 3));       // self reference, ring 3
  records.push_back(Rec(1, 1, "1", 1, 1, "a"));          // differs from "A" only in case
  records.push_back(Rec(1, 1, "1", 1, 2, "1"));          // same name, other passage
  records.push_back(Rec(1, 1, "1", 1, 1, "2"));          // defined first with length 0, repeated now
  const std::vector<RecordKind> expected = {
      RecordKind::CoordinateReference, RecordKind::SurveyLeg,  RecordKind::AuxiliaryPoint,
      RecordKind::AuxiliaryLine,       RecordKind::Connection, RecordKind::LoopClosure,
      RecordKind::VariableReference,   RecordKind::SurveyLeg,  RecordKind::SurveyLeg,
      RecordKind::Connection};
  EXPECT_EQ(ClassifyRecords(records), expected);
}

}  // namespace
}  // namespace hp::doc
