// The animation: the spline against values worked out by hand, the flight's
// picture numbers and unwrapped azimuth, and the position list rules.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <string>
#include <variant>
#include <vector>

#include "draw/DisplayType.h"
#include "draw/animation/Animation.h"
#include "draw/animation/CubicSpline.h"
#include "platform/SettingsStore.h"
#include "support/Survey.h"

namespace hp::draw {
namespace {

TEST(CubicSpline, OpenAndClosedSplinesMatchHandComputedPieces) {
  // Through (0,0) (1,1) (2,0): M1 = -3, pieces -u³/2 + 3u/2 and u³/2 - 3u²/2 + 1.
  CubicSpline open;
  open.Compute(std::vector<double>{0, 1, 2}, std::vector<double>{0, 1, 0}, false);
  const struct {
    double t, expected;
  } cases[] = {{0, 0}, {0.5, 0.6875}, {1, 1}, {1.5, 0.6875}, {2, 0}, {-0.1, 0}, {2.1, 0}};
  for (const auto& c : cases) EXPECT_NEAR(open(c.t), c.expected, 1e-12) << c.t;
  EXPECT_NEAR(open.secondDerivatives()[1], -3, 1e-12);

  // Two points: a straight line (the end condition gives no 0/0).
  CubicSpline line;
  line.Compute(std::vector<double>{0, 4}, std::vector<double>{2, 6}, false);
  EXPECT_NEAR(line(1), 3, 1e-12);
  EXPECT_NEAR(line(4), 6, 1e-12);

  // x 0, 10, 20 and y 0, 10, 0 closed: extra points (-10, 10) and (30, 10);
  // M = 0, 3/7, -18/35, 3/7, 0; at t = 5: -11/700·125 + 3/14·25 + 3/7·5 = 155/28.
  CubicSpline closed;
  closed.Compute(std::vector<double>{0, 10, 20}, std::vector<double>{0, 10, 0}, true);
  EXPECT_EQ(closed.abscissas(), (std::vector<double>{-10, 0, 10, 20, 30}));
  const std::vector<double> m = {0, 3.0 / 7, -18.0 / 35, 3.0 / 7, 0};
  for (size_t i = 0; i < m.size(); ++i) EXPECT_NEAR(closed.secondDerivatives()[i], m[i], 1e-12) << i;
  for (const auto& [t, expected] : {std::pair{5.0, 155.0 / 28}, {-10.0, 10.0}, {20.0, 0.0}})
    EXPECT_NEAR(closed(t), expected, 1e-12) << t;
}

doc::Worksheet CameraSheet(std::vector<double> azimuths, int pictures = 20, bool endless = false) {
  doc::Worksheet ws = test::NewSheet(5);
  ws.setPicturesPerPosition(pictures);
  ws.setEndlessAnimation(endless ? 1 : 0);
  for (size_t i = 0; i < azimuths.size(); ++i) {
    SetView(ws, {azimuths[i], -10.0 * static_cast<double>(i), 100.0 + static_cast<double>(i), 1, 2, 3});
    InsertPosition(ws);
  }
  ws.setCurrentPositionNumber(azimuths.empty() ? 0 : 1);
  return ws;
}

// Runs a flight for at most `limit` pictures; the shown azimuths.
std::vector<double> Fly(doc::Worksheet& ws, AnimationFlight& flight, int limit) {
  std::vector<double> shown;
  for (int i = 0; i < limit; ++i) {
    const AnimationFlight::Step step = flight.NextPicture(ws);
    if (step.shown) shown.push_back(ws.viewAzimuth());
    if (!step.running) break;
  }
  return shown;
}

TEST(AnimationFlight, PictureNumbersOfOnceAndEndlessFlights) {
  const struct {
    bool endless;
    uint32_t startPosition;
    int expectedPictures;  // before the flight ends (or, endless, until it starts over)
    int total;
  } cases[] = {{false, 1, 41, 40}, {false, 2, 21, 40}, {false, 3, 1, 40}, {true, 1, 60, 60}};
  for (const auto& c : cases) {
    doc::Worksheet ws = CameraSheet({10, 50, 90}, 20, c.endless);
    ws.setCurrentPositionNumber(c.startPosition);
    AnimationFlight flight;
    const std::vector<double> shown = Fly(ws, flight, c.expectedPictures);
    ASSERT_EQ(static_cast<int>(shown.size()), c.expectedPictures) << c.endless << c.startPosition;
    EXPECT_NEAR(shown.front(), 10.0 + 40.0 * (c.startPosition - 1), 1e-9);
    if (c.endless) {
      EXPECT_EQ(flight.totalPictures(), c.total);
      EXPECT_EQ(flight.currentPicture(), 0);  // starts over
      EXPECT_TRUE(flight.NextPicture(ws).running);
    } else {
      EXPECT_FALSE(flight.prepared());
      EXPECT_NEAR(ws.viewAzimuth(), 90, 1e-9);
      EXPECT_NEAR(ws.viewDistance(), 102, 1e-9);
    }
  }
}

TEST(AnimationFlight, AzimuthTakesTheShortWayThroughNorth) {
  doc::Worksheet ws = CameraSheet({350, 10, 30});
  AnimationFlight flight;
  ASSERT_TRUE(flight.Prepare(ws));
  for (const int picture : {0, 20, 40}) EXPECT_NEAR(flight.Channel(0, picture), 350 + picture, 1e-9) << picture;
  for (const double azimuth : Fly(ws, flight, 100))
    EXPECT_TRUE((azimuth >= 340 && azimuth < 360) || (azimuth >= 0 && azimuth <= 40)) << azimuth;
  // Endless: from 30 back to 350 is a turn of 40 degrees the other way.
  doc::Worksheet loop = CameraSheet({350, 10, 30}, 20, true);
  ASSERT_TRUE(flight.Prepare(loop));
  EXPECT_NEAR(flight.Channel(0, 60), 350, 1e-9);
}

TEST(AnimationFlight, PicturesPerPositionBelowOneCountAsOne) {
  for (const int pictures : {0, -5}) {
    doc::Worksheet ws = CameraSheet({0, 90, 180}, pictures);
    AnimationFlight flight;
    const std::vector<double> shown = Fly(ws, flight, 10);
    ASSERT_EQ(shown.size(), 3u) << pictures;
    for (const double azimuth : shown) EXPECT_TRUE(std::isfinite(azimuth));
    EXPECT_NEAR(shown[1], 90, 1e-9);
  }
  doc::Worksheet ws = CameraSheet({0, 90, 180});
  const struct {
    const char* text;
    bool acts;
    int expected;
  } typed[] = {{"0", true, 1}, {"-3", true, 1}, {"35", true, 35}, {"viele", false, 35}};
  for (const auto& t : typed) {
    EXPECT_EQ(ApplyPicturesPerPosition(t.text, ws), t.acts) << t.text;
    EXPECT_EQ(ws.picturesPerPosition(), t.expected) << t.text;
  }
  ws.setDisplayType(DisplayType::Perspective);
  EXPECT_FALSE(ApplyPicturesPerPosition("12", ws));
}

std::vector<double> Azimuths(const doc::Worksheet& ws) {
  std::vector<double> result;
  for (const auto& p : ws.positions) result.push_back(p->azimuth);
  return result;
}

TEST(AnimationPositions, InsertSaveDeleteAndTheCurrentPosition) {
  doc::Worksheet ws = CameraSheet({});
  EXPECT_TRUE(InsertPosition(ws));  // into an empty list: the first, current
  EXPECT_EQ((std::array{ws.currentPositionNumber(), ws.positionCount()}), (std::array{1u, 1u}));
  ws = CameraSheet({10, 20, 30});
  ws.setCurrentPositionNumber(2);
  ws.setViewAzimuth(25);
  EXPECT_TRUE(InsertPosition(ws));  // after the current one
  EXPECT_EQ(Azimuths(ws), (std::vector<double>{10, 20, 25, 30}));
  EXPECT_EQ(ws.currentPositionNumber(), 3u);
  ws.setViewAzimuth(26);
  EXPECT_TRUE(SavePosition(ws));
  EXPECT_EQ(Azimuths(ws), (std::vector<double>{10, 20, 26, 30}));

  const struct {
    uint32_t current;
    std::vector<double> left;
    uint32_t expectedCurrent;
  } deletes[] = {{4, {10, 20, 26}, 3}, {2, {10, 26, 30}, 2}, {1, {20, 26, 30}, 1}};
  for (const auto& d : deletes) {
    doc::Worksheet copy = ws;
    copy.setCurrentPositionNumber(d.current);
    EXPECT_TRUE(DeletePosition(copy));
    EXPECT_EQ(Azimuths(copy), d.left) << d.current;
    EXPECT_EQ(copy.currentPositionNumber(), d.expectedCurrent) << d.current;
    EXPECT_EQ(copy.positionCount(), 3u);
  }
  doc::Worksheet single = CameraSheet({10});
  EXPECT_TRUE(DeletePosition(single));
  EXPECT_EQ(single.currentPositionNumber(), 0u);
  EXPECT_FALSE(DeletePosition(single) || SavePosition(single) || ShowCurrentPosition(single));
  EXPECT_EQ(PositionFieldText(single), "");
}

TEST(AnimationPositions, InsertIsRefusedAt256Positions) {
  doc::Worksheet ws = CameraSheet({});
  for (int i = 0; i < kMaxAnimationPositions; ++i) ASSERT_TRUE(InsertPosition(ws));
  EXPECT_FALSE(IsAnimationCommandEnabled(AnimationCommand::Insert, ws));
  EXPECT_FALSE(InsertPosition(ws));
  EXPECT_EQ(ws.positions.size(), 256u);
  // Only the camera view offers the commands; a flight needs three positions.
  doc::Worksheet two = CameraSheet({10, 20});
  EXPECT_TRUE(IsAnimationCommandEnabled(AnimationCommand::Next, two));
  EXPECT_FALSE(IsAnimationCommandEnabled(AnimationCommand::Start, two));
  two.setDisplayType(DisplayType::Perspective);
  EXPECT_FALSE(IsAnimationCommandEnabled(AnimationCommand::Circle, two));
}

TEST(AnimationPositions, NavigationTypedNumbersAndEmptyLists) {
  const struct {
    AnimationCommand command;
    uint32_t current;
    bool endless;
    uint32_t expected;
  } moves[] = {
      {AnimationCommand::Previous, 1, false, 1}, {AnimationCommand::Previous, 1, true, 3},
      {AnimationCommand::Previous, 3, false, 2}, {AnimationCommand::Next, 3, false, 3},
      {AnimationCommand::Next, 3, true, 1},      {AnimationCommand::Next, 1, false, 2},
      {AnimationCommand::First, 3, false, 1},    {AnimationCommand::Last, 1, false, 3},
  };
  for (const auto& m : moves) {
    doc::Worksheet ws = CameraSheet({10, 20, 30}, 20, m.endless);
    ws.setCurrentPositionNumber(m.current);
    EXPECT_TRUE(GoToPosition(m.command, ws));
    EXPECT_EQ(ws.currentPositionNumber(), m.expected) << static_cast<int>(m.command) << " " << m.current;
    EXPECT_TRUE(ShowCurrentPosition(ws));
    EXPECT_DOUBLE_EQ(ws.viewAzimuth(), 10.0 * m.expected);
    EXPECT_EQ(PositionFieldText(ws), std::to_string(m.expected));
  }
  const struct {
    const char* text;
    bool acts;
    uint32_t expected;
  } typed[] = {{"2", true, 2}, {"7", true, 3}, {"0", true, 1}, {"-4", true, 1}, {"zwei", false, 1}};
  for (const auto& t : typed) {
    doc::Worksheet ws = CameraSheet({10, 20, 30});
    EXPECT_EQ(GoToTypedPosition(t.text, ws), t.acts) << t.text;
    EXPECT_EQ(ws.currentPositionNumber(), t.expected) << t.text;
  }
  doc::Worksheet empty = CameraSheet({});
  EXPECT_FALSE(GoToPosition(AnimationCommand::Next, empty) || GoToTypedPosition("1", empty));
  // A flight needs two positions at the least.
  doc::Worksheet single = CameraSheet({10});
  AnimationFlight flight;
  EXPECT_FALSE(flight.NextPicture(single).running);
}

TEST(AnimationPositions, CircleAroundTheCurrentView) {
  doc::Worksheet ws = CameraSheet({1, 2, 3, 4});
  SetView(ws, {100, -20, 50, 1, 2, 3});
  MakeCircleAnimation(ws);
  EXPECT_EQ(Azimuths(ws), (std::vector<double>{100, 340, 220}));
  EXPECT_EQ((std::array{ws.currentPositionNumber(), ws.positionCount(), ws.endlessAnimation()}),
            (std::array{1u, 3u, 1u}));
  EXPECT_EQ((std::array{ws.positions[2]->inclination, ws.positions[2]->distance}), (std::array{-20.0, 50.0}));
}

TEST(AnimationSpin, TurnsAndWrapsTheAzimuth) {
  const struct {
    double azimuth;
    int step;
    double expected;
  } cases[] = {{355, 10, 5}, {5, -20, 345}, {100, 3, 103}};
  for (const auto& c : cases) {
    doc::Worksheet ws = CameraSheet({});
    ws.setViewAzimuth(c.azimuth);
    SpinView(ws, c.step);
    EXPECT_DOUBLE_EQ(ws.viewAzimuth(), c.expected) << c.azimuth;
  }
  platform::MemorySettingsStore settings;
  EXPECT_EQ(AnimationPause(settings), 20);
  settings.SetInt("Settings", "Animation", 5000);
  EXPECT_EQ(AnimationPause(settings), 1000);
  const struct {
    const char* text;
    std::optional<int> value;
    const char* message;
  } typed[] = {{"0", 0, ""},
               {" 1000", 1000, ""},
               {"1001", std::nullopt, "Geben Sie eine ganze Zahl zwischen 0 und 1000 ein."},
               {"-1", std::nullopt, "Geben Sie eine ganze Zahl zwischen 0 und 1000 ein."},
               {"2,5", std::nullopt, "Bitte geben Sie eine ganze Zahl ein."}};
  for (const auto& t : typed) {
    const std::variant<int, std::string> expected =
        t.value ? std::variant<int, std::string>(*t.value) : std::variant<int, std::string>(t.message);
    EXPECT_EQ(ParseAnimationPause(t.text), expected) << t.text;
  }
}

}  // namespace
}  // namespace hp::draw
