// Stored viewpoints, the flight through them and the spin.
#include "draw/animation/Animation.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "base/FieldMessages.h"
#include "base/NumberField.h"
#include "base/NumberFormat.h"
#include "draw/DisplayType.h"

namespace hp::draw {
namespace {

bool IsCameraView(const doc::Worksheet& ws) { return ws.displayType() == DisplayType::Animation; }
int Count(const doc::Worksheet& ws) { return static_cast<int>(ws.positions.size()); }

// The current number held inside 1 .. count (a file may hold any number).
int CurrentNumber(const doc::Worksheet& ws) {
  const int count = Count(ws);
  if (count == 0) return 0;
  const auto current = static_cast<long long>(ws.currentPositionNumber());
  return static_cast<int>(std::clamp<long long>(current, 1, count));
}

void SetCurrent(doc::Worksheet& ws, int number) { ws.setCurrentPositionNumber(static_cast<uint32_t>(number)); }

void SetCounters(doc::Worksheet& ws, int current) {
  ws.setPositionCount(static_cast<uint32_t>(ws.positions.size()));
  SetCurrent(ws, current);
}

void CopyView(const ViewValues& v, doc::AnimationPosition& p) {
  p.azimuth = v[0];
  p.inclination = v[1];
  p.distance = v[2];
  p.centreX = v[3];
  p.centreY = v[4];
  p.centreZ = v[5];
}

// The unwrap rule of the azimuth channel: a jump of 180 degrees or more
// between neighbouring keys goes the short way round.
double Unwrap(double offset, double previous, double next) {
  if (previous >= 180 && previous - next >= 180) return offset + 360;
  if (previous < 180 && next - previous >= 180) return offset - 360;
  return offset;
}

}  // namespace

ViewValues CurrentView(const doc::Worksheet& ws) {
  return {ws.viewAzimuth(), ws.viewInclination(), ws.viewDistance(),
          ws.viewCentreX(), ws.viewCentreY(),     ws.viewCentreZ()};
}

void SetView(doc::Worksheet& ws, const ViewValues& v) {
  ws.setViewAzimuth(v[0]);
  ws.setViewInclination(v[1]);
  ws.setViewDistance(v[2]);
  ws.setViewCentreX(v[3]);
  ws.setViewCentreY(v[4]);
  ws.setViewCentreZ(v[5]);
}

ViewValues ValuesOf(const doc::AnimationPosition& p) {
  return {p.azimuth, p.inclination, p.distance, p.centreX, p.centreY, p.centreZ};
}

bool IsAnimationCommandEnabled(AnimationCommand command, const doc::Worksheet& ws) {
  if (!IsCameraView(ws)) return false;
  const int count = Count(ws);
  switch (command) {
    case AnimationCommand::Start:
    case AnimationCommand::Endless: return count >= 3;
    case AnimationCommand::First:
    case AnimationCommand::Previous:
    case AnimationCommand::Next:
    case AnimationCommand::Last: return count >= 2;
    case AnimationCommand::Typed:
    case AnimationCommand::Circle: return true;
    case AnimationCommand::Insert: return count < kMaxAnimationPositions;
    case AnimationCommand::Save:
    case AnimationCommand::Delete: return count > 0;
  }
  return false;
}

bool GoToPosition(AnimationCommand command, doc::Worksheet& ws) {
  const int count = Count(ws);
  if (count == 0) return false;
  const int current = CurrentNumber(ws);
  const bool endless = ws.endlessAnimation() != 0;
  switch (command) {
    case AnimationCommand::First: SetCurrent(ws, 1); return true;
    case AnimationCommand::Previous: SetCurrent(ws, current > 1 ? current - 1 : endless ? count : current); return true;
    case AnimationCommand::Next: SetCurrent(ws, current < count ? current + 1 : endless ? 1 : current); return true;
    case AnimationCommand::Last: SetCurrent(ws, count); return true;
    default: return false;
  }
}

bool GoToTypedPosition(std::string_view text, doc::Worksheet& ws) {
  const int count = Count(ws);
  if (count == 0) return false;
  const auto number = base::ParseInteger(text);
  if (!number) return false;
  SetCurrent(ws, static_cast<int>(std::clamp<long long>(*number, 1, count)));
  return true;
}

bool InsertPosition(doc::Worksheet& ws) {
  if (Count(ws) >= kMaxAnimationPositions) return false;
  const int at = CurrentNumber(ws);  // after the current one; 0 on an empty list
  auto position = std::make_unique<doc::AnimationPosition>();
  CopyView(CurrentView(ws), *position);
  ws.positions.insert(ws.positions.begin() + at, std::move(position));
  SetCounters(ws, at + 1);
  return true;
}

bool SavePosition(doc::Worksheet& ws) {
  const int current = CurrentNumber(ws);
  if (current == 0) return false;
  CopyView(CurrentView(ws), *ws.positions[static_cast<size_t>(current - 1)]);
  SetCurrent(ws, current);
  return true;
}

bool DeletePosition(doc::Worksheet& ws) {
  const int current = CurrentNumber(ws);
  if (current == 0) return false;
  ws.positions.erase(ws.positions.begin() + (current - 1));
  SetCounters(ws, std::min(current, Count(ws)));
  return true;
}

void MakeCircleAnimation(doc::Worksheet& ws) {
  ws.positions.clear();
  const ViewValues view = CurrentView(ws);
  for (int j = 0; j < 3; ++j) {
    auto position = std::make_unique<doc::AnimationPosition>();
    CopyView(view, *position);
    double azimuth = view[0] - 120.0 * j;
    if (azimuth < 0) azimuth += 360;
    position->azimuth = azimuth;
    ws.positions.push_back(std::move(position));
  }
  SetCounters(ws, 1);
  ws.setEndlessAnimation(1);
}

void ToggleEndless(doc::Worksheet& ws) { ws.setEndlessAnimation(ws.endlessAnimation() != 0 ? 0 : 1); }

bool ShowCurrentPosition(doc::Worksheet& ws) {
  const int current = CurrentNumber(ws);
  if (!IsCameraView(ws) || current == 0 || static_cast<long long>(ws.currentPositionNumber()) != current) return false;
  SetView(ws, ValuesOf(*ws.positions[static_cast<size_t>(current - 1)]));
  return true;
}

std::string PositionFieldText(const doc::Worksheet& ws) {
  if (!IsCameraView(ws) || ws.positions.empty()) return {};
  return std::to_string(ws.currentPositionNumber());
}

bool ApplyPicturesPerPosition(std::string_view text, doc::Worksheet& ws) {
  if (!IsCameraView(ws)) return false;
  const auto number = base::ParseInteger(text);
  if (!number) return false;
  ws.setPicturesPerPosition(static_cast<int32_t>(std::clamp<long long>(*number, 1, kMaxPicturesPerPosition)));
  return true;
}

int AnimationPause(const platform::SettingsStore& settings) {
  return std::clamp(settings.GetInt("Settings", "Animation", kDefaultAnimationPause), 0, kMaxAnimationPause);
}

std::variant<int, std::string> ParseAnimationPause(std::string_view text) {
  auto read = base::ReadNumberField(
      text, {.notANumber = std::string(base::messages::kEnterInteger),
             .outOfRange = "Geben Sie eine ganze Zahl zwischen 0 und " + std::to_string(kMaxAnimationPause) + " ein.",
             .integer = true,
             .min = 0,
             .max = kMaxAnimationPause});
  if (auto* message = std::get_if<std::string>(&read)) return std::move(*message);
  return static_cast<int>(std::get<double>(read));
}

bool AnimationFlight::Prepare(const doc::Worksheet& ws) {
  Reset();
  const int count = Count(ws);
  if (count < 2) return false;
  // A stored count below 1 would give the splines pieces of width 0.
  const int step = std::clamp(ws.picturesPerPosition(), 1, kMaxPicturesPerPosition);
  m_endless = ws.endlessAnimation() != 0;
  const auto keys = static_cast<size_t>(count) + (m_endless ? 1 : 0);
  std::vector<double> pictures;
  std::array<std::vector<double>, 6> values;
  pictures.reserve(keys);
  for (auto& channel : values) channel.reserve(keys);

  const auto addKey = [&](double azimuth, const ViewValues& v) {
    pictures.push_back(m_total);
    values[0].push_back(azimuth);
    for (size_t c = 1; c < 6; ++c) values[c].push_back(v[c]);
  };
  double offset = 0, previous = 0;
  for (int i = 0; i < count; ++i) {
    const ViewValues v = ValuesOf(*ws.positions[static_cast<size_t>(i)]);
    if (static_cast<long long>(i) + 1 == static_cast<long long>(ws.currentPositionNumber())) m_current = m_total;
    if (i >= 1) offset = Unwrap(offset, previous, v[0]);
    addKey(offset + v[0], v);
    m_total += step;
    previous = v[0];
  }
  if (m_endless) {
    const ViewValues first = ValuesOf(*ws.positions.front());
    offset = Unwrap(offset, previous, first[0]);
    addKey(offset + first[0], first);
  } else {
    m_total -= step;
  }
  // A current number outside the list (possible in a file) starts at the first.
  if (m_current < 0) m_current = 0;
  for (size_t c = 0; c < 6; ++c) m_channels[c].Compute(pictures, values[c], m_endless);
  return true;
}

AnimationFlight::Step AnimationFlight::NextPicture(doc::Worksheet& ws) {
  Step step;
  if (ws.positions.size() < 2) {
    Reset();
    return step;
  }
  if (m_current < 0) Prepare(ws);
  if (!(m_current >= m_total && (m_endless || m_current > m_total))) {
    const auto t = static_cast<double>(m_current);
    ViewValues v;
    v[0] = WrapDegrees(m_channels[0](t));
    for (size_t c = 1; c < 6; ++c) v[c] = m_channels[c](t);
    SetView(ws, v);
    ++m_current;
    step.shown = true;
  }
  step.running = step.shown;
  if (m_endless && m_current == m_total) m_current = 0;
  if (!m_endless && m_current == m_total + 1) step.running = false;
  if (!step.running) Reset();
  return step;
}

void AnimationFlight::Reset() {
  m_current = -1;
  m_total = 0;
  m_endless = false;
  m_channels = {};
}

double WrapDegrees(double angle) {
  if (!std::isfinite(angle)) return 0;
  double wrapped = std::fmod(angle, 360.0);
  if (wrapped < 0) wrapped += 360;
  if (wrapped >= 360) wrapped = 0;  // a tiny negative remainder rounds up to 360
  return wrapped;
}

void SpinView(doc::Worksheet& ws, int step) { ws.setViewAzimuth(WrapDegrees(ws.viewAzimuth() + step)); }

}  // namespace hp::draw
