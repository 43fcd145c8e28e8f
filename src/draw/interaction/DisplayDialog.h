// The display dialog ("Darstellung"): the field texts it opens with, which
// fields the chosen display type enables, the checks of typed values and how
// OK writes them into the worksheet and the view transform. The window only
// moves texts between its widgets and DisplayDialogState.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "base/FieldFault.h"
#include "doc/Worksheet.h"
#include "draw/ViewTransform.h"

namespace hp::draw {

inline constexpr std::string_view kDisplayDialogCaption = "Darstellung";

// Typed zoom percentages are held within these limits.
inline constexpr double kMinZoomPercent = 5;
inline constexpr double kMaxZoomPercent = 10000;
// Longest filter pattern and origin point name, in characters.
inline constexpr size_t kMaxFilterPatternLength = 80;
inline constexpr size_t kMaxOriginPointLength = 12;

// The zoom list entries, "10 %" to "10000 %".
std::span<const std::string_view> ZoomChoices();
// The filter criteria in list order: "Ebene", "Höhle", ... (UTF-8).
std::span<const std::string_view> FilterCriterionTexts();

// Number of display-type list entries the dialog offers: all eight, the
// survey protocol at the last list position.
int DisplayTypeListSize(DisplayType currentDisplayType);

// Which fields a list position enables.
struct DisplayFieldEnabling {
  bool azimuth = false;
  bool inclination = false;
  bool distance = false;
  bool centre = false;
  bool labelPattern = false;
  bool adaptOverview = false;
};
DisplayFieldEnabling EnablingForListPosition(int position);

// Texts of the dialog's fields. Numbers are shown with a decimal comma and
// read with either separator; the patterns and the point name are
// Windows-1252, as stored.
struct DisplayDialogState {
  std::string zoom;  // "100 %"
  int listPosition = 0;
  std::string azimuth, inclination, distance;
  std::string centre[3];  // X, Y, Z
  int filterCriterion = 0;
  std::string linePattern, labelPattern;
  bool adaptOverview = false;
  std::string originCave, originPassage, originPoint;
  std::string origin[3];  // X, Y, Z
};

// The fields filled from the worksheet: the zoom as "%1.0lf %", the centre
// rounded to two decimals, the other numbers as stored.
DisplayDialogState LoadDisplayDialog(const doc::Worksheet& worksheet);

enum class DisplayField {
  Zoom,
  Azimuth,
  Inclination,
  Distance,
  CentreX,
  CentreY,
  CentreZ,
  LinePattern,
  LabelPattern,
  OriginCave,
  OriginPassage,
  OriginPoint,
  OriginX,
  OriginY,
  OriginZ,
};

// Checks the fields the chosen display type enables; disabled fields keep
// the worksheet's values and are not checked.
std::optional<base::FieldFault<DisplayField>> ValidateDisplayDialog(const DisplayDialogState& state);

// Reads the zoom text up to its "%" sign, limited to [5, 10000]; nothing when
// no number stands there.
std::optional<double> ParseZoomText(std::string_view text);

// OK: checks the fields and, when they are all accepted, stores them in the
// worksheet. A change of display type (not to or from the survey protocol)
// sets the view's recentre flag and resets the distance to 0. The view's
// projection-dirty flag is set. The caller then marks the document modified
// and redraws all its views. On a problem nothing is changed.
std::optional<base::FieldFault<DisplayField>> ApplyDisplayDialog(const DisplayDialogState& state,
                                                                 doc::Worksheet& worksheet, ViewTransform& view);

}  // namespace hp::draw
