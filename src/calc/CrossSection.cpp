// Cross-section orientation and wall points.
#include "calc/CrossSection.h"

#include <cmath>

namespace hp::calc {
namespace {

double SignedByDirection(double value, double direction) {
  if (direction > 0) return value;
  if (direction < 0) return -value;
  return 0;
}

double DimensionSum(const doc::SurveyRecord& r) { return r.left + r.right + r.up + r.down; }

}  // namespace

void SetLegOrientation(doc::SurveyRecord& r, const LegVector& leg) {
  const double dX = r.x - r.refX, dY = r.y - r.refY, dZ = r.z - r.refZ;
  if (std::fabs(dX) <= 0.01 && std::fabs(dY) <= 0.01) {
    r.crossSection.leg.azimuth = leg.azimuthDeg;
    r.crossSection.leg.elevation = leg.elevationDeg;
  } else {
    r.crossSection.leg.elevation = std::atan2(dZ, std::sqrt(dX * dX + dY * dY)) / kDegreeFactor;
    double azimuth = std::atan2(dX, dY) / kDegreeFactor;
    if (azimuth < 0) azimuth += 360;
    r.crossSection.leg.azimuth = azimuth;
  }
  r.drawFlags[0] = r.drawFlags[1] = 1;
}

void SingleStationSection(doc::SurveyRecord& r, const SectionLimits& limits, bool testLimit) {
  const double azimuth = r.crossSection.leg.azimuth;
  const double elevation = r.crossSection.leg.elevation;
  r.crossSection.start.azimuth = r.crossSection.end.azimuth = azimuth;
  if (!testLimit || elevation > limits.vertical || elevation < -limits.vertical) {
    r.crossSection.start.elevation = r.crossSection.end.elevation = elevation;
    r.crossSection.developedElevation = SignedByDirection(elevation, r.direction);
  } else {
    r.crossSection.start.elevation = r.crossSection.end.elevation = 0;
    r.crossSection.developedElevation = 0;
  }
  r.crossSection.acuteJunction = 0;
  r.crossSection.halfSize = DimensionSum(r) / 2;
  UpdateWallPoints(r);
}

void JunctionSection(doc::SurveyRecord& p, doc::SurveyRecord& r, const SectionLimits& limits) {
  const double a1 = p.crossSection.leg.azimuth, e1 = p.crossSection.leg.elevation;
  const double a2 = r.crossSection.leg.azimuth, e2 = r.crossSection.leg.elevation;
  const double v = limits.vertical;

  const double d = a1 <= a2 ? a2 - a1 : a2 + 360 - a1;
  double m;
  if (d < 180 - limits.acute || d > 180 + limits.acute) {
    m = std::fabs(a1 - a2) > 180 ? (a1 + a2 + 360) / 2 : (a1 + a2) / 2;
    r.crossSection.acuteJunction = 0;
  } else {
    m = a1 > a2 ? (a1 + a2 + 180) / 2 : (a1 + a2 - 180) / 2;
    r.crossSection.acuteJunction = 1;
  }
  if (m < 0) {
    m += 360;
  } else if (m >= 360) {
    m -= 360;
  }
  p.crossSection.end.azimuth = m;
  r.crossSection.start.azimuth = m;

  const double j = r.crossSection.acuteJunction == 1 ? -(e2 - e1) / 2 : (e1 + e2) / 2;
  p.crossSection.end.elevation = j;
  if (j > v || j < -v) {
    r.crossSection.start.elevation = j;
    if (p.direction > 0 && r.direction > 0) {
      p.crossSection.developedElevation = (e1 + e2) / 2;
    } else if (p.direction > 0 && r.direction < 0) {
      p.crossSection.developedElevation = (e1 - e2) / 2;
    } else if (p.direction < 0 && r.direction > 0) {
      p.crossSection.developedElevation = (e2 - e1) / 2;
    } else if (p.direction < 0 && r.direction < 0) {
      p.crossSection.developedElevation = -(e1 + e2) / 2;
    } else {
      p.crossSection.developedElevation = 0;
    }
    r.crossSection.developedElevation = SignedByDirection(e2, r.direction);
  } else {
    p.crossSection.end.elevation = 0;
    r.crossSection.start.elevation = 0;
    p.crossSection.developedElevation = 0;
  }

  r.crossSection.end.azimuth = a2;
  r.crossSection.end.elevation = e2;
  if (-v <= e2 && e2 <= v) {
    r.crossSection.end.elevation = 0;
    r.crossSection.developedElevation = 0;
  }

  p.work.successor = 1;
  if (p.length != 0) {
    p.drawFlags[1] = 0;
    if (r.crossSection.acuteJunction == 0) r.drawFlags[0] = 0;
  }
  r.crossSection.halfSize = (DimensionSum(r) + DimensionSum(p)) / 4;
  UpdateWallPoints(p);
  UpdateWallPoints(r);
}

void UpdateWallPoints(doc::SurveyRecord& r) {
  const double a = r.crossSection.end.azimuth, b = r.crossSection.end.elevation;
  const auto rad = [](double degrees) { return degrees * kDegreeFactor; };
  double* w = r.altCoords;
  w[0] = r.x + r.left * std::sin(rad(a - 90));
  w[1] = r.y + r.left * std::cos(rad(a - 90));
  w[2] = r.z;
  w[3] = r.x + r.right * std::sin(rad(a + 90));
  w[4] = r.y + r.right * std::cos(rad(a + 90));
  w[5] = r.z;
  w[6] = r.x + std::cos(rad(b + 90)) * r.up * std::sin(rad(a));
  w[7] = r.y + std::cos(rad(b + 90)) * r.up * std::cos(rad(a));
  w[8] = r.z + std::sin(rad(b + 90)) * r.up;
  w[9] = r.x + std::cos(rad(b - 90)) * r.down * std::sin(rad(a));
  w[10] = r.y + std::cos(rad(b - 90)) * r.down * std::cos(rad(a));
  w[11] = r.z + std::sin(rad(b - 90)) * r.down;
}

}  // namespace hp::calc
