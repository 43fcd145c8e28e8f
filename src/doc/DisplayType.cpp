// Names and dialog order of the display types.
#include "doc/DisplayType.h"

#include <array>

namespace hp::doc {

namespace {
constexpr std::array<std::string_view, kDisplayTypeCount> kTexts = {
    "Grundriss",          "Längsschnitt", "Parallelprojektion", "Perspektivprojektion",
    "3D-Darstellung",     "Animation",    "Vermessungsprotokoll", "Aufriss",
};
}  // namespace

std::string_view DisplayTypeText(int value) {
  if (value < 0 || value >= kDisplayTypeCount) return {};
  return kTexts[static_cast<size_t>(value)];
}

int DisplayTypeFromListPosition(int position) {
  if (position < 0 || position >= kDisplayTypeCount) return -1;
  if (position <= 1) return position;
  if (position == 2) return static_cast<int>(DisplayType::Elevation);
  return position - 1;
}

int ListPositionOfDisplayType(int value) {
  if (value < 0 || value >= kDisplayTypeCount) return -1;
  if (value <= 1) return value;
  if (value == static_cast<int>(DisplayType::Elevation)) return 2;
  return value + 1;
}

}  // namespace hp::doc
