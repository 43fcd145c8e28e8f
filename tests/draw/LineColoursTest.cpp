// Line colour of a record in the colour modes and the pen a colour stands for.
#include <gtest/gtest.h>

#include "base/FixedText.h"
#include "draw/LineColours.h"

namespace hp::draw {
namespace {

TEST(LineColoursTest, AttributeModesCycleThroughFifteenColours) {
  const struct {
    int mode, level, passage;
    const char* date;
    int expected;
  } cases[] = {{7, 1, 1, "", 2},
               {7, 16, 1, "", 2},
               {7, 15, 1, "", 16},
               {7, 0, 1, "", 5},
               {5, 1, -3, "", 4},
               {10, 1, 1, "15.03.2020", 11},
               {12, 1, 1, "15.03.2020", 4},
               {10, 1, 1, "", 5},
               {0, 3, 3, "", 5}};
  for (const auto& c : cases) {
    doc::SurveyRecord r;
    r.colour = 5, r.level = c.level, r.passage = c.passage;
    base::SetText(r.date, c.date);
    EXPECT_EQ(RecordLineColour(r, c.mode, {}, 0, 0), (LineColour{false, c.expected})) << c.mode << " " << c.level;
  }
}

TEST(LineColoursTest, FalseColours) {
  const struct {
    double value, max, min;
    int count;
  } cases[] = {{16, 16, 0, 0}, {15, 16, 0, 1}, {14.5, 16, 0, 1}, {0, 16, 0, 15}, {-40, 16, 0, 15}, {3, 3, 3, 15}};
  for (const auto& c : cases) EXPECT_EQ(FalseColourCount(c.value, c.max, c.min), c.count) << c.value;
  doc::SurveyRecord high, low;
  high.z = 10, high.pathLength = 100, low.z = -6;
  const FalseColourInput input{2.0, 0};  // heights measured from 2 m
  EXPECT_EQ(RecordLineColour(high, 1, input, 8, -8), (LineColour{true, 1}));
  EXPECT_EQ(RecordLineColour(low, 1, input, 8, -8), (LineColour{true, 16}));
  EXPECT_EQ(RecordLineColour(high, 2, input, 100, 0), (LineColour{true, 16}));
  EXPECT_EQ(RecordLineColour(low, 2, input, 100, 0), (LineColour{true, 1}));
  EXPECT_EQ(RecordLineColour(low, 3, input, 2001, 1990), (LineColour{true, 1}));  // no date
  EXPECT_EQ(RecordLineColour(low, 2, input, 16, -240), (LineColour{true, 1}));    // first threshold 0
}

TEST(LineColoursTest, PensOfColourNumbersWidthsAndMonochromeDevices) {
  doc::DocumentSettings settings;
  doc::SetDefaultSettings(settings);
  settings.lineColours[2] = 0x123456;
  settings.falseColours[15] = 0x654321;
  const PenSet pens = BuildPenSet(settings, 1, DeviceCaps{}, false);
  const struct {
    LineColour colour;
    PenStyle style;
    Colour rgb;
  } cases[] = {{{false, 3}, PenStyle::Solid, 0x123456},   {{false, 19}, PenStyle::Dashed, 0x123456},
               {{false, -3}, PenStyle::Dashed, 0x123456}, {{false, -17}, PenStyle::Dashed, 0},
               {{false, 33}, PenStyle::Solid, 0},         {{true, 20}, PenStyle::Solid, 0x654321}};
  for (const auto& c : cases) {
    EXPECT_EQ(ColourPen(pens, c.colour).style, c.style) << c.colour.number;
    EXPECT_EQ(ColourPen(pens, c.colour).colour, c.rgb) << c.colour.number;
  }
  DeviceCaps printer;
  printer.dpiX = printer.dpiY = 600;
  EXPECT_EQ(BuildPenSet(settings, 2, printer, true).solid[0].width, 9);  // (2w - 1)·dpi/200
  EXPECT_EQ(BuildPenSet(settings, 2, printer, true).thick[0].width, 18);
  printer.colours = 2;
  const PenSet mono = BuildPenSet(settings, 1, printer, true);
  for (int c = 0; c < 16; ++c) EXPECT_EQ(mono.solid[c].colour | mono.falseColour[c].colour, 0u);
}

}  // namespace
}  // namespace hp::draw
