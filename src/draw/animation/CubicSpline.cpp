// Natural cubic spline through the animation keys.
#include "draw/animation/CubicSpline.h"

#include <algorithm>

namespace hp::draw {

void CubicSpline::Compute(std::span<const double> x, std::span<const double> y, bool closed) {
  const size_t m = std::min(x.size(), y.size());
  closed = closed && m >= 3;
  const size_t n = closed ? m + 2 : m;
  m_x.assign(n, 0.0);
  m_y.assign(n, 0.0);
  if (closed) {
    m_x[0] = x[0] - x[m - 1] + x[m - 2];
    m_y[0] = y[0] - y[m - 1] + y[m - 2];
    std::copy_n(x.begin(), m, m_x.begin() + 1);
    std::copy_n(y.begin(), m, m_y.begin() + 1);
    m_x[m + 1] = x[m - 1] - x[0] + x[1];
    m_y[m + 1] = y[m - 1] - y[0] + y[1];
  } else {
    std::copy_n(x.begin(), m, m_x.begin());
    std::copy_n(y.begin(), m, m_y.begin());
  }
  m_m.assign(n, 0.0);
  const size_t pieces = n > 0 ? n - 1 : 0;
  m_a.assign(pieces, 0.0);
  m_b.assign(pieces, 0.0);
  m_c.assign(pieces, 0.0);
  m_d.assign(pieces, 0.0);
  if (n < 2) return;

  std::vector<double> h(n, 0.0), s(n, 0.0), diag(n, 0.0), right(n, 0.0), lower(n, 0.0), e(n, 0.0), f(n, 0.0);
  for (size_t i = 0; i + 1 < n; ++i) {
    h[i] = m_x[i + 1] - m_x[i];
    s[i] = (m_y[i + 1] - m_y[i]) / h[i];
  }
  // The tridiagonal system of the inner second derivatives; both ends are
  // natural (second derivative 0).
  for (size_t i = 1; i + 1 < n; ++i) {
    diag[i] = 2 * (h[i - 1] + h[i]);
    right[i] = 6 * (s[i] - s[i - 1]);
  }
  e[1] = diag[1];
  for (size_t i = 1; i + 1 < n; ++i) {
    lower[i] = h[i] / e[i];
    e[i + 1] = diag[i + 1] - lower[i] * h[i];
  }
  f[1] = right[1];
  for (size_t i = 2; i + 1 < n; ++i) f[i] = right[i] - lower[i - 1] * f[i - 1];
  // The last second derivative is 0 by the natural end condition; taking it
  // from F/E would be 0/0 for two points.
  m_m[n - 1] = 0;
  for (size_t i = n - 2; i >= 1; --i) m_m[i] = (f[i] - h[i] * m_m[i + 1]) / e[i];

  for (size_t i = 0; i + 1 < n; ++i) {
    m_a[i] = (m_m[i + 1] - m_m[i]) / 6 / h[i];
    m_b[i] = m_m[i] / 2;
    m_c[i] = (m_y[i + 1] - m_y[i]) / h[i] - h[i] / 6 * (2 * m_m[i] + m_m[i + 1]);
    m_d[i] = m_y[i];
  }
}

double CubicSpline::operator()(double t) const {
  const size_t n = m_x.size();
  if (n == 0 || !(t >= m_x.front() && t <= m_x.back())) return 0;
  if (n == 1) return m_y.front();
  size_t i = 0;
  while (i + 2 < n && !(m_x[i + 1] > t)) ++i;
  const double u = t - m_x[i];
  return ((m_a[i] * u + m_b[i]) * u + m_c[i]) * u + m_d[i];
}

}  // namespace hp::draw
