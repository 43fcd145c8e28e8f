// Options of the leg display dialog: loading, limits, enabling and storing.
#include "draw/interaction/LegDisplayDialog.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "base/FieldMessages.h"
#include "base/NumberFormat.h"
#include "draw/LineColours.h"

namespace hp::draw {

namespace {

constexpr std::string_view kNumberingTexts[kNumberingKindCount] = {
    "Höhle/Gang/Punkt", "Höhle/Punkt", "Gang/Punkt", "Punkt",    "Tiefe", "Weg",
    "Kataster/Höhle",   "Bezeichnung", "Material",   "Maßnahmen"};
constexpr std::string_view kMarkTexts[kStationMarkKindCount] = {"Linie", "Kreis"};

int32_t Flag(bool on) { return on ? 1 : 0; }

// A stored "off or kind 1..count" value split into the check box and the list.
void SplitChoice(int stored, int count, bool& on, int& kind) {
  on = stored > 0;
  kind = std::clamp(stored, 1, count);
}

// The range limit to store: the stored value while the text still shows it
// (so that opening and confirming the dialog does not round it to hundredths).
// A stored value that is no finite number must be typed anew.
std::optional<double> RangeValue(std::string_view text, double stored) {
  if (std::isfinite(stored) && text == base::FormatShown(stored)) return stored;
  const std::optional<double> value = base::ParseNumber(text);
  if (!value || !std::isfinite(*value)) return std::nullopt;
  return value;
}

}  // namespace

std::string_view NumberingKindText(int kind) {
  return kind >= 1 && kind <= kNumberingKindCount ? kNumberingTexts[kind - 1] : std::string_view{};
}

std::string_view StationMarkText(int kind) {
  return kind >= 1 && kind <= kStationMarkKindCount ? kMarkTexts[kind - 1] : std::string_view{};
}

std::string LabelAngleText(int index) {
  return index >= 0 && index < kLabelAngleCount ? std::to_string(index * 15) : std::string{};
}

LegDisplayOptions LoadLegDisplayOptions(const doc::Worksheet& ws) {
  LegDisplayOptions o;
  // A stored mode beyond the list shows its last entry that older versions
  // know; the loop-quality mode is stored apart (doc::LineColourModeOf).
  o.lineColourMode = doc::LineColourModeOf(ws) == doc::kLoopQualityColourMode
                         ? doc::kLoopQualityColourMode
                         : std::clamp<int>(ws.lineColourMode(), 0, doc::kLoopQualityColourMode - 1);
  o.manualRange = ws.manualColourRange() != 0;
  o.rangeMax = base::FormatShown(ws.colourRangeMax());
  o.rangeMin = base::FormatShown(ws.colourRangeMin());
  o.blackBackground = ws.blackBackground() != 0;
  o.pointsInStandardColour = ws.pointsInLegColour() == 0;
  o.lineWidth = std::clamp<int>(ws.lineWidth(), kMinLineWidth, kMaxLineWidth);
  SplitChoice(ws.stationNumbering(), kNumberingKindCount, o.numbering, o.numberingKind);
  o.descriptionOverrides = ws.descriptionOverridesNumbering() != 0;
  SplitChoice(ws.stationMark(), kStationMarkKindCount, o.stationMark, o.stationMarkKind);
  o.labelAngleIndex = std::clamp<int>(ws.labelAngleIndex(), 0, kLabelAngleCount - 1);
  o.crosshair = ws.crosshair() != 0;
  o.fileSymbol = ws.fileSymbol() != 0;
  o.markCoordinateReferences = ws.markCoordinateReferences() != 0;
  o.passageMarking = ws.passageMarking() != 0;
  o.auxiliaryLines = ws.showAuxiliaryLines() != 0;
  o.crossSections = ws.showCrossSections() != 0;
  o.crossSectionsInStandardColour = ws.crossSectionsInStandardColour() != 0;
  return o;
}

bool IsManualRangeEnabled(const LegDisplayOptions& o) { return IsFalseColourMode(o.lineColourMode); }
bool IsRangeEnabled(const LegDisplayOptions& o) { return IsManualRangeEnabled(o) && o.manualRange; }
bool IsNumberingKindEnabled(const LegDisplayOptions& o) { return o.numbering; }
bool IsStationMarkKindEnabled(const LegDisplayOptions& o) { return o.stationMark; }

std::optional<base::FieldFault<LegDisplayField>> CheckLegDisplayOptions(const LegDisplayOptions& o) {
  if (!IsRangeEnabled(o)) return std::nullopt;
  // Any finite number will do: the stored value is only compared with the text.
  const std::string message(base::messages::kEnterNumber);
  if (!RangeValue(o.rangeMax, 0)) return base::FieldFault<LegDisplayField>{LegDisplayField::RangeMax, message};
  if (!RangeValue(o.rangeMin, 0)) return base::FieldFault<LegDisplayField>{LegDisplayField::RangeMin, message};
  return std::nullopt;
}

LegDisplayApplied ApplyLegDisplayOptions(const LegDisplayOptions& o, doc::Worksheet& ws) {
  LegDisplayApplied result;
  result.fault = CheckLegDisplayOptions(o);
  if (result.fault) return result;
  const doc::Worksheet::Image before = ws.image;

  doc::SetLineColourModeOf(ws, std::clamp(o.lineColourMode, 0, kLineColourModeCount - 1));
  ws.setManualColourRange(Flag(o.manualRange));
  if (IsRangeEnabled(o)) {
    ws.setColourRangeMax(*RangeValue(o.rangeMax, ws.colourRangeMax()));
    ws.setColourRangeMin(*RangeValue(o.rangeMin, ws.colourRangeMin()));
  }
  ws.setBlackBackground(Flag(o.blackBackground));
  ws.setPointsInLegColour(Flag(!o.pointsInStandardColour));
  ws.setLineWidth(std::clamp(o.lineWidth, kMinLineWidth, kMaxLineWidth));
  ws.setStationNumbering(static_cast<int16_t>(o.numbering ? std::clamp(o.numberingKind, 1, kNumberingKindCount) : 0));
  ws.setDescriptionOverridesNumbering(static_cast<int16_t>(Flag(o.descriptionOverrides)));
  ws.setStationMark(static_cast<int16_t>(o.stationMark ? std::clamp(o.stationMarkKind, 1, kStationMarkKindCount) : 0));
  ws.setLabelAngleIndex(std::clamp(o.labelAngleIndex, 0, kLabelAngleCount - 1));
  ws.setCrosshair(Flag(o.crosshair));
  ws.setFileSymbol(Flag(o.fileSymbol));
  ws.setMarkCoordinateReferences(Flag(o.markCoordinateReferences));
  ws.setPassageMarking(Flag(o.passageMarking));
  ws.setShowAuxiliaryLines(Flag(o.auxiliaryLines));
  ws.setShowCrossSections(Flag(o.crossSections));
  ws.setCrossSectionsInStandardColour(Flag(o.crossSectionsInStandardColour));

  result.change.modified = ws.image != before;
  result.change.pensDirty = true;
  return result;
}

}  // namespace hp::draw
