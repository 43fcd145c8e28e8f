// The check of a document's values before an export file is opened, and the
// blanking of control characters in the texts the files take.
#include "export/WrittenValues.h"

#include <cmath>
#include <initializer_list>

#include "base/Cp1252.h"
#include "base/FixedText.h"
#include "geo/Utm.h"

namespace hp::exports {
namespace {

bool Writable(double value) { return std::isfinite(value) && std::fabs(value) <= kMaxWrittenValue; }

bool AllWritable(std::initializer_list<double> values) {
  for (const double value : values)
    if (!Writable(value)) return false;
  return true;
}

template <size_t N>
bool AllWritable(const double (&values)[N], size_t count = N) {
  for (size_t k = 0; k < count; ++k)
    if (!Writable(values[k])) return false;
  return true;
}

bool NumbersWritable(const doc::SurveyRecord& r, unsigned values) {
  if ((values & (kStations | kGeographic)) && !AllWritable({r.refX, r.refY, r.refZ, r.x, r.y, r.z})) return false;
  if ((values & kReadings) && !AllWritable({r.tapeStart, r.tapeEnd, r.length, r.azimuth, r.inclination, r.direction}))
    return false;
  if ((values & kPassage) && !AllWritable({r.left, r.right, r.up, r.down})) return false;
  if ((values & kWalls) && !AllWritable(r.altCoords)) return false;
  const doc::CrossSection& c = r.crossSection;
  if ((values & kSection) &&
      !AllWritable({c.start.azimuth, c.start.elevation, c.end.azimuth, c.end.elevation, c.developedElevation}))
    return false;
  if ((values & kPath) && !Writable(r.pathLength)) return false;
  return true;
}

bool OnTheGlobe(const doc::DocumentSettings& s, double easting, double northing) {
  const geo::GeographicPosition p = geo::UtmToGeographic(static_cast<int>(s.utmZone), s.utmBand[0], easting, northing);
  return std::isfinite(p.latitude) && std::isfinite(p.longitude) && std::fabs(p.latitude) <= 90 &&
         std::fabs(p.longitude) <= 180;
}

// "Datensatz 12 (1/2/A5)" in UTF-8.
std::string RecordName(const doc::SurveyRecord& r, size_t index) {
  return "Datensatz " + std::to_string(index + 1) + " (" + std::to_string(r.cave) + "/" + std::to_string(r.passage) +
         "/" + base::Cp1252ToUtf8(LineText(base::TextOf(r.point))) + ")";
}

}  // namespace

std::string UnwritableRecord(const ExportContext& context, size_t index, unsigned values) {
  const doc::SurveyRecord& r = *context.store.records[index];
  if (!NumbersWritable(r, values))
    return RecordName(r, index) + std::string(messages::kUnwritableNumber) + std::string(messages::kNotExported);
  const doc::DocumentSettings& s = context.store.settings;
  if ((values & kGeographic) && !(OnTheGlobe(s, r.refX, r.refY) && OnTheGlobe(s, r.x, r.y)))
    return RecordName(r, index) + std::string(messages::kOffTheGlobe) + std::to_string(s.utmZone) +
           std::string(messages::kOffTheGlobeEnd) + std::string(messages::kNotExported);
  return {};
}

std::string FirstUnwritableRecord(const ExportContext& context, unsigned values) {
  for (size_t n = 0; n < context.store.records.size(); ++n)
    if (std::string refusal = UnwritableRecord(context, n, values); !refusal.empty()) return refusal;
  return {};
}

}  // namespace hp::exports
