// The label room: a grid of cells each holding a list of the placed label
// boxes that reach into it.
#include "draw/LabelSpace.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace hp::draw {

namespace {

// Keeps the grid small on large devices (a printer page at a high
// resolution): about this many cells at most.
constexpr long long kMaxCells = 1 << 20;
constexpr int kSmallestCell = 8;

bool Overlap(const Rect& a, const Rect& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

}  // namespace

LabelSpace::LabelSpace(const Rect& shown) : m_shown(shown) {
  const long long w = std::max(1, shown.right - shown.left), h = std::max(1, shown.bottom - shown.top);
  m_cell = kSmallestCell;
  while ((w / m_cell + 1) * (h / m_cell + 1) > kMaxCells) m_cell *= 2;
  m_columns = static_cast<int>(w / m_cell + 1);
  m_rows = static_cast<int>(h / m_cell + 1);
  m_heads.assign(static_cast<size_t>(m_columns) * static_cast<size_t>(m_rows), -1);
}

bool LabelSpace::CellsOf(const Rect& box, int& x0, int& y0, int& x1, int& y1) const {
  const int left = std::max(box.left, m_shown.left), right = std::min(box.right, m_shown.right);
  const int top = std::max(box.top, m_shown.top), bottom = std::min(box.bottom, m_shown.bottom);
  if (left >= right || top >= bottom) return false;
  x0 = (left - m_shown.left) / m_cell, x1 = (right - 1 - m_shown.left) / m_cell;
  y0 = (top - m_shown.top) / m_cell, y1 = (bottom - 1 - m_shown.top) / m_cell;
  return true;
}

bool LabelSpace::Free(const Rect& box) const {
  int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
  if (!CellsOf(box, x0, y0, x1, y1)) return true;
  for (int cy = y0; cy <= y1; ++cy)
    for (int cx = x0; cx <= x1; ++cx)
      for (int32_t e = Head(cx, cy); e >= 0; e = m_entries[static_cast<size_t>(e)].next)
        if (Overlap(box, m_boxes[m_entries[static_cast<size_t>(e)].box])) return false;
  return true;
}

void LabelSpace::Place(const Rect& box) {
  int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
  if (!CellsOf(box, x0, y0, x1, y1)) return;
  const auto index = static_cast<uint32_t>(m_boxes.size());
  m_boxes.push_back(box);
  for (int cy = y0; cy <= y1; ++cy) {
    for (int cx = x0; cx <= x1; ++cx) {
      int32_t& head = m_heads[static_cast<size_t>(cy) * m_columns + cx];
      m_entries.push_back({index, head});
      head = static_cast<int32_t>(m_entries.size() - 1);
    }
  }
}

Rect LabelBox(Point origin, Size extent, int escapement) {
  if (escapement % 3600 == 0) return {origin.x, origin.y - extent.cy, origin.x + extent.cx, origin.y};
  const double a = escapement * 3.14159265358979323846 / 1800;
  const double c = std::cos(a), s = std::sin(a);
  // Along the baseline (c, -s) and upwards (-s, -c) on the device.
  double left = 0, right = 0, top = 0, bottom = 0;
  for (const auto& [u, v] : {std::pair<int, int>{extent.cx, 0}, {0, extent.cy}, {extent.cx, extent.cy}}) {
    const double x = u * c - v * s, y = -u * s - v * c;
    left = std::min(left, x), right = std::max(right, x), top = std::min(top, y), bottom = std::max(bottom, y);
  }
  return {origin.x + static_cast<int>(std::floor(left)), origin.y + static_cast<int>(std::floor(top)),
          origin.x + static_cast<int>(std::ceil(right)), origin.y + static_cast<int>(std::ceil(bottom))};
}

}  // namespace hp::draw
