// Stations: the name of a surveyed point (cave, passage, point name) and the
// record kinds that follow from how records name their stations.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "doc/SurveyRecord.h"

namespace hp::doc {

struct StationId {
  int32_t cave = 0;
  int32_t passage = 0;
  std::string_view point;  // at most 12 characters, case-sensitive; empty names no station

  friend bool operator==(const StationId& a, const StationId& b) = default;
};

StationId StationOf(const SurveyRecord& record);
StationId RefStationOf(const SurveyRecord& record);

// Whether two stations are the same station: all three parts equal and a
// non-empty point name.
bool SameStation(const StationId& a, const StationId& b);

// "%ld/%ld/%s" with the point name as stored (Windows-1252).
std::string StationText(const StationId& station);

enum class RecordKind {
  AuxiliaryLine,
  CoordinateReference,
  VariableReference,
  Connection,
  LoopClosure,
  AuxiliaryPoint,
  SurveyLeg,
};

// "Hilfslinie", "Koordinatenreferenz", ...
std::string_view RecordKindText(RecordKind kind);

// The station of the record equals its reference station.
bool IsSelfReference(const SurveyRecord& record);

// The kind of a record, given whether an earlier record in the list already
// defines the same station.
RecordKind ClassifyRecord(const SurveyRecord& record, bool repeatedStation);

// The kinds of all records of a list, in one pass.
std::vector<RecordKind> ClassifyRecords(std::span<const std::unique_ptr<SurveyRecord>> records);

}  // namespace hp::doc
