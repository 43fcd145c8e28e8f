// The inverse of a symmetric 3x3 matrix.
#include "calc/Symmetric3.h"

#include <algorithm>
#include <cmath>

namespace hp::calc {

Sym3 Inverse(Sym3 c) {
  const double trace = c.m[0] + c.m[3] + c.m[5];
  for (int attempt = 0; attempt < 2; ++attempt) {
    const double* m = c.m;
    const double a = m[3] * m[5] - m[4] * m[4];
    const double b = m[2] * m[4] - m[1] * m[5];
    const double d = m[1] * m[4] - m[2] * m[3];
    const double det = m[0] * a + m[1] * b + m[2] * d;
    const double scale = trace * trace * trace;
    if (std::isfinite(det) && det > 1e-9 * scale && det > 0) {
      Sym3 w;
      w.m[0] = a / det;
      w.m[1] = b / det;
      w.m[2] = d / det;
      w.m[3] = (m[0] * m[5] - m[2] * m[2]) / det;
      w.m[4] = (m[1] * m[2] - m[0] * m[4]) / det;
      w.m[5] = (m[0] * m[3] - m[1] * m[1]) / det;
      return w;
    }
    const double add = std::max(trace * 1e-3, 1e-12);
    c.m[0] += add, c.m[3] += add, c.m[5] += add;
  }
  Sym3 w;  // not reached for finite input
  return w;
}

}  // namespace hp::calc
