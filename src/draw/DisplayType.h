// The display types of a worksheet, their names and their order in the
// display dialog's list.
#pragma once

#include <cstdint>
#include <string_view>

namespace hp::draw {

enum class DisplayType : int16_t {
  Plan = 0,         // "Grundriss"
  Section = 1,      // "Längsschnitt" (developed section)
  Parallel = 2,     // "Parallelprojektion"
  Perspective = 3,  // "Perspektivprojektion"
  RedGreen = 4,     // "3D-Darstellung"
  Animation = 5,    // camera view
  Protocol = 6,     // "Vermessungsprotokoll"
  Elevation = 7,    // "Aufriss"
};
inline constexpr int kDisplayTypeCount = 8;

// The name of a display type value (UTF-8); empty for a value out of range.
std::string_view DisplayTypeText(int value);

// The dialog lists elevation third, after the section.
int DisplayTypeFromListPosition(int position);  // -1 out of range
int ListPositionOfDisplayType(int value);       // -1 out of range

}  // namespace hp::draw
