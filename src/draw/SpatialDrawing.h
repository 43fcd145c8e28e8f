// The spatial drawing of a worksheet: the perspective projection, the
// red-green 3D view (both eyes in their own colours, the right eye shifted
// by the stereo offset) and the camera view of one view state (legs cut at
// the eye plane, passage-wall spokes). Legs are drawn in list order, without
// depth sorting; frame lines, the north arrow and the height scale come from
// the frame geometry built beside the projection.
#pragma once

#include <optional>
#include <vector>

#include "doc/DocumentDialogs.h"
#include "doc/SurveyStore.h"
#include "draw/LineColours.h"
#include "draw/PlaneLayout.h"
#include "draw/Surface.h"
#include "draw/ViewTransform.h"
#include "platform/Clock.h"
#include "platform/SettingsStore.h"

namespace hp::draw {

// The eye colours of the red-green view ("Settings" section), 0x00BBGGRR.
// "FarbeLinks" and "FarbeRechts" default to cyan and red.
using doc::kDefaultLeftEyeColour;
using doc::kDefaultRightEyeColour;

struct SpatialDrawingOptions {
  bool printer = false;  // a printer page (fitted to the page)
  bool preview = false;  // a print-preview page
  Size window{};         // window (client) size in device units; 0: the device size
  Size screen{};         // screen size in pixels; 0: the device size
  // The client size of the window at its last screen drawing: a printed
  // camera view fits that picture to the page. 0: the screen size.
  Size rememberedClient{};
  int pickedRecord = -1;                   // list position picked with the mouse, for the crosshair
  const platform::Clock* clock = nullptr;  // today's date for the page label; null: the system clock
  std::optional<SheetChoice> sheet;        // the printed page; none: the worksheet's own sheet
  // Legs drawn highlighted (list positions); null: none.
  const std::vector<size_t>* highlighted = nullptr;
};

// One line of the frame geometry, projected; `text` is set for the height
// scale ("%1.0f" of the height).
struct SpatialFrameLine {
  Vec3 from, to;
  std::string text;
  bool operator==(const SpatialFrameLine&) const = default;
};

// The frame geometry of the perspective, red-green and camera views in world
// coordinates: the 12 edges of the extent box (with the frame on), the 8
// strokes of the north arrow at the reference point (with the arrow on) and
// the height scale (types 3 and 5 with height labels on): at most 256 short
// strokes on the vertical box edge above (min x, min y), each with its label.
std::vector<SpatialFrameLine> SpatialFrameGeometry(const ViewTransform& view, const doc::Worksheet& worksheet);

// Stereo offset of the right eye in device units: the worksheet's values
// times dpi / 25.4 / 3.5, plus a half, cut toward zero.
Point StereoOffset(const doc::Worksheet& worksheet, const DeviceCaps& caps);

struct SpatialDrawingResult {
  bool drawn = false;    // false: nothing visible, the message was shown
  double scale = 0;      // device units per drawing unit
  int ox = 0, oy = 0;    // corner offsets of ToDevice
  double sceneSize = 0;  // diagonal of the world extent, at least 3.5
  PlaneRect extent;      // the projected extent (both eyes in the red-green view)
  Point stereoOffset;    // shift of the right eye (red-green view)
  // Per record (list position): the colour its leg was drawn in.
  std::vector<LineColour> colours;
};

// Draws the worksheet (display type 3, 4 or 5) on `surface`. Rebuilds the
// extent, the projection and the frame geometry when `view` says it is dirty;
// the camera view's matrix is scaled by (screen height - 150) / (768 - 150).
SpatialDrawingResult DrawSpatial(Surface& surface, const doc::SurveyStore& store, const doc::Worksheet& worksheet,
                                 ViewTransform& view, const platform::SettingsStore& settings,
                                 const SpatialDrawingOptions& options = {});

}  // namespace hp::draw
