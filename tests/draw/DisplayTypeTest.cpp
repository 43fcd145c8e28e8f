// The groups of display types that the drawing, the page label, the status
// line and the view commands ask about, for every stored value.
#include <gtest/gtest.h>

#include "doc/DisplayType.h"
#include "doc/Worksheet.h"

namespace hp::doc {
namespace {

TEST(DisplayType, GroupsOfEveryStoredValue) {
  // The elevation turns by command only: it neither follows the mouse nor
  // spins. Stored values out of range are no picture at all.
  const struct {
    int value;
    bool plane, spatial, azimuth, inclination, camera;
  } cases[] = {
      {0, true, false, false, false, false},      {1, true, false, false, false, false},
      {2, true, false, true, true, false},        {3, false, true, true, true, false},
      {4, false, true, true, true, false},        {5, false, true, true, true, true},
      {6, false, false, false, false, false},     {7, true, false, true, false, false},
      {-1, false, false, false, false, false},    {8, false, false, false, false, false},
      {32767, false, false, false, false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value);
    Worksheet ws;
    ws.setDisplayTypeCode(static_cast<int16_t>(c.value));
    const DisplayType t = ws.displayType();
    EXPECT_EQ(IsPlaneType(t), c.plane);
    EXPECT_EQ(IsSpatialType(t), c.spatial);
    EXPECT_EQ(IsDrawnType(t), c.plane || c.spatial);
    EXPECT_EQ(HasViewAzimuth(t), c.azimuth);
    EXPECT_EQ(HasViewInclination(t), c.inclination);
    EXPECT_EQ(IsCameraType(t), c.camera);
  }
  EXPECT_FALSE(IsDrawnType(DisplayTypeOf(70000)));
}

}  // namespace
}  // namespace hp::doc
