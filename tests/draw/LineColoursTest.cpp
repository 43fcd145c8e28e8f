// Line colour of a record in the colour modes, false-colour counting and the
// pen a colour number stands for.
#include <gtest/gtest.h>

#include "base/FixedText.h"
#include "doc/DocumentSettings.h"
#include "draw/LineColours.h"

namespace hp::draw {
namespace {

TEST(LineColoursTest, AttributeModesCycleThroughFifteenColours) {
  const struct {
    int mode;
    int level, passage;
    const char* date;
    int expected;
  } cases[] = {
      {7, 1, 1, "", 2},   {7, 16, 1, "", 2},  {7, 15, 1, "", 16}, {7, 0, 1, "", 5},  // 0: own colour
      {5, 1, -3, "", 4},  {10, 1, 1, "15.03.2020", 11}, {11, 1, 1, "15.03.2020", 4},
      {12, 1, 1, "15.03.2020", 4}, {10, 1, 1, "", 5},  {0, 3, 3, "", 5},
  };
  for (const auto& c : cases) {
    doc::SurveyRecord r;
    r.colour = 5, r.level = c.level, r.passage = c.passage;
    base::SetText(r.date, c.date);
    EXPECT_EQ(RecordLineColour(r, c.mode, {}, 0, 0), (LineColour{false, c.expected})) << c.mode << " " << c.level;
  }
}

TEST(LineColoursTest, FalseColourThresholds) {
  const struct {
    double value, max, min;
    int expected;
  } cases[] = {{16, 16, 0, 0}, {15.5, 16, 0, 0}, {15, 16, 0, 1}, {14.5, 16, 0, 1}, {0, 16, 0, 15},
               {-40, 16, 0, 15}, {3, 3, 3, 15}};
  for (const auto& c : cases) EXPECT_EQ(FalseColourCount(c.value, c.max, c.min), c.expected) << c.value;
}

TEST(LineColoursTest, DepthGivesHighestColourOnePathGivesItSixteen) {
  doc::SurveyRecord high, low, undated;
  high.z = 10, high.pathLength = 100, low.z = -6, low.pathLength = 0;
  base::SetText(high.date, "01.01.2001");
  const FalseColourInput input{2.0, 0};  // heights measured from 2 m
  EXPECT_EQ(RecordLineColour(high, 1, input, 8, -8), (LineColour{true, 1}));
  EXPECT_EQ(RecordLineColour(low, 1, input, 8, -8), (LineColour{true, 16}));
  EXPECT_EQ(RecordLineColour(high, 2, input, 100, 0), (LineColour{true, 16}));
  EXPECT_EQ(RecordLineColour(low, 2, input, 100, 0), (LineColour{true, 1}));
  EXPECT_EQ(RecordLineColour(undated, 3, input, 2001, 1990), (LineColour{true, 1}));
  // A first threshold of exactly zero answers colour 1 without counting.
  EXPECT_EQ(RecordLineColour(low, 2, input, 16, -240), (LineColour{true, 1}));
  const DateParts d = SplitDate("15.03.2020");
  EXPECT_EQ(d.day, 15);
  EXPECT_EQ(d.month, 3);
  EXPECT_EQ(d.year, 2020);
}

TEST(LineColoursTest, ColourNumberToPen) {
  doc::DocumentSettings settings;
  doc::SetDefaultSettings(settings);
  settings.lineColours[2] = 0x123456;
  settings.falseColours[15] = 0x654321;
  const PenSet pens = BuildPenSet(settings, 1, DeviceCaps{}, false);
  const struct {
    LineColour colour;
    PenStyle style;
    Colour rgb;
  } cases[] = {{{false, 3}, PenStyle::Solid, 0x123456},  {{false, 19}, PenStyle::Dashed, 0x123456},
               {{false, -3}, PenStyle::Dashed, 0x123456}, {{false, -17}, PenStyle::Dashed, 0},
               {{false, 0}, PenStyle::Solid, 0},          {{false, 33}, PenStyle::Solid, 0},
               {{true, 20}, PenStyle::Solid, 0x654321}};
  for (const auto& c : cases) {
    EXPECT_EQ(ColourPen(pens, c.colour).style, c.style) << c.colour.number;
    EXPECT_EQ(ColourPen(pens, c.colour).colour, c.rgb) << c.colour.number;
  }
}

TEST(LineColoursTest, PrinterWidthsAndMonochromeDevices) {
  doc::DocumentSettings settings;
  doc::SetDefaultSettings(settings);
  DeviceCaps printer;
  printer.dpiX = printer.dpiY = 600;
  const PenSet pens = BuildPenSet(settings, 2, printer, true);
  EXPECT_EQ(pens.solid[0].width, 9);  // (2w - 1)·dpi/200
  EXPECT_EQ(pens.thick[0].width, 18);
  EXPECT_EQ(BuildPenSet(settings, 1, DeviceCaps{}, true).solid[0].width, 1);  // at least 1
  printer.colours = 2;
  const PenSet mono = BuildPenSet(settings, 1, printer, true);
  for (int c = 0; c < 16; ++c) {
    EXPECT_EQ(mono.solid[c].colour, 0u);
    EXPECT_EQ(mono.falseColour[c].colour, 0u);
  }
  EXPECT_EQ(mono.white.colour, 0u);
}

}  // namespace
}  // namespace hp::draw
