// Cross-section orientation and wall points.
#include "calc/CrossSection.h"

#include <cmath>

namespace hp::calc {
namespace {

// calcC slots.
enum { kStartAzimuth, kStartElevation, kEndAzimuth, kEndElevation, kLegAzimuth, kLegElevation, kHalfSize };

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
    r.calcC[kLegAzimuth] = leg.azimuthDeg;
    r.calcC[kLegElevation] = leg.elevationDeg;
  } else {
    r.calcC[kLegElevation] = std::atan2(dZ, std::sqrt(dX * dX + dY * dY)) / kDegreeFactor;
    double azimuth = std::atan2(dX, dY) / kDegreeFactor;
    if (azimuth < 0) azimuth += 360;
    r.calcC[kLegAzimuth] = azimuth;
  }
  r.drawFlags[0] = r.drawFlags[1] = 1;
}

void SingleStationSection(doc::SurveyRecord& r, const SectionLimits& limits, bool testLimit) {
  const double azimuth = r.calcC[kLegAzimuth];
  const double elevation = r.calcC[kLegElevation];
  r.calcC[kStartAzimuth] = r.calcC[kEndAzimuth] = azimuth;
  if (!testLimit || elevation > limits.vertical || elevation < -limits.vertical) {
    r.calcC[kStartElevation] = r.calcC[kEndElevation] = elevation;
    r.calcScale = SignedByDirection(elevation, r.direction);
  } else {
    r.calcC[kStartElevation] = r.calcC[kEndElevation] = 0;
    r.calcScale = 0;
  }
  r.calcFlag = 0;
  r.calcC[kHalfSize] = DimensionSum(r) / 2;
  UpdateWallPoints(r);
}

void JunctionSection(doc::SurveyRecord& p, doc::SurveyRecord& r, const SectionLimits& limits) {
  const double a1 = p.calcC[kLegAzimuth], e1 = p.calcC[kLegElevation];
  const double a2 = r.calcC[kLegAzimuth], e2 = r.calcC[kLegElevation];
  const double v = limits.vertical;

  const double d = a1 <= a2 ? a2 - a1 : a2 + 360 - a1;
  double m;
  if (d < 180 - limits.acute || d > 180 + limits.acute) {
    m = std::fabs(a1 - a2) > 180 ? (a1 + a2 + 360) / 2 : (a1 + a2) / 2;
    r.calcFlag = 0;
  } else {
    m = a1 > a2 ? (a1 + a2 + 180) / 2 : (a1 + a2 - 180) / 2;
    r.calcFlag = 1;
  }
  if (m < 0) {
    m += 360;
  } else if (m >= 360) {
    m -= 360;
  }
  p.calcC[kEndAzimuth] = m;
  r.calcC[kStartAzimuth] = m;

  const double j = r.calcFlag == 1 ? -(e2 - e1) / 2 : (e1 + e2) / 2;
  p.calcC[kEndElevation] = j;
  if (j > v || j < -v) {
    r.calcC[kStartElevation] = j;
    if (p.direction > 0 && r.direction > 0) {
      p.calcScale = (e1 + e2) / 2;
    } else if (p.direction > 0 && r.direction < 0) {
      p.calcScale = (e1 - e2) / 2;
    } else if (p.direction < 0 && r.direction > 0) {
      p.calcScale = (e2 - e1) / 2;
    } else if (p.direction < 0 && r.direction < 0) {
      p.calcScale = -(e1 + e2) / 2;
    } else {
      p.calcScale = 0;
    }
    r.calcScale = SignedByDirection(e2, r.direction);
  } else {
    p.calcC[kEndElevation] = 0;
    r.calcC[kStartElevation] = 0;
    p.calcScale = 0;
  }

  r.calcC[kEndAzimuth] = a2;
  r.calcC[kEndElevation] = e2;
  if (-v <= e2 && e2 <= v) {
    r.calcC[kEndElevation] = 0;
    r.calcScale = 0;
  }

  p.work.successor = 1;
  if (p.length != 0) {
    p.drawFlags[1] = 0;
    if (r.calcFlag == 0) r.drawFlags[0] = 0;
  }
  r.calcC[kHalfSize] = (DimensionSum(r) + DimensionSum(p)) / 4;
  UpdateWallPoints(p);
  UpdateWallPoints(r);
}

void UpdateWallPoints(doc::SurveyRecord& r) {
  const double a = r.calcC[kEndAzimuth], b = r.calcC[kEndElevation];
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
