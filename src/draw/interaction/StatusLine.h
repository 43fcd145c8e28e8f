// The view's status line (what is shown, the view direction, the filter, the
// overview or sub-sheet, the marked and current station) and the scroll
// sizes the view takes from its window size.
#pragma once

#include <string>

#include "doc/SurveyRecord.h"
#include "doc/Worksheet.h"
#include "draw/interaction/MouseMode.h"

namespace hp::draw {

// The status-line text (UTF-8) for the worksheet's view. `current` is the
// record the data editor and the status line show, `marked` the record the
// distance mode marked; either may be null. In the distance and information
// modes a current record's station part is shown alone; otherwise it
// follows the description of the view.
std::string StatusLineText(const doc::Worksheet& worksheet, MouseMode mouseMode, const doc::SurveyRecord* current,
                           const doc::SurveyRecord* marked);

// The parts of the status line, for callers that show them apart.
std::string ViewStatusText(const doc::Worksheet& worksheet);
std::string StationStatusText(const doc::SurveyRecord* current, const doc::SurveyRecord* marked);

// While the view waits for the click that places `record`'s station: where
// to click and that Esc cancels. The plan places east and north, the
// longitudinal section and the elevation the height; the other display
// types cannot place a station.
std::string PlaceOnMapStatusText(doc::DisplayType displayType, const doc::SurveyRecord& record);

// Scroll sizes of the view after a window size change: the whole area is the
// client size, a page 95 % and a line 10 % of it (at least one pixel each
// while the window has a size).
struct ScrollSizes {
  int width = 0, height = 0;
  int pageX = 0, pageY = 0;
  int lineX = 0, lineY = 0;
};
ScrollSizes ScrollSizesForClient(int clientWidth, int clientHeight);

}  // namespace hp::draw
