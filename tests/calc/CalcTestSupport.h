// Shared helpers of the computation tests: comparing and checking computed
// records (the surveys themselves come from support/Survey.h).
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string_view>
#include <vector>

#include "base/FixedText.h"
#include "calc/ComputePass.h"
#include "doc/SurveyStore.h"
#include "platform/Prompter.h"
#include "support/Survey.h"

namespace hp::test {

// The computed section values of a record, for comparing two computations.
inline std::array<double, 6> DevelopedValues(const doc::SurveyRecord& r) {
  const doc::DevelopedSection& d = r.developed;
  return {d.from.distance, d.from.height, d.from.across, d.to.distance, d.to.height, d.to.across};
}

inline std::array<double, 7> CrossSectionValues(const doc::SurveyRecord& r) {
  const doc::CrossSection& c = r.crossSection;
  return {c.start.azimuth, c.start.elevation, c.end.azimuth, c.end.elevation,
          c.leg.azimuth,   c.leg.elevation,   c.halfSize};
}

// Record number `n` (from 1).
inline doc::SurveyRecord& Rec(doc::SurveyStore& store, size_t n) { return *store.records.at(n - 1); }

inline void ExpectAt(const doc::SurveyRecord& r, double x, double y, double z) {
  EXPECT_NEAR(r.x, x, 1e-9);
  EXPECT_NEAR(r.y, y, 1e-9);
  EXPECT_NEAR(r.z, z, 1e-9);
}

inline std::vector<calc::LoopResult> Compute(doc::SurveyStore& store, platform::ScriptedPrompter& prompter) {
  std::vector<calc::LoopResult> results;
  calc::RunComputeCommand(store, prompter, &results);
  return results;
}

}  // namespace hp::test
