// A record's own reading accuracies survive the record's file image, and a
// record without them, or with values that are no standard deviation, has
// none.
#include "doc/RecordAccuracy.h"

#include <gtest/gtest.h>

#include <array>
#include <limits>

#include "doc/RecordCodec.h"

namespace hp::doc {
namespace {

TEST(RecordAccuracy, KeptInTheRecordImage) {
  SurveyRecord record;
  EXPECT_FALSE(AccuracyOf(record).has_value());
  RecordAccuracy accuracy;
  accuracy.tape = 0.02f, accuracy.compass = 1.5f, accuracy.east = accuracy.north = accuracy.up = 0.1f;
  accuracy.measurements = 3, accuracy.position = 0.05f;
  SetAccuracy(record, accuracy);
  std::array<uint8_t, kRecordImageSize> image{};
  EncodeRecord(record, image);
  SurveyRecord read;
  DecodeRecord(image, read);
  ASSERT_TRUE(AccuracyOf(read).has_value());
  EXPECT_EQ(*AccuracyOf(read), accuracy);
  EXPECT_TRUE(AccuracyOf(read)->Grid());

  accuracy.clino = std::numeric_limits<float>::quiet_NaN(), accuracy.compass = -1, accuracy.measurements = 0;
  SetAccuracy(record, accuracy);
  EXPECT_EQ(AccuracyOf(record)->clino, 0.0f);
  EXPECT_EQ(AccuracyOf(record)->compass, 0.0f);
  EXPECT_EQ(AccuracyOf(record)->measurements, 1);
}

}  // namespace
}  // namespace hp::doc
