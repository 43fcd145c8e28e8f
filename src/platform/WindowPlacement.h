// Where windows and dialogs go on the screen: the main window's stored
// placement ("WindowPos"), the remembered dialog positions held inside
// the desktop's work area, and the cascade of document windows inside the
// main window.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace hp::platform {

struct ScreenRect {
  int left = 0, top = 0, right = 0, bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool operator==(const ScreenRect&) const = default;
};

struct ScreenPoint {
  int x = 0, y = 0;
  bool operator==(const ScreenPoint&) const = default;
};

// The main window placement as "WindowPos" keeps it.
struct WindowPlacement {
  unsigned flags = 0;        // 2: the window was maximised
  unsigned showCommand = 1;  // 1 normal, 2 minimised, 3 maximised
  ScreenPoint minimised, maximised;
  ScreenRect normal;
  bool operator==(const WindowPlacement&) const = default;
};
inline constexpr unsigned kPlacementRestoreMaximised = 2;

// "%u,%u,%d,%d,%d,%d,%d,%d,%d,%d".
std::string FormatWindowPlacement(const WindowPlacement& placement);
// Only a text of exactly ten numbers is a placement.
std::optional<WindowPlacement> ParseWindowPlacement(std::string_view text);

// The section and default of the remembered dialog positions.
inline constexpr std::string_view kDialogSection = "Dialoge";
inline constexpr int kNoDialogPosition = -1234;

// Where a dialog of `size` remembered at `remembered` opens: moved without
// resizing so that it lies inside `workArea` (left and top edges win when
// the dialog is larger than the area).
ScreenPoint KeepInsideWorkArea(ScreenPoint remembered, int width, int height, const ScreenRect& workArea);
// The top-left corner that centres a dialog of `size` on its owner.
ScreenPoint CentreOn(const ScreenRect& owner, int width, int height);

// Cascaded document windows in an area of `areaWidth` x `areaHeight` pixels
// (rectangles relative to its top left corner). Each window sits `step`
// pixels (a title bar's height) right of and below the one before it, so
// every caption stays visible, and every window keeps at least two thirds of
// the area's width and height.

// How many windows cascade before the next one starts again at the top left:
// at least 1, and 1 when the area is too small for even one step or `step`
// is not positive.
int CascadeCycle(int areaWidth, int areaHeight, int step);
// `count` windows from the back one to the front one. Within one cycle each
// window reaches from its step to the area's edge less the steps of the
// windows after it, so all are of one size, as large as the cycle allows,
// and the last of a full cycle ends at the area's bottom right corner.
// Nothing lies outside the area; an empty area gives empty rectangles at its
// corner.
std::vector<ScreenRect> CascadeWindows(int areaWidth, int areaHeight, int count, int step);
// A new window when `open` windows are there already: the next cascade
// position, of the size a full cycle leaves, so it lies wholly inside the
// area wherever the cycle stands.
ScreenRect NewCascadeWindow(int areaWidth, int areaHeight, int open, int step);

}  // namespace hp::platform
