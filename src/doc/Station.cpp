// Station names and record kinds.
#include "doc/Station.h"

#include <string>
#include <unordered_set>

#include "base/FixedText.h"

namespace hp::doc {

StationId StationOf(const SurveyRecord& r) { return {r.cave, r.passage, base::TextOf(r.point)}; }

StationId RefStationOf(const SurveyRecord& r) { return {r.refCave, r.refPassage, base::TextOf(r.refPoint)}; }

bool SameStation(const StationId& a, const StationId& b) { return !a.point.empty() && a == b; }

std::string StationText(const StationId& s) {
  std::string text = std::to_string(s.cave);
  text += '/';
  text += std::to_string(s.passage);
  text += '/';
  text += s.point;
  return text;
}

std::string_view RecordKindText(RecordKind kind) {
  switch (kind) {
    case RecordKind::AuxiliaryLine: return "Hilfslinie";
    case RecordKind::CoordinateReference: return "Koordinatenreferenz";
    case RecordKind::VariableReference: return "Variable Referenz";
    case RecordKind::Connection: return "Verbindung";
    case RecordKind::LoopClosure: return "Ringschluss";
    case RecordKind::AuxiliaryPoint: return "Hilfspunkt";
    case RecordKind::SurveyLeg: return "Messzug";
  }
  return "";
}

bool IsSelfReference(const SurveyRecord& r) { return SameStation(StationOf(r), RefStationOf(r)); }

RecordKind ClassifyRecord(const SurveyRecord& r, bool repeatedStation) {
  if (base::TextOf(r.point).empty()) return RecordKind::AuxiliaryLine;
  if (IsSelfReference(r)) {
    return r.ring == 0 ? RecordKind::CoordinateReference : RecordKind::VariableReference;
  }
  if (repeatedStation) return r.ring == 0 ? RecordKind::Connection : RecordKind::LoopClosure;
  if (r.length == 0) return RecordKind::AuxiliaryPoint;
  return RecordKind::SurveyLeg;
}

namespace {
struct StationHash {
  size_t operator()(const StationId& s) const {
    const size_t h = std::hash<std::string_view>()(s.point);
    return h ^ (static_cast<size_t>(static_cast<uint32_t>(s.cave)) * 0x9E3779B97F4A7C15ull) ^
           (static_cast<size_t>(static_cast<uint32_t>(s.passage)) << 1);
  }
};
}  // namespace

std::vector<RecordKind> ClassifyRecords(std::span<const std::unique_ptr<SurveyRecord>> records) {
  std::vector<RecordKind> kinds;
  kinds.reserve(records.size());
  std::unordered_set<StationId, StationHash> seen;
  seen.reserve(records.size());
  for (const auto& record : records) {
    const StationId station = StationOf(*record);
    const bool repeated = !station.point.empty() && !seen.insert(station).second;
    kinds.push_back(ClassifyRecord(*record, repeated));
  }
  return kinds;
}

}  // namespace hp::doc
