// The blunder finder on small hand-made loops and on generated noisy
// networks with known blunders.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <random>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "ReferenceBlunderFinder.h"
#include "calc/BlunderFinder.h"
#include "calc/BlunderTable.h"
#include "calc/CalcTestSupport.h"
#include "calc/LegReduction.h"

namespace hp::calc {
namespace {

using test::AddLeg;
using test::AddReference;
using test::EmptySurvey;

struct Point {
  double x, y, z;
};

// A leg from `a` to `b` with the readings that reach b exactly (instrument
// 1: degrees, horizontal zero direction).
doc::SurveyRecord& Shot(doc::SurveyStore& store, const std::string& from, const std::string& to, Point a, Point b) {
  const double dx = b.x - a.x, dy = b.y - a.y, dz = b.z - a.z;
  const double h = std::hypot(dx, dy);
  double az = std::atan2(dx, dy) / kDegreeFactor;
  if (az < 0) az += 360;
  return AddLeg(store, from, to, std::hypot(h, dz), az, std::atan2(dz, h) / kDegreeFactor);
}

// A skewed four-leg loop A-B-C-D-A of legs about 10 m long, no two parallel.
const Point kLoop[4] = {{0, 0, 0}, {1, 10, 1}, {10.5, 12, -1.5}, {9, 2, 2}};
const char* const kNames[4] = {"A", "B", "C", "D"};

std::unique_ptr<doc::SurveyStore> LoopSurvey() {
  auto store = EmptySurvey(0);
  AddReference(*store, "A");
  for (int i = 0; i < 4; ++i) Shot(*store, kNames[i], kNames[(i + 1) % 4], kLoop[i], kLoop[(i + 1) % 4]);
  return store;
}

struct SlipCase {
  const char* name;
  size_t record;  // list position
  void (*slip)(doc::SurveyRecord&);
  SuspectReading reading;
  bool secondLoop = false;  // A-B-E-A as well, sharing the leg A-B
};

// The true reading of a record of the clean loop.
double Truth(size_t record, SuspectReading reading) {
  auto store = LoopSurvey();
  const doc::SurveyRecord& r = *store->records[record];
  return reading == SuspectReading::Length ? r.length : reading == SuspectReading::Azimuth ? r.azimuth : r.inclination;
}

// The first suspect's record and reading.
std::pair<size_t, SuspectReading> First(const BlunderReport& report) {
  return {report.suspects.at(0).record, report.suspects.at(0).reading};
}

TEST(BlunderFinder, OneSlipNamesTheLegTheReadingAndTheValueCleanLoopNothing) {
  const SlipCase cases[] = {
      {"compass", 2, [](doc::SurveyRecord& r) { r.azimuth += 10; }, SuspectReading::Azimuth},
      {"tape", 3, [](doc::SurveyRecord& r) { r.length += 3; }, SuspectReading::Length},
      {"clino sign", 3, [](doc::SurveyRecord& r) { r.inclination = -r.inclination; }, SuspectReading::Inclination},
      {"closing leg backwards", 4, [](doc::SurveyRecord& r) { std::swap(r.point, r.refPoint); },
       SuspectReading::Direction},
      {"leg shared by two loops", 1, [](doc::SurveyRecord& r) { r.azimuth += 12; }, SuspectReading::Azimuth, true},
  };
  const BlunderReport clean = FindBlunders(*LoopSurvey(), {});
  EXPECT_LT(clean.loops.at(0).normalised, 1e-6);
  EXPECT_TRUE(clean.suspects.empty());
  for (const SlipCase& c : cases) {
    SCOPED_TRACE(c.name);
    auto store = LoopSurvey();
    if (c.secondLoop) {
      const Point e{-8, 6, 0.5};
      Shot(*store, "B", "E", kLoop[1], e);
      Shot(*store, "E", "A", e, kLoop[0]);
    }
    c.slip(*store->records[c.record]);
    const BlunderReport report = FindBlunders(*store, {});
    ASSERT_EQ(report.loops.size(), c.secondLoop ? 2u : 1u);
    for (const BlunderLoop& loop : report.loops) EXPECT_TRUE(loop.suspicious);
    EXPECT_EQ(report.loops[0].legCount, 4);
    ASSERT_FALSE(report.suspects.empty());
    const BlunderSuspect& first = report.suspects[0];
    EXPECT_EQ((std::pair{first.record, first.reading}), (std::pair{c.record, c.reading}));
    EXPECT_TRUE(first.correction);
    EXPECT_LT(first.worstAfter, 0.01);
    if (c.reading != SuspectReading::Direction) {
      EXPECT_NEAR(first.suggested, Truth(c.record, c.reading), c.reading == SuspectReading::Length ? 0.01 : 0.5);
    }
  }
}

// A traverse from the fixed station A to the fixed station Z closes on Z's
// coordinates; a tape slip on it is found and the ties are no legs.
TEST(BlunderFinder, TraverseBetweenTwoFixedStationsIsALoop) {
  auto store = EmptySurvey(0);
  const Point p[4] = {{100, 200, 50}, {108, 205, 48}, {115, 214, 49}, {124, 218, 45}};
  AddReference(*store, "A", p[0].x, p[0].y, p[0].z);
  AddReference(*store, "Z", p[3].x, p[3].y, p[3].z);
  Shot(*store, "A", "1", p[0], p[1]);
  Shot(*store, "1", "2", p[1], p[2]).length += 2.5;
  Shot(*store, "2", "Z", p[2], p[3]);
  const BlunderReport report = FindBlunders(*store, {});
  ASSERT_EQ(report.loops.size(), 1u);
  EXPECT_EQ(report.loops[0].legCount, 3);
  EXPECT_TRUE(report.loops[0].suspicious);
  ASSERT_FALSE(report.suspects.empty());
  EXPECT_EQ(First(report), std::pair(size_t{3}, SuspectReading::Length));
  EXPECT_NEAR(report.suspects[0].suggested, store->records[3]->length - 2.5, 0.01);
}

// Two loops joined by a passage, each with its own slip: both are named as
// corrections before any alternative.
TEST(BlunderFinder, TwoBlundersInSeparatePartsAreBothCorrections) {
  auto store = LoopSurvey();
  const Point shift{40, 5, -3};
  const auto far = [&](int i) { return Point{kLoop[i].x + shift.x, kLoop[i].y + shift.y, kLoop[i].z + shift.z}; };
  Shot(*store, "C", "P", kLoop[2], far(0));
  const char* const farNames[4] = {"P", "Q", "R", "S"};
  for (int i = 0; i < 4; ++i) Shot(*store, farNames[i], farNames[(i + 1) % 4], far(i), far((i + 1) % 4));
  store->records[2]->azimuth += 15;  // B-C
  store->records[8]->length += 4;    // R-S
  const BlunderReport report = FindBlunders(*store, {});
  ASSERT_EQ(report.loops.size(), 2u);
  ASSERT_GE(report.suspects.size(), 2u);
  EXPECT_TRUE(report.suspects[0].correction && report.suspects[1].correction);
  EXPECT_EQ((std::set<size_t>{report.suspects[0].record, report.suspects[1].record}), (std::set<size_t>{2, 8}));
  for (size_t i = 2; i < report.suspects.size(); ++i) EXPECT_FALSE(report.suspects[i].correction);
}

// A ladder of two squares sharing the rung A1-B1: a tape slip on the rail
// leg A0-A1 is explained as well by the parallel rail leg B1-B0 of the same
// loop, and both are marked equal; the rung, in both loops, is not.
TEST(BlunderFinder, ParallelLegsOfOneLoopAreEquivalentExplanations) {
  auto store = EmptySurvey(0);
  const Point a[3] = {{0, 0, 0}, {0, 10, 0}, {0, 20, 0}}, b[3] = {{10, 0, 0}, {10, 10, 0}, {10, 20, 0}};
  AddReference(*store, "A0");
  Shot(*store, "A0", "A1", a[0], a[1]).length += 1;  // record 1
  Shot(*store, "A1", "B1", a[1], b[1]);
  Shot(*store, "B1", "B0", b[1], b[0]);  // record 3
  Shot(*store, "B0", "A0", b[0], a[0]);
  Shot(*store, "A1", "A2", a[1], a[2]);
  Shot(*store, "A2", "B2", a[2], b[2]);
  Shot(*store, "B2", "B1", b[2], b[1]);
  const BlunderReport report = FindBlunders(*store, {});
  ASSERT_GE(report.suspects.size(), 2u);
  EXPECT_EQ((std::set<size_t>{report.suspects[0].record, report.suspects[1].record}), (std::set<size_t>{1, 3}));
  const auto equal = EquivalentSuspects(report);
  EXPECT_EQ(equal[0], std::vector<size_t>{1});
  EXPECT_EQ(equal[1], std::vector<size_t>{0});
  for (size_t i = 2; i < report.suspects.size(); ++i) EXPECT_GT(equal[i].empty() ? 2 : equal[i][0], 1u) << i;
}

// Which rows count as equal: chi-squares within a thousandth of each other
// (absolutely near zero); a later correction is compared with nothing.
TEST(BlunderFinder, EquivalentSuspectsByChiSquare) {
  struct Row {
    double totalAfter;
    bool correction;
  };
  const struct {
    const char* name;
    std::vector<Row> rows;
    std::vector<std::vector<size_t>> equal;
  } cases[] = {
      {"two near zero", {{0.0004, true}, {0.0011, false}}, {{1}, {0}}},
      {"relative share", {{500, true}, {500.4, false}, {501, false}}, {{1}, {0}, {}}},
      {"clearly worse", {{2, true}, {2.5, false}}, {{}, {}}},
      {"later correction", {{8, true}, {3, true}, {8, false}, {3, false}}, {{2}, {}, {0}, {}}},
      {"ties among alternatives", {{1, true}, {9, false}, {9.005, false}}, {{}, {2}, {1}}},
  };
  for (const auto& c : cases) {
    BlunderReport report;
    for (const Row& row : c.rows) {
      BlunderSuspect s;
      s.totalAfter = row.totalAfter, s.correction = row.correction;
      report.suspects.push_back(s);
    }
    EXPECT_EQ(EquivalentSuspects(report), c.equal) << c.name;
  }
}

// A connection closes a loop with its own reading, a zero-length record
// joins its stations, an auxiliary line and a reading that is no number take
// no part.
TEST(BlunderFinder, ConnectionsAuxiliaryPointsAndLinesInTheNetwork) {
  auto store = LoopSurvey();
  AddLeg(*store, "C", "C1", 0, 0, 0);                        // auxiliary point at C
  AddLeg(*store, "C1", "", 5, 30, 0);                        // auxiliary line
  AddLeg(*store, "C", "A", std::nan(""), 10, 0);             // damaged
  Shot(*store, "C1", "A", kLoop[2], kLoop[0]).azimuth += 9;  // connection C1-A, misread
  const BlunderReport report = FindBlunders(*store, {});
  ASSERT_EQ(report.loops.size(), 2u);
  EXPECT_FALSE(report.loops[0].suspicious);
  EXPECT_TRUE(report.loops[1].suspicious);
  EXPECT_EQ(report.loops[1].legCount, 4);  // C1-A, A-B, B-C, C-C1
  ASSERT_FALSE(report.suspects.empty());
  EXPECT_EQ(First(report), std::pair(size_t{8}, SuspectReading::Azimuth));
  EXPECT_TRUE(std::isfinite(report.totalChiSquare));
}

// A suggestion is shown in the record's own units: gon, zenith-referenced
// inclination, declination and sag undone.
TEST(BlunderFinder, SuggestionInTheInstrumentsUnits) {
  auto store = LoopSurvey();
  doc::InstrumentRecord& ins = store->settings.instruments[1];
  ins.azimuthUnit = 1, ins.inclinationUnit = 1, ins.verticalReference = 2, ins.declination = 3;
  store->settings.instrumentSag[1] = 2;
  UpdateSagCoefficients(store->settings);
  doc::SurveyRecord& r = *store->records[2];
  const double az = r.azimuth, incl = r.inclination, length = r.length;
  r.instrument = 2;
  r.azimuth = az / 0.9 - 3;
  r.inclination = (90 - incl) / 0.9;
  const double sagged = length / (std::cos(incl * kDegreeFactor) * store->settings.instrumentSagCoefficient[1] + 1);
  r.length = sagged;
  const struct {
    SuspectReading reading;
    double* field;
    double truth, slip;
  } cases[] = {
      {SuspectReading::Azimuth, &r.azimuth, r.azimuth, 20},
      {SuspectReading::Inclination, &r.inclination, r.inclination, 15},
      {SuspectReading::Length, &r.length, sagged, 3},
  };
  for (const auto& c : cases) {
    *c.field = c.truth + c.slip;
    const BlunderReport report = FindBlunders(*store, {});
    *c.field = c.truth;
    ASSERT_FALSE(report.suspects.empty());
    EXPECT_EQ(First(report), std::pair(size_t{2}, c.reading));
    EXPECT_NEAR(report.suspects[0].measured, c.truth + c.slip, 1e-9);
    EXPECT_NEAR(report.suspects[0].suggested, c.truth, 0.02);
  }
}

// ---- generated networks ----------------------------------------------------

// A jittered grid of stations, every grid edge surveyed with noise at the
// expected accuracy; every leg lies in a loop.
struct Grid {
  std::unique_ptr<doc::SurveyStore> store;
  size_t legs = 0;
};

Grid NoisyGrid(std::mt19937& rng, int rows, int cols) {
  std::uniform_real_distribution<double> jitter(-3, 3);
  std::normal_distribution<double> tape(0, 0.05), angle(0, 1.0);
  std::vector<Point> at(static_cast<size_t>(rows * cols));
  for (int i = 0; i < rows; ++i) {
    for (int j = 0; j < cols; ++j)
      at[static_cast<size_t>(i * cols + j)] = {j * 10 + jitter(rng), i * 10 + jitter(rng), jitter(rng)};
  }
  Grid g;
  g.store = EmptySurvey(0);
  AddReference(*g.store, "0");
  const auto shot = [&](int a, int b) {
    doc::SurveyRecord& r =
        Shot(*g.store, std::to_string(a), std::to_string(b), at[static_cast<size_t>(a)], at[static_cast<size_t>(b)]);
    r.length += tape(rng), r.azimuth += angle(rng), r.inclination += angle(rng);
    ++g.legs;
  };
  for (int i = 0; i < rows; ++i) {
    for (int j = 0; j + 1 < cols; ++j) shot(i * cols + j, i * cols + j + 1);
    if (i + 1 < rows) {
      for (int j = 0; j < cols; ++j) shot(i * cols + j, (i + 1) * cols + j);
    }
  }
  return g;
}

struct Blunder {
  size_t record;
  SuspectReading reading;
  double truth;
};

Blunder AddBlunder(std::mt19937& rng, doc::SurveyStore& store, size_t record) {
  doc::SurveyRecord& r = *store.records[record];
  const doc::SurveyRecord truth = r;
  std::uniform_real_distribution<double> size(0, 1);
  const double sign = size(rng) < 0.5 ? -1 : 1;
  switch (rng() % 4) {
    case 0: r.azimuth += sign * (8 + 40 * size(rng)); return {record, SuspectReading::Azimuth, truth.azimuth};
    case 1:
      r.length = std::max(0.5, r.length + sign * (1 + 4 * size(rng)));
      return {record, SuspectReading::Length, truth.length};
    case 2:
      r.inclination = std::fabs(r.inclination) >= 8 ? -r.inclination : r.inclination + sign * 15;
      return {record, SuspectReading::Inclination, truth.inclination};
    default: std::swap(r.point, r.refPoint); return {record, SuspectReading::Direction, 0};
  }
}

bool CloseValue(const BlunderSuspect& s, const Blunder& b) {
  if (s.reading != b.reading) return false;
  if (b.reading == SuspectReading::Direction) return true;
  // The loops' own noise leaves the fitted value a few tenths of a metre or
  // a few degrees uncertain; blunders are metres and tens of degrees.
  const double tolerance = b.reading == SuspectReading::Length ? 0.5 : 5.0;
  return std::fabs(s.suggested - b.truth) <= tolerance;
}

TEST(BlunderFinder, GeneratedNetworksHitRates) {
  std::mt19937 rng(20261207);
  constexpr int kSingle = 40, kClean = 20, kSeveral = 15;
  int firstLeg = 0, rightReading = 0, quiet = 0, severalFound = 0, severalTotal = 0;
  for (int n = 0; n < kSingle; ++n) {
    Grid g = NoisyGrid(rng, 3 + n % 3, 4);
    const size_t record = 1 + rng() % g.legs;
    const Blunder b = AddBlunder(rng, *g.store, record);
    const BlunderReport report = FindBlunders(*g.store, {});
    if (!report.suspects.empty() && report.suspects[0].record == record) {
      ++firstLeg;
      if (CloseValue(report.suspects[0], b)) ++rightReading;
    }
  }
  for (int n = 0; n < kClean; ++n) {
    Grid g = NoisyGrid(rng, 3 + n % 3, 4);
    if (FindBlunders(*g.store, {}).suspects.empty()) ++quiet;
  }
  for (int n = 0; n < kSeveral; ++n) {
    Grid g = NoisyGrid(rng, 6, 6);
    std::set<size_t> blundered;
    while (blundered.size() < 3) blundered.insert(1 + rng() % g.legs);
    for (const size_t record : blundered) AddBlunder(rng, *g.store, record);
    const BlunderReport report = FindBlunders(*g.store, {});
    for (size_t i = 0; i < report.suspects.size() && i < blundered.size() + 2; ++i) {
      severalFound += blundered.count(report.suspects[i].record) != 0 ? 1 : 0;
    }
    severalTotal += static_cast<int>(blundered.size());
  }
  std::printf("single blunder: leg first %d/%d, reading and value %d/%d; clean quiet %d/%d; several: %d/%d named\n",
              firstLeg, kSingle, rightReading, kSingle, quiet, kClean, severalFound, severalTotal);
  EXPECT_GE(firstLeg, kSingle * 8 / 10);
  EXPECT_GE(rightReading, kSingle * 8 / 10);
  EXPECT_GE(quiet, kClean * 7 / 10);
  EXPECT_GE(severalFound, severalTotal * 7 / 10);
}

// ---- against the finder that listed every loop's legs ----------------------

// Two traverses from the fixed station A0 along the same marks, tied at
// every station, the second one ending on a fixed station as well; loops
// run back to A0 or round through the fixed coordinates and share their
// legs. A few readings are slips.
std::unique_ptr<doc::SurveyStore> Ladder(std::mt19937& rng, int stations) {
  std::uniform_real_distribution<double> length(3, 12), azimuth(0, 360), clino(-30, 30), noise(-0.5, 0.5);
  std::vector<Point> at{{32'512'345.6, 5'271'234.5, 1432.1}};
  for (int i = 1; i <= stations; ++i) {
    const double l = length(rng), a = azimuth(rng) * kDegreeFactor, c = clino(rng) * kDegreeFactor;
    const Point& p = at.back();
    at.push_back({p.x + l * std::cos(c) * std::sin(a), p.y + l * std::cos(c) * std::cos(a), p.z + l * std::sin(c)});
  }
  auto store = EmptySurvey(0);
  AddReference(*store, "A0", at[0].x, at[0].y, at[0].z);
  AddReference(*store, "B" + std::to_string(stations), at.back().x, at.back().y, at.back().z);
  for (const char* rail : {"A", "B"}) {
    for (int i = 1; i <= stations; ++i) {
      doc::SurveyRecord& r = Shot(*store, i == 1 ? "A0" : rail + std::to_string(i - 1), rail + std::to_string(i),
                                  at[static_cast<size_t>(i - 1)], at[static_cast<size_t>(i)]);
      r.length += noise(rng) * 0.06, r.azimuth += noise(rng), r.inclination += noise(rng);
    }
  }
  for (int i = 1; i <= stations; ++i) AddLeg(*store, "A" + std::to_string(i), "B" + std::to_string(i));
  for (int k = 0; k < 3; ++k) AddBlunder(rng, *store, 2 + rng() % (store->records.size() - 2));
  return store;
}

// The listing finder also named legs whose change was lost in the rounding
// of its sums (a zero-length tie turned round); those are not compared.
void ExpectSameReport(const BlunderReport& got, BlunderReport want) {
  std::erase_if(want.suspects, [&](const BlunderSuspect& s) {
    return !s.correction && s.totalAfter >= want.totalChiSquare - 1e-9 * (1 + want.totalChiSquare);
  });
  const auto near = [](double a, double b) { return std::fabs(a - b) <= 1e-6 * (1 + std::fabs(b)); };
  // A suggestion is the minimum of a flat curve: its last digits follow the
  // rounding of the sums; the table shows hundredths.
  const auto close = [](double a, double b) { return std::fabs(a - b) <= 1e-4 * (1 + std::fabs(b)); };
  EXPECT_TRUE(near(got.totalChiSquare, want.totalChiSquare));
  EXPECT_EQ(got.suspiciousLoops, want.suspiciousLoops);
  ASSERT_EQ(got.loops.size(), want.loops.size());
  for (size_t i = 0; i < want.loops.size(); ++i) {
    const BlunderLoop &a = got.loops[i], &b = want.loops[i];
    EXPECT_EQ((std::tuple{a.legCount, a.closingRecord, a.suspicious}),
              (std::tuple{b.legCount, b.closingRecord, b.suspicious}));
    EXPECT_TRUE(near(a.length, b.length) && near(a.normalised, b.normalised)) << "loop " << i;
    // The listing finder added the fixed coordinates into each loop's sum.
    for (int j = 0; j < 3; ++j) EXPECT_NEAR(a.misclosure[j], b.misclosure[j], 1e-8) << "loop " << i;
  }
  ASSERT_EQ(got.suspects.size(), want.suspects.size());
  for (size_t i = 0; i < want.suspects.size(); ++i) {
    const BlunderSuspect &a = got.suspects[i], &b = want.suspects[i];
    EXPECT_EQ((std::tuple{a.record, a.reading, a.correction}), (std::tuple{b.record, b.reading, b.correction})) << i;
    EXPECT_TRUE(near(a.measured, b.measured) && close(a.suggested, b.suggested)) << "suspect " << i;
    EXPECT_TRUE(near(a.totalAfter, b.totalAfter) && near(a.worstAfter, b.worstAfter)) << "suspect " << i;
  }
}

TEST(BlunderFinder, SameLoopsAndSuspectsAsTheFinderThatListedEveryLeg) {
  std::mt19937 rng(7051);
  for (int n = 0; n < 6; ++n) {
    SCOPED_TRACE(n);
    auto ladder = Ladder(rng, 20 + 10 * n);
    ExpectSameReport(FindBlunders(*ladder, {}), reference::FindBlunders(*ladder, {}));
    // A compass set to gon while the book has degrees: every loop suspicious.
    Grid grid = NoisyGrid(rng, 4 + n, 6);
    grid.store->settings.instruments[0].azimuthUnit = 1;
    ExpectSameReport(FindBlunders(*grid.store, {}), reference::FindBlunders(*grid.store, {}));
  }
}

}  // namespace
}  // namespace hp::calc
