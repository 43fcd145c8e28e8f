// Dispatch of a worksheet drawing by display type.
#include "draw/WorksheetDrawing.h"

#include <utility>

#include "draw/DisplayType.h"
#include "draw/PlaneDrawing.h"
#include "draw/PlaneLayout.h"
#include "draw/Projection.h"
#include "draw/SpatialDrawing.h"

namespace hp::draw {

DeviceCaps ScreenCaps(Size pixels) {
  DeviceCaps caps;
  caps.dpiX = caps.dpiY = 96;
  caps.widthPixels = pixels.cx;
  caps.heightPixels = pixels.cy;
  caps.widthMm = static_cast<int>(pixels.cx * 25.4 / 96 + 0.5);
  caps.heightMm = static_cast<int>(pixels.cy * 25.4 / 96 + 0.5);
  caps.colours = 1 << 24;
  return caps;
}

void DefaultPageSizeMm(const doc::Worksheet& worksheet, double& widthMm, double& heightMm) {
  widthMm = kDefaultPageWidthMm;
  heightMm = kDefaultPageHeightMm;
  if (worksheet.landscape() != 0) std::swap(widthMm, heightMm);
}

Colour ScreenBackground(const doc::SurveyStore& store, const doc::Worksheet& worksheet) {
  return worksheet.blackBackground() != 0 ? 0 : store.settings.backgroundColour;
}

WorksheetDrawingResult DrawWorksheet(Surface& surface, const doc::SurveyStore& store, const doc::Worksheet& worksheet,
                                     ViewTransform& view, const platform::SettingsStore& settings,
                                     const WorksheetDrawingOptions& options) {
  WorksheetDrawingResult result;
  const DisplayType type = worksheet.displayType();
  if (!doc::IsDrawnType(type)) return result;
  if (doc::IsSpatialType(type)) {
    SpatialDrawingOptions spatial;
    spatial.printer = options.printer;
    spatial.preview = options.preview;
    spatial.window = options.window;
    spatial.screen = options.screen;
    spatial.clock = options.clock;
    spatial.pickedRecord = options.pickedRecord;
    spatial.highlighted = options.highlighted;
    spatial.sheet = options.sheet;
    SpatialDrawingResult drawn = DrawSpatial(surface, store, worksheet, view, settings, spatial);
    result.drawn = drawn.drawn;
    result.scale = drawn.scale;
    result.ox = drawn.ox;
    result.oy = drawn.oy;
    result.sceneSize = drawn.sceneSize;
    result.area = drawn.extent;
    result.colours = std::move(drawn.colours);
    return result;
  }
  PlaneDrawingOptions plane;
  plane.printer = options.printer;
  plane.preview = options.preview;
  plane.window = options.window;
  plane.clock = options.clock;
  plane.backgroundMap = options.backgroundMap;
  plane.documentFolder = options.documentFolder;
  plane.prompter = options.prompter;
  plane.pickedRecord = options.pickedRecord;
  plane.highlighted = options.highlighted;
  plane.sheet = options.sheet;
  if (options.pageWidthMm > 0 && options.pageHeightMm > 0) {
    plane.pageWidthMm = options.pageWidthMm;
    plane.pageHeightMm = options.pageHeightMm;
  } else {
    DefaultPageSizeMm(worksheet, plane.pageWidthMm, plane.pageHeightMm);
  }
  PlaneDrawingResult drawn = DrawPlane(surface, store, worksheet, view, settings, plane);
  result.drawn = drawn.drawn;
  result.scale = drawn.scale;
  result.ox = drawn.ox;
  result.oy = drawn.oy;
  result.sceneSize = drawn.sceneSize;
  result.area = drawn.layout.area;
  result.cutAtPage = drawn.cutAtPage;
  result.colours = std::move(drawn.colours);
  if (drawn.drawn) result.layout = drawn.layout;
  return result;
}

void KeepDrawnSettings(doc::Worksheet& worksheet, const ViewTransform& view, const WorksheetDrawingResult& result) {
  KeepViewPose(worksheet, view);
  if (result.layout) StoreLayout(worksheet, *result.layout);
}

void ApplySheetReset(doc::Worksheet& worksheet, bool& resetFlag) {
  if (!resetFlag) return;
  RestoreSheetDefaults(worksheet);
  resetFlag = false;
}

Rect DeviceArea(const WorksheetDrawingResult& result) {
  if (!result.drawn) return {};
  const DevicePoint topLeft = ToDevice(result.area.left, result.area.top, result.scale, result.ox, result.oy);
  const DevicePoint bottomRight = ToDevice(result.area.right, result.area.bottom, result.scale, result.ox, result.oy);
  return {topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
}

}  // namespace hp::draw
