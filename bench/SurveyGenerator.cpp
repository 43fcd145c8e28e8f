// Deterministic survey generator for the benchmarks.
#include "SurveyGenerator.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "BenchRandom.h"
#include "base/FixedText.h"
#include "doc/Worksheet.h"

namespace hp::bench {
namespace {

constexpr double kDegree = 0.01745329252;

struct Point {
  int32_t passage = 0;
  std::string name;
  double x = 0, y = 0, z = 0;
  double path = 0;
};

struct Cave {
  int32_t number = 0;
  std::vector<Point> points;
  int32_t nextPassage = 1;
};

const char* const kDescriptions[] = {"Eingang",
                                     "Schacht",
                                     "Halle",
                                     "Siphon",
                                     "Engstelle",
                                     "Canyon",
                                     "Gro\xDF"
                                     "e Halle",
                                     "Versturz",
                                     "Sinterbecken",
                                     "Abzweigung"};
const char* const kRemarks[] = {
    "Tropfsteine an der Decke", "Wasserf\xFChrend, Vorsicht bei Regen", "Lehmboden, Fledermauskot",
    "Schluf, nur mit Overall",  "Wetterf\xFChrung stark ausw\xE4rts",   "Versturzblock umgehen",
    "Kalkspat und Aragonit",    "Fixpunkt mit Bohrhaken markiert"};
const char* const kMaterials[] = {"Lehm", "Blockwerk", "Sinter", "Kies", "Fels"};
const char* const kMeasures[] = {"Fortsetzung erkunden", "Fixpunkt nachbohren", "Neu vermessen"};

class Generator {
 public:
  Generator(doc::SurveyStore& store, const SurveyShape& shape) : m_store(store), m_shape(shape), m_random(shape.seed) {}

  void Run();

 private:
  size_t Remaining() const { return m_shape.records - m_store.records.size(); }
  void AddCoordinateReference(Cave& cave, doc::SurveyRecord& record);
  void AddPassage(Cave& cave);
  doc::SurveyRecord& NewRecord();
  void FillLeg(doc::SurveyRecord& r, const Point& from, double azimuth, double inclination, double length);
  void FillTexts(doc::SurveyRecord& r);
  void CloseLoop(Cave& cave, const Point& tip, const Point& onto, int32_t ring);
  void AddWorksheets();

  doc::SurveyStore& m_store;
  SurveyShape m_shape;
  Random m_random;
  std::vector<Cave> m_caves;
  int32_t m_lastRing = 0;
  int m_tripLegs = 0;
  char m_date[12] = {};
  int32_t m_surveyor = 1;
};

doc::SurveyRecord& Generator::NewRecord() {
  auto record = std::make_unique<doc::SurveyRecord>();
  doc::InitRecord(*record);
  m_store.records.push_back(std::move(record));
  // A new survey trip every few dozen legs: its own date and surveyor.
  if (m_tripLegs-- <= 0) {
    m_tripLegs = 20 + static_cast<int>(m_random.Below(60));
    std::snprintf(m_date, sizeof m_date, "%02d.%02d.%04d", 1 + static_cast<int>(m_random.Below(28)),
                  1 + static_cast<int>(m_random.Below(12)), 1985 + static_cast<int>(m_random.Below(38)));
    m_surveyor = 1 + static_cast<int32_t>(m_random.Below(8));
  }
  auto& r = *m_store.records.back();
  base::SetText(r.date, m_date);
  r.surveyor = m_surveyor;
  return r;
}

void Generator::AddCoordinateReference(Cave& cave, doc::SurveyRecord& r) {
  // Entrances a few kilometres apart in grid coordinates.
  Point entrance{1,
                 "0",
                 32'500'000.0 + m_random.Uniform(-3000, 3000),
                 5'270'000.0 + m_random.Uniform(-3000, 3000),
                 m_random.Uniform(600, 1900),
                 0};
  r.cave = r.refCave = cave.number;
  r.passage = r.refPassage = entrance.passage;
  base::SetText(r.point, entrance.name);
  base::SetText(r.refPoint, entrance.name);
  r.refX = r.x = entrance.x;
  r.refY = r.y = entrance.y;
  r.refZ = r.z = entrance.z;
  for (int i = 0; i < 4; ++i) {
    r.altCoords[3 * i] = r.x, r.altCoords[3 * i + 1] = r.y, r.altCoords[3 * i + 2] = r.z;
  }
  base::SetText(r.remark, "Koordinatenreferenz");
  base::SetText(r.description, "Eingang");
  cave.points.push_back(entrance);
  cave.nextPassage = 2;
}

void Generator::FillLeg(doc::SurveyRecord& r, const Point& from, double azimuth, double inclination, double length) {
  r.refCave = r.cave;
  r.refPassage = from.passage;
  base::SetText(r.refPoint, from.name);
  r.refX = from.x, r.refY = from.y, r.refZ = from.z;
  r.azimuth = azimuth;
  r.inclination = inclination;
  r.length = length;
  const double horizontal = length * std::cos(inclination * kDegree);
  r.x = from.x + horizontal * std::sin(azimuth * kDegree);
  r.y = from.y + horizontal * std::cos(azimuth * kDegree);
  r.z = from.z + length * std::sin(inclination * kDegree);
  r.pathLength = from.path + length;
  r.left = m_random.Uniform(0, 4), r.right = m_random.Uniform(0, 4);
  r.up = m_random.Uniform(0, 6), r.down = m_random.Uniform(0, 2);
  const double across = (azimuth + 90) * kDegree;
  const double walls[4][3] = {{-r.left * std::sin(across), -r.left * std::cos(across), 0},
                              {r.right * std::sin(across), r.right * std::cos(across), 0},
                              {0, 0, r.up},
                              {0, 0, -r.down}};
  for (int i = 0; i < 4; ++i) {
    r.altCoords[3 * i] = r.x + walls[i][0];
    r.altCoords[3 * i + 1] = r.y + walls[i][1];
    r.altCoords[3 * i + 2] = r.z + walls[i][2];
  }
  r.tapeStart = m_random.Uniform(0, 50);
  r.tapeEnd = r.tapeStart + length;
  r.instrument = m_random.Chance(0.8) ? 1 : 2;
}

void Generator::FillTexts(doc::SurveyRecord& r) {
  if (m_random.Chance(0.1)) {
    base::SetText(r.description, std::string(kDescriptions[m_random.Below(std::size(kDescriptions))]) + " " +
                                     std::to_string(m_random.Below(100)));
  }
  if (m_random.Chance(0.2)) base::SetText(r.remark, kRemarks[m_random.Below(std::size(kRemarks))]);
  if (m_random.Chance(0.15)) base::SetText(r.material, kMaterials[m_random.Below(std::size(kMaterials))]);
  if (m_random.Chance(0.02)) base::SetText(r.measures, kMeasures[m_random.Below(std::size(kMeasures))]);
}

void Generator::CloseLoop(Cave& cave, const Point& tip, const Point& onto, int32_t ring) {
  // The closing leg measures from the tip onto a station that an earlier
  // record already defines, so the record repeats that station.
  const double dx = onto.x - tip.x, dy = onto.y - tip.y, dz = onto.z - tip.z;
  const double horizontal = std::hypot(dx, dy);
  const double length = std::max(std::hypot(horizontal, dz), 0.01);
  auto& r = NewRecord();
  r.cave = cave.number;
  r.passage = onto.passage;
  base::SetText(r.point, onto.name);
  double azimuth = std::atan2(dx, dy) / kDegree;
  if (azimuth < 0) azimuth += 360;
  // Survey error: the measured leg misses the station by a few centimetres.
  FillLeg(r, tip, azimuth + m_random.Uniform(-0.5, 0.5), std::atan2(dz, horizontal) / kDegree,
          length * m_random.Uniform(0.995, 1.005));
  r.ring = ring;
  r.colour = 4;
}

void Generator::AddPassage(Cave& cave) {
  const int32_t passage = cave.nextPassage++;
  // A branch starts at any station surveyed so far.
  Point tip = cave.points[m_random.Below(cave.points.size())];
  const int32_t colour = 1 + static_cast<int32_t>(m_random.Below(15));
  const size_t legs = std::min<size_t>(Remaining(), 5 + m_random.Below(56));
  double heading = m_random.Uniform(0, 360);
  for (size_t n = 1; n <= legs && Remaining() > 0; ++n) {
    heading = std::fmod(heading + m_random.Uniform(-35, 35) + 360, 360);
    const bool auxiliaryPoint = m_random.Chance(0.01);
    const double length = auxiliaryPoint ? 0.0 : m_random.Uniform(0.8, 18);
    const double inclination = m_random.Chance(0.05) ? m_random.Uniform(-88, 88) : m_random.Uniform(-30, 30);
    auto& r = NewRecord();
    r.cave = cave.number;
    r.passage = passage;
    base::SetText(r.point, std::to_string(n));
    FillLeg(r, tip, heading, inclination, length);
    r.colour = colour;
    FillTexts(r);
    Point next{passage, std::to_string(n), r.x, r.y, r.z, r.pathLength};
    cave.points.push_back(next);
    tip = next;
    // Now and then a sketch line from the station: no station of its own.
    if (Remaining() > 0 && m_random.Chance(0.03)) {
      auto& line = NewRecord();
      line.cave = cave.number;
      line.passage = passage;
      FillLeg(line, tip, m_random.Uniform(0, 360), m_random.Uniform(-10, 10), m_random.Uniform(0.5, 5));
      base::SetText(line.remark, "Hilfslinie Wandverlauf");
      line.level = 2;
    }
  }
  if (Remaining() == 0 || cave.points.size() < 8) return;
  if (m_random.Chance(0.35)) {
    // Close a loop onto a station of an earlier passage.
    const Point onto = cave.points[m_random.Below(cave.points.size() - legs)];
    CloseLoop(cave, tip, onto, ++m_lastRing);
  } else if (m_caves.size() > 1 && m_random.Chance(0.05)) {
    // A connection found to a neighbouring cave (no loop number).
    const Cave& other = m_caves[(static_cast<size_t>(cave.number) % m_caves.size())];
    if (other.points.size() > 1) {
      const Point& onto = other.points[m_random.Below(other.points.size())];
      auto& r = NewRecord();
      r.cave = other.number;
      r.passage = onto.passage;
      base::SetText(r.point, onto.name);
      FillLeg(r, tip, m_random.Uniform(0, 360), 0, m_random.Uniform(1, 10));
      r.refCave = cave.number;
      base::SetText(r.remark, "Verbindung zur Nachbarh\xF6hle");
    }
  }
}

void Generator::AddWorksheets() {
  const char* const names[] = {"Grundriss", "Aufriss Nord", "Profil", "3D-Ansicht"};
  auto& first = *m_store.worksheets.front();
  first.setSheetDesignation(names[0]);
  for (int w = 1; w < m_shape.worksheets; ++w) {
    auto sheet = std::make_unique<doc::Worksheet>();
    doc::InitWorksheet(*sheet);
    sheet->setSheetDesignation(names[w % 4]);
    sheet->setDisplayType(hp::doc::DisplayTypeOf(w % 8));
    sheet->setScaleDenominator(500.0 * (w + 1));
    m_store.worksheets.push_back(std::move(sheet));
  }
  for (auto& sheet : m_store.worksheets) {
    for (int p = 0; p < m_shape.positionsPerWorksheet; ++p) {
      auto position = std::make_unique<doc::AnimationPosition>();
      position->azimuth = 45.0 * p;
      position->inclination = -25.0 + 5 * p;
      position->distance = 800 + 10 * p;
      position->centreX = 32'500'000.0, position->centreY = 5'270'000.0, position->centreZ = 1200.0;
      sheet->positions.push_back(std::move(position));
    }
    sheet->setPositionCount(static_cast<uint32_t>(sheet->positions.size()));
    sheet->setCurrentPositionNumber(static_cast<uint32_t>(sheet->positions.size()));
  }
}

void Generator::Run() {
  m_store.SetDefaults();
  base::SetText(m_store.settings.title, "H\xF6hlensystem am Plateau");
  base::SetText(m_store.settings.title2, "Gesamtplan aller Vermessungen");
  base::SetText(m_store.settings.descriptionText,
                "Vermessung der H\xF6hlen des Plateaus.\r\nAlle L\xE4ngen in Metern.");
  base::SetText(m_store.settings.cadastreDesignation, "1234/56");
  m_store.settings.cadastreNumber = 1234;
  AddWorksheets();
  if (m_shape.records == 0) {
    m_store.records.clear();
  } else {
    const size_t caves = std::min<size_t>(std::max(m_shape.caves, 1), m_shape.records);
    m_store.records.reserve(m_shape.records);
    for (size_t c = 0; c < caves; ++c) {
      m_caves.push_back(Cave{static_cast<int32_t>(c + 1), {}, 1});
      auto& record = c == 0 ? *m_store.records.front() : NewRecord();
      if (c == 0) base::SetText(record.date, "01.06.1985");
      AddCoordinateReference(m_caves.back(), record);
    }
    while (Remaining() > 0) {
      // Bigger caves get more passages: weight by cave number.
      const size_t pick = m_random.Below(caves * (caves + 1) / 2);
      size_t c = 0;
      for (size_t upper = 1; pick >= upper; upper += c + 1) ++c;
      AddPassage(m_caves[std::min(c, caves - 1)]);
    }
  }
  m_store.settings.recordCount = static_cast<uint32_t>(m_store.records.size());
  m_store.settings.worksheetCount = static_cast<uint32_t>(m_store.worksheets.size());
  m_store.settings.currentRecordNumber = 1;
  m_store.SelectWorksheet(0);
  const auto& positions = m_store.currentWorksheet->positions;
  m_store.currentPosition = positions.empty() ? nullptr : positions.back().get();
}

}  // namespace

void GenerateSurvey(doc::SurveyStore& store, const SurveyShape& shape) { Generator(store, shape).Run(); }

size_t StoreDataBytes(const doc::SurveyStore& store) {
  size_t bytes = store.records.size() * sizeof(doc::SurveyRecord);
  for (const auto& sheet : store.worksheets) {
    bytes += sizeof(doc::Worksheet) + sheet->positions.size() * sizeof(doc::AnimationPosition);
  }
  return bytes;
}

}  // namespace hp::bench
