// The Survex reader's data lines: legs in normal, diving and cartesian
// style reduced to length, azimuth and inclination, backsights averaged with
// the foresights, passage dimensions from passage data and LRUD columns.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "base/Cp1252.h"
#include "import/SurvexParser.h"

namespace hp::imports::survex {

double Circle(double azimuth) {
  azimuth = std::fmod(azimuth, 360.0);
  return azimuth < 0 ? azimuth + 360.0 : azimuth;
}

namespace {

constexpr double kDegree = std::numbers::pi / 180.0;
// Foresights and backsights that differ by more than this are reported,
// and averaged all the same.
constexpr double kBacksightTolerance = 3.0;

// The mean of two azimuths across north; `difference` their angle apart.
double MeanAzimuth(double a, double b, double& difference) {
  double d = Circle(b - a);
  if (d > 180.0) d -= 360.0;
  difference = std::fabs(d);
  return Circle(a + d / 2);
}

std::string Degrees(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f", value);
  return text;
}

}  // namespace

double Parser::Reading(std::string_view text, Quantity q, bool& bad) const {
  const Settings& s = m_stack.back();
  if (text.size() == 1 && s.omit.find(text.front()) != std::string::npos) return kOmitted;
  if ((q == kClino || q == kBackClino) && !text.empty() &&
      (std::isalpha(static_cast<unsigned char>(text.front())) || text.size() == 2)) {
    const std::string word = Lower(text);
    if (word == "up" || word == "u" || word == "+v") return 90.0;
    if (word == "down" || word == "d" || word == "-v") return -90.0;
    if (word == "level") return 0.0;
  }
  double value = Number(text);
  if (!Given(value)) {
    bad = true;
    return kOmitted;
  }
  value *= s.unit[q];
  if (s.percent[q]) value = std::atan(value / 100.0) / kDegree;
  return (value - s.zero[q]) * s.scale[q];
}

void Parser::DataLine(const std::vector<std::string>& tokens) {
  if (tokens.empty()) return;
  const Settings& s = m_stack.back();
  if (s.style == Style::NoSurvey) {
    return Note("Daten ohne Messwerte (nosurvey oder eine nicht unterstützte Spalte) wurden nicht übernommen");
  }
  if (s.style == Style::Passage) return PassageLine(tokens);
  NormalLeg(tokens);
}

void Parser::PassageLine(const std::vector<std::string>& tokens) {
  const Settings& s = m_stack.back();
  int station = -1;
  Dimensions dims;
  bool bad = false;
  for (size_t i = 0; i < s.order.size() && i < tokens.size(); ++i) {
    switch (s.order[i]) {
      case Field::Station: station = Station(tokens[i]); break;
      case Field::Left: dims.left = Reading(tokens[i], kLeft, bad); break;
      case Field::Right: dims.right = Reading(tokens[i], kRight, bad); break;
      case Field::Up: dims.up = Reading(tokens[i], kUp, bad); break;
      case Field::Down: dims.down = Reading(tokens[i], kDown, bad); break;
      default: break;
    }
  }
  if (bad || station < 0 || tokens.size() < s.order.size()) {
    return Note("Zeile mit Raumdaten nicht lesbar: " + base::Cp1252ToUtf8(tokens.front()));
  }
  m_survey.dimensions[station] = dims;
}

void Parser::NormalLeg(const std::vector<std::string>& tokens) {
  const Settings& s = m_stack.back();
  double reading[static_cast<size_t>(Field::IgnoreAll) + 1];
  std::fill(std::begin(reading), std::end(reading), kOmitted);
  int from = -1, to = -1;
  bool haveFrom = false, haveTo = false, bad = false;
  size_t used = 0;
  bool rest = false;
  for (size_t i = 0; i < s.order.size(); ++i) {
    const Field field = s.order[i];
    if (field == Field::IgnoreAll) {
      rest = true;
      break;
    }
    if (i >= tokens.size()) return Note("Zu wenige Werte in der Zeile; sie wurde übergangen");
    used = i + 1;
    const std::string& token = tokens[i];
    switch (field) {
      case Field::From: from = Station(token), haveFrom = true; break;
      case Field::To: to = Station(token), haveTo = true; break;
      case Field::Length: reading[size_t(field)] = Reading(token, kLength, bad); break;
      case Field::BackLength: reading[size_t(field)] = Reading(token, kBackLength, bad); break;
      case Field::Compass: reading[size_t(field)] = Reading(token, kCompass, bad); break;
      case Field::BackCompass: reading[size_t(field)] = Reading(token, kBackCompass, bad); break;
      case Field::Clino: reading[size_t(field)] = Reading(token, kClino, bad); break;
      case Field::BackClino: reading[size_t(field)] = Reading(token, kBackClino, bad); break;
      case Field::FromDepth:
      case Field::ToDepth:
      case Field::DepthChange: reading[size_t(field)] = Reading(token, kDepth, bad); break;
      case Field::Dx: reading[size_t(field)] = Reading(token, kDx, bad); break;
      case Field::Dy: reading[size_t(field)] = Reading(token, kDy, bad); break;
      case Field::Dz: reading[size_t(field)] = Reading(token, kDz, bad); break;
      case Field::Left: reading[size_t(field)] = Reading(token, kLeft, bad); break;
      case Field::Right: reading[size_t(field)] = Reading(token, kRight, bad); break;
      case Field::Up: reading[size_t(field)] = Reading(token, kUp, bad); break;
      case Field::Down: reading[size_t(field)] = Reading(token, kDown, bad); break;
      case Field::Station:
      case Field::Ignore:
      case Field::IgnoreAll: break;
    }
  }
  if (!rest && tokens.size() > used) return Note("Zu viele Werte in der Zeile; sie wurde übergangen");
  if (bad) return Note("Ein Messwert ist keine Zahl; die Zeile wurde übergangen");
  if (!haveFrom || !haveTo)
    return Note("Die Datenspalten nennen keinen Von- und Nach-Punkt; die Zeile wurde übergangen");
  const auto value = [&](Field f) { return reading[size_t(f)]; };

  if (from >= 0) {
    Dimensions dims{value(Field::Left), value(Field::Right), value(Field::Up), value(Field::Down)};
    if (Given(dims.left) || Given(dims.right) || Given(dims.up) || Given(dims.down)) m_survey.dimensions[from] = dims;
  }

  if (s.style == Style::Cartesian) {
    const double dx = value(Field::Dx), dy = value(Field::Dy), dz = value(Field::Dz);
    if (!Given(dx) || !Given(dy) || !Given(dz))
      return Note("Kartesische Daten unvollständig; die Zeile wurde übergangen");
    const double horizontal = std::hypot(dx, dy);
    const double length = std::hypot(horizontal, dz);
    const double azimuth = horizontal > 0 ? Circle(std::atan2(dx, dy) / kDegree) : 0.0;
    const double inclination = length > 0 ? std::atan2(dz, horizontal) / kDegree : 0.0;
    return AddLeg(from, to, length, azimuth, inclination, false, true);
  }

  double length = value(Field::Length);
  const double back = value(Field::BackLength);
  if (Given(length) && Given(back)) {
    length = (length + back) / 2;
  } else if (!Given(length)) {
    length = back;
  }
  if (!Given(length) || length < 0) return Note("Die Länge fehlt oder ist negativ; die Zeile wurde übergangen");

  double inclination = 0;
  if (s.style == Style::Diving) {
    double dz = value(Field::DepthChange);
    // Survex takes a growing depth reading as a rise, as cavern computes it.
    dz = Given(dz) ? dz : value(Field::ToDepth) - value(Field::FromDepth);
    if (!Given(dz)) return Note("Die Tiefen fehlen; die Zeile wurde übergangen");
    if (std::fabs(dz) > length) {
      Note("Die Tiefenänderung ist größer als die Länge; der Messzug wird senkrecht genommen");
      dz = std::copysign(length, dz);
    }
    inclination = length > 0 ? std::asin(dz / length) / kDegree : 0.0;
  } else {
    const double fore = value(Field::Clino), backClino = value(Field::BackClino);
    if (Given(fore) && Given(backClino)) {
      if (std::fabs(fore + backClino) > kBacksightTolerance) {
        Note("Neigung und Rückneigung weichen um " + Degrees(std::fabs(fore + backClino)) + "° voneinander ab");
      }
      inclination = (fore - backClino) / 2;
    } else if (Given(fore)) {
      inclination = fore;
    } else if (Given(backClino)) {
      inclination = -backClino;
    }
  }

  const double fore = value(Field::Compass), backCompass = value(Field::BackCompass);
  double azimuth = 0;
  if (Given(fore) && Given(backCompass)) {
    double difference = 0;
    azimuth = MeanAzimuth(fore, backCompass + 180.0, difference);
    if (difference > kBacksightTolerance) {
      Note("Azimut und Rückazimut weichen um " + Degrees(difference) + "° voneinander ab");
    }
  } else if (Given(fore)) {
    azimuth = fore;
  } else if (Given(backCompass)) {
    azimuth = backCompass + 180.0;
  } else if (std::fabs(inclination) < 90.0 && length > 0 && s.style != Style::Diving) {
    return Note("Das Azimut fehlt; die Zeile wurde übergangen");
  }
  AddLeg(from, to, length, azimuth, inclination, true);
}

void Parser::AddLeg(int from, int to, double length, double azimuth, double inclination, bool applyDeclination,
                    bool grid) {
  const Settings& s = m_stack.back();
  if (from < 0 && to < 0) return Note("Messzug zwischen zwei anonymen Messpunkten wurde übergangen");
  Leg leg;
  if (applyDeclination) {
    azimuth -= s.zero[kDeclination];
    leg.declination = -s.zero[kDeclination];
  }
  if (from < 0) {
    std::swap(from, to);
    azimuth += 180.0;
    inclination = -inclination;
  }
  leg.from = from;
  leg.to = to;
  leg.length = length;
  leg.azimuth = Circle(azimuth);
  leg.inclination = inclination;
  leg.splay = s.splay || to < 0;
  leg.duplicate = s.duplicate;
  leg.surface = s.surface;
  std::vector<Session>& sessions = m_survey.sessions;
  if (sessions.back().date != s.date || sessions.back().team != s.team || sessions.back().instrument != s.instrument) {
    sessions.push_back({s.date, s.team, s.instrument});
  }
  leg.session = static_cast<uint32_t>(sessions.size() - 1);
  if (grid) {
    constexpr double kGridDefault = 0.05;  // cavern's, where *sd gives none
    leg.sdEast = static_cast<float>(s.sd[kDx] > 0 ? s.sd[kDx] : kGridDefault);
    leg.sdNorth = static_cast<float>(s.sd[kDy] > 0 ? s.sd[kDy] : kGridDefault);
    leg.sdUp = static_cast<float>(s.sd[kDz] > 0 ? s.sd[kDz] : kGridDefault);
  } else {
    leg.sdTape = static_cast<float>(s.sd[kLength]);
    leg.sdCompass = static_cast<float>(s.sd[kCompass]);
    leg.sdClino = static_cast<float>(s.sd[kClino]);
    leg.sdPosition = static_cast<float>(s.sdPosition);
  }
  m_survey.legs.push_back(std::move(leg));
}

}  // namespace hp::imports::survex
