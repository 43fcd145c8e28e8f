// Generated surveys with many loops.
#include "LoopSurveyGenerator.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "BenchRandom.h"
#include "base/FixedText.h"

namespace hp::bench {
namespace {

constexpr double kDegree = 0.01745329252;

struct Station {
  int32_t passage = 0;
  int32_t number = 0;
  double x = 0, y = 0, z = 0;
};

class Builder {
 public:
  explicit Builder(doc::SurveyStore& store) : m_store(store) {
    m_store.SetDefaults();
    base::SetText(m_store.settings.title, "Ringe");
    m_store.records.clear();
  }

  // The coordinate reference of station 1/"0".
  Station Entrance() {
    auto& r = NewRecord();
    r.passage = r.refPassage = 1;
    base::SetText(r.point, "0");
    base::SetText(r.refPoint, "0");
    base::SetText(r.remark, "Koordinatenreferenz");
    return Station{1, 0, 0, 0, 0};
  }

  // A leg from `from` to the station passage/number along azimuth,
  // inclination (degrees) and length.
  Station Leg(const Station& from, int32_t passage, int32_t number, double azimuth, double inclination, double length,
              int32_t ring) {
    auto& r = NewRecord();
    r.refPassage = from.passage;
    base::SetText(r.refPoint, std::to_string(from.number));
    r.passage = passage;
    base::SetText(r.point, std::to_string(number));
    r.azimuth = azimuth;
    r.inclination = inclination;
    r.length = length;
    r.ring = ring;
    r.left = r.right = 1.5;
    r.up = 2, r.down = 0.5;
    const double horizontal = length * std::cos(inclination * kDegree);
    return Station{passage, number, from.x + horizontal * std::sin(azimuth * kDegree),
                   from.y + horizontal * std::cos(azimuth * kDegree),
                   from.z + length * std::sin(inclination * kDegree)};
  }

  // A leg from `from` measured onto the known station `onto`, off by `error`
  // metres in each direction.
  void Closing(const Station& from, const Station& onto, int32_t ring, double error) {
    const double dX = onto.x - from.x + error, dY = onto.y - from.y - error, dZ = onto.z - from.z + error / 2;
    const double horizontal = std::hypot(dX, dY);
    double azimuth = std::atan2(dX, dY) / kDegree;
    if (azimuth < 0) azimuth += 360;
    Leg(from, onto.passage, onto.number, azimuth, std::atan2(dZ, horizontal) / kDegree, std::hypot(horizontal, dZ),
        ring);
  }

  void Finish() {
    m_store.settings.recordCount = static_cast<uint32_t>(m_store.records.size());
    m_store.settings.currentRecordNumber = 1;
    m_store.settings.computedCurrent = 0;
  }

  size_t Count() const { return m_store.records.size(); }

 private:
  doc::SurveyRecord& NewRecord() {
    auto record = std::make_unique<doc::SurveyRecord>();
    doc::InitRecord(*record);
    record->instrument = 1;
    record->cave = record->refCave = 1;
    m_store.records.push_back(std::move(record));
    return *m_store.records.back();
  }

  doc::SurveyStore& m_store;
};

struct OpenLoop {
  int32_t ring = 0;
  size_t start = 0;  // station the loop returns to
  Station tip;
  int legsLeft = 0;
};

}  // namespace

size_t GenerateSpreadLoops(doc::SurveyStore& store, const SpreadLoopShape& shape) {
  Builder builder(store);
  Random random(shape.seed);
  std::vector<Station> stations{builder.Entrance()};
  stations.reserve(shape.records);
  std::vector<OpenLoop> open;
  int32_t nextPassage = 2, nextRing = 1;
  size_t closed = 0;
  Station passageTip = stations.front();
  int32_t passage = nextPassage++;
  int32_t passageNumber = 0;
  double heading = 0;
  const auto openLoop = [&] {
    OpenLoop loop;
    loop.ring = nextRing++;
    loop.start = random.Below(stations.size());
    loop.tip = stations[loop.start];
    loop.legsLeft = 4 + static_cast<int>(random.Below(13));
    open.push_back(loop);
    // Its passage number stays with it.
    ++nextPassage;
  };
  // A passage leg; now and then a new passage from any station so far.
  const auto passageLeg = [&] {
    if (random.Chance(0.03)) {
      passageTip = stations[random.Below(stations.size())];
      passage = nextPassage++;
      passageNumber = 0;
    }
    heading = std::fmod(heading + random.Uniform(-40, 40) + 360, 360);
    const double inclination = random.Chance(0.01) ? -90 : random.Uniform(-15, 15);
    passageTip = builder.Leg(passageTip, passage, ++passageNumber, heading, inclination, random.Uniform(1, 15), 0);
    stations.push_back(passageTip);
  };
  // The survey looks the same all through, so that a large survey is a
  // longer one of the same kind, not one of longer loops: after a few
  // passage legs to start loops from, the whole set of open loops is opened
  // at once, as many as stay open later on.
  while (builder.Count() < std::min(shape.records, 2 * shape.openLoops)) passageLeg();
  while (open.size() < shape.openLoops) openLoop();
  // Loops get about ten legs each; the rest of the records are passages.
  const double loopShare = std::min(0.9, static_cast<double>(shape.loops) * 12.4 / static_cast<double>(shape.records));
  while (builder.Count() < shape.records) {
    const size_t left = shape.records - builder.Count();
    if (random.Chance(loopShare) && left > open.size() + 1) {
      if (open.size() < shape.openLoops && random.Chance(0.1)) {
        openLoop();
        continue;
      }
      if (open.empty()) continue;
      const size_t which = random.Below(open.size());
      OpenLoop& loop = open[which];
      if (loop.legsLeft-- > 0) {
        const int32_t sign = random.Chance(0.1) ? -1 : 1;
        const double inclination = random.Chance(0.03) ? (random.Chance(0.5) ? 90 : -90) : random.Uniform(-20, 20);
        loop.tip = builder.Leg(loop.tip, 100'000 + loop.ring, loop.legsLeft + 1, random.Uniform(0, 360), inclination,
                               random.Uniform(2, 12), sign * loop.ring);
        stations.push_back(loop.tip);
      } else {
        builder.Closing(loop.tip, stations[loop.start], loop.ring, random.Uniform(-0.3, 0.3));
        ++closed;
        open[which] = open.back();
        open.pop_back();
      }
      continue;
    }
    passageLeg();
  }
  builder.Finish();
  return closed;
}

size_t GenerateLoopGrid(doc::SurveyStore& store, int rows, int columns) {
  Builder builder(store);
  Random random(0x47726964ULL);
  std::vector<Station> grid(static_cast<size_t>(rows) * static_cast<size_t>(columns));
  const auto at = [&](int row, int column) -> Station& {
    return grid[static_cast<size_t>(row) * static_cast<size_t>(columns) + static_cast<size_t>(column)];
  };
  const auto error = [&] { return random.Uniform(-0.2, 0.2); };
  at(0, 0) = builder.Entrance();
  // Down the first column, then along every row.
  for (int row = 1; row < rows; ++row) {
    at(row, 0) = builder.Leg(at(row - 1, 0), 2 + row, 0, 180 + error(), error(), 10, 0);
  }
  int32_t ring = 0;
  for (int row = 0; row < rows; ++row) {
    for (int column = 1; column < columns; ++column) {
      // Below the first row, every leg along a row starts the loop of the
      // cell above it and to its left.
      const int32_t cell = row == 0 ? 0 : (row - 1) * (columns - 1) + column;
      at(row, column) = builder.Leg(at(row, column - 1), 2 + row, column, 90 + error(), error(), 10 + error(), cell);
    }
  }
  // The legs down each column close the loops.
  for (int row = 1; row < rows; ++row) {
    for (int column = 1; column < columns; ++column) {
      builder.Closing(at(row - 1, column), at(row, column), (row - 1) * (columns - 1) + column, error());
      ++ring;
    }
  }
  builder.Finish();
  return static_cast<size_t>(ring);
}

}  // namespace hp::bench
