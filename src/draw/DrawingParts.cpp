// Pieces shared by the plane and the spatial drawing.
#include "draw/DrawingParts.h"

#include <algorithm>
#include <cmath>

namespace hp::draw {

bool TakesPart(const doc::SurveyRecord& r, const doc::Worksheet& ws, doc::LegFilter& filter) {
  return ws.adaptOverview() == 0 || (r.colour != 0 && filter.IsLegVisible(r, ws));
}

std::vector<LineColour> RecordColours(const doc::SurveyStore& store, const doc::Worksheet& ws, ViewTransform& view) {
  const int mode = ws.lineColourMode();
  const FalseColourInput input{view.heightOffset(), view.referencePath()};
  double max = ws.colourRangeMax(), min = ws.colourRangeMin();
  if (IsFalseColourMode(mode) && ws.manualColourRange() == 0) {
    bool any = false;
    view.legFilter().Init();
    for (const auto& record : store.records) {
      double v = 0;
      if (!TakesPart(*record, ws, view.legFilter()) || !FalseColourValue(*record, mode, input, v)) continue;
      if (!any) max = min = v;
      any = true;
      max = std::max(max, v), min = std::min(min, v);
    }
  }
  std::vector<LineColour> colours;
  colours.reserve(store.records.size());
  for (const auto& record : store.records) colours.push_back(RecordLineColour(*record, mode, input, max, min));
  return colours;
}

void DrawCross(Surface& s, Point c, int half, bool diagonal) {
  if (diagonal) {
    s.Line({c.x - half, c.y - half}, {c.x + half + 1, c.y + half + 1});
    s.Line({c.x - half, c.y + half}, {c.x + half + 1, c.y - half - 1});
  } else {
    s.Line({c.x - half, c.y}, {c.x + half + 1, c.y});
    s.Line({c.x, c.y - half}, {c.x, c.y + half + 1});
  }
}

void DrawStationMark(Surface& s, const doc::Worksheet& ws, Point from, Point to, int size, bool coordinateReference) {
  if (ws.markCoordinateReferences() != 0 && coordinateReference) DrawCross(s, to, size, true);
  switch (ws.stationMark()) {
    case 1: {
      const double dx = to.x - from.x, dy = to.y - from.y, len = std::hypot(dx, dy);
      if (len == 0) {
        DrawCross(s, to, size, true);
        break;
      }
      const int px = static_cast<int>(std::lround(-dy / len * size));
      const int py = static_cast<int>(std::lround(dx / len * size));
      s.Line({to.x - px, to.y - py}, {to.x + px, to.y + py});
      break;
    }
    case 2:
      s.SetBrush({BrushStyle::Hollow, 0});
      s.Ellipse({to.x - size, to.y - size, to.x + size, to.y + size});
      break;
    default:
      break;
  }
}

}  // namespace hp::draw
