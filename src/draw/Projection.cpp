// Matrices, projection of points and segments, device mapping, step snapping.
#include "draw/Projection.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace hp::draw {

Matrix4 operator*(const Matrix4& a, const Matrix4& b) {
  Matrix4 r;
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) {
      double sum = 0;
      for (int k = 0; k < 4; ++k) sum += a.m[i][k] * b.m[k][j];
      r.m[i][j] = sum;
    }
  return r;
}

Matrix4 TranslateMatrix(double tx, double ty, double tz) {
  Matrix4 r;
  r.m[3] = {tx, ty, tz, 1};
  return r;
}

Matrix4 SwapMatrix() {
  Matrix4 r;
  r.m[1] = {0, 0, 1, 0};
  r.m[2] = {0, 1, 0, 0};
  return r;
}

Matrix4 TurnAzimuthMatrix(double degrees) {
  const double a = degrees * kProjectionDegree;
  Matrix4 r;
  r.m[0][0] = std::cos(a);
  r.m[0][2] = std::sin(a);
  r.m[2][0] = -std::sin(a);
  r.m[2][2] = std::cos(a);
  return r;
}

Matrix4 TurnInclinationMatrix(double degrees) {
  const double i = degrees * kProjectionDegree;
  Matrix4 r;
  r.m[1][1] = std::cos(i);
  r.m[1][2] = std::sin(i);
  r.m[2][1] = -std::sin(i);
  r.m[2][2] = std::cos(i);
  return r;
}

Matrix4 WeightMatrix(double c) {
  Matrix4 r;
  r.m[2][3] = c;
  return r;
}

Matrix4 ScaleMatrix(double s) {
  Matrix4 r;
  r.m[0][0] = r.m[1][1] = r.m[2][2] = s;
  return r;
}

Matrix4 Chain(std::initializer_list<Matrix4> steps) {
  Matrix4 m;
  for (auto it = std::rbegin(steps); it != std::rend(steps); ++it) m = *it * m;
  return m;
}

namespace {

struct Homogeneous {
  double x, y, z, w;
};

Homogeneous Transform(const Matrix4& m, const Vec3& p) {
  const auto& r = m.m;
  return {
      p.x * r[0][0] + p.y * r[1][0] + p.z * r[2][0] + r[3][0], p.x * r[0][1] + p.y * r[1][1] + p.z * r[2][1] + r[3][1],
      p.x * r[0][2] + p.y * r[1][2] + p.z * r[2][2] + r[3][2], p.x * r[0][3] + p.y * r[1][3] + p.z * r[2][3] + r[3][3]};
}

Vec3 Divide(const Homogeneous& h) { return {h.x / h.w, h.y / h.w, h.z}; }

constexpr double kNearTolerance = 0.001;
// Bisection halves the step each round; after this many rounds a double has
// no step left, so a segment that never reaches the tolerance band stops here.
constexpr int kMaxCutSteps = 256;

}  // namespace

double Weight(const Matrix4& m, const Vec3& p) { return Transform(m, p).w; }

Vec3 ProjectPoint(const Matrix4& m, const Vec3& p) {
  const Homogeneous h = Transform(m, p);
  if (!(h.w > 0)) return {};
  return Divide(h);
}

Segment ProjectSegment(const Matrix4& m, const Vec3& from, const Vec3& to) {
  const Homogeneous h1 = Transform(m, from);
  const Homogeneous h2 = Transform(m, to);
  const bool visible1 = h1.w > 0, visible2 = h2.w > 0;
  if (visible1 && visible2) return {Divide(h1), Divide(h2)};
  const Segment hidden{{0, 0, kHiddenDepth}, {0, 0, kHiddenDepth}};
  if (!visible1 && !visible2) return hidden;

  // Walk from the hidden end toward the visible one until the point lies
  // just in front of the eye.
  const Vec3& v = visible1 ? from : to;
  Vec3 q = visible1 ? to : from;
  Vec3 d{v.x - q.x, v.y - q.y, v.z - q.z};
  Homogeneous hq = visible1 ? h2 : h1;
  for (int step = 0; step < kMaxCutSteps; ++step) {
    d = {d.x / 2, d.y / 2, d.z / 2};
    if (hq.w <= 0) q = {q.x + d.x, q.y + d.y, q.z + d.z};
    else q = {q.x - d.x, q.y - d.y, q.z - d.z};
    hq = Transform(m, q);
    if (hq.w > 0 && hq.w < kNearTolerance) break;
  }
  if (!(hq.w > 0)) return hidden;  // the band was never reached
  const Vec3 cut = Divide(hq);
  return visible1 ? Segment{Divide(h1), cut} : Segment{cut, Divide(h2)};
}

double NiceStep(double v) {
  if (!(v > 0) || !std::isfinite(v)) return 1.0;
  const double p = std::pow(10.0, std::trunc(std::log10(v)));
  const double r = v / p / 1.41;
  if (r > 5) return 10 * p;
  if (r > 2) return 5 * p;
  if (r > 1) return 2 * p;
  return p;
}

}  // namespace hp::draw
