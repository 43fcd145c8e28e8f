// Where windows and dialogs go on the screen: the main window's stored
// placement ("WindowPos") and the remembered dialog positions held inside
// the desktop's work area.
#pragma once

#include <optional>
#include <string>
#include <string_view>

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

}  // namespace hp::platform
