// The grid conversions on the positions a surveyor checks by hand: zones and
// band letters with their exceptions, the hemisphere by letter, rounding and
// the round trip inside a zone.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "geo/Utm.h"

namespace hp::geo {
namespace {

struct ForwardCase {
  const char* what;
  double latitude, longitude;
  int zone;
  char letter;
  double easting, northing;  // negative: not checked
};

class GeographicToUtmCases : public testing::TestWithParam<ForwardCase> {};

TEST_P(GeographicToUtmCases, GivesZoneLetterAndGrid) {
  const ForwardCase& c = GetParam();
  const UtmPosition grid = GeographicToUtm(c.latitude, c.longitude);
  EXPECT_EQ(grid.zone, c.zone);
  EXPECT_EQ(grid.letter, c.letter);
  if (c.easting >= 0) {
    EXPECT_NEAR(grid.easting, c.easting, 1e-6);
  }
  if (c.northing >= 0) {
    EXPECT_NEAR(grid.northing, c.northing, 1e-6);
  }
}

INSTANTIATE_TEST_SUITE_P(Positions, GeographicToUtmCases,
                         testing::Values(
                             // 9 degrees east is the central meridian of zone 32.
                             ForwardCase{"central meridian", 48.0, 9.0, 32, 'U', 500000.00, 5316300.22},
                             ForwardCase{"southern hemisphere", -33.9, 18.4, 34, 'H', 259583.22, 6245888.05},
                             // Band V off Norway belongs to zone 32 from 3 to 12 degrees east.
                             ForwardCase{"Norway widened", 60.0, 5.0, 32, 'V', 276979.93, 6658157.20},
                             ForwardCase{"band V east of the exception", 60.0, 12.0, 33, 'V', -1, -1},
                             ForwardCase{"band W keeps zone 31", 64.0, 5.0, 31, 'W', -1, -1},
                             // Band X around Svalbard: zones 31, 33, 35 and 37 only.
                             ForwardCase{"Svalbard 0..9", 75.0, 5.0, 31, 'X', -1, -1},
                             ForwardCase{"Svalbard 9..21", 75.0, 10.0, 33, 'X', -1, -1},
                             ForwardCase{"Svalbard 21..33", 75.0, 30.0, 35, 'X', -1, -1},
                             ForwardCase{"Svalbard 33..42", 75.0, 40.0, 37, 'X', -1, -1},
                             ForwardCase{"band X west of Greenwich", 75.0, -5.0, 30, 'X', -1, -1},
                             ForwardCase{"band X beyond 42 east", 75.0, 45.0, 38, 'X', -1, -1},
                             // 81 degrees lies in band Y by the index formula: no exception there.
                             ForwardCase{"band Y", 81.0, 10.0, 32, 'Y', 517463.52, 8993354.88},
                             ForwardCase{"equator is north", 0.0, 3.0, 31, 'N', 500000.00, 0.00},
                             ForwardCase{"just south of the equator", -0.5, 3.0, 31, 'M', 500000.00, 9944734.96},
                             ForwardCase{"date line west", 10.0, -180.0, 1, 'P', -1, -1},
                             // The zone formula is not wrapped: 180 degrees east gives zone 61.
                             ForwardCase{"date line east", 10.0, 180.0, 61, 'P', 171071.26, 1106908.85},
                             ForwardCase{"zone edge goes east", 48.0, 12.000001, 33, 'U', -1, -1},
                             // The poles lie on every central meridian; a latitude beyond them
                             // is taken as the pole, its band index held to the table.
                             ForwardCase{"south pole", -90.0, 3.0, 31, 'A', 500000.00, 2035.06},
                             ForwardCase{"north pole", 90.0, 3.0, 31, 'Z', 500000.00, 9997964.94},
                             ForwardCase{"far below the south pole", -500.0, 3.0, 31, 'A', 500000.00, 2035.06},
                             ForwardCase{"far beyond the north pole", 1000.0, 3.0, 31, 'Z', 500000.00, 9997964.94}),
                         [](const testing::TestParamInfo<ForwardCase>& row) {
                           std::string name = row.param.what;
                           for (char& ch : name) {
                             if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
                           }
                           return name;
                         });

struct InverseCase {
  int zone;
  char letter;
  double easting, northing;
  double latitude, longitude;
};

class UtmToGeographicCases : public testing::TestWithParam<InverseCase> {};

TEST_P(UtmToGeographicCases, GivesLatitudeAndLongitude) {
  const InverseCase& c = GetParam();
  const GeographicPosition position = UtmToGeographic(c.zone, c.letter, c.easting, c.northing);
  EXPECT_NEAR(position.latitude, c.latitude, 1e-9);
  EXPECT_NEAR(position.longitude, c.longitude, 1e-9);
}

INSTANTIATE_TEST_SUITE_P(Positions, UtmToGeographicCases,
                         testing::Values(InverseCase{32, 'U', 500000.00, 5316300.22, 48.0, 9.0},
                                         InverseCase{34, 'H', 259583.22, 6245888.05, -33.9, 18.4},
                                         // The letter is taken as given: lower case a to m is southern too.
                                         InverseCase{34, 'h', 259583.22, 6245888.05, -33.9, 18.4},
                                         InverseCase{32, 'u', 500000.00, 5316300.22, 48.0, 9.0},
                                         // An unknown or empty letter counts as northern.
                                         InverseCase{32, '\0', 500000.00, 5316300.22, 48.0, 9.0},
                                         InverseCase{32, 'N', 500000.00, 0.0, 0.0, 9.0},
                                         // A negative northing is north whatever the letter says.
                                         InverseCase{31, 'M', 500000.00, -55265.04, -0.5, 3.0},
                                         InverseCase{31, 'N', 500000.00, -55265.04, -0.5, 3.0}));

TEST(UtmToGeographic, RoundsToTenMillionthsOfADegree) {
  const GeographicPosition p = UtmToGeographic(33, 'T', 432109.87, 4876543.21);
  EXPECT_NEAR(p.latitude * 1e7, std::round(p.latitude * 1e7), 1e-6);
  EXPECT_NEAR(p.longitude * 1e7, std::round(p.longitude * 1e7), 1e-6);
}

TEST(GeographicToUtm, RoundsToCentimetres) {
  const UtmPosition grid = GeographicToUtm(47.123456789, 11.987654321);
  EXPECT_NEAR(grid.easting * 100, std::round(grid.easting * 100), 1e-6);
  EXPECT_NEAR(grid.northing * 100, std::round(grid.northing * 100), 1e-6);
}

// Grid positions across the zone and both hemispheres come back to the
// centimetre after a trip through latitude and longitude.
TEST(UtmRoundTrip, ReproducesEastingAndNorthingInsideTheZone) {
  struct Zone {
    int zone;
    char letter;
    double northingFrom, northingTo;
  };
  const Zone zones[] = {
      {32, 'U', 100000, 9300000}, {34, 'H', 1000000, 9990000}, {1, 'N', 0, 8800000}, {60, 'C', 1200000, 9900000}};
  int checked = 0;
  for (const Zone& z : zones) {
    for (double easting = 200000; easting <= 800000; easting += 50000) {
      for (double northing = z.northingFrom; northing <= z.northingTo; northing += 350000) {
        const GeographicPosition p = UtmToGeographic(z.zone, z.letter, easting, northing);
        const UtmPosition back = GeographicToUtm(p.latitude, p.longitude);
        // Positions whose latitude falls into the wider zones are not "inside".
        if (back.zone != z.zone) continue;
        SCOPED_TRACE(testing::Message() << "zone " << z.zone << " E " << easting << " N " << northing);
        EXPECT_NEAR(back.easting, easting, 0.0100001);
        EXPECT_NEAR(back.northing, northing, 0.0100001);
        ++checked;
      }
    }
  }
  EXPECT_GT(checked, 300);
}

TEST(GeographicToUtm, AbsurdInputGivesAnAnswerWithoutFault) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  EXPECT_EQ(GeographicToUtm(nan, 9.0).letter, 'A');
  EXPECT_EQ(GeographicToUtm(48.0, nan).zone, 0);
  EXPECT_EQ(GeographicToUtm(48.0, inf).zone, std::numeric_limits<int>::max());
  EXPECT_EQ(GeographicToUtm(48.0, -inf).zone, std::numeric_limits<int>::min());
}

TEST(UtmToGeographic, NotANumberEndsTheLatitudeIteration) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const GeographicPosition p = UtmToGeographic(32, 'U', nan, 5316300.22);
  EXPECT_TRUE(std::isnan(p.latitude));
}

}  // namespace
}  // namespace hp::geo
