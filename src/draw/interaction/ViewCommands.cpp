// View-direction commands and their tool-bar texts.
#include "draw/interaction/ViewCommands.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "base/NumberFormat.h"
#include "draw/DisplayType.h"
#include "draw/Projection.h"

namespace hp::draw {

namespace {
// Turning left and right also acts on the survey protocol, which keeps the
// direction for when it is shown as a picture again.
bool TurnsSideways(DisplayType t) { return doc::HasViewAzimuth(t) || t == DisplayType::Protocol; }
bool TurnsUpDown(DisplayType t) { return doc::HasViewInclination(t); }
}  // namespace

std::optional<ViewCommand> ViewCommandFromId(int id) {
  switch (id) {
    case 32777:
    case 32787: return ViewCommand::Left;
    case 32779:
    case 32790: return ViewCommand::Right;
    case 32792:
    case 32784: return ViewCommand::Up;
    case 32782:
    case 32786: return ViewCommand::Down;
    case 1201: return ViewCommand::Farther;
    case 1202: return ViewCommand::Nearer;
    default: return std::nullopt;
  }
}

ViewCommandTexts TextsOf(ViewCommand command) {
  switch (command) {
    case ViewCommand::Left: return {"Links", "Grafik nach links drehen."};
    case ViewCommand::Right: return {"Rechts", "Grafik nach rechts drehen."};
    case ViewCommand::Up: return {"Hoch", "Grafik nach oben drehen."};
    case ViewCommand::Down: return {"Runter", "Grafik nach unten drehen."};
    case ViewCommand::Farther: return {"Ferner", "Abstand zur Grafik vergrößern."};
    case ViewCommand::Nearer: return {"Näher", "Abstand zur Grafik verkleinern."};
  }
  return {};
}

int TurnStep(const platform::SettingsStore& settings) { return settings.GetInt("Settings", "Delta", kDefaultTurnStep); }

bool IsViewCommandEnabled(ViewCommand command, DisplayType type) {
  switch (command) {
    // The survey protocol has no direction to turn, though the command acts there.
    case ViewCommand::Left:
    case ViewCommand::Right: return doc::HasViewAzimuth(type);
    case ViewCommand::Up:
    case ViewCommand::Down: return TurnsUpDown(type);
    case ViewCommand::Farther:
    case ViewCommand::Nearer: return doc::IsCameraType(type);
  }
  return false;
}

bool ApplyViewCommand(ViewCommand command, doc::Worksheet& ws, int step, double sceneSize) {
  const DisplayType type = ws.displayType();
  switch (command) {
    case ViewCommand::Left: {
      if (!TurnsSideways(type)) return false;
      double azimuth = ws.viewAzimuth() - step;
      if (azimuth < 0) azimuth += 360;
      ws.setViewAzimuth(azimuth);
      return true;
    }
    case ViewCommand::Right: {
      if (!TurnsSideways(type)) return false;
      double azimuth = ws.viewAzimuth() + step;
      if (azimuth >= 360) azimuth -= 360;
      ws.setViewAzimuth(azimuth);
      return true;
    }
    case ViewCommand::Up:
      if (!TurnsUpDown(type)) return false;
      ws.setViewInclination(std::min(ws.viewInclination() + step, 90.0));
      return true;
    case ViewCommand::Down:
      if (!TurnsUpDown(type)) return false;
      ws.setViewInclination(std::max(ws.viewInclination() - step, -90.0));
      return true;
    case ViewCommand::Farther:
      if (!doc::IsCameraType(type)) return false;
      ws.setViewDistance(ws.viewDistance() + NiceStep(sceneSize / 10));
      return true;
    case ViewCommand::Nearer:
      if (!doc::IsCameraType(type)) return false;
      ws.setViewDistance(ws.viewDistance() - NiceStep(sceneSize / 10));
      return true;
  }
  return false;
}

std::string_view PromptOf(ViewField field) {
  switch (field) {
    case ViewField::Azimuth: return "Azimut eingeben.";
    case ViewField::Inclination: return "Neigung eingeben.";
    case ViewField::Distance: return "Abstand eingeben.";
  }
  return {};
}

bool IsViewFieldEnabled(ViewField field, DisplayType type) {
  switch (field) {
    case ViewField::Azimuth: return IsViewCommandEnabled(ViewCommand::Left, type);
    case ViewField::Inclination: return IsViewCommandEnabled(ViewCommand::Up, type);
    case ViewField::Distance: return doc::IsCameraType(type);
  }
  return false;
}

ViewToolBarValues ToolBarValues(const doc::Worksheet& ws) {
  const DisplayType type = ws.displayType();
  ViewToolBarValues v;
  v.azimuth = TurnsSideways(type) ? base::FormatShown(ws.viewAzimuth()) : "0,00";
  if (TurnsUpDown(type)) v.inclination = base::FormatShown(ws.viewInclination());
  else v.inclination = type == DisplayType::Plan ? "-90,00" : "0,00";
  if (doc::IsCameraType(type)) {
    v.distance = base::FormatShown(ws.viewDistance());
    v.picturesPerPosition = std::to_string(ws.picturesPerPosition());
  }
  return v;
}

bool ApplyViewField(ViewField field, std::string_view text, doc::Worksheet& ws) {
  if (!IsViewFieldEnabled(field, ws.displayType())) return false;
  std::string typed(text);
  std::replace(typed.begin(), typed.end(), ',', '.');
  const auto value = base::ParseNumber(typed);
  if (!value || !std::isfinite(*value)) return false;
  switch (field) {
    case ViewField::Azimuth: {
      double azimuth = std::fmod(*value, 360.0);
      if (azimuth < 0) azimuth += 360;
      if (azimuth >= 360) azimuth = 0;  // a tiny negative remainder rounds up to 360
      ws.setViewAzimuth(azimuth);
      return true;
    }
    case ViewField::Inclination: ws.setViewInclination(std::clamp(*value, -90.0, 90.0)); return true;
    case ViewField::Distance: ws.setViewDistance(*value); return true;
  }
  return false;
}

}  // namespace hp::draw
