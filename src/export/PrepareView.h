// The picture an export relies on when no window has drawn the worksheet:
// the projection, extent and colours of every record worked out as a
// 1280 x 1024 screen would show them, without painting anything.
#pragma once

#include <vector>

#include "draw/Picture.h"
#include "draw/ViewTransform.h"
#include "export/ExportWriter.h"

namespace hp::exports {

struct PreparedView {
  draw::ViewTransform view;
  draw::Picture picture;
  // What the writers read of it (refers to this object).
  DrawnView Drawn() const { return {view.slots(), picture.colours, view.heightOffset(), view.referencePath(), &view}; }
};

// Works out the picture of the store's current worksheet when its display
// type draws one.
void PrepareView(PreparedView& prepared, const doc::SurveyStore& store, const platform::SettingsStore& settings);

}  // namespace hp::exports
