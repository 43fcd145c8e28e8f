#include "draw/PageLabel.h"

#include <cstdio>

#include "base/NumberFormat.h"

namespace hp::draw {
namespace {

constexpr int kProtocol = 6;

bool PlaneType(int type) { return (type >= 0 && type <= 2) || type == 7; }

void ReplaceFirst(std::string& text, std::string_view placeholder, const std::string& value) {
  const size_t at = text.find(placeholder);
  if (at != std::string::npos) text.replace(at, placeholder.size(), value);
}

std::string Number(int value) { return std::to_string(value); }

}  // namespace

std::string ExpandPageLabel(std::string_view pattern, const doc::Worksheet& worksheet, platform::Date today) {
  const int type = worksheet.displayType();
  const bool subSheets = worksheet.showSubSheets() != 0;
  const int sheet = worksheet.currentSheetNumber();
  const int columns = worksheet.sheetColumns() > 0 ? worksheet.sheetColumns() : 1;
  const int rows = worksheet.sheetRows();

  std::string azimuth, inclination;
  if ((type >= 2 && type <= 5) || type == 7) azimuth = base::FormatShown(worksheet.viewAzimuth());
  else if (type == 0 || type == 1) azimuth = "0";
  if (type >= 2 && type <= 5) inclination = base::FormatShown(worksheet.viewInclination());
  else if (type == 0) inclination = "-90";
  else if (type == 1 || type == 7) inclination = "0";

  std::string page = "1", pages = "1", row = "1", column = "1";
  if (PlaneType(type) && subSheets) page = Number(sheet);
  else if (type == kProtocol) page = Number(worksheet.protocolCurrentPage());
  if (subSheets) {
    pages = Number(rows * columns);
    row = Number((sheet - 1) / columns + 1);
    column = Number((sheet - 1) % columns + 1);
  } else if (type == kProtocol) {
    pages = Number(worksheet.protocolPageCount());
    row.clear();
    column.clear();
  }

  std::string scale;
  if (PlaneType(type) && worksheet.automaticScale() == 0) scale = "1:" + base::FormatFixed(worksheet.scaleDenominator(), 0);

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

std::string ExpandPageLabel(const doc::Worksheet& worksheet, const platform::Clock& clock) {
  return ExpandPageLabel(worksheet.pageLabel(), worksheet, clock.Today());
}

}  // namespace hp::draw
