#include "draw/PageLabel.h"

#include <cstdio>

#include "base/NumberFormat.h"

namespace hp::draw {
namespace {

void ReplaceFirst(std::string& text, std::string_view placeholder, const std::string& value) {
  const size_t at = text.find(placeholder);
  if (at != std::string::npos) text.replace(at, placeholder.size(), value);
}

std::string Number(int value) { return std::to_string(value); }

}  // namespace

PageFigures PageFiguresOf(const doc::Worksheet& worksheet) {
  PageFigures f;
  f.azimuth = worksheet.viewAzimuth();
  f.inclination = worksheet.viewInclination();
  f.subSheets = worksheet.showSubSheets() != 0;
  f.sheet = worksheet.currentSheetNumber();
  f.rows = worksheet.sheetRows();
  f.columns = worksheet.sheetColumns();
  f.protocolPage = worksheet.protocolCurrentPage();
  f.protocolPages = worksheet.protocolPageCount();
  return f;
}

std::string ExpandPageLabel(std::string_view pattern, const doc::Worksheet& worksheet, platform::Date today) {
  return ExpandPageLabel(pattern, worksheet, PageFiguresOf(worksheet), today);
}

std::string ExpandPageLabel(std::string_view pattern, const doc::Worksheet& worksheet, const PageFigures& figures,
                            platform::Date today) {
  const doc::DisplayType type = worksheet.displayType();
  using doc::DisplayType;
  const bool subSheets = figures.subSheets;
  const int sheet = figures.sheet;
  const int columns = figures.columns > 0 ? figures.columns : 1;
  const int rows = figures.rows;

  std::string azimuth, inclination;
  if (doc::HasViewAzimuth(type)) azimuth = base::FormatShown(figures.azimuth);
  else if (type == DisplayType::Plan || type == DisplayType::Section) azimuth = "0";
  if (doc::HasViewInclination(type)) inclination = base::FormatShown(figures.inclination);
  else if (type == DisplayType::Plan) inclination = "-90";
  else if (type == DisplayType::Section || type == DisplayType::Elevation) inclination = "0";

  std::string page = "1", pages = "1", row = "1", column = "1";
  if (doc::HasScale(type) && subSheets) page = Number(sheet);
  else if (type == DisplayType::Protocol) page = Number(figures.protocolPage);
  if (subSheets) {
    pages = Number(rows * columns);
    row = Number((sheet - 1) / columns + 1);
    column = Number((sheet - 1) % columns + 1);
  } else if (type == DisplayType::Protocol) {
    pages = Number(figures.protocolPages);
    row.clear();
    column.clear();
  }

  std::string scale;
  if (doc::HasScale(type) && worksheet.automaticScale() == 0)
    scale = "1:" + base::FormatFixed(worksheet.scaleDenominator(), 0);

  char date[40];
  std::snprintf(date, sizeof date, "%02d.%02d.%02d", today.day, today.month, today.year);

  std::string text(pattern);
  ReplaceFirst(text, "&Azimut", azimuth);
  ReplaceFirst(text, "&Neigung", inclination);
  ReplaceFirst(text, "&Blatt", std::string(worksheet.sheetDesignation()));
  ReplaceFirst(text, "&Seite", page);
  ReplaceFirst(text, "&MaxSeite", pages);
  ReplaceFirst(text, "&Zeile", row);
  ReplaceFirst(text, "&Spalte", column);
  ReplaceFirst(text, "&Ma\xDFstab", scale);
  ReplaceFirst(text, "&Datum", date);
  return text;
}

std::string ExpandPageLabel(const doc::Worksheet& worksheet, const PageFigures& figures, const platform::Clock& clock) {
  return ExpandPageLabel(worksheet.pageLabel(), worksheet, figures, clock.Today());
}

}  // namespace hp::draw
