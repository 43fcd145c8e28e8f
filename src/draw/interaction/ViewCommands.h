// The view-direction commands (turn left, right, up, down; move the camera
// farther or nearer) with their enabling rules, and the values the
// view-direction tool bar shows. The caller stops a running animation before,
// and afterwards marks the document modified, sets the projection-dirty flag
// and redraws every view of the document when a command acted.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "doc/Worksheet.h"
#include "platform/SettingsStore.h"

namespace hp::draw {

enum class ViewCommand { Left, Right, Up, Down, Farther, Nearer };

// Menu and tool-bar command ids of the view.
std::optional<ViewCommand> ViewCommandFromId(int id);

struct ViewCommandTexts {
  std::string_view button;  // tool-bar button text
  std::string_view tip;     // status-bar prompt
};
ViewCommandTexts TextsOf(ViewCommand command);

// The turning step in degrees ("Delta" in "Settings", default 5).
inline constexpr int kDefaultTurnStep = 5;
int TurnStep(const platform::SettingsStore& settings);

// Whether the command is offered for a display type.
bool IsViewCommandEnabled(ViewCommand command, doc::DisplayType displayType);

// Carries out a command on the worksheet's view. Returns whether the command
// acts for the worksheet's display type (and so changed the view).
// `sceneSize` is the projected scene's size in metres; the distance steps are
// a tenth of it snapped by NiceStep.
bool ApplyViewCommand(ViewCommand command, doc::Worksheet& worksheet, int step, double sceneSize);

// The typed-value fields of the view-direction tool bar.
enum class ViewField { Azimuth, Inclination, Distance };
inline constexpr int kAzimuthFieldId = 32783;
inline constexpr int kInclinationFieldId = 32785;
inline constexpr int kDistanceFieldId = 1200;
std::string_view PromptOf(ViewField field);
bool IsViewFieldEnabled(ViewField field, doc::DisplayType displayType);
// A value typed into a tool-bar field (decimal comma or point): the azimuth
// is brought into [0, 360), the inclination limited to [-90, 90]. False,
// and the worksheet unchanged, when the text is no number or the field is
// not offered for the worksheet's display type.
bool ApplyViewField(ViewField field, std::string_view text, doc::Worksheet& worksheet);

// The texts the tool bars show for a worksheet (decimal comma).
struct ViewToolBarValues {
  std::string azimuth;
  std::string inclination;
  std::string distance;             // empty unless the camera view is shown
  std::string picturesPerPosition;  // animation tool bar; empty unless the camera view is shown
};
ViewToolBarValues ToolBarValues(const doc::Worksheet& worksheet);

}  // namespace hp::draw
