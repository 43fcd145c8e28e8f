// Geodesy: UTM grid coordinates on the WGS84 ellipsoid and geographic
// latitude and longitude, both ways, by Krüger's series (four harmonic terms
// in powers of the squared eccentricity). No datum shift; heights are not
// touched. Depends only on base/.
#pragma once

#include <string_view>

namespace hp::geo {

// The 24 latitude band letters from the south, without I and O.
inline constexpr std::string_view kBandLetters = "ABCDEFGHJKLMNPQRSTUVWXYZ";

struct GeographicPosition {
  double latitude = 0;   // degrees, north positive, rounded to 1e-7
  double longitude = 0;  // degrees, east positive, rounded to 1e-7
};

struct UtmPosition {
  int zone = 0;
  char letter = 0;
  double easting = 0;   // metres, rounded to 0.01
  double northing = 0;  // metres, rounded to 0.01
};

// A grid position to latitude and longitude. The letter is taken as given:
// "A" to "M" and "a" to "m" are southern (false northing 10000000 m), every
// other character northern; a negative northing always counts as northern.
// The zone is used as given, also outside 1 to 60.
GeographicPosition UtmToGeographic(int zone, char letter, double easting, double northing);

// Latitude and longitude to the grid: the zone from the longitude (a
// longitude of 180 gives zone 61), the letter from the latitude band, with the
// wider zones of band "V" off Norway and of band "X" around Svalbard. A
// latitude beyond -90 or 90 is taken as the pole: band "A" or "Z" and the
// pole's grid position.
UtmPosition GeographicToUtm(double latitude, double longitude);

// The band letter of a latitude, by the band index (latitude + 96) / 8 held
// to the table.
char BandLetter(double latitude);

// The grid zone of a longitude before the exceptions of bands "V" and "X".
int ZoneOfLongitude(double longitude);

}  // namespace hp::geo
