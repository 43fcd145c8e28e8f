// The page label: the line printed below a plane drawing, expanded from the
// worksheet's template with the sheet name, the page, the view direction,
// the scale and today's date.
#pragma once

#include <string>
#include <string_view>

#include "doc/Worksheet.h"
#include "platform/Clock.h"

namespace hp::draw {

// The template that "&Vorbelegen" puts back (Windows-1252: 0xDF is the sharp
// s of "Maßstab", 0xB0 the degree sign).
inline constexpr std::string_view kDefaultPageLabel =
    "&Blatt  Seite &Seite/&MaxSeite (&Zeile;&Spalte)  &Azimut\xB0/&Neigung\xB0  &Ma\xDFstab   &Datum";

// The page and view figures a page label shows. A drawing fills them from
// what it laid out (the printed page, its rows and columns, the normalised
// view direction); PageFiguresOf gives the worksheet's own.
struct PageFigures {
  double azimuth = 0, inclination = 0;
  bool subSheets = false;  // pages are sub-sheets
  int sheet = 1, rows = 1, columns = 1;
  int protocolPage = 1, protocolPages = 1;
};
PageFigures PageFiguresOf(const doc::Worksheet& worksheet);

// Replaces the first occurrence of each placeholder of `pattern` (in the
// order &Azimut, &Neigung, &Blatt, &Seite, &MaxSeite, &Zeile, &Spalte,
// &Maßstab, &Datum) with its value for `worksheet` with `figures`. Texts
// are Windows-1252.
std::string ExpandPageLabel(std::string_view pattern, const doc::Worksheet& worksheet, const PageFigures& figures,
                            platform::Date today);
std::string ExpandPageLabel(std::string_view pattern, const doc::Worksheet& worksheet, platform::Date today);

// The worksheet's own page label expanded with the date of `clock`.
std::string ExpandPageLabel(const doc::Worksheet& worksheet, const PageFigures& figures, const platform::Clock& clock);

}  // namespace hp::draw
