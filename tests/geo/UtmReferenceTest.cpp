// Both conversions against an independent implementation of the transverse
// Mercator projection (GeographicLib, used by the tests only) over a grid of
// positions in several zones of both hemispheres. The program's series is
// shorter than the reference's, but both must agree to the program's own
// rounding: 1e-7 degree and 0.01 m.
#include <gtest/gtest.h>
#include <GeographicLib/MGRS.hpp>
#include <GeographicLib/TransverseMercator.hpp>
#include <GeographicLib/UTMUPS.hpp>

#include <cmath>

#include "geo/Utm.h"

namespace hp::geo {
namespace {

using GeographicLib::TransverseMercator;

constexpr double kFalseEasting = 500000;
constexpr double kFalseNorthingSouth = 10000000;

// The reference's grid position in a given zone.
void ReferenceForward(int zone, double latitude, double longitude, double& easting, double& northing) {
  double x = 0, y = 0;
  TransverseMercator::UTM().Forward(6.0 * zone - 183, latitude, longitude, x, y);
  easting = x + kFalseEasting;
  northing = y + (latitude < 0 ? kFalseNorthingSouth : 0);
}

void ReferenceReverse(int zone, bool southern, double easting, double northing, double& latitude, double& longitude) {
  TransverseMercator::UTM().Reverse(6.0 * zone - 183, easting - kFalseEasting,
                                    northing - (southern ? kFalseNorthingSouth : 0), latitude, longitude);
}

struct Region {
  const char* name;
  double latitudeFrom, latitudeTo;
  double longitudeFrom, longitudeTo;
};

// Grid steps chosen so that no position lies on a zone or band edge.
const Region kRegions[] = {
    {"central Europe", 44.3, 55.3, 5.7, 17.7},
    {"southern Africa", -35.9, -20.9, 15.3, 33.3},
    {"South America", -55.7, -5.7, -75.1, -39.1},
    {"North America", 20.1, 70.1, -130.9, -70.9},
    {"Pacific both sides of the date line", -40.3, 40.3, 170.2, 179.8},
    {"Pacific west of the date line", -40.3, 40.3, -179.8, -170.2},
    {"near the equator", -3.3, 3.3, 100.1, 112.1},
    {"Norway and Svalbard", 56.4, 79.4, 0.3, 41.3},
    {"far south", -79.7, -60.7, -10.9, 30.1},
};

template <typename Visit>
void ForEachPosition(const Region& r, Visit visit) {
  const double latitudeStep = (r.latitudeTo - r.latitudeFrom) / 10;
  const double longitudeStep = (r.longitudeTo - r.longitudeFrom) / 10;
  for (int i = 0; i <= 10; ++i) {
    for (int j = 0; j <= 10; ++j) {
      visit(r.latitudeFrom + i * latitudeStep, r.longitudeFrom + j * longitudeStep);
    }
  }
}

class AgainstReference : public testing::TestWithParam<Region> {};

TEST_P(AgainstReference, GeographicToUtmAgreesToTheCentimetre) {
  ForEachPosition(GetParam(), [](double latitude, double longitude) {
    SCOPED_TRACE(testing::Message() << "lat " << latitude << " lon " << longitude);
    const UtmPosition grid = GeographicToUtm(latitude, longitude);
    // Below 80 degrees the band letters and the wider zones are those of the
    // military grid; the reference knows both.
    if (std::fabs(latitude) < 80) {
      EXPECT_EQ(grid.zone, GeographicLib::UTMUPS::StandardZone(latitude, longitude));
      int zone = 0;
      bool north = false;
      double x = 0, y = 0;
      GeographicLib::UTMUPS::Forward(latitude, longitude, zone, north, x, y);
      std::string mgrs;
      GeographicLib::MGRS::Forward(zone, north, x, y, latitude, 0, mgrs);
      ASSERT_GE(mgrs.size(), 3u);
      EXPECT_EQ(grid.letter, mgrs[2]);
    }
    double easting = 0, northing = 0;
    ReferenceForward(grid.zone, latitude, longitude, easting, northing);
    EXPECT_NEAR(grid.easting, easting, 0.01);
    EXPECT_NEAR(grid.northing, northing, 0.01);
  });
}

TEST_P(AgainstReference, UtmToGeographicAgreesToATenMillionthOfADegree) {
  ForEachPosition(GetParam(), [](double latitude, double longitude) {
    // Grid positions as a surveyor has them: whole centimetres.
    const int zone = GeographicToUtm(latitude, longitude).zone;
    double easting = 0, northing = 0;
    ReferenceForward(zone, latitude, longitude, easting, northing);
    easting = std::round(easting * 100) / 100;
    northing = std::round(northing * 100) / 100;
    const bool southern = latitude < 0;
    SCOPED_TRACE(testing::Message() << "zone " << zone << " E " << easting << " N " << northing);

    const GeographicPosition p = UtmToGeographic(zone, southern ? 'C' : 'N', easting, northing);
    double referenceLatitude = 0, referenceLongitude = 0;
    ReferenceReverse(zone, southern, easting, northing, referenceLatitude, referenceLongitude);
    EXPECT_NEAR(p.latitude, referenceLatitude, 1e-7);
    EXPECT_NEAR(p.longitude, referenceLongitude, 1e-7);
  });
}

INSTANTIATE_TEST_SUITE_P(Regions, AgainstReference, testing::ValuesIn(kRegions),
                         [](const testing::TestParamInfo<Region>& row) { return std::to_string(row.index); });

}  // namespace
}  // namespace hp::geo
