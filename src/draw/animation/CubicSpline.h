// The natural cubic spline the animation flies along: one channel of the
// view (azimuth, inclination, distance or a centre coordinate) over the
// picture number, optionally closed so an endless flight passes its first
// key as smoothly as any other.
#pragma once

#include <span>
#include <vector>

namespace hp::draw {

class CubicSpline {
 public:
  CubicSpline() = default;
  // Fits the spline through the points (x strictly increasing). A closed
  // spline (honoured from three points on) whose last point returns to the
  // first gets one extra point before and after, continuing the flight from
  // its end into its start, so the curve has no kink there.
  void Compute(std::span<const double> x, std::span<const double> y, bool closed);

  // The value at `t`: 0 outside the fitted abscissas; the last piece at the
  // last abscissa.
  double operator()(double t) const;

  // The points the spline runs through (the extra ones of a closed spline
  // included) and the second derivatives there.
  const std::vector<double>& abscissas() const { return m_x; }
  const std::vector<double>& secondDerivatives() const { return m_m; }

 private:
  std::vector<double> m_x, m_y, m_m;
  std::vector<double> m_a, m_b, m_c, m_d;  // per piece: a·u³ + b·u² + c·u + d
};

}  // namespace hp::draw
