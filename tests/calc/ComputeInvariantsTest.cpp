// Invariants of the compute pass on a generated survey of a few thousand
// records: closed loops, and a slow reference pass that resolves every
// station by searching the list from the top.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "calc/CalcTestSupport.h"
#include "calc/CrossSection.h"
#include "calc/LegReduction.h"
#include "calc/LoopAdjuster.h"
#include "calc/StationIndex.h"

namespace hp::calc {
namespace {

using Records = std::vector<std::unique_ptr<doc::SurveyRecord>>;

struct Generated {
  std::unique_ptr<doc::SurveyStore> store;
  std::vector<size_t> closings;  // list positions of the loop closures
};

// Station n differs from its neighbours only in cave, passage or the case of
// its letter, so that look-ups must compare all three.
void Name(size_t n, int32_t& cave, int32_t& passage, char (&point)[13]) {
  cave = 1 + static_cast<int32_t>(n % 2), passage = static_cast<int32_t>((n / 2) % 3);
  base::SetText(point, std::string((n / 6) % 2 ? "a" : "A") + std::to_string(n / 12));
}

// A branching cave of 3000 records with vertical legs, passage dimensions,
// repeated references, auxiliary lines, connections and a loop every 100 legs.
Generated Generate(int mode) {
  Generated g{test::EmptySurvey(mode), {}};
  Records& records = g.store->records;
  uint64_t state = 20240611;
  const auto below = [&](uint64_t n) {
    return static_cast<size_t>(((state = state * 6364136223846793005ull + 1442695040888963407ull) >> 33) % n);
  };
  const auto hundredths = [&](double low, double high) { return low + below(size_t((high - low) * 100)) / 100.0; };
  std::vector<std::array<double, 3>> at{{1000, 2000, 300}};  // station positions as sums of leg vectors
  const auto add = [&](size_t from, size_t to, std::array<double, 3> end) -> doc::SurveyRecord& {
    records.push_back(std::make_unique<doc::SurveyRecord>());
    doc::SurveyRecord& r = *records.back();
    Name(from, r.refCave, r.refPassage, r.refPoint);
    if (to != SIZE_MAX) Name(to, r.cave, r.passage, r.point);
    if (to == at.size()) at.push_back(end);
    return r;
  };
  const auto leg = [&](size_t from, size_t to, double length, double azimuth, double inclination) -> auto& {
    const double a = azimuth * kDegreeFactor, e = inclination * kDegreeFactor, h = length * std::cos(e);
    const std::array<double, 3>& f = at[from];
    doc::SurveyRecord& r = add(from, to, {f[0] + h * std::sin(a), f[1] + h * std::cos(a), f[2] + length * std::sin(e)});
    r.length = length, r.azimuth = azimuth, r.inclination = inclination;
    return r;
  };
  const auto newLeg = [&](size_t from, int ring) {
    const double length = hundredths(1, 20), azimuth = hundredths(0, 360);
    doc::SurveyRecord& r = leg(from, at.size(), length, azimuth, below(20) ? hundredths(-45, 45) : 90.0);
    r.direction = below(10) == 0 ? -1 : 1;
    r.left = hundredths(0, 5), r.right = hundredths(0, 5), r.up = hundredths(0, 5), r.down = hundredths(0, 5);
    r.ring = ring;
    return at.size() - 1;
  };

  doc::SurveyRecord& head = add(0, 0, at[0]);
  head.x = head.refX = 1000, head.y = head.refY = 2000, head.z = head.refZ = 300;
  size_t tip = 0, sinceLoop = 0, lastKnown = 0;
  int ring = 0;
  while (records.size() < 3000) {
    const size_t roll = below(100);
    if (sinceLoop >= 100) {
      const size_t known = at.size() - 1 - below(std::min<size_t>(at.size(), 200));
      ++ring;
      for (size_t legs = 3 + below(5); legs > 0; --legs) tip = newLeg(tip, ring);
      // Measured towards the known station with a small error.
      doc::SurveyRecord& r = add(tip, known, at[known]);
      const double dX = at[known][0] - at[tip][0], dY = at[known][1] - at[tip][1], dZ = at[known][2] - at[tip][2];
      r.length = std::hypot(dX, dY, dZ) + hundredths(-0.2, 0.2);
      r.azimuth = std::atan2(dX, dY) / kDegreeFactor;
      r.inclination = std::round(std::atan2(dZ, std::hypot(dX, dY)) / kDegreeFactor);
      r.ring = ring;
      g.closings.push_back(records.size() - 1);
      lastKnown = known, sinceLoop = 0;
    } else if (roll == 0) {                                        // a connection
      const size_t from = below(at.size()), to = below(from + 1);  // to an earlier station: no double leg
      if (to < from) add(from, to, at[to]).length = 12;
    } else if (roll < 8) {
      tip = below(at.size());
    } else if (roll < 10) {
      // Often the known end of the last loop, which its closure later defines again.
      const size_t station = below(2) ? lastKnown : below(at.size());
      add(station, station, at[station]).x = -5;  // replaced by the earlier definition
    } else if (roll < 11) {
      leg(tip, SIZE_MAX, 3, 45, 0);  // an auxiliary line
    } else {
      tip = newLeg(tip, 0);
      ++sinceLoop;
    }
  }
  g.store->settings.recordCount = static_cast<uint32_t>(records.size());
  return g;
}

// A station's first definition before `end`, or its last one, found by
// searching the list.
int64_t Search(const Records& records, const doc::StationId& station, size_t end, bool last = false) {
  if (station.point.empty()) return StationIndex::kNone;
  for (size_t n = 0; n < end; ++n) {
    const size_t i = last ? end - 1 - n : n;
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
    std::fill(std::begin(r->work.loopCorrection), std::end(r->work.loopCorrection), 0);
  }
  LoopAdjuster adjuster;
  adjuster.Reset(AdjustmentModeOf(s.loopAdjustment));
  std::vector<LoopResult> results;
  for (size_t position = 0; position < records.size();) {
    doc::SurveyRecord& r = *records[position];
    r.work.successor = 0;
    const LegVector leg = ReduceLeg(r, s);
    const double* c = r.work.loopCorrection;
    if (doc::IsSelfReference(r)) {
      if (const int64_t q = Search(records, doc::StationOf(r), position, true); q >= 0) {
        const doc::SurveyRecord& e = *records[static_cast<size_t>(q)];
        r.refX = r.x = e.x, r.refY = r.y = e.y, r.refZ = r.z = e.z;
      }
      r.refX += c[0], r.refY += c[1], r.refZ += c[2];
      r.x = r.refX, r.y = r.refY, r.z = r.refZ;
      r.developed.from = r.developed.to = {r.direction * r.length + c[3], r.refZ, 0};
      SetLegOrientation(r, leg);
      SingleStationSection(r, limits, false);
      if (adjuster.adjusts() && r.ring != 0 && !adjuster.IsClosed(r.ring)) adjuster.Register(records, position, true);
      ++position;
      continue;
    }
    const int64_t p = Search(records, doc::RefStationOf(r), position);
    const int64_t k = Search(records, doc::StationOf(r), position);
    EXPECT_GE(p, 0) << "generated surveys have no undefined references";
    doc::SurveyRecord& pred = *records[static_cast<size_t>(p)];
    const auto section = [&] {
      SetLegOrientation(r, leg);
      pred.work.successor == 0 ? JunctionSection(pred, r, limits) : SingleStationSection(r, limits, true);
    };
    r.refX = pred.x, r.refY = pred.y, r.refZ = pred.z;
    r.developed.from = pred.developed.to;
    if (k >= 0 && r.ring == 0) {
      const doc::SurveyRecord& e = *records[static_cast<size_t>(k)];
      r.x = e.x, r.y = e.y, r.z = e.z;
      r.developed.to = e.developed.to;
      section();
      ++position;
      continue;
    }
    const double L = leg.reducedLength;  // a new station
    r.x = L * leg.sinAz * leg.cosEl + pred.x + c[0];
    r.y = L * leg.cosAz * leg.cosEl + pred.y + c[1];
    r.z = L * leg.sinEl + pred.z + c[2];
    r.developed.to = {L * r.direction * leg.cosEl + pred.developed.to.distance + c[3],
                      L * leg.sinEl + pred.developed.to.height + c[4], 0};
    r.work.vertical = std::fabs(leg.cosEl) < 0.0015 || r.length == 0 ? 1 : 0;
    const double dX = r.x - r.refX, dY = r.y - r.refY, dZ = r.z - r.refZ;
    r.pathLength = std::sqrt(dX * dX + dY * dY + dZ * dZ) + pred.pathLength;
    section();
    if (adjuster.adjusts() && r.ring != 0 && r.point[0] != 0 && !adjuster.IsClosed(r.ring)) {
      adjuster.Register(records, position, false);
    }
    if (k < 0 || r.ring == 0) {
      ++position;
      continue;
    }
    const doc::SurveyRecord& e = *records[static_cast<size_t>(k)];
    if (!adjuster.adjusts()) {
      const double known[3] = {e.x, e.y, e.z};
      results.push_back(ReportMisclosure(r, static_cast<int>(position + 1), known));
      ++position;
      continue;
    }
    const double misclosure[6] = {e.x - r.x,
                                  e.y - r.y,
                                  e.z - r.z,
                                  e.developed.to.distance - r.developed.to.distance,
                                  e.developed.to.height - r.developed.to.height,
                                  e.developed.to.across - r.developed.to.across};
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

bool SameBits(const std::vector<double>& a, const std::vector<double>& b) {
  return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(double)) == 0;
}

void ExpectSameResults(const doc::SurveyRecord& a, const doc::SurveyRecord& b, size_t number) {
  EXPECT_TRUE(SameBits(test::ComputedValues(a), test::ComputedValues(b))) << number;
  EXPECT_EQ(test::ComputedFlags(a), test::ComputedFlags(b)) << number;
}

TEST(ComputeInvariants, AdjustedLoopsEndOnTheirKnownStations) {
  for (const int mode : {1, 2}) {
    const Generated g = Generate(mode);
    ASSERT_GT(g.closings.size(), 20u);
    platform::ScriptedPrompter prompter;
    EXPECT_EQ(test::Compute(*g.store, prompter).size(), g.closings.size());
    ASSERT_TRUE(prompter.Entries().empty());
    const Records& records = g.store->records;
    for (const size_t position : g.closings) {
      const doc::SurveyRecord& r = *records[position];
      const doc::SurveyRecord& known = *records[size_t(Search(records, doc::StationOf(r), position))];
      SCOPED_TRACE(testing::Message() << "mode " << mode << " record " << position + 1);
      test::ExpectAt(r, known.x, known.y, known.z);
    }
  }
}

TEST(ComputeInvariants, IndexedPassEqualsTopOfListSearchBitForBit) {
  for (const int mode : {0, 1, 2}) {
    const Generated indexed = Generate(mode), reference = Generate(mode);
    platform::ScriptedPrompter prompter;
    const std::vector<LoopResult> results = test::Compute(*indexed.store, prompter);
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
