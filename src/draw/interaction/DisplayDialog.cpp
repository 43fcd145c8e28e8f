// The display dialog's values, enabling, checks and how OK stores them.
#include "draw/interaction/DisplayDialog.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <utility>
#include <variant>

#include "base/FieldMessages.h"
#include "base/NumberField.h"
#include "base/NumberFormat.h"
#include "draw/DisplayType.h"

namespace hp::draw {

namespace {

constexpr std::array<std::string_view, 14> kZoomChoices = {
    "10 %",  "25 %",  "50 %",  "75 %",   "100 %",  "150 %",  "200 %",
    "300 %", "400 %", "500 %", "1000 %", "2000 %", "5000 %", "10000 %",
};

constexpr std::array<std::string_view, 6> kFilterCriteria = {"Ebene", "Höhle", "Gang",
                                                             "Ring",  "Jahr",  "regelbasierend"};

using Problem = base::FieldFault<DisplayField>;

// A stored number as the user can type it back: the shortest text that reads
// back to the same value, without exponent, with a decimal comma.
std::string FieldNumber(double value) {
  if (!std::isfinite(value)) return base::FormatShown(value);
  char text[400];
  const auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed);
  return base::DecimalComma(std::string(text, result.ptr));
}

// Two decimals, halves away from zero on both sides of zero.
double CentreShown(double value) {
  const double rounded = std::trunc(std::fabs(value) * 100 + 0.5) / 100;
  return value < 0 ? -rounded : rounded;
}

struct Checker {
  std::optional<Problem> problem;

  std::optional<double> Read(DisplayField field, const std::string& text, const base::NumberField& rule) {
    if (problem) return std::nullopt;
    auto value = base::ReadNumberField(text, rule);
    if (auto* message = std::get_if<std::string>(&value)) {
      problem = Problem{field, std::move(*message)};
      return std::nullopt;
    }
    return std::get<double>(value);
  }
  std::optional<double> Number(DisplayField field, const std::string& text) {
    return Read(field, text, {.notANumber = std::string(base::messages::kEnterNumber)});
  }
  std::optional<double> Within(DisplayField field, const std::string& text, int low, int high) {
    return Read(field, text,
                {.notANumber = std::string(base::messages::kEnterNumber),
                 .outOfRange = base::messages::EnterNumberBetween(low, high),
                 .min = static_cast<double>(low),
                 .max = static_cast<double>(high)});
  }
  std::optional<int32_t> Integer(DisplayField field, const std::string& text) {
    const auto value = Read(field, text,
                            {.notANumber = std::string(base::messages::kEnterInteger),
                             .integer = true,
                             .min = std::numeric_limits<int32_t>::min(),
                             .max = std::numeric_limits<int32_t>::max()});
    if (!value) return std::nullopt;
    return static_cast<int32_t>(*value);
  }
  void Length(DisplayField field, const std::string& text, size_t most) {
    if (problem || text.size() <= most) return;
    problem = Problem{field, "Bitte geben Sie höchstens " + std::to_string(most) + " Zeichen ein."};
  }
};

// The checked values of the fields; only enabled ones are read.
struct Accepted {
  double zoom = 0;
  std::optional<double> azimuth, inclination, distance;
  std::optional<double> centre[3];
  int32_t originCave = 0, originPassage = 0;
  double origin[3] = {};
};

std::optional<Problem> Check(const DisplayDialogState& s, Accepted& out) {
  Checker c;
  if (const auto zoom = ParseZoomText(s.zoom)) {
    out.zoom = *zoom;
  } else {
    return Problem{DisplayField::Zoom, std::string(base::messages::kEnterNumber)};
  }
  const DisplayFieldEnabling on = EnablingForListPosition(s.listPosition);
  if (on.azimuth) out.azimuth = c.Within(DisplayField::Azimuth, s.azimuth, 0, 360);
  if (on.inclination) out.inclination = c.Within(DisplayField::Inclination, s.inclination, -90, 90);
  if (on.distance) out.distance = c.Number(DisplayField::Distance, s.distance);
  if (on.centre) {
    out.centre[0] = c.Number(DisplayField::CentreX, s.centre[0]);
    out.centre[1] = c.Number(DisplayField::CentreY, s.centre[1]);
    out.centre[2] = c.Number(DisplayField::CentreZ, s.centre[2]);
  }
  c.Length(DisplayField::LinePattern, s.linePattern, kMaxFilterPatternLength);
  if (on.labelPattern) c.Length(DisplayField::LabelPattern, s.labelPattern, kMaxFilterPatternLength);
  out.originCave = c.Integer(DisplayField::OriginCave, s.originCave).value_or(0);
  out.originPassage = c.Integer(DisplayField::OriginPassage, s.originPassage).value_or(0);
  c.Length(DisplayField::OriginPoint, s.originPoint, kMaxOriginPointLength);
  out.origin[0] = c.Number(DisplayField::OriginX, s.origin[0]).value_or(0);
  out.origin[1] = c.Number(DisplayField::OriginY, s.origin[1]).value_or(0);
  out.origin[2] = c.Number(DisplayField::OriginZ, s.origin[2]).value_or(0);
  return c.problem;
}

}  // namespace

std::span<const std::string_view> ZoomChoices() { return kZoomChoices; }
std::span<const std::string_view> FilterCriterionTexts() { return kFilterCriteria; }

int DisplayTypeListSize(DisplayType /*currentDisplayType*/) { return kDisplayTypeCount; }

DisplayFieldEnabling EnablingForListPosition(int p) {
  DisplayFieldEnabling e;
  e.azimuth = p >= 2 && p <= 6;
  e.inclination = p >= 3 && p <= 6;
  e.distance = p == 6;
  e.centre = p == 6;
  e.labelPattern = p >= 0 && p <= 7 && p != 5 && p != 7;
  e.adaptOverview = p >= 0 && p < 7;
  return e;
}

DisplayDialogState LoadDisplayDialog(const doc::Worksheet& ws) {
  DisplayDialogState s;
  s.zoom = base::FormatFixed(ws.zoomPercent(), 0) + " %";
  s.listPosition = std::max(0, ListPositionOfDisplayType(ws.displayType()));
  s.azimuth = FieldNumber(ws.viewAzimuth());
  s.inclination = FieldNumber(ws.viewInclination());
  s.distance = FieldNumber(ws.viewDistance());
  s.centre[0] = base::FormatShown(CentreShown(ws.viewCentreX()));
  s.centre[1] = base::FormatShown(CentreShown(ws.viewCentreY()));
  s.centre[2] = base::FormatShown(CentreShown(ws.viewCentreZ()));
  const int criterion = ws.filterCriterion();
  s.filterCriterion = criterion >= 0 && criterion < static_cast<int>(kFilterCriteria.size()) ? criterion : 0;
  s.linePattern = std::string(ws.lineFilterPattern());
  s.labelPattern = std::string(ws.labelFilterPattern());
  s.adaptOverview = ws.adaptOverview() != 0;
  s.originCave = std::to_string(ws.originCave());
  s.originPassage = std::to_string(ws.originPassage());
  s.originPoint = std::string(ws.originPoint());
  s.origin[0] = FieldNumber(ws.originX());
  s.origin[1] = FieldNumber(ws.originY());
  s.origin[2] = FieldNumber(ws.originZ());
  return s;
}

std::optional<double> ParseZoomText(std::string_view text) {
  const auto value = base::ParseNumber(text.substr(0, text.find('%')));
  if (!value) return std::nullopt;
  return std::clamp(*value, kMinZoomPercent, kMaxZoomPercent);
}

std::optional<Problem> ValidateDisplayDialog(const DisplayDialogState& state) {
  Accepted accepted;
  return Check(state, accepted);
}

std::optional<Problem> ApplyDisplayDialog(const DisplayDialogState& s, doc::Worksheet& ws, ViewTransform& view) {
  Accepted a;
  if (auto problem = Check(s, a)) return problem;

  ws.setZoomPercent(a.zoom);
  const DisplayType oldType = ws.displayType();
  const DisplayType newType = DisplayTypeFromListPosition(s.listPosition).value_or(oldType);
  if (a.azimuth) ws.setViewAzimuth(*a.azimuth);
  if (a.inclination) ws.setViewInclination(*a.inclination);
  if (a.distance) ws.setViewDistance(*a.distance);
  if (a.centre[0]) ws.setViewCentreX(*a.centre[0]);
  if (a.centre[1]) ws.setViewCentreY(*a.centre[1]);
  if (a.centre[2]) ws.setViewCentreZ(*a.centre[2]);
  // A new display type starts the camera view afresh, centred on the survey;
  // the protocol has no view of its own to come from or go to.
  if (newType != oldType && newType != DisplayType::Protocol && oldType != DisplayType::Protocol) {
    view.setRecentre(true);
    ws.setViewDistance(0);
  }
  ws.setDisplayType(newType);

  const int criterion = s.filterCriterion;
  ws.setFilterCriterion(criterion >= 0 && criterion < static_cast<int>(kFilterCriteria.size()) ? criterion : 0);
  ws.setLineFilterPattern(s.linePattern);
  const DisplayFieldEnabling on = EnablingForListPosition(s.listPosition);
  if (on.labelPattern) ws.setLabelFilterPattern(s.labelPattern);
  if (on.adaptOverview) ws.setAdaptOverview(s.adaptOverview ? 1 : 0);
  ws.setOriginCave(a.originCave);
  ws.setOriginPassage(a.originPassage);
  ws.setOriginPoint(s.originPoint);
  ws.setOriginX(a.origin[0]);
  ws.setOriginY(a.origin[1]);
  ws.setOriginZ(a.origin[2]);
  view.setProjectionDirty(true);
  return std::nullopt;
}

}  // namespace hp::draw
