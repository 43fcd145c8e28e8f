// What a leg brought from its source survives the record's file image; a
// record without it, or with values that are no standard deviation, has
// none.
#include "doc/LegSource.h"

#include <gtest/gtest.h>

#include <array>
#include <limits>
#include <string>

#include "doc/RecordCodec.h"

namespace hp::doc {
namespace {

TEST(LegSource, KeptInTheRecordImage) {
  SurveyRecord record;
  EXPECT_FALSE(SourceOf(record).has_value());
  LegSource accuracy;
  accuracy.tape = 0.02f, accuracy.compass = 1.5f, accuracy.east = accuracy.north = accuracy.up = 0.1f;
  accuracy.measurements = 3, accuracy.leftOut = 1, accuracy.position = 0.05f, accuracy.surface = true;
  accuracy.survexName = std::string(kSurvexNameLength - 6, 'a') + ".b.c12";  // as long as it may be
  SetSource(record, accuracy);
  std::array<uint8_t, kRecordImageSize> image{};
  EncodeRecord(record, image);
  SurveyRecord read;
  DecodeRecord(image, read);
  ASSERT_TRUE(SourceOf(read).has_value());
  EXPECT_EQ(*SourceOf(read), accuracy);
  EXPECT_TRUE(SourceOf(read)->Grid());
  EXPECT_EQ(LegsInLength(read), 0);  // a surface leg
  EXPECT_EQ(LegsInLength(SurveyRecord{}), 1);
  accuracy.surface = false;
  SetSource(record, accuracy);
  EXPECT_EQ(LegsInLength(record), 2);

  accuracy.clino = std::numeric_limits<float>::quiet_NaN(), accuracy.compass = -1, accuracy.measurements = 0;
  accuracy.survexName += "x";  // one too long: not kept
  SetSource(record, accuracy);
  EXPECT_EQ(SourceOf(record)->survexName, "");
  EXPECT_EQ(SourceOf(record)->clino, 0.0f);
  EXPECT_EQ(SourceOf(record)->compass, 0.0f);
  EXPECT_EQ(SourceOf(record)->measurements, 1);
}

}  // namespace
}  // namespace hp::doc
