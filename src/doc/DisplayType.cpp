// Names and dialog order of the display types.
#include "doc/DisplayType.h"

#include <array>

namespace hp::doc {

namespace {
constexpr std::array<std::string_view, kDisplayTypeCount> kTexts = {
    "Grundriss",      "Längsschnitt", "Parallelprojektion",   "Perspektivprojektion",
    "3D-Darstellung", "Animation",    "Vermessungsprotokoll", "Aufriss",
};
}  // namespace

std::string_view DisplayTypeText(DisplayType type) {
  const int value = DisplayTypeNumber(type);
  if (value < 0 || value >= kDisplayTypeCount) return {};
  return kTexts[static_cast<size_t>(value)];
}

std::optional<DisplayType> DisplayTypeFromListPosition(int position) {
  if (position < 0 || position >= kDisplayTypeCount) return std::nullopt;
  if (position <= 1) return DisplayTypeOf(position);
  if (position == 2) return DisplayType::Elevation;
  return DisplayTypeOf(position - 1);
}

int ListPositionOfDisplayType(DisplayType type) {
  const int value = DisplayTypeNumber(type);
  if (value < 0 || value >= kDisplayTypeCount) return -1;
  if (value <= 1) return value;
  if (type == DisplayType::Elevation) return 2;
  return value + 1;
}

}  // namespace hp::doc
