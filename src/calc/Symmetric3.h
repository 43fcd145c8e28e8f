// Three-vectors and symmetric 3x3 matrices: the weights and covariances of
// leg vectors and loop misclosures.
#pragma once

#include <array>

namespace hp::calc {

using V3 = std::array<double, 3>;

// A symmetric 3x3 matrix: xx, xy, xz, yy, yz, zz.
struct Sym3 {
  double m[6] = {};
  void Add(const Sym3& o) {
    for (int i = 0; i < 6; ++i) m[i] += o.m[i];
  }
  void AddOuter(const V3& a, double weight) {
    m[0] += weight * a[0] * a[0];
    m[1] += weight * a[0] * a[1];
    m[2] += weight * a[0] * a[2];
    m[3] += weight * a[1] * a[1];
    m[4] += weight * a[1] * a[2];
    m[5] += weight * a[2] * a[2];
  }
  V3 Times(const V3& a) const {
    return {m[0] * a[0] + m[1] * a[1] + m[2] * a[2], m[1] * a[0] + m[3] * a[1] + m[4] * a[2],
            m[2] * a[0] + m[4] * a[1] + m[5] * a[2]};
  }
  double Form(const V3& a) const {
    return m[0] * a[0] * a[0] + m[3] * a[1] * a[1] + m[5] * a[2] * a[2] +
           2 * (m[1] * a[0] * a[1] + m[2] * a[0] * a[2] + m[4] * a[1] * a[2]);
  }
};

inline double Dot(const V3& a, const V3& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

// The inverse of a covariance; a singular one (a loop of vertical legs in
// one line, say) is first given a little accuracy in every direction.
Sym3 Inverse(Sym3 c);

}  // namespace hp::calc
