// The main window's stored placement, remembered dialog positions and the
// cascade of document windows.
#include <gtest/gtest.h>

#include <utility>

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
      {{100, 100}, {100, 100}},    // inside: kept
      {{-50, 100}, {0, 100}},      // off the left edge
      {{1800, 100}, {1520, 100}},  // right edge beyond: moved left until it fits
      {{100, 1000}, {100, 740}},   // bottom edge beyond
      {{-500, -500}, {0, 0}},
  };
  for (const Case& c : cases) EXPECT_EQ(KeepInsideWorkArea(c.remembered, 400, 300, area), c.expected);
  // Larger than the area: the left and top edges stay visible.
  EXPECT_EQ(KeepInsideWorkArea({300, 300}, 2500, 1200, area), (ScreenPoint{0, 0}));
  EXPECT_EQ(CentreOn({100, 100, 900, 700}, 400, 200), (ScreenPoint{300, 300}));
}

TEST(CascadeTest, WindowsStepDownInsideTheArea) {
  struct Case {
    const char* name;
    int width, height, count, index;
    ScreenRect expected;
  };
  // A 24-pixel title bar in 1024 x 600: nine windows to a cycle, a third of
  // the height (200) holding eight steps.
  const Case cases[] = {
      {"one window takes the area", 1024, 600, 1, 0, {0, 0, 1024, 600}},
      {"three: the back one", 1024, 600, 3, 0, {0, 0, 976, 552}},
      {"three: the front one ends at the corner", 1024, 600, 3, 2, {48, 48, 1024, 600}},
      {"twenty: the end of the first cycle", 1024, 600, 20, 8, {192, 192, 1024, 600}},
      {"twenty: the tenth starts again at the top left", 1024, 600, 20, 9, {0, 0, 832, 408}},
      {"twenty: the front one", 1024, 600, 20, 19, {24, 24, 856, 432}},
      {"an area too small for a step", 60, 40, 3, 2, {0, 0, 60, 40}},
      {"an empty area", 0, -5, 2, 1, {0, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    const auto windows = CascadeWindows(c.width, c.height, c.count, 24);
    ASSERT_EQ(windows.size(), static_cast<size_t>(c.count)) << c.name;
    EXPECT_EQ(windows[static_cast<size_t>(c.index)], c.expected) << c.name;
  }
  EXPECT_TRUE(CascadeWindows(1024, 600, 0, 24).empty());
  EXPECT_EQ(CascadeWindows(1024, 600, 2, 0)[1], (ScreenRect{0, 0, 1024, 600})) << "no step";
}

TEST(CascadeTest, ANewWindowOpensAtTheNextPositionInsideTheArea) {
  // Nine positions to a cycle; each new window has the size a full cycle leaves.
  EXPECT_EQ(NewCascadeWindow(1024, 600, 0, 24), (ScreenRect{0, 0, 832, 408}));
  EXPECT_EQ(NewCascadeWindow(1024, 600, 8, 24), (ScreenRect{192, 192, 1024, 600}));
  EXPECT_EQ(NewCascadeWindow(1024, 600, 9, 24), (ScreenRect{0, 0, 832, 408})) << "starts again";
  EXPECT_EQ(NewCascadeWindow(60, 40, 5, 24), (ScreenRect{0, 0, 60, 40})) << "too small for a step";
  for (const auto& [width, height] : {std::pair{640, 200}, std::pair{1920, 1080}}) {
    for (int n = 1; n < 40; ++n) {
      std::vector<ScreenRect> windows = CascadeWindows(width, height, n, 22);
      windows.push_back(NewCascadeWindow(width, height, n, 22));
      for (const ScreenRect& r : windows) {
        EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= width && r.bottom <= height) << n;
        EXPECT_TRUE(r.Width() * 3 >= width * 2 && r.Height() * 3 >= height * 2) << n;
      }
    }
  }
}

}  // namespace
}  // namespace hp::platform
