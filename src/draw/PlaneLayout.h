// Page arithmetic of a plane drawing: the sheet grid step, the first
// sub-sheet, the overview made of whole sub-sheets, its grid step, and the
// drawing area of the overview or of the sub-sheet shown.
#pragma once

#include <cstdint>
#include <optional>

#include "doc/Worksheet.h"

namespace hp::draw {

// A rectangle in drawing metres (y up).
struct PlaneRect {
  double left = 0, bottom = 0, right = 0, top = 0;
  double Width() const { return right - left; }
  double Height() const { return top - bottom; }
  bool operator==(const PlaneRect&) const = default;
};

struct PlaneLayout {
  PlaneRect sheet;     // the first (top-left) sub-sheet
  PlaneRect overview;  // all sub-sheets
  PlaneRect area;      // what is drawn: the overview or the sub-sheet shown
  double sheetGrid = 1, overviewGrid = 1;
  double grid = 1;  // grid of the drawn area
  int rows = 1, columns = 1;
  bool subSheet = false;  // the area is one sub-sheet
  int sheetNumber = 1;    // the sub-sheet shown, from 1
  // The grid steps as the worksheet stores them (whole metres).
  int32_t storedSheetGrid = 1, storedOverviewGrid = 1;
  // What was computed rather than set by hand, and so is kept by StoreLayout.
  bool automaticGrid = false, automaticSheet = false, automaticOverview = false;
};

// The part of the overview a drawing shows when it is not the worksheet's
// own choice: a printed page.
struct SheetChoice {
  bool subSheet = false;
  int number = 1;  // the sub-sheet, from 1
};

// The printable page when the printer tells nothing, millimetres.
inline constexpr double kDefaultPageWidthMm = 197, kDefaultPageHeightMm = 285;

// Lays out the plane extent `extent` on pages of the given printable size
// (millimetres, already turned for the orientation), showing the sub-sheet
// `sheet` asks for or else the worksheet's own.
PlaneLayout LayoutPlane(const doc::Worksheet& worksheet, const PlaneRect& extent, double pageWidthMm,
                        double pageHeightMm, std::optional<SheetChoice> sheet = {});

// Keeps in the worksheet what the window's layout computed and the user did
// not set by hand (grid steps, sub-sheet and overview rectangles, rows and
// columns), so that the document saves the sheets the user saw and the
// sheet commands work on them.
void StoreLayout(doc::Worksheet& worksheet, const PlaneLayout& layout);

// The sheet settings of a new or reset worksheet, put back by the first
// drawing after it: overview, sub-sheets, pages and grid automatic; sub-sheets
// hidden; one row and one column; sheet and protocol page 1; no print area;
// sub-sheet division on; page margins 20 mm; background map off; label
// angle 0; north-arrow size and height-label step automatic.
void RestoreSheetDefaults(doc::Worksheet& worksheet);

}  // namespace hp::draw
