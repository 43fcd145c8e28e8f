// VisualTopo text: a head naming the cave, its place and its entrance, then
// one fixed-width line per leg.
#include <cmath>
#include <numbers>
#include <string>

#include "base/FixedText.h"
#include "export/Writers.h"
#include "export/WrittenValues.h"

namespace hp::exports {
namespace {

constexpr double kToDegrees = 180 / std::numbers::pi;

// "%ld_%s" padded with blanks and cut to 10 characters.
std::string StationField(long passage, std::string_view point) {
  std::string text = std::to_string(passage) + "_" + std::string(point);
  text.resize(10, ' ');
  return text;
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

void VisualTopoWriter::Record(TextOut& out, const ExportContext& context, const RecordEntry& entry) {
  const doc::SurveyRecord& r = entry.record;
  if (!IsLeg(entry)) return;
  if (!m_started) {
    const doc::Worksheet& ws = context.worksheet;
    out << "Version 5.02\nTrou " << LineText(base::TextOf(r.description)) << "," << Fixed(ws.originX() / 1000, 3) << ","
        << Fixed(ws.originY() / 1000, 3) << "," << Fixed(ws.originZ(), 0) << ",UTM"
        << std::to_string(context.store.settings.utmZone) << "\nEntree " << std::to_string(r.refPassage) << "_"
        << LineText(base::TextOf(r.refPoint)) << "\nParam Deca Degd Clino Degd 0.0000 Dir,Dir,Dir Inc Std\n";
    m_started = true;
  }
  const double dx = r.x - r.refX, dy = r.y - r.refY, dz = r.z - r.refZ;
  const double length = std::sqrt(dx * dx + dy * dy + dz * dz);
  const double azimuth = std::atan2(dx, dy) * kToDegrees;
  const double inclination = std::atan2(dz, std::sqrt(dx * dx + dy * dy)) * kToDegrees;
  out << StationField(r.refPassage, LineText(base::TextOf(r.refPoint))) << " "
      << StationField(r.passage, LineText(base::TextOf(r.point)))
      << " " << RightAligned(Fixed(length, 2), 19) << " " << RightAligned(Fixed(azimuth, 2), 7) << " "
      << RightAligned(Fixed(inclination, 2), 7) << "   0.00   0.00   0.00   0.00 N I\n";
}

}  // namespace hp::exports
