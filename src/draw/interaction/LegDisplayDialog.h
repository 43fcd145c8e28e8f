// The leg display dialog "Messzüge": how legs, stations and their labels are
// drawn (line colours and their false-colour range, line width, station
// marks and labels, cross sections and auxiliary lines, highlight marks).
// The window dialog only moves these options between its widgets and the
// worksheet; defaults, limits, enabling and effects live here.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/FieldFault.h"
#include "doc/Worksheet.h"
#include "draw/WorksheetChange.h"

namespace hp::draw {

namespace legs {
inline constexpr std::string_view kCaption = "Messzüge";
inline constexpr std::string_view kLineColour = "&Linienfarbe";
inline constexpr std::string_view kManualRange = "Bereich &manuell";
inline constexpr std::string_view kMaximum = "Ma&ximum";
inline constexpr std::string_view kMinimum = "M&inimum";
inline constexpr std::string_view kBlackBackground = "&Schwarzer Hintergrund";
inline constexpr std::string_view kPointsInStandardColour = "Messpunkte in Standard&farbe";
inline constexpr std::string_view kLineWidth = "Linienb&reite";
inline constexpr std::string_view kNumbering = "Punkt&nummerierung";
inline constexpr std::string_view kDescriptionOverrides = "Punktbe&zeichnung übersteuert Punktnummerierung";
inline constexpr std::string_view kStationMark = "&Punktmarkierung";
inline constexpr std::string_view kLabelAngle = "Schrift&winkel";
inline constexpr std::string_view kCrosshair = "&Fadenkreuz";
inline constexpr std::string_view kFileSymbol = "&Datei-Symbol";
inline constexpr std::string_view kMarkCoordinateReference = "&Koordinatenreferenz markieren";
inline constexpr std::string_view kPassageMarking = "&Gangmarkierung";
inline constexpr std::string_view kAuxiliaryLines = "&Hilfslinien darstellen";
inline constexpr std::string_view kCrossSections = "&Querschnitte darstellen";
inline constexpr std::string_view kCrossSectionsInStandardColour = "Querschnitte und Hilfslinien in Standard&farbe";
}  // namespace legs

inline constexpr int kMinLineWidth = 1, kMaxLineWidth = 10;
inline constexpr int kNumberingKindCount = 10;   // kinds 1 to 10
inline constexpr int kStationMarkKindCount = 2;  // 1 "Linie", 2 "Kreis"
inline constexpr int kLabelAngleCount = 7;       // 0 to 90 degrees in steps of 15

// List texts (UTF-8); empty out of range.
std::string_view NumberingKindText(int kind);  // 1 to 10
std::string_view StationMarkText(int kind);    // 1 to 2
std::string LabelAngleText(int index);         // 0 to 6: "0" ... "90"

// The values of the dialog. List choices are stored values (colour mode
// 0 to 12, numbering kind 1 to 10, mark kind 1 to 2, angle index 0 to 6);
// the range limits are texts as typed, with a decimal comma or point.
struct LegDisplayOptions {
  int lineColourMode = 0;
  bool manualRange = false;
  std::string rangeMax, rangeMin;
  bool blackBackground = false;
  bool pointsInStandardColour = false;  // the inverse of "points in leg colour"
  int lineWidth = 1;
  bool numbering = false;
  int numberingKind = 1;  // kept while numbering is off, so it comes back when ticked
  bool descriptionOverrides = false;
  bool stationMark = false;
  int stationMarkKind = 1;
  int labelAngleIndex = 0;
  bool crosshair = false;
  bool fileSymbol = false;
  bool markCoordinateReferences = false;
  bool passageMarking = false;
  bool auxiliaryLines = false;
  bool crossSections = false;
  bool crossSectionsInStandardColour = false;
};

enum class LegDisplayField { RangeMax, RangeMin };

// The worksheet's settings as the dialog shows them. Values a damaged file
// may hold outside their lists are brought into them (a stored numbering of
// 0 shows as unticked with the first kind); the range limits are shown as
// "%0.2lf" with a decimal comma.
LegDisplayOptions LoadLegDisplayOptions(const doc::Worksheet& worksheet);

// Enabling: "Bereich manuell" only for the false-colour modes, maximum and
// minimum only when it is ticked there; each list only with its check box.
bool IsManualRangeEnabled(const LegDisplayOptions& options);
bool IsRangeEnabled(const LegDisplayOptions& options);
bool IsNumberingKindEnabled(const LegDisplayOptions& options);
bool IsStationMarkKindEnabled(const LegDisplayOptions& options);

// The first field that cannot be stored: a range limit that is enabled and
// holds no finite number.
std::optional<base::FieldFault<LegDisplayField>> CheckLegDisplayOptions(const LegDisplayOptions& options);

// Stores the options in the worksheet ("OK" and "Ü&bernehmen"). Refused
// options leave the worksheet as it was and return the fault. Numbers are
// limited to their ranges. A range limit whose text is still the one shown
// for the stored value keeps that value exactly; disabled limits stay as
// stored. The pens are always rebuilt after this dialog.
struct LegDisplayApplied {
  std::optional<base::FieldFault<LegDisplayField>> fault;
  WorksheetChange change;
};
LegDisplayApplied ApplyLegDisplayOptions(const LegDisplayOptions& options, doc::Worksheet& worksheet);

}  // namespace hp::draw
