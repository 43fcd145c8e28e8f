// Leading from the loop figures to the picture: the status-line part of a
// leg's worst loop in the loop-quality colour mode, and the scrolling that
// brings highlighted legs into the window.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>

#include "calc/BlunderReport.h"
#include "draw/Surface.h"
#include "draw/ViewTransform.h"

namespace hp::draw {

// "Ring: normiert 5,02  Fehler 1,74 m  Länge 40,00 m" for a leg's worst loop
// (UTF-8); "Ring: keiner" for a leg in no loop (null).
std::string LoopFiguresStatusText(const calc::BlunderLoop* worst);

// The device rectangle of the legs (list positions) as the last drawing
// placed them (its scale and offsets); none when no leg has a drawn point.
std::optional<Rect> LegsDeviceBounds(const ViewTransform& view, std::span<const size_t> legs, double scale, int ox,
                                     int oy);

// The scroll position that shows `bounds` in a window of `client` size at
// scroll position `now`: unchanged when the bounds are inside already, else
// centred on them, within 0 .. `max`.
Point ScrollToShow(const Rect& bounds, Size client, Point now, Point max);

}  // namespace hp::draw
