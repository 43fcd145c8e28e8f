// The display types of a worksheet, their names, their order in the display
// dialog's list, and the groups the drawing, the page label, the status line
// and the view commands ask about.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace hp::doc {

// The stored 16-bit value of a worksheet. A value outside 0 to 7 (an odd
// file) belongs to no group below and is not drawn.
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

// A stored or typed number as a display type; any value out of range becomes
// one that belongs to no group. Only the file codec, the version conversions
// and the batch tool's arguments and output deal in the number.
constexpr DisplayType DisplayTypeOf(int value) {
  return value >= 0 && value < kDisplayTypeCount ? static_cast<DisplayType>(value) : static_cast<DisplayType>(-1);
}
constexpr int DisplayTypeNumber(DisplayType t) { return static_cast<int>(t); }

// Plan, section, parallel projection and elevation: drawn flat on sheets
// from the plane extent.
constexpr bool IsPlaneType(DisplayType t) {
  return t == DisplayType::Plan || t == DisplayType::Section || t == DisplayType::Parallel ||
         t == DisplayType::Elevation;
}
// Perspective, red-green and camera view: drawn from the world extent.
constexpr bool IsSpatialType(DisplayType t) {
  return t == DisplayType::Perspective || t == DisplayType::RedGreen || t == DisplayType::Animation;
}
// The camera view: view distance, centre point, stored positions and the
// animation belong to it.
constexpr bool IsCameraType(DisplayType t) { return t == DisplayType::Animation; }
// Dragging turns the picture and, let go while moving, keeps it spinning:
// the spatial types only (the elevation turns by command, not by the mouse).
constexpr bool Spins(DisplayType t) { return IsSpatialType(t); }
// Everything but the survey protocol (and values out of range) is a picture.
constexpr bool IsDrawnType(DisplayType t) { return IsPlaneType(t) || IsSpatialType(t); }
// The scale denominator, sub-sheets and pages apply to the plane types.
constexpr bool HasScale(DisplayType t) { return IsPlaneType(t); }
// The view azimuth turns the picture: parallel projection, elevation and the
// spatial types.
constexpr bool HasViewAzimuth(DisplayType t) {
  return t == DisplayType::Parallel || t == DisplayType::Elevation || IsSpatialType(t);
}
// The view inclination tilts the picture: parallel projection and the
// spatial types.
constexpr bool HasViewInclination(DisplayType t) { return t == DisplayType::Parallel || IsSpatialType(t); }

// The name of a display type (UTF-8); empty for a value out of range.
std::string_view DisplayTypeText(DisplayType type);

// The dialog lists elevation third, after the section.
std::optional<DisplayType> DisplayTypeFromListPosition(int position);  // none out of range
int ListPositionOfDisplayType(DisplayType type);                       // -1 out of range

}  // namespace hp::doc
