// The arithmetic of the view transform: 4x4 matrices used with row vectors,
// the step matrices a projection is built from, point and segment projection,
// drawing-to-device mapping and the 1-2-5 step snapping.
#pragma once

#include <array>
#include <cmath>
#include <initializer_list>

namespace hp::draw {

// Degrees to radians in every projection.
inline constexpr double kProjectionDegree = 0.017453293;

struct Vec3 {
  double x = 0, y = 0, z = 0;
  bool operator==(const Vec3&) const = default;
};

// A point (x, y, z) maps to (x, y, z, 1)·M: row 3 is the translation and
// column 3 the homogeneous weight.
struct Matrix4 {
  std::array<std::array<double, 4>, 4> m{{{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}}};
  bool operator==(const Matrix4&) const = default;
};
Matrix4 operator*(const Matrix4& a, const Matrix4& b);

Matrix4 TranslateMatrix(double tx, double ty, double tz);
// (east, north, up) -> (east, up, north).
Matrix4 SwapMatrix();
// Turn about the vertical screen axis; after the swap x points to the right
// of the view direction and z along it.
Matrix4 TurnAzimuthMatrix(double degrees);
Matrix4 TurnInclinationMatrix(double degrees);
// w = 1 + c·z.
Matrix4 WeightMatrix(double c);
Matrix4 ScaleMatrix(double s);

// The matrix of `steps` listed in the order they act on a point. Each step
// goes in front of the matrix built so far (M := S·M), last step first.
Matrix4 Chain(std::initializer_list<Matrix4> steps);

// Homogeneous weight of a point.
double Weight(const Matrix4& m, const Vec3& p);
// (x/w, y/w, z) with the depth undivided; (0, 0, 0) behind the eye (w <= 0).
Vec3 ProjectPoint(const Matrix4& m, const Vec3& p);

struct Segment {
  Vec3 from, to;
};
// Projects a segment, cutting off the part behind the eye; a segment wholly
// behind it comes back as (0, 0, -1) twice, which the drawing skips.
Segment ProjectSegment(const Matrix4& m, const Vec3& from, const Vec3& to);
inline constexpr double kHiddenDepth = -1.0;

// Device coordinates stay within +-kDeviceLimit: far outside any window or
// page, yet a few of them can be added without leaving an int.
inline constexpr int kDeviceLimit = 1 << 29;
// `v` cut toward zero and held within +-limit; NaN gives 0. Every length or
// coordinate that becomes device units (or another stored integer) goes
// through it, so that no survey, however odd its numbers (a leg of 1e12 m,
// a passage 1e300 m wide, a NaN coordinate), converts out of range.
inline int ClampedInt(double v, int limit = kDeviceLimit) {
  if (std::isnan(v)) return 0;
  if (v >= limit) return limit;
  if (v <= -limit) return -limit;
  return static_cast<int>(std::trunc(v));
}

struct DevicePoint {
  int x = 0, y = 0;
  bool operator==(const DevicePoint&) const = default;
};
// Drawing metres to device units (`k` units per metre, y turned downwards,
// offset by the device position of the drawing area's corner). Values are
// rounded by adding a half and cutting toward zero, then held to the device
// range.
inline DevicePoint ToDevice(double x, double y, double k, int ox, int oy) {
  // Whole numbers below 2^53 subtract exactly in doubles.
  return {ClampedInt(std::trunc(k * x + 0.5) - ox), ClampedInt(-std::trunc(k * y + 0.5) - oy)};
}

// A length snapped to 1, 2 or 5 times a power of ten (grid, label and
// distance steps). Zero, negative or non-finite lengths give 1.
double NiceStep(double v);

}  // namespace hp::draw
