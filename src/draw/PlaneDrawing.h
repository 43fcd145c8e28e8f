// The plane drawing of a worksheet: plan, developed section, parallel
// projection and elevation, drawn from the projection slots onto a surface
// in a fixed order (background map, frame, legs, station marks, labels, axis labels, ticks,
// grid crosses), in the line colours of the worksheet's colour mode.
#pragma once

#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

#include "doc/SurveyStore.h"
#include "draw/BackgroundMap.h"
#include "draw/LineColours.h"
#include "draw/PlaneLayout.h"
#include "draw/Surface.h"
#include "draw/ViewTransform.h"
#include "platform/Clock.h"
#include "platform/SettingsStore.h"

namespace hp::draw {

struct PlaneDrawingOptions {
  bool printer = false;              // a printer page (true scale, page margins)
  bool preview = false;              // a print-preview page: legs leaving the area are skipped
  Size window{};                     // window size in device units; 0: the device size
  int pickedRecord = -1;             // list position picked with the mouse, for the crosshair
  std::optional<SheetChoice> sheet;  // the printed page; none: the worksheet's own sheet
  double pageWidthMm = kDefaultPageWidthMm, pageHeightMm = kDefaultPageHeightMm;
  const platform::Clock* clock = nullptr;  // today's date for the page label; null: the system clock
  // The background map: the window's holder keeps it between drawings (null:
  // read for this drawing only); stored names are relative to the document's
  // folder; failures are told through the prompter (null: no messages).
  BackgroundMap* backgroundMap = nullptr;
  std::filesystem::path documentFolder;
  platform::Prompter* prompter = nullptr;
  // Legs drawn highlighted (list positions); null: none.
  const std::vector<size_t>* highlighted = nullptr;
};

// What a plane drawing leaves for the printing, the mouse and the exports.
struct PlaneDrawingResult {
  bool drawn = false;    // false: nothing visible, the message was shown
  PlaneLayout layout;    // the drawn area and the sheet arithmetic
  double scale = 0;      // device units per metre
  int ox = 0, oy = 0;    // corner offsets of ToDevice
  double sceneSize = 0;  // diagonal of the plane extent, at least 3.5
  PlaneRect extent;      // the plane extent (widened when narrow)
  // A printed page only: the area is larger than the page within its
  // margins and was cut at them.
  bool cutAtPage = false;
  // Per record (list position): the colour its leg was drawn in.
  std::vector<LineColour> colours;
};

// Draws the worksheet shown by `store` (its current worksheet) on `surface`.
// Rebuilds the projection when `view` says it is dirty.
PlaneDrawingResult DrawPlane(Surface& surface, const doc::SurveyStore& store, const doc::Worksheet& worksheet,
                             ViewTransform& view, const platform::SettingsStore& settings,
                             const PlaneDrawingOptions& options = {});

}  // namespace hp::draw
