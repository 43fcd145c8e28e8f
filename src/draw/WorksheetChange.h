// What follows when a settings dialog of the worksheet stored its values.
#pragma once

#include <string_view>

namespace hp::draw {

// What must follow when a settings dialog stored its values. The caller
// marks the document modified when `modified` is set, rebuilds its pens or
// its projection when asked, and redraws every view in any case.
struct WorksheetChange {
  bool modified = false;         // the worksheet's image changed
  bool pensDirty = false;        // pens are rebuilt before the next drawing
  bool projectionDirty = false;  // projection and frame lines are rebuilt
};

// The button of the settings dialogs that stores without closing.
inline constexpr std::string_view kApplyButtonText = "Ü&bernehmen";

}  // namespace hp::draw
