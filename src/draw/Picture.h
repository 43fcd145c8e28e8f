// What a picture of a worksheet shows, worked out before anything is
// painted: the projection (kept in the view), the extent of the records that
// take part, and every record's line colour. The painters draw from it; the
// exports read it without painting at all.
#pragma once

#include <vector>

#include "doc/LegFilter.h"
#include "doc/SurveyStore.h"
#include "doc/Worksheet.h"
#include "draw/LineColours.h"
#include "draw/PlaneLayout.h"
#include "draw/Surface.h"
#include "draw/ViewTransform.h"
#include "platform/SettingsStore.h"

namespace hp::draw {

// A record takes part in the picture: always, or with the adapt-overview
// flag only when it has a colour and the leg filter shows it.
bool TakesPart(const doc::SurveyRecord& record, const doc::Worksheet& worksheet, doc::LegFilter& filter);

// The line colour of every record (list order) in the worksheet's colour
// mode; an automatic false-colour range spans the records that take part.
// The loop-quality mode colours by `quality` (every leg in no loop without).
std::vector<LineColour> RecordColours(const doc::SurveyStore& store, const doc::Worksheet& worksheet,
                                      ViewTransform& view, const calc::LoopQuality* quality = nullptr);

// An extent narrower than a metre is widened to one about its middle.
void WidenNarrow(PlaneRect& extent);

struct Picture {
  bool visible = false;  // some record takes part
  // The projected extent of what takes part (both eyes in the red-green
  // view, points behind the camera left out), widened when narrow.
  PlaneRect extent;
  // The plane extent's diagonal, or the world extent's in the spatial
  // views; at least 3.5.
  double sceneSize = 0;
  std::vector<LineColour> colours;  // per record (list position); empty when nothing is visible
};

// The camera view's scale for a screen `screenHeight` pixels high (1 for
// the other display types).
double CameraFactor(doc::DisplayType type, int screenHeight);

// Works out the picture of the store's current worksheet `worksheet`: the
// projection is rebuilt when the view says it is dirty (the camera view
// scaled to a screen `screenHeight` pixels high), then the extent and the
// colours are measured. Sets the view's scene size.
Picture ComposePicture(const doc::SurveyStore& store, const doc::Worksheet& worksheet, ViewTransform& view,
                       const platform::SettingsStore& settings, int screenHeight);

}  // namespace hp::draw
