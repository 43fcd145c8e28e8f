// The frame lines of the plan and the parallel projection: the north arrow
// at the reference station, built in world coordinates and projected with
// the view's matrix, ready to be drawn as plain lines.
#pragma once

#include <vector>

#include "doc/Worksheet.h"
#include "draw/Projection.h"
#include "draw/ViewTransform.h"

namespace hp::draw {

struct FrameLine {
  Vec3 from, to;
  bool operator==(const FrameLine&) const = default;
};

// The unit of the north arrow: the chosen arrow size, or with size 0
// ("automatisch") a tenth of the larger horizontal side of the world extent
// but at least 1 metre, divided by 12.
double NorthArrowUnit(int size, const Extent& world);

// The eight strokes of the north arrow around `at` in world coordinates
// (x east, y north): the east-west bar (-6u to 6u), the south-north bar
// (-6u to 5u), the arrowhead (three strokes up to 6.5u) and the letter N
// (three strokes, x = +-0.62u, y 7.74u to 9.74u).
std::vector<FrameLine> NorthArrowLines(const Vec3& at, double unit);

// Frame lines of the plan (type 0) and the parallel projection (type 2):
// the north arrow when the worksheet asks for it, at the view's reference
// point and projected with its matrix; nothing for the other types. The
// automatic arrow size is taken from `world`, the extent of the records that
// take part.
std::vector<FrameLine> PreparePlanFrame(const ViewTransform& view, const doc::Worksheet& worksheet,
                                        const Extent& world);

}  // namespace hp::draw
