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

// Replaces the first occurrence of each placeholder of `pattern` (in the
// order &Azimut, &Neigung, &Blatt, &Seite, &MaxSeite, &Zeile, &Spalte,
// &Maßstab, &Datum) with its value for `worksheet`. Texts are Windows-1252.
std::string ExpandPageLabel(std::string_view pattern, const doc::Worksheet& worksheet, platform::Date today);

// The worksheet's own page label expanded with the date of `clock`.
std::string ExpandPageLabel(const doc::Worksheet& worksheet, const platform::Clock& clock);

}  // namespace hp::draw
