// The grid conversions on the positions a surveyor checks by hand: zones and
// band letters with their exceptions, the hemisphere by letter and rounding
// (UtmReferenceTest compares both directions over whole regions).
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "geo/Utm.h"

namespace hp::geo {
namespace {

TEST(GeographicToUtm, GivesZoneLetterAndGrid) {
  const struct {
    const char* what;
    double latitude, longitude;
    int zone;
    char letter;
    double easting, northing;  // negative: not checked
  } cases[] = {
      // 9 degrees east is the central meridian of zone 32.
      {"central meridian", 48.0, 9.0, 32, 'U', 500000.00, 5316300.22},
      {"southern hemisphere", -33.9, 18.4, 34, 'H', 259583.22, 6245888.05},
      // Band V off Norway belongs to zone 32 from 3 to 12 degrees east.
      {"Norway widened", 60.0, 5.0, 32, 'V', 276979.93, 6658157.20},
      {"band V east of the exception", 60.0, 12.0, 33, 'V', -1, -1},
      {"band W keeps zone 31", 64.0, 5.0, 31, 'W', -1, -1},
      // Band X around Svalbard: zones 31, 33, 35 and 37 only.
      {"Svalbard 0..9", 75.0, 5.0, 31, 'X', -1, -1},
      {"Svalbard 9..21", 75.0, 10.0, 33, 'X', -1, -1},
      {"Svalbard 21..33", 75.0, 30.0, 35, 'X', -1, -1},
      {"Svalbard 33..42", 75.0, 40.0, 37, 'X', -1, -1},
      {"band X west of Greenwich", 75.0, -5.0, 30, 'X', -1, -1},
      {"band X beyond 42 east", 75.0, 45.0, 38, 'X', -1, -1},
      // 81 degrees lies in band Y by the index formula: no exception there.
      {"band Y", 81.0, 10.0, 32, 'Y', 517463.52, 8993354.88},
      {"equator is north", 0.0, 3.0, 31, 'N', 500000.00, 0.00},
      {"just south of the equator", -0.5, 3.0, 31, 'M', 500000.00, 9944734.96},
      {"date line west", 10.0, -180.0, 1, 'P', -1, -1},
      // The zone formula is not wrapped: 180 degrees east gives zone 61.
      {"date line east", 10.0, 180.0, 61, 'P', 171071.26, 1106908.85},
      {"zone edge goes east", 48.0, 12.000001, 33, 'U', -1, -1},
      // The poles lie on every central meridian; a latitude beyond them is
      // taken as the pole, its band index held to the table.
      {"south pole", -90.0, 3.0, 31, 'A', 500000.00, 2035.06},
      {"north pole", 90.0, 3.0, 31, 'Z', 500000.00, 9997964.94},
      {"far below the south pole", -500.0, 3.0, 31, 'A', 500000.00, 2035.06},
      {"far beyond the north pole", 1000.0, 3.0, 31, 'Z', 500000.00, 9997964.94},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const UtmPosition grid = GeographicToUtm(c.latitude, c.longitude);
    EXPECT_EQ(grid.zone, c.zone);
    EXPECT_EQ(grid.letter, c.letter);
    if (c.easting >= 0) {
      EXPECT_NEAR(grid.easting, c.easting, 1e-6);
      EXPECT_NEAR(grid.northing, c.northing, 1e-6);
    }
  }
}

TEST(UtmToGeographic, GivesLatitudeAndLongitude) {
  const struct {
    int zone;
    char letter;
    double easting, northing;
    double latitude, longitude;
  } cases[] = {
      {32, 'U', 500000.00, 5316300.22, 48.0, 9.0},
      {34, 'H', 259583.22, 6245888.05, -33.9, 18.4},
      // The letter is taken as given: lower case a to m is southern too.
      {34, 'h', 259583.22, 6245888.05, -33.9, 18.4},
      {32, 'u', 500000.00, 5316300.22, 48.0, 9.0},
      // An unknown or empty letter counts as northern.
      {32, '\0', 500000.00, 5316300.22, 48.0, 9.0},
      {32, 'N', 500000.00, 0.0, 0.0, 9.0},
      // A negative northing is north whatever the letter says.
      {31, 'M', 500000.00, -55265.04, -0.5, 3.0},
      {31, 'N', 500000.00, -55265.04, -0.5, 3.0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.zone << c.letter << " " << c.easting << " " << c.northing);
    const GeographicPosition position = UtmToGeographic(c.zone, c.letter, c.easting, c.northing);
    EXPECT_NEAR(position.latitude, c.latitude, 1e-9);
    EXPECT_NEAR(position.longitude, c.longitude, 1e-9);
  }
}

TEST(Utm, RoundsToCentimetresAndTenMillionthsOfADegree) {
  const UtmPosition grid = GeographicToUtm(47.123456789, 11.987654321);
  EXPECT_NEAR(grid.easting * 100, std::round(grid.easting * 100), 1e-6);
  EXPECT_NEAR(grid.northing * 100, std::round(grid.northing * 100), 1e-6);
  const GeographicPosition p = UtmToGeographic(33, 'T', 432109.87, 4876543.21);
  EXPECT_NEAR(p.latitude * 1e7, std::round(p.latitude * 1e7), 1e-6);
  EXPECT_NEAR(p.longitude * 1e7, std::round(p.longitude * 1e7), 1e-6);
}

// Absurd input gives an answer without fault; not a number ends the latitude
// iteration of the inverse.
TEST(Utm, AbsurdInputGivesAnAnswerWithoutFault) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  EXPECT_EQ(GeographicToUtm(nan, 9.0).letter, 'A');
  EXPECT_EQ(GeographicToUtm(48.0, nan).zone, 0);
  EXPECT_EQ(GeographicToUtm(48.0, inf).zone, std::numeric_limits<int>::max());
  EXPECT_EQ(GeographicToUtm(48.0, -inf).zone, std::numeric_limits<int>::min());
  EXPECT_TRUE(std::isnan(UtmToGeographic(32, 'U', nan, 5316300.22).latitude));
}

}  // namespace
}  // namespace hp::geo
