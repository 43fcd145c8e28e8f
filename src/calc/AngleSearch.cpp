// The angle search of the blunder finder's candidate readings.
#include "calc/AngleSearch.h"

#include <algorithm>
#include <numbers>

namespace hp::calc {
namespace {

// Newton steps from `x` towards the minimum inside [a, b]; false when they
// leave the interval, meet a curve bent the wrong way or do not settle.
bool NewtonMinimum(const TrigQuadratic& f, double a, double b, double& x) {
  for (int it = 0; it < 30; ++it) {
    const double sinX = std::sin(x), cosX = std::cos(x);
    const double bend = f.Bend(sinX, cosX);
    if (!(bend > 0)) return false;
    const double step = -f.Slope(sinX, cosX) / bend;
    x += step;
    if (!(x >= a && x <= b)) return false;
    if (std::fabs(step) <= 1e-12) return true;
  }
  return false;
}

}  // namespace

const AngleGrid& AzimuthGrid() {
  static const AngleGrid grid(0, 2 * std::numbers::pi, 72);
  return grid;
}

const AngleGrid& ElevationGrid() {
  static const AngleGrid grid(-std::numbers::pi / 2, std::numbers::pi / 2, 36);
  return grid;
}

std::pair<double, double> MinimiseAngle(const TrigQuadratic& f, const AngleGrid& grid, bool periodic) {
  const double lo = grid.lo, hi = grid.hi;
  const int steps = grid.steps;
  std::array<double, AngleGrid::kMaxSteps + 1> values{};
  const double h = (hi - lo) / steps;
  for (int k = 0; k <= steps; ++k) {
    values[static_cast<size_t>(k)] = f.Value(grid.sin[static_cast<size_t>(k)], grid.cos[static_cast<size_t>(k)]);
  }
  const auto at = [&](double x) { return f.Value(std::sin(x), std::cos(x)); };
  double bestAt = lo, best = values[0];
  for (int k = 0; k <= steps; ++k) {
    const size_t i = static_cast<size_t>(k);
    const double left = k > 0 ? values[i - 1] : periodic ? values[static_cast<size_t>(steps) - 1] : values[i] + 1;
    const double right = k < steps ? values[i + 1] : periodic ? values[1] : values[i] + 1;
    if (values[i] > left || values[i] > right) continue;
    double a = lo + h * (k - 1), b = lo + h * (k + 1);
    if (!periodic) a = std::max(a, lo), b = std::min(b, hi);
    double x = lo + h * k, v = 0;
    if (NewtonMinimum(f, a, b, x)) {
      v = at(x);
    } else {
      constexpr double kGolden = 0.6180339887498949;
      double x1 = b - kGolden * (b - a), x2 = a + kGolden * (b - a);
      double f1 = at(x1), f2 = at(x2);
      for (int it = 0; it < 60 && b - a > 1e-10; ++it) {
        if (f1 < f2) {
          b = x2, x2 = x1, f2 = f1, x1 = b - kGolden * (b - a), f1 = at(x1);
        } else {
          a = x1, x1 = x2, f1 = f2, x2 = a + kGolden * (b - a), f2 = at(x2);
        }
      }
      x = f1 < f2 ? x1 : x2, v = std::min(f1, f2);
    }
    if (v < best) best = v, bestAt = x;
    if (values[i] < best) best = values[i], bestAt = lo + h * k;
  }
  return {bestAt, best};
}

}  // namespace hp::calc
