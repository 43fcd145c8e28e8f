// Shared helpers of the computation tests: comparing and checking computed
// records (the surveys themselves come from support/Survey.h).
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <iterator>
#include <memory>
#include <string_view>
#include <tuple>
#include <vector>

#include "base/FixedText.h"
#include "calc/ComputePass.h"
#include "doc/SurveyStore.h"
#include "platform/Prompter.h"
#include "support/Survey.h"

namespace hp::test {

// Everything a compute pass writes into a record, for comparing two
// computations: the numbers and the flags.
inline std::vector<double> ComputedValues(const doc::SurveyRecord& r) {
  const doc::DevelopedSection& d = r.developed;
  const doc::CrossSection& c = r.crossSection;
  std::vector<double> v = {r.refX, r.refY, r.refZ, r.x, r.y, r.z, r.pathLength, r.length, r.azimuth, r.inclination};
  v.insert(v.end(), {d.from.distance, d.from.height, d.from.across, d.to.distance, d.to.height, d.to.across});
  v.insert(v.end(), {c.start.azimuth, c.start.elevation, c.end.azimuth, c.end.elevation, c.leg.azimuth, c.leg.elevation,
                     c.halfSize, c.developedElevation});
  v.insert(v.end(), std::begin(r.altCoords), std::end(r.altCoords));
  v.insert(v.end(), std::begin(r.work.loopCorrection), std::end(r.work.loopCorrection));
  return v;
}

inline auto ComputedFlags(const doc::SurveyRecord& r) {
  return std::tuple(r.crossSection.acuteJunction, r.drawFlags[0], r.drawFlags[1], r.instrument, r.work.vertical,
                    r.work.successor);
}

// Record number `n` (from 1).
inline doc::SurveyRecord& Rec(doc::SurveyStore& store, size_t n) { return *store.records.at(n - 1); }

inline void ExpectAt(const doc::SurveyRecord& r, double x, double y, double z) {
  EXPECT_NEAR(r.x, x, 1e-9);
  EXPECT_NEAR(r.y, y, 1e-9);
  EXPECT_NEAR(r.z, z, 1e-9);
}

// 1 S at the origin, 2 K at (0.3, 0, 0), then a square of 10 m legs from S
// that ends on the origin and so misses K by 0.3 in X: 3 S->1 ... 6 3->K;
// not computed yet.
inline std::unique_ptr<doc::SurveyStore> SquareLoop(int mode, const int (&rings)[4]) {
  auto store = EmptySurvey(mode);
  AddReference(*store, "S");
  AddReference(*store, "K", 0.3, 0, 0);
  AddLeg(*store, "S", "1", 10, 90, 0, rings[0]);
  AddLeg(*store, "1", "2", 10, 0, 0, rings[1]);
  AddLeg(*store, "2", "3", 10, 270, 0, rings[2]);
  AddLeg(*store, "3", "K", 10, 180, 0, rings[3]);
  store->settings.computedCurrent = 0;
  return store;
}

inline std::vector<calc::LoopResult> Compute(doc::SurveyStore& store, platform::ScriptedPrompter& prompter) {
  std::vector<calc::LoopResult> results;
  calc::RunComputeCommand(store, prompter, &results);
  return results;
}

}  // namespace hp::test
