// The minimum of a leg's chi-square change as its azimuth or elevation
// turns: a trigonometric quadratic sampled on a grid of angles and refined
// by Newton steps.
#pragma once

#include <array>
#include <cmath>
#include <cstddef>
#include <utility>

#include "calc/Symmetric3.h"

namespace hp::calc {

// An angle range sampled at `steps` + 1 points, with the sines and cosines
// of the samples worked out once for every leg.
struct AngleGrid {
  static constexpr int kMaxSteps = 72;
  AngleGrid(double lo_, double hi_, int steps_) : lo(lo_), hi(hi_), steps(steps_) {
    const double h = (hi - lo) / steps;
    for (int k = 0; k <= steps; ++k) {
      sin[static_cast<size_t>(k)] = std::sin(lo + h * k);
      cos[static_cast<size_t>(k)] = std::cos(lo + h * k);
    }
  }
  double lo, hi;
  int steps;
  std::array<double, kMaxSteps + 1> sin{}, cos{};
};

// The full circle of azimuths in 5 degree steps, and the elevations from
// straight down to straight up in the same steps.
const AngleGrid& AzimuthGrid();
const AngleGrid& ElevationGrid();

// A leg's chi-square change along a circle of vectors
// v(x) = sin x P + cos x Q + R: a s^2 + b c^2 + 2 g s c + 2 p s + 2 q c + r
// with s = sin x, c = cos x.
struct TrigQuadratic {
  TrigQuadratic(const Sym3& A, const V3& S, const V3& P, const V3& Q, const V3& R, const V3& u) {
    const V3 w{R[0] - u[0], R[1] - u[1], R[2] - u[2]};
    const V3 AP = A.Times(P), Aw = A.Times(w);
    a = Dot(P, AP), b = A.Form(Q), g = Dot(Q, AP);
    p = Dot(P, Aw) + Dot(P, S), q = Dot(Q, Aw) + Dot(Q, S);
    r = Dot(w, Aw) + 2 * Dot(S, w);
  }
  double Value(double s, double c) const { return a * s * s + b * c * c + 2 * g * s * c + 2 * p * s + 2 * q * c + r; }
  double Slope(double s, double c) const {
    return 2 * (a - b) * s * c + 2 * g * (c * c - s * s) + 2 * p * c - 2 * q * s;
  }
  double Bend(double s, double c) const {
    return 2 * (a - b) * (c * c - s * s) - 8 * g * s * c - 2 * p * s - 2 * q * c;
  }
  double a, b, g, p, q, r;
};

// Minimum over the grid's range of the curve f(sin x, cos x), sampled on
// the grid, each local minimum of the samples refined by Newton steps (by
// golden section where those fail): the angle and the value there.
// `periodic` joins the range's ends (the azimuth's full circle).
std::pair<double, double> MinimiseAngle(const TrigQuadratic& f, const AngleGrid& grid, bool periodic);

}  // namespace hp::calc
