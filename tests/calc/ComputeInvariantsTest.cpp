// Invariants of the compute pass on generated surveys of a few thousand
// records: station sums, closed loops, and a slow reference pass that
// resolves every station by searching the list from the top.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "calc/CrossSection.h"
#include "calc/LegReduction.h"
#include "calc/LoopAdjuster.h"
#include "calc/StationIndex.h"
#include "calc/CalcTestSupport.h"

namespace hp::calc {
namespace {

using Records = std::vector<std::unique_ptr<doc::SurveyRecord>>;

struct Options {
  size_t records = 3000;
  bool loops = true;
  int mode = 1;
};

struct Generated {
  std::unique_ptr<doc::SurveyStore> store;
  std::vector<size_t> closings;  // list positions of the loop closures
  // Per record, reference and station as the sums of the leg vectors (only
  // meaningful without loops).
  std::vector<std::array<double, 6>> sums;
};

class Random {
 public:
  double Uniform(double low, double high) { return low + (high - low) * static_cast<double>(Next() % 1000000) / 1e6; }
  size_t Below(size_t n) { return static_cast<size_t>(Next() % n); }
  double Hundredths(double low, double high) { return std::round(Uniform(low, high) * 100) / 100; }

 private:
  uint64_t Next() { return (m_state = m_state * 6364136223846793005ull + 1442695040888963407ull) >> 33; }
  uint64_t m_state = 20240611;
};

// Station n gets a name that differs from its neighbours only in cave,
// passage or the case of its letter, so that look-ups must compare all three.
void NameStation(size_t n, int32_t& cave, int32_t& passage, char (&point)[13]) {
  cave = 1 + static_cast<int32_t>(n % 2);
  passage = static_cast<int32_t>((n / 2) % 3);
  base::SetText(point, std::string((n / 6) % 2 ? "a" : "A") + std::to_string(n / 12));
}

// A branching cave with passage dimensions, repeated references, auxiliary
// lines, a connection every 250 legs and a loop about every 100 legs.
Generated Generate(const Options& options) {
  Generated g{test::EmptySurvey(options.mode), {}, {}};
  doc::SurveyStore& store = *g.store;
  doc::DocumentSettings& s = store.settings;
  s.meridianConvergence = 0.7;
  s.instruments[1] = {1, 1.5, 1, 1};  // gon, nadiral, with declination
  s.instrumentSag[0] = 2;
  UpdateSagCoefficients(s);
  Random random;
  std::vector<std::array<double, 3>> at;  // station positions as sums of leg vectors
  std::vector<size_t> firstRef;           // station index of the reference of each station's first definer

  const auto add = [&](size_t from, size_t to, bool auxiliary) -> doc::SurveyRecord& {
    auto r = std::make_unique<doc::SurveyRecord>();
    NameStation(from, r->refCave, r->refPassage, r->refPoint);
    if (!auxiliary) NameStation(to, r->cave, r->passage, r->point);
    store.records.push_back(std::move(r));
    return *store.records.back();
  };
  const auto measure = [&](doc::SurveyRecord& r, size_t from) {
    doc::SurveyRecord copy = r;
    const LegVector leg = ReduceLeg(copy, s);
    const double L = leg.reducedLength;
    const auto& f = at[from];
    return std::array<double, 3>{L * leg.sinAz * leg.cosEl + f[0], L * leg.cosAz * leg.cosEl + f[1],
                                 L * leg.sinEl + f[2]};
  };
  const auto record = [&](const std::array<double, 3>& ref, const std::array<double, 3>& station) {
    g.sums.push_back({ref[0], ref[1], ref[2], station[0], station[1], station[2]});
  };

  doc::SurveyRecord& head = add(0, 0, false);
  head.x = head.refX = 1000, head.y = head.refY = 2000, head.z = head.refZ = 300;
  at.push_back({1000, 2000, 300});
  firstRef.push_back(0);
  record(at[0], at[0]);

  size_t tip = 0, sinceLoop = 0, sinceConnection = 0, lastKnown = 0;
  int ring = 0;
  const auto newLeg = [&](size_t from, int legRing) {
    const size_t to = at.size();
    doc::SurveyRecord& r = add(from, to, false);
    r.length = random.Hundredths(1, 20);
    const bool gon = random.Below(10) == 0;
    r.instrument = gon ? 2 : 1;
    r.azimuth = random.Hundredths(0, gon ? 400 : 360);
    r.inclination = gon ? random.Hundredths(60, 140) : random.Hundredths(-45, 45);
    if (!gon && random.Below(20) == 0) r.inclination = random.Below(2) ? 90 : -90;
    r.direction = random.Below(10) == 0 ? -1 : 1;
    r.left = random.Hundredths(0, 5), r.right = random.Hundredths(0, 5);
    r.up = random.Hundredths(0, 5), r.down = random.Hundredths(0, 5);
    r.ring = legRing;
    at.push_back(measure(r, from));
    firstRef.push_back(from);
    record(at[from], at[to]);
    return to;
  };

  while (store.records.size() < options.records) {
    const size_t roll = random.Below(100);
    if (options.loops && sinceLoop >= 100) {
      ++ring;
      const size_t known = at.size() - 1 - random.Below(std::min<size_t>(at.size(), 200));
      for (size_t legs = 3 + random.Below(5); legs > 0; --legs) tip = newLeg(tip, ring);
      // The closing leg is measured towards the known station with a small error.
      doc::SurveyRecord& r = add(tip, known, false);
      const double dX = at[known][0] - at[tip][0], dY = at[known][1] - at[tip][1], dZ = at[known][2] - at[tip][2];
      const double horizontal = std::sqrt(dX * dX + dY * dY);
      r.length = std::round((std::sqrt(horizontal * horizontal + dZ * dZ) + random.Uniform(-0.2, 0.2)) * 100) / 100;
      r.azimuth = std::round(std::atan2(dX, dY) / kDegreeFactor * 100) / 100 + 0.7;
      r.inclination = std::round(std::atan2(dZ, horizontal) / kDegreeFactor * 100) / 100;
      r.ring = ring;
      g.closings.push_back(store.records.size() - 1);
      lastKnown = known;
      record(at[tip], at[known]);
      sinceLoop = 0;
    } else if (sinceConnection >= 250) {
      size_t from = random.Below(at.size()), to = random.Below(at.size());
      if (from == to || firstRef[to] == from) continue;
      doc::SurveyRecord& r = add(from, to, false);
      r.length = 12, r.azimuth = 34, r.inclination = 5;
      record(at[from], at[to]);
      sinceConnection = 0;
    } else if (roll < 8) {
      tip = random.Below(at.size());
    } else if (roll < 10) {
      // Often the known end of the last loop, whose closing record is a
      // later definition with coordinates of its own.
      const size_t station = random.Below(2) ? lastKnown : random.Below(at.size());
      doc::SurveyRecord& r = add(station, station, false);
      r.x = r.refX = -5;  // replaced by the earlier definition
      record(at[station], at[station]);
    } else if (roll < 11) {
      doc::SurveyRecord& r = add(tip, 0, true);
      r.length = 3, r.azimuth = 45;
      record(at[tip], measure(r, tip));
    } else {
      tip = newLeg(tip, 0);
      ++sinceLoop, ++sinceConnection;
    }
  }
  s.recordCount = static_cast<uint32_t>(store.records.size());
  return g;
}

// The station look-ups answered by searching the list from the top.
int64_t FirstBefore(const Records& records, const doc::StationId& station, size_t end) {
  if (station.point.empty()) return StationIndex::kNone;
  for (size_t i = 0; i < end; ++i) {
    if (doc::StationOf(*records[i]) == station) return static_cast<int64_t>(i);
  }
  return StationIndex::kNone;
}

int64_t LastBefore(const Records& records, const doc::StationId& station, size_t end) {
  if (station.point.empty()) return StationIndex::kNone;
  for (size_t i = end; i-- > 0;) {
    if (doc::StationOf(*records[i]) == station) return static_cast<int64_t>(i);
  }
  return StationIndex::kNone;
}

// A full pass over a survey without faults, written straight from the rules
// of the computation with top-of-list searches.
std::vector<LoopResult> ReferencePass(doc::SurveyStore& store) {
  Records& records = store.records;
  const doc::DocumentSettings& s = store.settings;
  const SectionLimits limits{s.crossSectionVerticalLimit, s.crossSectionAcuteLimit};
  for (auto& r : records) {
    r->work.vertical = 0;
    for (double& c : r->work.loopCorrection) c = 0;
  }
  LoopAdjuster adjuster;
  adjuster.Reset(s.loopAdjustment);
  std::vector<LoopResult> results;
  for (size_t position = 0; position < records.size();) {
    doc::SurveyRecord& r = *records[position];
    r.work.successor = 0;
    const LegVector leg = ReduceLeg(r, s);
    const double* c = r.work.loopCorrection;
    if (doc::IsSelfReference(r)) {
      if (const int64_t q = LastBefore(records, doc::StationOf(r), position); q >= 0) {
        const doc::SurveyRecord& e = *records[static_cast<size_t>(q)];
        r.refX = r.x = e.x, r.refY = r.y = e.y, r.refZ = r.z = e.z;
      }
      r.refX += c[0], r.refY += c[1], r.refZ += c[2];
      r.x = r.refX, r.y = r.refY, r.z = r.refZ;
      r.calcA[0] = r.calcA[3] = r.direction * r.length + c[3];
      r.calcA[1] = r.calcA[4] = r.refZ;
      r.calcA[2] = r.calcA[5] = 0;
      SetLegOrientation(r, leg);
      SingleStationSection(r, limits, false);
      if (adjuster.mode() != 0 && r.ring != 0 && !adjuster.IsClosed(r.ring)) adjuster.Register(records, position, true);
      ++position;
      continue;
    }
    const int64_t p = FirstBefore(records, doc::RefStationOf(r), position);
    const int64_t k = FirstBefore(records, doc::StationOf(r), position);
    EXPECT_GE(p, 0) << "generated surveys have no undefined references";
    doc::SurveyRecord& pred = *records[static_cast<size_t>(p)];
    const auto section = [&] {
      SetLegOrientation(r, leg);
      if (pred.work.successor == 0) {
        JunctionSection(pred, r, limits);
      } else {
        SingleStationSection(r, limits, true);
      }
    };
    r.refX = pred.x, r.refY = pred.y, r.refZ = pred.z;
    for (int i = 0; i < 3; ++i) r.calcA[i] = pred.calcA[3 + i];
    if (k >= 0 && r.ring == 0) {
      const doc::SurveyRecord& e = *records[static_cast<size_t>(k)];
      r.x = e.x, r.y = e.y, r.z = e.z;
      for (int i = 0; i < 3; ++i) r.calcA[3 + i] = e.calcA[3 + i];
      section();
      ++position;
      continue;
    }
    const double L = leg.reducedLength;
    r.x = L * leg.sinAz * leg.cosEl + pred.x + c[0];
    r.y = L * leg.cosAz * leg.cosEl + pred.y + c[1];
    r.z = L * leg.sinEl + pred.z + c[2];
    r.calcA[3] = L * r.direction * leg.cosEl + pred.calcA[3] + c[3];
    r.calcA[4] = L * leg.sinEl + pred.calcA[4] + c[4];
    r.calcA[5] = 0;
    r.work.vertical = std::fabs(leg.cosEl) < 0.0015 || r.length == 0 ? 1 : 0;
    const double dX = r.x - r.refX, dY = r.y - r.refY, dZ = r.z - r.refZ;
    r.pathLength = std::sqrt(dX * dX + dY * dY + dZ * dZ) + pred.pathLength;
    section();
    if (adjuster.mode() != 0 && r.ring != 0 && r.point[0] != 0 && !adjuster.IsClosed(r.ring)) {
      adjuster.Register(records, position, false);
    }
    if (k < 0 || r.ring == 0) {
      ++position;
      continue;
    }
    const doc::SurveyRecord& e = *records[static_cast<size_t>(k)];
    if (adjuster.mode() == 0) {
      const double known[3] = {e.x, e.y, e.z};
      results.push_back(ReportMisclosure(r, static_cast<int>(position + 1), known));
      ++position;
      continue;
    }
    const double misclosure[6] = {e.x - r.x, e.y - r.y, e.z - r.z,
                                  e.calcA[3] - r.calcA[3], e.calcA[4] - r.calcA[4], e.calcA[5] - r.calcA[5]};
    const ClosureOutcome outcome =
        adjuster.IsClosed(r.ring) ? ClosureOutcome{} : adjuster.Close(records, position, misclosure);
    if (outcome.result) results.push_back(*outcome.result);
    position = outcome.restartPosition ? *outcome.restartPosition : position + 1;
  }
  return results;
}

template <typename T>
bool SameBits(const T& a, const T& b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

void ExpectSameResults(const doc::SurveyRecord& a, const doc::SurveyRecord& b, size_t number) {
  EXPECT_TRUE(SameBits(a.refX, b.refX) && SameBits(a.refY, b.refY) && SameBits(a.refZ, b.refZ)) << number;
  EXPECT_TRUE(SameBits(a.x, b.x) && SameBits(a.y, b.y) && SameBits(a.z, b.z)) << number;
  EXPECT_TRUE(SameBits(a.calcA, b.calcA)) << number;
  EXPECT_TRUE(SameBits(a.calcC, b.calcC)) << number;
  EXPECT_TRUE(SameBits(a.altCoords, b.altCoords)) << number;
  EXPECT_TRUE(SameBits(a.pathLength, b.pathLength) && SameBits(a.calcScale, b.calcScale)) << number;
  EXPECT_TRUE(SameBits(a.work.loopCorrection, b.work.loopCorrection)) << number;
  EXPECT_EQ(a.calcFlag, b.calcFlag) << number;
  EXPECT_EQ(a.drawFlags[0], b.drawFlags[0]) << number;
  EXPECT_EQ(a.drawFlags[1], b.drawFlags[1]) << number;
  EXPECT_EQ(a.work.vertical, b.work.vertical) << number;
  EXPECT_EQ(a.work.successor, b.work.successor) << number;
}

TEST(StationIndex, AnswersLikeTopOfListSearches) {
  const Generated g = Generate({});
  const Records& records = g.store->records;
  StationIndex index;
  index.Build(records);
  size_t laterRepeats = 0;  // repeats whose previous definition is not the first
  for (size_t i = 0; i < records.size(); ++i) {
    const doc::StationId station = doc::StationOf(*records[i]);
    if (index.PreviousSame(i) > index.First(station)) ++laterRepeats;
    ASSERT_EQ(index.First(station), FirstBefore(records, station, records.size())) << i;
    ASSERT_EQ(index.First(doc::RefStationOf(*records[i])),
              FirstBefore(records, doc::RefStationOf(*records[i]), records.size()))
        << i;
    ASSERT_EQ(index.PreviousSame(i), LastBefore(records, station, i)) << i;
  }
  EXPECT_GT(laterRepeats, 10u);
  EXPECT_EQ(index.First({1, 0, "nowhere"}), StationIndex::kNone);
  EXPECT_EQ(index.First({1, 0, ""}), StationIndex::kNone);
  EXPECT_EQ(index.First({9, 0, "A0"}), StationIndex::kNone);
  EXPECT_EQ(index.PreviousSame(records.size()), StationIndex::kNone);
  EXPECT_LE(index.MemoryBytes(), 64 * records.size());
}

TEST(ComputeInvariants, LoopFreeStationsAreSumsOfTheirLegs) {
  const Generated g = Generate({.loops = false});
  platform::ScriptedPrompter prompter;
  RunComputeCommand(*g.store, prompter);
  ASSERT_TRUE(prompter.Entries().empty());
  const Records& records = g.store->records;
  ASSERT_EQ(records.size(), g.sums.size());
  for (size_t i = 0; i < records.size(); ++i) {
    const doc::SurveyRecord& r = *records[i];
    const auto& e = g.sums[i];
    const double got[6] = {r.refX, r.refY, r.refZ, r.x, r.y, r.z};
    for (int j = 0; j < 6; ++j) ASSERT_NEAR(got[j], e[j], 1e-9) << "record " << i + 1 << " value " << j;
  }
}

TEST(ComputeInvariants, AdjustedLoopsEndOnTheirKnownStations) {
  for (const int mode : {1, 2}) {
    const Generated g = Generate({.mode = mode});
    ASSERT_GT(g.closings.size(), 20u);
    platform::ScriptedPrompter prompter;
    std::vector<LoopResult> results;
    RunComputeCommand(*g.store, prompter, &results);
    ASSERT_TRUE(prompter.Entries().empty());
    EXPECT_EQ(results.size(), g.closings.size());
    EXPECT_EQ(g.store->settings.computedCurrent, 1);
    const Records& records = g.store->records;
    StationIndex index;
    index.Build(records);
    for (const size_t position : g.closings) {
      const doc::SurveyRecord& r = *records[position];
      const doc::SurveyRecord& known = *records[static_cast<size_t>(index.First(doc::StationOf(r)))];
      EXPECT_NEAR(r.x, known.x, 1e-9) << "mode " << mode << " record " << position + 1;
      EXPECT_NEAR(r.y, known.y, 1e-9) << "mode " << mode << " record " << position + 1;
      EXPECT_NEAR(r.z, known.z, 1e-9) << "mode " << mode << " record " << position + 1;
    }
  }
}

TEST(ComputeInvariants, IndexedPassEqualsTopOfListSearchBitForBit) {
  for (const int mode : {0, 1, 2}) {
    const Generated indexed = Generate({.mode = mode});
    const Generated reference = Generate({.mode = mode});
    platform::ScriptedPrompter prompter;
    std::vector<LoopResult> results;
    RunComputeCommand(*indexed.store, prompter, &results);
    const std::vector<LoopResult> expected = ReferencePass(*reference.store);
    ASSERT_EQ(results.size(), expected.size()) << mode;
    for (size_t i = 0; i < results.size(); ++i) {
      EXPECT_EQ(results[i].recordNumber, expected[i].recordNumber);
      EXPECT_TRUE(SameBits(results[i].misclosure, expected[i].misclosure));
    }
    const Records& a = indexed.store->records;
    const Records& b = reference.store->records;
    ASSERT_EQ(a.size(), b.size());
    for (size_t i = 0; i < a.size(); ++i) ExpectSameResults(*a[i], *b[i], i + 1);
    // A second pass over its own results gives the same again.
    RunComputeCommand(*indexed.store, prompter);
    ReferencePass(*reference.store);
    for (size_t i = 0; i < a.size(); ++i) ExpectSameResults(*a[i], *b[i], i + 1);
  }
}

}  // namespace
}  // namespace hp::calc
