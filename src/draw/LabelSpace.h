// The room station labels take on the device: the rectangles of the labels
// placed so far, found through a coarse grid of cells over the part of the
// device that is shown. A label that would overlap one already placed is
// left out, so a dense plan shows readable labels instead of black blobs,
// and the text of a label left out is never measured. The memory grows with
// the shown area, not with the number of stations.
#pragma once

#include <cstdint>
#include <vector>

#include "draw/Surface.h"

namespace hp::draw {

class LabelSpace {
 public:
  // Keeps track of labels within `shown` (right and bottom excluded); parts
  // of labels outside it are not compared.
  explicit LabelSpace(const Rect& shown);

  // True when `box` (right and bottom excluded) overlaps no label placed
  // before; boxes that only touch do not overlap.
  bool Free(const Rect& box) const;
  void Place(const Rect& box);

  int cellSize() const { return m_cell; }

 private:
  struct Entry {
    uint32_t box = 0;   // index into m_boxes
    int32_t next = -1;  // the next entry of the same cell, -1 at the end
  };
  // The cells `box` covers, clipped to the grid: false when none.
  bool CellsOf(const Rect& box, int& x0, int& y0, int& x1, int& y1) const;
  int32_t Head(int cx, int cy) const { return m_heads[static_cast<size_t>(cy) * m_columns + cx]; }

  Rect m_shown;
  int m_cell = 8;  // pixels a side
  int m_columns = 0, m_rows = 0;
  std::vector<int32_t> m_heads;  // first entry of each cell, -1 when empty
  std::vector<Entry> m_entries;
  std::vector<Rect> m_boxes;
};

// The device box of a label of `extent` whose bottom-left corner is at
// `origin`, turned by `escapement` (tenths of a degree, counter-clockwise)
// about it.
Rect LabelBox(Point origin, Size extent, int escapement);

}  // namespace hp::draw
