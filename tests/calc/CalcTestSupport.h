// Shared helpers of the computation tests: small surveys written record by
// record, all in cave 1, passage 1 unless a test says otherwise.
#pragma once

#include <memory>
#include <string_view>

#include "base/FixedText.h"
#include "calc/ComputePass.h"
#include "doc/SurveyStore.h"
#include "platform/Prompter.h"

namespace hp::test {

// A document with default settings and no records.
inline std::unique_ptr<doc::SurveyStore> EmptySurvey(int loopAdjustment = 2) {
  auto store = std::make_unique<doc::SurveyStore>();
  store->SetDefaults();
  store->records.clear();
  store->settings.recordCount = 0;
  store->settings.loopAdjustment = static_cast<uint16_t>(loopAdjustment);
  return store;
}

// A record from station `from` to station `to` (instrument 1: degrees,
// horizontal, no corrections).
inline doc::SurveyRecord MakeLeg(std::string_view from, std::string_view to, double length = 0, double azimuth = 0,
                                 double inclination = 0, int ring = 0) {
  doc::SurveyRecord record;
  record.refCave = record.cave = 1;
  record.refPassage = record.passage = 1;
  base::SetText(record.refPoint, from);
  base::SetText(record.point, to);
  record.length = length;
  record.azimuth = azimuth;
  record.inclination = inclination;
  record.ring = ring;
  return record;
}

// Appends such a record.
inline doc::SurveyRecord& AddLeg(doc::SurveyStore& store, std::string_view from, std::string_view to,
                                 double length = 0, double azimuth = 0, double inclination = 0, int ring = 0) {
  store.records.push_back(std::make_unique<doc::SurveyRecord>(MakeLeg(from, to, length, azimuth, inclination, ring)));
  store.settings.recordCount = static_cast<uint32_t>(store.records.size());
  return *store.records.back();
}

// Appends a coordinate reference of `name` at the given coordinates.
inline doc::SurveyRecord& AddReference(doc::SurveyStore& store, std::string_view name, double x = 0, double y = 0,
                                       double z = 0, int ring = 0) {
  doc::SurveyRecord& r = AddLeg(store, name, name, 0, 0, 0, ring);
  r.refX = r.x = x;
  r.refY = r.y = y;
  r.refZ = r.z = z;
  return r;
}

// Record number `n` (from 1).
inline doc::SurveyRecord& Rec(doc::SurveyStore& store, size_t n) { return *store.records.at(n - 1); }

}  // namespace hp::test
