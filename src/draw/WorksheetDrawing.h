// One drawing of a worksheet, whatever its display type: the plane drawing
// for plan, section, parallel projection and elevation, the spatial drawing
// for the perspective, red-green and camera views. The window, the batch
// tool's pictures and the printer all draw through here.
#pragma once

#include <filesystem>
#include <optional>
#include <vector>

#include "doc/SurveyStore.h"
#include "draw/BackgroundMap.h"
#include "draw/LineColours.h"
#include "draw/PlaneLayout.h"
#include "draw/Surface.h"
#include "draw/ViewTransform.h"
#include "platform/Clock.h"
#include "platform/Prompter.h"
#include "platform/SettingsStore.h"

namespace hp::draw {

// A screen of `pixels` that reports 96 dots per inch, full colour.
DeviceCaps ScreenCaps(Size pixels);

// The printable page in millimetres where a drawing needs one and no printer
// reports its own: 197 x 285, turned when the worksheet says landscape.
void DefaultPageSizeMm(const doc::Worksheet& worksheet, double& widthMm, double& heightMm);

// The colour a window or picture is cleared to before a screen drawing:
// black with the black-background flag, else the document's background.
Colour ScreenBackground(const doc::SurveyStore& store, const doc::Worksheet& worksheet);

struct WorksheetDrawingOptions {
  bool printer = false;                      // a printer page: true scale or fitted, page margins
  bool preview = false;                      // a print-preview page
  Size window{};                             // window (client) size; 0: the device size
  Size screen{};                             // screen size in pixels; 0: the device size
  double pageWidthMm = 0, pageHeightMm = 0;  // 0: the default page of the worksheet
  const platform::Clock* clock = nullptr;    // null: the system clock
  BackgroundMap* backgroundMap = nullptr;    // null: read for this drawing only
  std::filesystem::path documentFolder;
  platform::Prompter* prompter = nullptr;  // null: no messages
  int pickedRecord = -1;                   // list position marked with the mouse, for the crosshair
  std::optional<SheetChoice> sheet;        // the printed page; none: the worksheet's own sheet
  // Legs drawn highlighted (list positions); null: none.
  const std::vector<size_t>* highlighted = nullptr;
};

struct WorksheetDrawingResult {
  bool drawn = false;  // false: not a drawn type, or nothing visible (the message was shown)
  double scale = 0;
  int ox = 0, oy = 0;
  double sceneSize = 0;
  PlaneRect area;                     // the drawn area (plane types) or the projected extent, in drawing units
  std::vector<LineColour> colours;    // per record (list position): the colour of its leg
  bool cutAtPage = false;             // a printed plane area larger than the page, cut at its margins
  std::optional<PlaneLayout> layout;  // the plane types' page layout
};

// The device rectangle of the drawn area; empty when nothing was drawn.
Rect DeviceArea(const WorksheetDrawingResult& result);

// Draws the store's current worksheet on a screen-like surface. The
// worksheet is only read: what the drawing works out (the view's pose, the
// page layout) is in the view and the result.
WorksheetDrawingResult DrawWorksheet(Surface& surface, const doc::SurveyStore& store, const doc::Worksheet& worksheet,
                                     ViewTransform& view, const platform::SettingsStore& settings,
                                     const WorksheetDrawingOptions& options);

// Keeps in the worksheet what the window's drawing worked out, so the
// document saves what the user saw and the view and sheet commands start
// from it: the view's pose and the automatic sheet settings of the layout.
void KeepDrawnSettings(doc::Worksheet& worksheet, const ViewTransform& view, const WorksheetDrawingResult& result);

// A new or reset worksheet (the document's reset flag) gets its sheet
// defaults before its first drawing or print; clears the flag.
void ApplySheetReset(doc::Worksheet& worksheet, bool& resetFlag);

}  // namespace hp::draw
