// The drawing an export relies on when no window has drawn the worksheet: the
// worksheet drawn once on a screen-sized surface that keeps nothing, so the
// projected points and the drawn colours of every record are current.
#pragma once

#include <filesystem>

#include "draw/ViewTransform.h"
#include "export/ExportWriter.h"
#include "draw/WorksheetDrawing.h"
#include "platform/Prompter.h"

namespace hp::exports {

struct PreparedView {
  draw::ViewTransform view;
  draw::WorksheetDrawingResult drawing;
  // What the writers read of it (refers to this object).
  DrawnView Drawn() const {
    return {view.slots(), drawing.colours, view.heightOffset(), view.referencePath(), &view};
  }
};

// Draws the store's current worksheet (when its display type draws a picture)
// on a 1280 x 1024 screen that keeps nothing. `prompter` receives the
// drawing's messages (null: none); `documentFolder` resolves the background
// map.
void PrepareView(PreparedView& prepared, doc::SurveyStore& store, const platform::SettingsStore& settings,
                 platform::Prompter* prompter, const std::filesystem::path& documentFolder);

}  // namespace hp::exports
