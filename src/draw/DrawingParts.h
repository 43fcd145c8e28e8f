// Pieces the plane and the spatial drawing share: which records take part,
// each record's line colour with the false-colour range, crosses and
// station marks.
#pragma once

#include <vector>

#include "doc/SurveyStore.h"
#include "doc/Worksheet.h"
#include "draw/LineColours.h"
#include "draw/Surface.h"
#include "draw/ViewTransform.h"

namespace hp::draw {

// A record takes part in the drawing: always, or with the adapt-overview flag
// only when it has a colour and the leg filter shows it.
bool TakesPart(const doc::SurveyRecord& record, const doc::Worksheet& worksheet, doc::LegFilter& filter);

// The line colour of every record (list order) in the worksheet's colour
// mode; an automatic false-colour range spans the records that take part.
std::vector<LineColour> RecordColours(const doc::SurveyStore& store, const doc::Worksheet& worksheet,
                                      ViewTransform& view);

// A cross of half size `half` at `c`, upright or diagonal.
void DrawCross(Surface& surface, Point c, int half, bool diagonal);

// The station mark at the to-point of a leg from `from` to `to` in the
// current pen: the coordinate-reference cross when asked for, then the
// worksheet's mark kind (1 a stroke across the leg, 2 a circle).
void DrawStationMark(Surface& surface, const doc::Worksheet& worksheet, Point from, Point to, int size,
                     bool coordinateReference);

}  // namespace hp::draw
