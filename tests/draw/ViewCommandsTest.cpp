// The view-direction commands, their enabling rules and tool-bar texts, and
// the display types' dialog order.
#include <gtest/gtest.h>

#include "draw/DisplayType.h"
#include "draw/ViewCommands.h"

namespace hp::draw {
namespace {

TEST(DisplayTypes, DialogListsElevationAfterTheSection) {
  const char* const listed[] = {"Grundriss", "Längsschnitt", "Aufriss", "Parallelprojektion",
                                "Perspektivprojektion", "3D-Darstellung", "Animation", "Vermessungsprotokoll"};
  for (int position = 0; position < kDisplayTypeCount; ++position) {
    const int value = DisplayTypeFromListPosition(position);
    EXPECT_EQ(DisplayTypeText(value), listed[position]) << position;
    EXPECT_EQ(ListPositionOfDisplayType(value), position);
  }
  EXPECT_EQ(DisplayTypeFromListPosition(2), 7);
  EXPECT_EQ(DisplayTypeFromListPosition(8), -1);
}

TEST(ViewCommands, TurnWrapsTheAzimuthAndClampsTheInclination) {
  const struct {
    int type;
    ViewCommand command;
    double azimuth, inclination;
    bool acts;
    double expectedAzimuth, expectedInclination;
  } cases[] = {
      {2, ViewCommand::Right, 357, 0, true, 2, 0},
      {7, ViewCommand::Left, 2, 0, true, 357, 0},
      {6, ViewCommand::Left, 0, 0, true, 355, 0},  // acts in the protocol, though not offered there
      {3, ViewCommand::Up, 10, 88, true, 10, 90},
      {5, ViewCommand::Down, 10, -88, true, 10, -90},
      {0, ViewCommand::Right, 10, 0, false, 10, 0},
      {1, ViewCommand::Left, 10, 0, false, 10, 0},
      {7, ViewCommand::Up, 10, 0, false, 10, 0},
  };
  for (const auto& c : cases) {
    doc::Worksheet ws;
    doc::InitWorksheet(ws);
    ws.setDisplayType(static_cast<int16_t>(c.type));
    ws.setViewAzimuth(c.azimuth);
    ws.setViewInclination(c.inclination);
    EXPECT_EQ(ApplyViewCommand(c.command, ws, 5, 0), c.acts) << c.type;
    EXPECT_DOUBLE_EQ(ws.viewAzimuth(), c.expectedAzimuth) << c.type;
    EXPECT_DOUBLE_EQ(ws.viewInclination(), c.expectedInclination) << c.type;
  }
}

TEST(ViewCommands, DistanceStepsByATenthOfTheSceneSnapped) {
  doc::Worksheet ws;
  doc::InitWorksheet(ws);
  ws.setDisplayType(5);
  ws.setViewDistance(3);
  EXPECT_TRUE(ApplyViewCommand(ViewCommand::Farther, ws, 5, 71));  // 7.1 -> 10
  EXPECT_DOUBLE_EQ(ws.viewDistance(), 13);
  EXPECT_TRUE(ApplyViewCommand(ViewCommand::Nearer, ws, 5, 70));  // 7.0 -> 5
  EXPECT_DOUBLE_EQ(ws.viewDistance(), 8);
}

TEST(ViewCommands, EnablingFollowsTheDisplayType) {
  // One string per command and field: "1" where enabled, types 0 to 7.
  const struct {
    ViewCommand command;
    const char* enabled;
  } cases[] = {{ViewCommand::Left, "00111101"},   {ViewCommand::Right, "00111101"},
               {ViewCommand::Up, "00111100"},     {ViewCommand::Down, "00111100"},
               {ViewCommand::Farther, "00000100"}, {ViewCommand::Nearer, "00000100"}};
  for (const auto& c : cases)
    for (int type = 0; type < 8; ++type)
      EXPECT_EQ(IsViewCommandEnabled(c.command, type), c.enabled[type] == '1') << TextsOf(c.command).button << type;
  for (int type = 0; type < 8; ++type) {
    EXPECT_EQ(IsViewFieldEnabled(ViewField::Azimuth, type), IsViewCommandEnabled(ViewCommand::Left, type));
    EXPECT_EQ(IsViewFieldEnabled(ViewField::Inclination, type), IsViewCommandEnabled(ViewCommand::Up, type));
    EXPECT_EQ(IsViewFieldEnabled(ViewField::Distance, type), type == 5);
  }
}

TEST(ViewCommands, ToolBarShowsTheValuesOfTheDisplayType) {
  const struct {
    int type;
    const char *azimuth, *inclination, *distance;
  } cases[] = {{0, "0,00", "-90,00", ""},     {1, "0,00", "0,00", ""},     {7, "12,50", "0,00", ""},
               {2, "12,50", "-33,25", ""},    {5, "12,50", "-33,25", "4,00"}, {6, "12,50", "0,00", ""}};
  for (const auto& c : cases) {
    doc::Worksheet ws;
    doc::InitWorksheet(ws);
    ws.setDisplayType(static_cast<int16_t>(c.type));
    ws.setViewAzimuth(12.5);
    ws.setViewInclination(-33.25);
    ws.setViewDistance(4);
    const ViewToolBarValues v = ToolBarValues(ws);
    EXPECT_EQ(v.azimuth, c.azimuth) << c.type;
    EXPECT_EQ(v.inclination, c.inclination) << c.type;
    EXPECT_EQ(v.distance, c.distance) << c.type;
    EXPECT_EQ(v.picturesPerPosition, c.type == 5 ? "50" : "") << c.type;
  }
}

}  // namespace
}  // namespace hp::draw
