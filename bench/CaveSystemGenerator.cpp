// Deterministic branching cave with loops and connections.
#include "CaveSystemGenerator.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "BenchRandom.h"
#include "base/FixedText.h"

namespace hp::bench {
namespace {

constexpr double kDegree = 0.01745329252;
constexpr double kPi = 3.14159265358979;

// Instrument 1 of the generated document.
constexpr double kDeclination = 2.4;  // degrees in the instrument's year
constexpr double kDeclinationYear = 2010;
constexpr double kDeclinationChange = 0.11;  // degrees a year
constexpr double kMeridianConvergence = 0.9;

struct Station {
  int32_t passage = 0;
  int32_t number = 0;
  double x = 0, y = 0, z = 0;
  double path = 0;
};

struct Vector {
  double x = 0, y = 0, z = 0;
};

// A measured leg: grid azimuth and inclination in degrees, length in metres.
struct Shot {
  double azimuth = 0, inclination = 0, length = 0;
};

Shot ShotAlong(const Vector& v) {
  const double horizontal = std::hypot(v.x, v.y);
  double azimuth = std::atan2(v.x, v.y) / kDegree;
  if (azimuth < 0) azimuth += 360;
  return {azimuth, std::atan2(v.z, horizontal) / kDegree, std::hypot(horizontal, v.z)};
}

class Generator {
 public:
  Generator(doc::SurveyStore& store, const CaveSystemShape& shape)
      : m_store(store), m_shape(shape), m_random(shape.seed) {}

  CaveSystemCounts Run();

 private:
  size_t Remaining() const { return m_shape.records - m_store.records.size(); }
  void SetUpInstrument();
  void AddEntrance();
  void AddPassage();
  bool AddLoop(const std::vector<size_t>& passage);
  bool AddConnection(const std::vector<size_t>& passage);
  doc::SurveyRecord& NewRecord();
  // A leg from `from` measured as `shot`; returns the station it reaches.
  Station AddLeg(const Station& from, int32_t passage, int32_t number, const Shot& shot, int32_t ring);
  Shot WithSurveyError(Shot shot);
  void NextTrip();

  doc::SurveyStore& m_store;
  CaveSystemShape m_shape;
  Random m_random;
  CaveSystemCounts m_counts;
  std::vector<Station> m_stations;
  int32_t m_nextPassage = 2;
  int32_t m_lastRing = 0;
  long m_untilLoop = 0;
  long m_untilConnection = 0;
  int m_tripLegs = 0;
  char m_date[12] = {};
  double m_declination = kDeclination;
  int32_t m_surveyor = 1;
  int32_t m_colour = 1;
};

void Generator::SetUpInstrument() {
  auto& s = m_store.settings;
  s.instruments[0].declination = kDeclination;
  s.instrumentYear[0] = kDeclinationYear;
  s.instrumentChange[0] = kDeclinationChange;
  s.meridianConvergence = kMeridianConvergence;
}

void Generator::NextTrip() {
  m_tripLegs = 20 + static_cast<int>(m_random.Below(60));
  const int day = 1 + static_cast<int>(m_random.Below(28));
  const int month = 1 + static_cast<int>(m_random.Below(12));
  const int year = 1985 + static_cast<int>(m_random.Below(38));
  std::snprintf(m_date, sizeof m_date, "%02d.%02d.%04d", day, month, year);
  // The same decimal year the leg reduction takes from the date.
  const double date = year + (month - 1) / 12.0 + (day - 1) / 372.0;
  m_declination = (date - kDeclinationYear) * kDeclinationChange + kDeclination;
  m_surveyor = 1 + static_cast<int32_t>(m_random.Below(8));
}

doc::SurveyRecord& Generator::NewRecord() {
  auto record = std::make_unique<doc::SurveyRecord>();
  doc::InitRecord(*record);
  m_store.records.push_back(std::move(record));
  if (m_tripLegs-- <= 0) NextTrip();
  auto& r = *m_store.records.back();
  base::SetText(r.date, m_date);
  r.surveyor = m_surveyor;
  r.instrument = 1;
  r.cave = r.refCave = 1;
  --m_untilLoop;
  --m_untilConnection;
  return r;
}

Shot Generator::WithSurveyError(Shot shot) {
  shot.azimuth = std::fmod(shot.azimuth + m_random.Uniform(-0.5, 0.5) + 360, 360);
  shot.inclination = std::clamp(shot.inclination + m_random.Uniform(-0.5, 0.5), -90.0, 90.0);
  shot.length *= m_random.Uniform(0.997, 1.003);
  return shot;
}

Station Generator::AddLeg(const Station& from, int32_t passage, int32_t number, const Shot& shot, int32_t ring) {
  auto& r = NewRecord();
  r.refPassage = from.passage;
  base::SetText(r.refPoint, std::to_string(from.number));
  r.passage = passage;
  base::SetText(r.point, std::to_string(number));
  r.refX = from.x, r.refY = from.y, r.refZ = from.z;
  // The compass reads magnetic north; the grid azimuth is what the cave has.
  r.azimuth = std::fmod(shot.azimuth - m_declination + kMeridianConvergence + 720, 360);
  r.inclination = shot.inclination;
  r.length = shot.length;
  r.ring = ring;
  r.colour = m_colour;
  r.left = m_random.Uniform(0.3, 4), r.right = m_random.Uniform(0.3, 4);
  r.up = m_random.Uniform(0.3, 6), r.down = m_random.Uniform(0, 2);
  const double horizontal = shot.length * std::cos(shot.inclination * kDegree);
  Station to{passage,
             number,
             from.x + horizontal * std::sin(shot.azimuth * kDegree),
             from.y + horizontal * std::cos(shot.azimuth * kDegree),
             from.z + shot.length * std::sin(shot.inclination * kDegree),
             from.path + shot.length};
  r.x = to.x, r.y = to.y, r.z = to.z;
  r.pathLength = to.path;
  return to;
}

void Generator::AddEntrance() {
  auto& r = *m_store.records.front();
  doc::InitRecord(r);
  NextTrip();
  base::SetText(r.date, m_date);
  const Station entrance{1, 0, 32'512'345.6, 5'271'234.5, 1432.1, 0};
  r.cave = r.refCave = 1;
  r.passage = r.refPassage = entrance.passage;
  base::SetText(r.point, "0");
  base::SetText(r.refPoint, "0");
  r.refX = r.x = entrance.x;
  r.refY = r.y = entrance.y;
  r.refZ = r.z = entrance.z;
  r.instrument = 1;
  base::SetText(r.remark, "Koordinatenreferenz");
  base::SetText(r.description, "Eingang");
  m_stations.push_back(entrance);
}

// A side passage from the tip of `passage` that comes back onto a station a
// few legs behind it: every leg and the closing record carry the ring number.
bool Generator::AddLoop(const std::vector<size_t>& passage) {
  if (passage.size() < 4 || Remaining() < 16) return false;
  const Station tip = m_stations[passage.back()];
  const size_t back = 2 + m_random.Below(std::min<size_t>(passage.size() - 2, 5));
  const Station onto = m_stations[passage[passage.size() - 1 - back]];
  const int legs = 4 + static_cast<int>(m_random.Below(9));
  const Vector chord{onto.x - tip.x, onto.y - tip.y, onto.z - tip.z};
  const double across = std::hypot(chord.x, chord.y);
  const Vector side = across > 0.1 ? Vector{chord.y / across, -chord.x / across, 0} : Vector{1, 0, 0};
  const double width = (m_random.Chance(0.5) ? 1 : -1) * m_random.Uniform(4, 15);
  const double rise = m_random.Uniform(-3, 3);
  const int32_t loopPassage = m_nextPassage++;
  const int32_t ring = ++m_lastRing;
  Station at = tip;
  for (int j = 1; j < legs; ++j) {
    const double t = static_cast<double>(j) / legs, bulge = std::sin(kPi * t);
    const Vector target{tip.x + chord.x * t + side.x * width * bulge, tip.y + chord.y * t + side.y * width * bulge,
                        tip.z + chord.z * t + rise * bulge};
    const Shot shot = WithSurveyError(ShotAlong({target.x - at.x, target.y - at.y, target.z - at.z}));
    at = AddLeg(at, loopPassage, j, shot, ring);
    m_stations.push_back(at);
  }
  // The closing record repeats the known station it measures onto.
  AddLeg(at, onto.passage, onto.number, WithSurveyError(ShotAlong({onto.x - at.x, onto.y - at.y, onto.z - at.z})),
         ring);
  ++m_counts.loops;
  m_counts.loopRecords += static_cast<size_t>(legs);
  return true;
}

// A leg measured between the tip and a known station a few legs back,
// without a ring number: both ends keep their coordinates.
bool Generator::AddConnection(const std::vector<size_t>& passage) {
  if (passage.size() < 5) return false;
  const Station tip = m_stations[passage.back()];
  const size_t back = 3 + m_random.Below(std::min<size_t>(passage.size() - 4, 6));
  const Station from = m_stations[passage[passage.size() - 1 - back]];
  AddLeg(from, tip.passage, tip.number, WithSurveyError(ShotAlong({tip.x - from.x, tip.y - from.y, tip.z - from.z})),
         0);
  base::SetText(m_store.records.back()->remark, "Verbindung");
  ++m_counts.connections;
  return true;
}

void Generator::AddPassage() {
  const int32_t passage = m_nextPassage++;
  ++m_counts.passages;
  m_colour = 1 + static_cast<int32_t>(m_random.Below(15));
  // Branches start at any station surveyed so far.
  std::vector<size_t> stations{m_random.Below(m_stations.size())};
  const size_t legs = 10 + m_random.Below(51);
  double heading = m_random.Uniform(0, 360);
  for (size_t n = 1; n <= legs && Remaining() > 0; ++n) {
    heading = std::fmod(heading + m_random.Uniform(-30, 30) + 360, 360);
    Shot shot{heading, m_random.Uniform(-15, 15), m_random.Uniform(1, 15)};
    if (m_random.Chance(0.01)) {  // a shaft
      shot.inclination = m_random.Chance(0.5) ? 90 : -90;
      shot.length = m_random.Uniform(4, 30);
      ++m_counts.verticalLegs;
    } else if (m_random.Chance(0.05)) {
      shot.inclination = m_random.Uniform(-60, 60);
    }
    m_stations.push_back(AddLeg(m_stations[stations.back()], passage, static_cast<int32_t>(n), shot, 0));
    stations.push_back(m_stations.size() - 1);
    ++m_counts.legs;
    if (m_untilLoop <= 0 && AddLoop(stations)) {
      m_untilLoop = static_cast<long>(m_shape.legsPerLoop * 7 / 10 + m_random.Below(m_shape.legsPerLoop * 6 / 10 + 1));
    }
    if (m_untilConnection <= 0 && Remaining() > 0 && AddConnection(stations)) {
      m_untilConnection =
          static_cast<long>(m_shape.legsPerConnection * 2 / 3 + m_random.Below(m_shape.legsPerConnection * 2 / 3 + 1));
    }
  }
}

CaveSystemCounts Generator::Run() {
  m_store.SetDefaults();
  base::SetText(m_store.settings.title, "H\xF6hlensystem im Karst");
  SetUpInstrument();
  if (m_shape.records == 0) {
    m_store.records.clear();
  } else {
    m_store.records.reserve(m_shape.records);
    AddEntrance();
    m_stations.reserve(m_shape.records);
    m_untilLoop = static_cast<long>(m_shape.legsPerLoop);
    m_untilConnection = static_cast<long>(m_shape.legsPerConnection);
    while (Remaining() > 0) AddPassage();
  }
  m_store.settings.recordCount = static_cast<uint32_t>(m_store.records.size());
  m_store.settings.currentRecordNumber = 1;
  m_store.settings.computedCurrent = 0;
  return m_counts;
}

}  // namespace

CaveSystemCounts GenerateCaveSystem(doc::SurveyStore& store, const CaveSystemShape& shape) {
  return Generator(store, shape).Run();
}

}  // namespace hp::bench
