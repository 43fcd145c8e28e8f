// VisualTopo text: a head naming the cave, its place and its entrance, then
// one fixed-width line per leg.
#include <cmath>
#include <numbers>
#include <optional>
#include <string>

#include "base/FixedText.h"
#include "export/Writers.h"
#include "export/WrittenValues.h"

namespace hp::exports {
namespace {

constexpr double kToDegrees = 180 / std::numbers::pi;

// "%ld_%s", or "%ld_%ld_%s" with the cave in front.
std::string StationName(std::optional<long> cave, long passage, std::string_view point) {
  std::string text = cave ? std::to_string(*cave) + "_" : std::string();
  return text + std::to_string(passage) + "_" + std::string(point);
}

// The station name padded with blanks and cut to 10 characters.
std::string StationField(std::string text) {
  text.resize(10, ' ');
  return text;
}

// Whether the document's stations lie in more than one cave.
bool SeveralCaves(const doc::SurveyStore& store) {
  std::optional<long> first;
  const auto differs = [&](long cave) {
    if (!first) first = cave;
    return *first != cave;
  };
  for (const auto& r : store.records) {
    if (!base::TextOf(r->point).empty() && differs(r->cave)) return true;
    if (!base::TextOf(r->refPoint).empty() && differs(r->refCave)) return true;
  }
  return false;
}

// Right-aligned in `width`: blanks in front, a longer text keeps its last
// characters.
std::string RightAligned(const std::string& text, size_t width) {
  if (text.size() >= width) return text.substr(text.size() - width);
  return std::string(width - text.size(), ' ') + text;
}

}  // namespace

bool VisualTopoWriter::IsLeg(const RecordEntry& entry) {
  const doc::SurveyRecord& r = entry.record;
  return r.colour != 0 && !base::TextOf(r.point).empty() && entry.visible.Any();
}

std::string VisualTopoWriter::Refusal(const ExportContext& context) const {
  // The head names the first leg's cave and entrance: without a leg there
  // is no file to write.
  bool anyLeg = false;
  WalkRecords(context, UsesLegFilter(), [&](const RecordEntry& entry) { anyLeg = anyLeg || IsLeg(entry); });
  if (!anyLeg) return std::string(messages::kVisualTopoNoLeg);
  return FirstUnwritableRecord(context, kStations);
}

void VisualTopoWriter::Begin(TextOut&, const ExportContext& context) {
  m_withCave = SeveralCaves(context.store);
  // The cave's place is its first coordinate reference; a document without
  // one keeps the worksheet's origin.
  const doc::Worksheet& ws = context.worksheet;
  m_place = {ws.originX(), ws.originY(), ws.originZ()};
  for (const auto& r : context.store.records) {
    if (doc::IsSelfReference(*r) && r->ring == 0) {
      m_place = {r->x, r->y, r->z};
      break;
    }
  }
}

std::string VisualTopoWriter::Name(long cave, long passage, std::string_view point) const {
  return StationName(m_withCave ? std::optional<long>(cave) : std::nullopt, passage, LineText(point));
}

void VisualTopoWriter::Record(TextOut& out, const ExportContext& context, const RecordEntry& entry) {
  const doc::SurveyRecord& r = entry.record;
  if (!IsLeg(entry)) return;
  const std::string from = Name(r.refCave, r.refPassage, base::TextOf(r.refPoint));
  if (!m_started) {
    out << "Version 5.02\nTrou " << LineText(base::TextOf(r.description)) << "," << Fixed(m_place.x / 1000, 3) << ","
        << Fixed(m_place.y / 1000, 3) << "," << Fixed(m_place.z, 0) << ",UTM"
        << std::to_string(context.store.settings.utmZone) << "\nEntree " << from
        << "\nParam Deca Degd Clino Degd 0.0000 Dir,Dir,Dir Inc Std\n";
    m_started = true;
  }
  const double dx = r.x - r.refX, dy = r.y - r.refY, dz = r.z - r.refZ;
  const double length = std::sqrt(dx * dx + dy * dy + dz * dz);
  const double azimuth = std::atan2(dx, dy) * kToDegrees;
  const double inclination = std::atan2(dz, std::sqrt(dx * dx + dy * dy)) * kToDegrees;
  out << StationField(from) << " " << StationField(Name(r.cave, r.passage, base::TextOf(r.point))) << " "
      << RightAligned(Fixed(length, 2), 19) << " " << RightAligned(Fixed(azimuth, 2), 7) << " "
      << RightAligned(Fixed(inclination, 2), 7) << "   0.00   0.00   0.00   0.00 N I\n";
}

}  // namespace hp::exports
