// What the mouse and the keys do to a drawn view, as plain arithmetic over
// the projection slots and the worksheet: picking the station under a click,
// the wheel's zoom steps, rubber bands that lay down the overview or the
// sub-sheets, the sheet under a click, sub-sheet navigation, turning by
// dragging, and the camera moves of the camera view. The window keeps the
// mouse state and calls these; nothing here knows about windows or events.
#pragma once

#include <span>

#include "doc/SurveyStore.h"
#include "doc/Worksheet.h"
#include "draw/PlaneLayout.h"
#include "draw/Projection.h"
#include "draw/ViewTransform.h"
#include "draw/interaction/MouseMode.h"

namespace hp::draw {

// A click finds a station this far away at most (device units).
inline constexpr int kPickTolerance = 5;
// A rubber band smaller than this in both directions is a click (pixels).
inline constexpr int kClickLimit = 9;

// How the last drawing placed drawing coordinates on the device: ToDevice's
// scale and offsets. Device points here are content points, that is window
// points plus the scroll position.
struct DeviceMapping {
  double scale = 0;
  int ox = 0, oy = 0;
};

struct PlanePoint {
  double x = 0, y = 0;
};

// The drawing point of a device point (inverse of ToDevice).
PlanePoint DeviceToDrawing(DevicePoint p, const DeviceMapping& m);

// The list position of the record whose projected to-station lies nearest
// to `click`, within `tolerance` device units (Euclidean); -1 when none does.
// Of stations at the same distance the first in list order wins. Records
// without a point name (auxiliary lines) are not stations; with
// `skipHidden` (camera view) slots cut away behind the eye are skipped.
int PickStation(const doc::SurveyStore& store, std::span<const ProjectionSlots> slots, const DeviceMapping& m,
                DevicePoint click, bool skipHidden = false, int tolerance = kPickTolerance);

// A rubber band released less than kClickLimit pixels away in both
// directions counts as a click.
bool IsClick(DevicePoint down, DevicePoint up);

// One wheel step of the plane and projected views: 15 % of the zoom up
// (towards the user, at most 10000) or down (at least 10); a result in
// [94, 106) snaps to 100.
double WheelZoom(double zoomPercent, bool towardsUser);

// The rectangle between two device corners in drawing coordinates, ordered.
PlaneRect DeviceRectToDrawing(DevicePoint a, DevicePoint b, const DeviceMapping& m);

// Snaps a dragged rectangle (in either orientation) outward-or-inward to the
// nearest grid lines: left and bottom to floor((v + step/2)/step)·step, right
// and top to ceil((v - step/2)/step)·step; an edge that comes closer than
// half a step to its opposite moves one step further out (right, or down).
// Steps below one metre count as one.
PlaneRect SnapRubberBand(PlaneRect r, double step);
// A dragged distance in whole grid steps: floor((step/2 + d)/step)·step.
double SnapDistance(double distance, double step);

// The rubber band of "Übersicht festlegen": the rectangle becomes the manual
// overview, snapped to the smaller of the overview and the sheet grid step.
void SetOverviewFromRubberBand(doc::Worksheet& worksheet, const PlaneRect& r);
// A drag inside a manual overview moves it by whole grid steps.
void MoveOverview(doc::Worksheet& worksheet, double dx, double dy);
// A click in "Übersicht festlegen": sub-sheets off, the overview automatic.
void ResetOverview(doc::Worksheet& worksheet);

// The rubber band of "Teilblätter auswählen" with manual sub-sheets and the
// sub-sheets hidden: the rectangle (snapped outward to the sheet grid step)
// becomes the first sub-sheet, the sub-sheets are shown from sheet 1 and the
// pages are counted automatically again.
void SetSubSheetFromRubberBand(doc::Worksheet& worksheet, const PlaneRect& r);
// With the sub-sheets shown, a drag moves the sub-sheet grid by whole sheet
// grid steps and keeps the number of pages.
void MoveSubSheets(doc::Worksheet& worksheet, double dx, double dy);

// The sub-sheet under a drawing point: sheets are numbered row by row from
// the top-left one, n = columns·row + column + 1. 0 when the point lies
// outside the grid of rows × columns sheets.
int SheetAt(const doc::Worksheet& worksheet, PlanePoint p);
// A click of "Teilblätter auswählen": shows the sheet under the point.
// False when there is none.
bool SelectSheetAt(doc::Worksheet& worksheet, PlanePoint p);
// A click of "Druckbereich auswählen": toggles the print-area bit of the
// sheet under the point. False when there is none or its number is above
// 1024 (sheets beyond have no bit).
bool TogglePrintAreaAt(doc::Worksheet& worksheet, PlanePoint p);

// Sub-sheet and protocol-page navigation keys (command ids 32794 to 32801).
// Acts for the plane types while sub-sheets are shown (and for the protocol
// pages); the camera view's distance steps of 32794 and 32797 are the
// caller's. False when nothing changed.
bool NavigateSheet(doc::Worksheet& worksheet, int commandId);

// Turning by dragging (perspective, red-green and camera view): one pixel is
// one degree; `dx` right, `dy` down in device pixels. The azimuth is kept in
// [0, 360), the inclination in [-90, 90].
void DragTurn(doc::Worksheet& worksheet, int dx, int dy);

// The factor of the camera view's mouse moves: metres per pixel of
// max(scene size + distance, scene size / 5) / screen height / zoom · `per`.
inline constexpr double kCameraPanPer = 135;
inline constexpr double kCameraStepPer = 4000;
double CameraFactor(double sceneSize, const doc::Worksheet& worksheet, int screenHeight, double per);
// Right-button drag in the camera view: the centre moves against the drag
// across the view direction (dx) and along the screen's vertical (dy, down).
void PanCamera(doc::Worksheet& worksheet, int dx, int dy, double factor);
// Both buttons: the upward movement (−dy) times the factor is added to the
// distance.
void DragCameraDistance(doc::Worksheet& worksheet, int dy, double factor);
// The camera keys: 32775 left, 32776 right, 32773 forward, 32774 back, each
// by `step` metres. False for other ids.
bool MoveCamera(doc::Worksheet& worksheet, int commandId, double step);

// The world point of a drawing point for the coordinates placement: in the
// plan the drawing point without the plan's shift; in the section and the
// elevation only the height is meaningful. `offset` is the projection of the
// world origin with the current matrix.
struct PlacedPoint {
  double x = 0, y = 0, z = 0;
  bool horizontal = false;  // x and y are set (plan); else only z
};
bool PlaceFromDrawing(doc::DisplayType displayType, PlanePoint p, const Vec3& offset, PlacedPoint& placed);
// Writes a placement into both ends of a record.
void ApplyPlacement(doc::SurveyRecord& record, const PlacedPoint& placed);

// The mouse modes of the context menu, in menu order: mode, command id, text.
struct MouseModeEntry {
  MouseMode mode;
  int commandId;
  const char* text;  // UTF-8, with mnemonic and shortcut
};
std::span<const MouseModeEntry> MouseModeEntries();
// Whether the context menu offers a mode for a display type.
bool IsMouseModeEnabled(MouseMode mode, doc::DisplayType displayType);

}  // namespace hp::draw
