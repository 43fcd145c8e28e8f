// UTM <-> WGS84 by Krüger's series on the WGS84 ellipsoid.
#include "geo/Utm.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

#include "base/NumberFormat.h"

namespace hp::geo {
namespace {

const double kPi = std::acos(-1.0);

constexpr double kSemiMajorAxis = 6378137.0;
constexpr double kEccentricitySquared = 0.006694380066764658;  // 1 - b^2/a^2 with b = 6356752.314 m
const double kEccentricity = std::sqrt(kEccentricitySquared);
constexpr double kScale = 0.9996;  // on the central meridian
constexpr double kFalseEasting = 500000.0;
constexpr double kFalseNorthingSouth = 10000000.0;

// Series coefficients in powers of the squared eccentricity.
struct Series {
  double meridian;              // A, the meridian arc per radian over a
  std::array<double, 4> alpha;  // geographic -> grid
  std::array<double, 4> delta;  // grid -> geographic
};

Series MakeSeries() {
  const double e2 = kEccentricitySquared;
  const double e4 = e2 * e2;
  const double e6 = e4 * e2;
  const double e8 = e4 * e4;
  Series s{};
  s.meridian = 1 - e2 / 4 - 3 * e4 / 64 - 5 * e6 / 256 - 175 * e8 / 16384;
  s.alpha = {e2 / 8 - e4 / 96 - 9 * e6 / 1024 - 901 * e8 / 184320, 13 * e4 / 768 + 17 * e6 / 5120 - 311 * e8 / 737280,
             61 * e6 / 15360 + 899 * e8 / 430080, 49561 * e8 / 41287680};
  s.delta = {e2 / 8 + e4 / 48 + 7 * e6 / 2048 + e8 / 61440, e4 / 768 + 3 * e6 / 1280 + 559 * e8 / 368640,
             17 * e6 / 30720 + 283 * e8 / 430080, 4397 * e8 / 41287680};
  return s;
}

const Series& Coefficients() {
  static const Series series = MakeSeries();
  return series;
}

// The hyperbolic functions through the exponential, as the series is
// evaluated throughout.
double Cosh(double x) { return (std::exp(x) + std::exp(-x)) / 2; }
double Sinh(double x) { return (std::exp(x) - std::exp(-x)) / 2; }

// Truncation towards zero held to the range of int, so an absurd input never
// turns into undefined behaviour; not-a-number gives `nanValue`.
int TruncatedToInt(double value, int nanValue) {
  if (std::isnan(value)) return nanValue;
  constexpr double kLow = std::numeric_limits<int>::min();
  constexpr double kHigh = std::numeric_limits<int>::max();
  if (value <= kLow) return std::numeric_limits<int>::min();
  if (value >= kHigh) return std::numeric_limits<int>::max();
  return static_cast<int>(value);
}

double CentralMeridian(int zone) { return (zone - 0.5) * kPi / 30 - kPi; }

bool IsSouthernLetter(char letter) { return (letter >= 'A' && letter <= 'M') || (letter >= 'a' && letter <= 'm'); }

// Rounds radians to degrees with seven decimals.
double RoundedDegrees(double radians) { return std::floor(radians * 10000000 * 180 / kPi + 0.5) * 1e-7; }

// The latitude iteration converges in a handful of steps for any real
// position; the bound keeps a not-a-number or infinite input from looping.
constexpr int kMaxLatitudeIterations = 100;

}  // namespace

char BandLetter(double latitude) {
  double index = std::trunc((latitude + 96) / 8);
  if (!(index >= 0)) index = 0;  // also not-a-number
  const double last = static_cast<double>(kBandLetters.size() - 1);
  if (index > last) index = last;
  return kBandLetters[static_cast<size_t>(index)];
}

int ZoneOfLongitude(double longitude) {
  const double lambda = longitude * kPi / 180;
  const double zone = std::floor((lambda + kPi) / (kPi / 30)) + 1;
  return TruncatedToInt(zone, 0);
}

UtmPosition GeographicToUtm(double latitude, double longitude) {
  const Series& s = Coefficients();
  // Beyond the poles the projection has no value; such a latitude is taken
  // as the pole itself, as its band letter is the last of the table.
  const double phi = std::clamp(latitude, -90.0, 90.0) * kPi / 180;
  const double lambda = longitude * kPi / 180;

  UtmPosition grid;
  grid.zone = ZoneOfLongitude(longitude);
  grid.letter = BandLetter(latitude);
  if (grid.letter == 'V' && longitude >= 3 && longitude < 12) grid.zone = 32;
  if (grid.letter == 'X') {
    if (longitude >= 0 && longitude < 9) {
      grid.zone = 31;
    } else if (longitude >= 9 && longitude < 21) {
      grid.zone = 33;
    } else if (longitude >= 21 && longitude < 33) {
      grid.zone = 35;
    } else if (longitude >= 33 && longitude < 42) {
      grid.zone = 37;
    }
  }

  const double lambda0 = CentralMeridian(grid.zone);
  const double falseNorthing = phi < 0 ? kFalseNorthingSouth : 0.0;
  const double e = kEccentricity;

  const double sinPhi = std::sin(phi);
  const double psi = std::log(std::tan(phi / 2 + kPi / 4) * std::pow((1 - e * sinPhi) / (1 + e * sinPhi), e / 2));
  const double q = std::asin(std::sin(lambda - lambda0) / Cosh(psi));
  const double etaPrime = std::log(std::tan(q / 2 + kPi / 4));
  const double xiPrime = std::atan(Sinh(psi) / std::cos(lambda - lambda0));

  double xi = s.meridian * xiPrime;
  double eta = s.meridian * etaPrime;
  for (int j = 1; j <= 4; ++j) {
    xi += s.alpha[j - 1] * std::sin(2 * j * xiPrime) * Cosh(2 * j * etaPrime);
    eta += s.alpha[j - 1] * std::cos(2 * j * xiPrime) * Sinh(2 * j * etaPrime);
  }
  grid.easting = base::RoundHundredths(kSemiMajorAxis * kScale * eta + kFalseEasting);
  grid.northing = base::RoundHundredths(kSemiMajorAxis * kScale * xi + falseNorthing);
  return grid;
}

GeographicPosition UtmToGeographic(int zone, char letter, double easting, double northing) {
  const Series& s = Coefficients();
  const bool southern = IsSouthernLetter(letter) && !(northing < 0);
  const double falseNorthing = southern ? kFalseNorthingSouth : 0.0;
  const double lambda0 = CentralMeridian(zone);

  const double xi = (northing - falseNorthing) / (kSemiMajorAxis * kScale * s.meridian);
  const double eta = (easting - kFalseEasting) / (kSemiMajorAxis * kScale * s.meridian);
  double xiPrime = xi;
  double etaPrime = eta;
  for (int j = 1; j <= 4; ++j) {
    xiPrime -= s.delta[j - 1] * std::sin(2 * j * xi) * Cosh(2 * j * eta);
    etaPrime -= s.delta[j - 1] * std::cos(2 * j * xi) * Sinh(2 * j * eta);
  }

  const double deltaLambda = std::atan2(Sinh(etaPrime), std::cos(xiPrime));
  const double chi = std::asin(std::sin(xiPrime) / Cosh(etaPrime));
  const double psi = std::log(std::tan(chi / 2 + kPi / 4));

  const double e = kEccentricity;
  double phi = 2 * std::atan(std::exp(psi)) - kPi / 2;
  for (int i = 0; i < kMaxLatitudeIterations; ++i) {
    const double sinPhi = std::sin(phi);
    const double next = 2 * std::atan(std::pow((1 + e * sinPhi) / (1 - e * sinPhi), e / 2) * std::exp(psi)) - kPi / 2;
    const bool settled = std::fabs(next - phi) < 1e-11;
    phi = next;
    if (settled) break;
  }

  return GeographicPosition{RoundedDegrees(phi), RoundedDegrees(deltaLambda + lambda0)};
}

}  // namespace hp::geo
