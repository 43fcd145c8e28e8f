// Status-line text of the view and its scroll sizes.
#include "draw/interaction/StatusLine.h"

#include <algorithm>
#include <cmath>

#include "base/Cp1252.h"
#include "base/FixedText.h"
#include "base/NumberFormat.h"
#include "doc/Station.h"
#include "draw/DisplayType.h"
#include "draw/interaction/DisplayDialog.h"

namespace hp::draw {

namespace {

constexpr std::string_view kGap = "        ";       // between the parts of the view
constexpr std::string_view kStationGap = "      ";  // between the station values

std::string Degrees(double value) { return base::FormatShown(value) + "°"; }

std::string StationName(const doc::SurveyRecord& record) {
  return base::Cp1252ToUtf8(doc::StationText(doc::StationOf(record)));
}

// The filter is named by its criterion, so that a cave filter does not read
// as a level filter.
std::string FilterName(int criterion) {
  const auto names = FilterCriterionTexts();
  if (criterion < 0 || criterion >= static_cast<int>(names.size())) criterion = 0;
  return std::string(names[static_cast<size_t>(criterion)]);
}

}  // namespace

std::string ViewStatusText(const doc::Worksheet& ws) {
  const DisplayType type = ws.displayType();
  std::string text(DisplayTypeText(type));
  if (doc::HasScale(type) && ws.automaticScale() == 0) {
    text += kGap;
    text += "1:" + base::FormatFixed(ws.scaleDenominator(), 0);
  }
  if (doc::HasViewInclination(type)) {
    text += kGap;
    text += Degrees(ws.viewAzimuth()) + "/" + Degrees(ws.viewInclination());
  } else if (type == DisplayType::Elevation) {
    text += kGap;
    text += Degrees(ws.viewAzimuth());
  }
  if (const std::string_view pattern = ws.lineFilterPattern(); !pattern.empty()) {
    text += kGap;
    text += FilterName(ws.filterCriterion()) + " " + base::Cp1252ToUtf8(pattern);
  }
  if (doc::IsPlaneType(type)) {
    text += kGap;
    if (ws.showSubSheets() == 0) {
      text += "Übersicht";
    } else {
      const int sheet = ws.currentSheetNumber();
      const int columns = ws.sheetColumns() > 0 ? ws.sheetColumns() : 1;
      const int row = sheet > 0 ? (sheet - 1) / columns + 1 : 1;
      const int column = sheet > 0 ? (sheet - 1) % columns + 1 : 1;
      text += "Seite " + std::to_string(sheet) + "/" + std::to_string(ws.sheetRows() * columns) + " (" +
              std::to_string(row) + ";" + std::to_string(column) + ")";
    }
  } else if (type == DisplayType::Protocol) {
    text += kGap;
    text += "Seite " + std::to_string(ws.protocolCurrentPage()) + "/" + std::to_string(ws.protocolPageCount());
  }
  return text;
}

std::string PlaceOnMapStatusText(DisplayType displayType, const doc::SurveyRecord& record) {
  const std::string station = StationName(record);
  switch (displayType) {
    case DisplayType::Plan: return "Messpunkt " + station + " positionieren: in den Grundriss klicken (Esc bricht ab)";
    case DisplayType::Section:
    case DisplayType::Elevation:
      return "H\u00f6he von Messpunkt " + station + " positionieren: in die Karte klicken (Esc bricht ab)";
    default:
      return "Messpunkt " + station +
             " positionieren: nur im Grundriss, L\u00e4ngsschnitt oder Aufriss m\u00f6glich (Esc bricht ab)";
  }
}

std::string StationStatusText(const doc::SurveyRecord* current, const doc::SurveyRecord* marked) {
  std::string text;
  if (marked != nullptr) {
    text += "Markierung " + StationName(*marked);
    if (current == nullptr) return text;
    text += kStationGap;
  }
  if (current == nullptr) return text;
  text += "Messpunkt " + StationName(*current);
  if (marked == nullptr) {
    text += std::string(kStationGap) + "Ebene " + std::to_string(current->level);
    text += std::string(kStationGap) + "Tiefe " + base::FormatShown(current->z);
    text += std::string(kStationGap) + "Weg " + base::FormatShown(current->pathLength);
    if (const std::string_view date = base::TextOf(current->date); !date.empty())
      text += std::string(kStationGap) + "Datum " + base::Cp1252ToUtf8(date);
  } else {
    const double dx = current->x - marked->x;
    const double dy = current->y - marked->y;
    const double dz = current->z - marked->z;
    const double horizontal = std::sqrt(dx * dx + dy * dy);
    text += std::string(kStationGap) + "Abstand " + base::FormatShown(std::sqrt(horizontal * horizontal + dz * dz));
    text += std::string(kStationGap) + "Horizontal " + base::FormatShown(horizontal);
    text += std::string(kStationGap) + "Vertikal " + base::FormatShown(dz);
  }
  return text;
}

std::string StatusLineText(const doc::Worksheet& ws, MouseMode mouseMode, const doc::SurveyRecord* current,
                           const doc::SurveyRecord* marked) {
  const std::string station = StationStatusText(current, marked);
  if (current != nullptr && (mouseMode == MouseMode::Mark || mouseMode == MouseMode::StationInfo)) return station;
  std::string text = ViewStatusText(ws);
  if (!station.empty()) {
    text += kGap;
    text += station;
  }
  return text;
}

ScrollSizes ScrollSizesForClient(int clientWidth, int clientHeight) {
  ScrollSizes s;
  s.width = std::max(clientWidth, 0);
  s.height = std::max(clientHeight, 0);
  const auto part = [](int size, int percent) { return size > 0 ? std::max(size * percent / 100, 1) : 0; };
  s.pageX = part(s.width, 95);
  s.pageY = part(s.height, 95);
  s.lineX = part(s.width, 10);
  s.lineY = part(s.height, 10);
  return s;
}

}  // namespace hp::draw
