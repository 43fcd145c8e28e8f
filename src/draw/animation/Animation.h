// The animation of the camera view: the worksheet's list of stored
// viewpoints ("Positionen") with its commands, the flight that carries the
// view through them on six splines (one per view value) picture by picture,
// the circle of three viewpoints around the model, and the spin that keeps
// turning the view after a drag. Plain functions on the worksheet; the
// window runs them between its drawings.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "doc/Worksheet.h"
#include "draw/animation/CubicSpline.h"
#include "platform/SettingsStore.h"

namespace hp::draw {

inline constexpr int kMaxAnimationPositions = 256;
// Keeps the flight's picture count (positions + 1 times this) inside 32 bits.
inline constexpr int kMaxPicturesPerPosition = 1000000;
inline constexpr int kDefaultAnimationPause = 20;  // milliseconds
inline constexpr int kMaxAnimationPause = 1000;

// The six view values in their fixed order: azimuth, inclination (degrees),
// distance, centre X, Y, Z (metres).
using ViewValues = std::array<double, 6>;
ViewValues CurrentView(const doc::Worksheet& worksheet);
void SetView(doc::Worksheet& worksheet, const ViewValues& values);
ViewValues ValuesOf(const doc::AnimationPosition& position);

// The commands of the menu "&Animation".
enum class AnimationCommand {
  Start,     // "&Animation starten"
  Endless,   // "Endlos-Animation"
  First,     // "&Erste Position"
  Previous,  // "&Vorherige Position"
  Next,      // "&Nächste Position"
  Last,      // "&Letzte Position"
  Typed,     // the position field of the tool bar
  Circle,    // "&Kreis-Animation anlegen"
  Insert,    // "Position ein&fügen"
  Save,      // "Position &speichern"
  Delete,    // "Position lös&chen"
};
bool IsAnimationCommandEnabled(AnimationCommand command, const doc::Worksheet& worksheet);

// Moves the current position (First, Previous, Next, Last). False, and
// nothing changed, on an empty list or for another command.
bool GoToPosition(AnimationCommand command, doc::Worksheet& worksheet);
// A number typed into the position field, limited to 1 .. number of
// positions. False on an empty list or a text that is no whole number.
bool GoToTypedPosition(std::string_view text, doc::Worksheet& worksheet);

// The list commands; each returns whether it changed the list.
// Inserts the current view after the current position and makes it current.
bool InsertPosition(doc::Worksheet& worksheet);
// Overwrites the current position with the current view.
bool SavePosition(doc::Worksheet& worksheet);
// Deletes the current position; the one after it (or, for the last, the one
// before it) becomes current.
bool DeletePosition(doc::Worksheet& worksheet);
// Replaces the list by three positions 120 degrees apart around the current
// view, makes the first current and sets the endless flag.
void MakeCircleAnimation(doc::Worksheet& worksheet);
// Toggles "Endlos-Animation".
void ToggleEndless(doc::Worksheet& worksheet);

// Copies the current position into the view state; false when the display
// type is not the camera view or the list is empty (or the number is out of
// range).
bool ShowCurrentPosition(doc::Worksheet& worksheet);
// The position field's text: the current number, empty unless the camera
// view shows a non-empty list.
std::string PositionFieldText(const doc::Worksheet& worksheet);

// The pictures per position typed into the tool bar: a whole number, kept at
// 1 and above (0 would give the splines pieces of width 0). False, and
// nothing changed, for another display type than the camera view or a text
// that is no number.
bool ApplyPicturesPerPosition(std::string_view text, doc::Worksheet& worksheet);

// The pause after each animation or spin picture in milliseconds ("Animation"
// in "Settings"), limited to 0 .. 1000.
int AnimationPause(const platform::SettingsStore& settings);
// The pause as typed into "Optionen Animation": the value, or the message
// that keeps the dialog open.
std::variant<int, std::string> ParseAnimationPause(std::string_view text);

// One flight through the worksheet's positions, prepared on its first
// picture.
class AnimationFlight {
 public:
  // Builds the keys (every pictures-per-position pictures one position, the
  // azimuth unwrapped so each turn takes the short way round; with the
  // endless flag a closing key back to the first) and the splines. The
  // flight starts at the current position. False with fewer than two
  // positions.
  bool Prepare(const doc::Worksheet& worksheet);

  struct Step {
    bool shown = false;    // the worksheet's view now holds the next picture
    bool running = false;  // more pictures follow
  };
  // Puts the view of the current picture into the worksheet and moves on;
  // a flight that is not endless ends after the picture of its last key, an
  // endless one starts over.
  Step NextPicture(doc::Worksheet& worksheet);
  // Forgets the keys and splines; the next picture prepares again.
  void Reset();

  bool prepared() const { return m_current >= 0; }
  int currentPicture() const { return m_current; }
  int totalPictures() const { return m_total; }
  bool endless() const { return m_endless; }
  // The value of a channel (0 azimuth unwrapped, 1 inclination, ... 5
  // centre Z) at picture `t`.
  double Channel(int channel, double t) const { return m_channels.at(static_cast<size_t>(channel))(t); }

 private:
  int m_current = -1;  // picture number; -1: not prepared
  int m_total = 0;
  bool m_endless = false;
  std::array<CubicSpline, 6> m_channels;
};

// Brings an angle into [0, 360).
double WrapDegrees(double angle);
// One spin picture: the azimuth turned by `step` degrees.
void SpinView(doc::Worksheet& worksheet, int step);

}  // namespace hp::draw
