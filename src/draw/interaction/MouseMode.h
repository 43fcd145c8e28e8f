// The mouse modes of the view's context menu: what a click on the drawing
// does.
#pragma once

namespace hp::draw {

// The number of each mode is the one the settings keep ("ContextMenu" in
// "Settings").
enum class MouseMode {
  Edit = 0,         // "&Daten bearbeiten"
  Sheets = 1,       // "&Teilblätter auswählen"
  PrintArea = 2,    // "Druck&bereich auswählen"
  Centre = 3,       // "&Zentrieren"
  Mark = 4,         // "&Abstandsmarkierung"
  StationInfo = 5,  // "Messpunkt-&Info"
  Overview = 6,     // "Übersicht &festlegen"
};

// A stored number as a mode; a number out of range gives the data editing.
constexpr MouseMode MouseModeOf(int value) {
  return value >= 0 && value <= static_cast<int>(MouseMode::Overview) ? static_cast<MouseMode>(value) : MouseMode::Edit;
}
constexpr int MouseModeNumber(MouseMode mode) { return static_cast<int>(mode); }

}  // namespace hp::draw
