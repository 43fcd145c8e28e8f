// Window placement text and dialog positions.
#include "platform/WindowPlacement.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "base/NumberFormat.h"

namespace hp::platform {

std::string FormatWindowPlacement(const WindowPlacement& p) {
  char buffer[160];
  std::snprintf(buffer, sizeof buffer, "%u,%u,%d,%d,%d,%d,%d,%d,%d,%d", p.flags, p.showCommand, p.minimised.x,
                p.minimised.y, p.maximised.x, p.maximised.y, p.normal.left, p.normal.top, p.normal.right,
                p.normal.bottom);
  return buffer;
}

std::optional<WindowPlacement> ParseWindowPlacement(std::string_view text) {
  std::vector<long long> numbers;
  size_t start = 0;
  while (true) {
    const size_t comma = text.find(',', start);
    const std::string_view item =
        text.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start);
    const auto value = base::ParseInteger(item);
    if (!value || *value < -2147483648LL || *value > 4294967295LL) return std::nullopt;
    numbers.push_back(*value);
    if (comma == std::string_view::npos) break;
    start = comma + 1;
  }
  if (numbers.size() != 10 || numbers[0] < 0 || numbers[1] < 0) return std::nullopt;
  for (size_t i = 2; i < 10; ++i)
    if (numbers[i] > 2147483647LL) return std::nullopt;
  const auto n = [&](size_t i) { return static_cast<int>(numbers[i]); };
  WindowPlacement p;
  p.flags = static_cast<unsigned>(numbers[0]);
  p.showCommand = static_cast<unsigned>(numbers[1]);
  p.minimised = {n(2), n(3)};
  p.maximised = {n(4), n(5)};
  p.normal = {n(6), n(7), n(8), n(9)};
  return p;
}

ScreenPoint KeepInsideWorkArea(ScreenPoint at, int width, int height, const ScreenRect& area) {
  if (at.x + width > area.right) at.x = area.right - width;
  if (at.x < area.left) at.x = area.left;
  if (at.y + height > area.bottom) at.y = area.bottom - height;
  if (at.y < area.top) at.y = area.top;
  return at;
}

ScreenPoint CentreOn(const ScreenRect& owner, int width, int height) {
  return {owner.left + (owner.Width() - width) / 2, owner.top + (owner.Height() - height) / 2};
}

int CascadeCycle(int areaWidth, int areaHeight, int step) {
  if (step <= 0) return 1;
  // A window is the area less (cycle - 1) steps on each side; a third of the
  // shorter side is what those steps may take.
  const int spare = std::min(std::max(areaWidth, 0), std::max(areaHeight, 0)) / 3;
  return 1 + spare / step;
}

namespace {

// Window `index` of a cycle of `cycle` positions.
ScreenRect CascadePosition(int areaWidth, int areaHeight, int index, int cycle, int step) {
  const int width = std::max(areaWidth, 0), height = std::max(areaHeight, 0);
  const int offset = cycle > 1 ? (index % cycle) * step : 0;
  const int rest = cycle > 1 ? (cycle - 1) * step : 0;
  return {offset, offset, offset + width - rest, offset + height - rest};
}

}  // namespace

std::vector<ScreenRect> CascadeWindows(int areaWidth, int areaHeight, int count, int step) {
  std::vector<ScreenRect> windows;
  if (count <= 0) return windows;
  const int cycle = std::min(count, CascadeCycle(areaWidth, areaHeight, step));
  windows.reserve(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) windows.push_back(CascadePosition(areaWidth, areaHeight, i, cycle, step));
  return windows;
}

ScreenRect NewCascadeWindow(int areaWidth, int areaHeight, int open, int step) {
  return CascadePosition(areaWidth, areaHeight, std::max(open, 0), CascadeCycle(areaWidth, areaHeight, step), step);
}

}  // namespace hp::platform
