// Shared helpers of the computation tests: small surveys written record by
// record, all in cave 1, passage 1.
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

namespace hp::test {

inline std::unique_ptr<doc::SurveyStore> EmptySurvey(int loopAdjustment = 2) {
  auto store = std::make_unique<doc::SurveyStore>();
  store->SetDefaults();
  store->records.clear();
  store->settings.recordCount = 0;
  store->settings.loopAdjustment = static_cast<uint16_t>(loopAdjustment);
  return store;
}

// Instrument 1: degrees, horizontal, no corrections.
inline doc::SurveyRecord MakeLeg(std::string_view from, std::string_view to, double length = 0, double azimuth = 0,
                                 double inclination = 0, int ring = 0) {
  doc::SurveyRecord r;
  r.refCave = r.cave = r.refPassage = r.passage = 1;
  base::SetText(r.refPoint, from);
  base::SetText(r.point, to);
  r.length = length, r.azimuth = azimuth, r.inclination = inclination, r.ring = ring;
  return r;
}

inline doc::SurveyRecord& AddLeg(doc::SurveyStore& store, std::string_view from, std::string_view to,
                                 double length = 0, double azimuth = 0, double inclination = 0, int ring = 0) {
  store.records.push_back(std::make_unique<doc::SurveyRecord>(MakeLeg(from, to, length, azimuth, inclination, ring)));
  store.settings.recordCount = static_cast<uint32_t>(store.records.size());
  return *store.records.back();
}

inline doc::SurveyRecord& AddReference(doc::SurveyStore& store, std::string_view name, double x = 0, double y = 0,
                                       double z = 0, int ring = 0) {
  doc::SurveyRecord& r = AddLeg(store, name, name, 0, 0, 0, ring);
  r.refX = r.x = x, r.refY = r.y = y, r.refZ = r.z = z;
  return r;
}

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
