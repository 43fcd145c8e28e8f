// The main window's stored placement and remembered dialog positions.
#include <gtest/gtest.h>

#include "platform/WindowPlacement.h"

namespace hp::platform {
namespace {

TEST(WindowPlacementTest, TenNumbersRoundTrip) {
  WindowPlacement p;
  p.flags = kPlacementRestoreMaximised;
  p.showCommand = 3;
  p.minimised = {-1, -1};
  p.maximised = {-8, -30};
  p.normal = {10, 20, 810, 620};
  const std::string text = FormatWindowPlacement(p);
  EXPECT_EQ(text, "2,3,-1,-1,-8,-30,10,20,810,620");
  EXPECT_EQ(ParseWindowPlacement(text), p);
}

TEST(WindowPlacementTest, OnlyExactlyTenNumbersAreAPlacement) {
  for (const char* text : {"2,3,-1,-1,-8,-30,10,20,810", "2,3,-1,-1,-8,-30,10,20,810,620,5", "", "a,b",
                           "2,3,-1,-1,-8,-30,10,20,810,", "-2,3,0,0,0,0,0,0,0,0", "1,1,0,0,0,0,0,0,0,99999999999"}) {
    EXPECT_FALSE(ParseWindowPlacement(text)) << text;
  }
  EXPECT_TRUE(ParseWindowPlacement(" 0, 1,0,0,0,0,0,0,100,100"));
}

TEST(DialogPositionTest, RememberedPositionIsHeldInsideTheWorkArea) {
  const ScreenRect area{0, 0, 1920, 1040};
  struct Case {
    ScreenPoint remembered, expected;
  };
  const Case cases[] = {
      {{100, 100}, {100, 100}},     // inside: kept
      {{-50, 100}, {0, 100}},       // off the left edge
      {{1800, 100}, {1520, 100}},   // right edge beyond: moved left until it fits
      {{100, 1000}, {100, 740}},    // bottom edge beyond
      {{-500, -500}, {0, 0}},
  };
  for (const Case& c : cases) EXPECT_EQ(KeepInsideWorkArea(c.remembered, 400, 300, area), c.expected);
  // Larger than the area: the left and top edges stay visible.
  EXPECT_EQ(KeepInsideWorkArea({300, 300}, 2500, 1200, area), (ScreenPoint{0, 0}));
  EXPECT_EQ(CentreOn({100, 100, 900, 700}, 400, 200), (ScreenPoint{300, 300}));
}

}  // namespace
}  // namespace hp::platform
