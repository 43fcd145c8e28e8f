// The view-direction commands, their enabling rules and tool-bar values.
#include <gtest/gtest.h>

#include "draw/interaction/ViewCommands.h"
#include "support/Survey.h"

namespace hp::draw {
namespace {

doc::Worksheet Sheet(int type, double azimuth = 0, double inclination = 0) {
  doc::Worksheet ws = test::NewSheet(type);
  ws.setViewAzimuth(azimuth);
  ws.setViewInclination(inclination);
  return ws;
}

TEST(ViewCommands, TurnWrapsTheAzimuthAndClampsTheInclination) {
  const struct {
    int type;
    ViewCommand command;
    double azimuth, inclination;
    bool acts;
    double expectedAzimuth, expectedInclination;
  } cases[] = {
      {2, ViewCommand::Right, 357, 0, true, 2, 0}, {7, ViewCommand::Left, 2, 0, true, 357, 0},
      {3, ViewCommand::Up, 10, 88, true, 10, 90},  {5, ViewCommand::Down, 10, -88, true, 10, -90},
      {1, ViewCommand::Left, 10, 0, false, 10, 0}, {7, ViewCommand::Up, 10, 0, false, 10, 0},
  };
  for (const auto& c : cases) {
    doc::Worksheet ws = Sheet(c.type, c.azimuth, c.inclination);
    EXPECT_EQ(ApplyViewCommand(c.command, ws, 5, 0), c.acts) << c.type;
    EXPECT_DOUBLE_EQ(ws.viewAzimuth(), c.expectedAzimuth) << c.type;
    EXPECT_DOUBLE_EQ(ws.viewInclination(), c.expectedInclination) << c.type;
  }
}

TEST(ViewCommands, DistanceStepsByATenthOfTheSceneSnapped) {
  doc::Worksheet ws = Sheet(5);
  ws.setViewDistance(3);
  EXPECT_TRUE(ApplyViewCommand(ViewCommand::Farther, ws, 5, 71));  // 7.1 -> 10
  EXPECT_DOUBLE_EQ(ws.viewDistance(), 13);
  EXPECT_TRUE(ApplyViewCommand(ViewCommand::Nearer, ws, 5, 70));  // 7.0 -> 5
  EXPECT_DOUBLE_EQ(ws.viewDistance(), 8);
}

TEST(ViewCommands, EnablingFollowsTheDisplayType) {
  // "1" where enabled, types 0 to 7.
  const std::pair<ViewCommand, const char*> cases[] = {
      {ViewCommand::Left, "00111101"}, {ViewCommand::Up, "00111100"}, {ViewCommand::Farther, "00000100"}};
  for (const auto& [command, enabled] : cases) {
    for (int type = 0; type < 8; ++type) {
      EXPECT_EQ(IsViewCommandEnabled(command, doc::DisplayTypeOf(type)), enabled[type] == '1')
          << enabled << " " << type;
    }
  }
  EXPECT_TRUE(IsViewFieldEnabled(ViewField::Azimuth, doc::DisplayType::Elevation));
  EXPECT_FALSE(IsViewFieldEnabled(ViewField::Inclination, doc::DisplayType::Elevation));
  EXPECT_FALSE(IsViewFieldEnabled(ViewField::Distance, doc::DisplayType::RedGreen));
}

TEST(ViewCommands, ToolBarShowsTheValuesOfTheDisplayType) {
  const struct {
    int type;
    const char *azimuth, *inclination, *distance;
  } cases[] = {{0, "0,00", "-90,00", ""}, {7, "12,50", "0,00", ""}, {5, "12,50", "-33,25", "4,00"}};
  for (const auto& c : cases) {
    doc::Worksheet ws = Sheet(c.type, 12.5, -33.25);
    ws.setViewDistance(4);
    const ViewToolBarValues v = ToolBarValues(ws);
    EXPECT_EQ(v.azimuth + " " + v.inclination + " " + v.distance,
              std::string(c.azimuth) + " " + c.inclination + " " + c.distance);
    EXPECT_EQ(v.picturesPerPosition, c.type == 5 ? "50" : "") << c.type;
  }
}

TEST(ViewCommands, TypedToolBarValuesAreBroughtIntoRange) {
  struct Case {
    ViewField field;
    int displayType;
    const char* text;
    bool applied;
    double azimuth, inclination, distance;
  };
  const Case cases[] = {
      {ViewField::Azimuth, 2, "45,5", true, 45.5, 0, 0},
      {ViewField::Azimuth, 3, "-10", true, 350, 0, 0},
      {ViewField::Azimuth, 3, "720", true, 0, 0, 0},
      {ViewField::Azimuth, 0, "45", false, 10, 0, 0},  // the plan has no azimuth to type
      {ViewField::Inclination, 3, "95", true, 10, 90, 0},
      {ViewField::Inclination, 7, "30", false, 10, 0, 0},  // elevation: no inclination
      {ViewField::Inclination, 4, "abc", false, 10, 0, 0},
      {ViewField::Distance, 5, "12,25", true, 10, 0, 12.25},
      {ViewField::Distance, 3, "12", false, 10, 0, 0},
      {ViewField::Azimuth, 2, "", false, 10, 0, 0},
  };
  for (const Case& c : cases) {
    doc::Worksheet ws = Sheet(c.displayType, 10, 0);
    EXPECT_EQ(ApplyViewField(c.field, c.text, ws), c.applied) << c.text;
    EXPECT_DOUBLE_EQ(ws.viewAzimuth(), c.azimuth) << c.text;
    EXPECT_DOUBLE_EQ(ws.viewInclination(), c.inclination) << c.text;
    EXPECT_DOUBLE_EQ(ws.viewDistance(), c.distance) << c.text;
  }
}

}  // namespace
}  // namespace hp::draw
