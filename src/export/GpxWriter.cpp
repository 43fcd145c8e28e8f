// GPX 1.1 waypoints for hand-held receivers, in Windows-1252 text declared
// as ISO-8859-1.
#include <string>

#include "base/Cp1252.h"
#include "base/FixedText.h"
#include "export/ProgramInfo.h"
#include "export/Writers.h"
#include "export/WrittenValues.h"
#include "geo/Utm.h"

namespace hp::exports {

GpxWriter::GpxWriter(const platform::SettingsStore& settings)
    : m_all(settings.GetInt("Settings", "GPXSelect", 0) != 0),
      m_replaceUmlauts(settings.GetInt("Settings", "GPXUmlaute", 1) == 1) {
  std::string symbol = settings.GetString("Settings", "GPXSymbol", "Waypoint");
  if (symbol.empty()) symbol = "Waypoint";
  // The symbol is written as given, only made safe for the markup.
  m_symbol = Latin1Xml(base::Utf8ToCp1252(symbol));
}

size_t GpxWriter::CurrentIndex(const ExportContext& context) {
  const size_t count = context.store.records.size();
  const uint32_t current = context.store.settings.currentRecordNumber;
  return current >= 1 && current <= count ? current - 1 : count - 1;
}

std::string GpxWriter::Refusal(const ExportContext& context) const {
  constexpr unsigned kWaypoint = kGeographic | kPath;
  if (m_all) return FirstUnwritableRecord(context, kWaypoint);
  if (context.store.records.empty()) return {};
  return UnwritableRecord(context, CurrentIndex(context), kWaypoint);
}

void GpxWriter::Begin(TextOut& out, const ExportContext&) {
  out << "<?xml version=\"1.0\" encoding=\"ISO-8859-1\" standalone=\"yes\"?>\n<gpx\n  version=\"1.1\"\n"
      << "  creator=\"" << kProgramName << " " << kProgramVersion << ", " << kRights << ", " << kWebAddress
      << "\"\n"
         "  xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\"\n"
         "  xmlns:topografix=\"http://www.topografix.com/GPX/Private/TopoGrafix/0/1\"\n"
         "  xmlns=\"http://www.topografix.com/GPX/1/1\"\n"
         "  xsi:schemaLocation=\"http://www.topografix.com/GPX/1/1 http://www.topografix.com/GPX/1/1/gpx.xsd\">\n"
         "<metadata>\n</metadata>\n";
}

void GpxWriter::Waypoint(TextOut& out, const ExportContext& context, const doc::SurveyRecord& r,
                         const std::string& name) {
  const doc::DocumentSettings& s = context.store.settings;
  const auto p = geo::UtmToGeographic(static_cast<int>(s.utmZone), s.utmBand[0], r.x, r.y);
  out << "<wpt lat=\"" << Fixed(p.latitude, 7) << "\" lon=\"" << Fixed(p.longitude, 7) << "\">\n    <ele>"
      << Fixed(r.z, 2) << "</ele>\n    <name>" << name << "</name>\n    <sym>" << m_symbol << "</sym>\n</wpt>\n";
}

void GpxWriter::Record(TextOut& out, const ExportContext& context, const RecordEntry& entry) {
  const doc::SurveyRecord& r = entry.record;
  if (r.colour == 0 || base::TextOf(r.point).empty() || !entry.visible.label) return;
  const std::string name = GpxName(context.LabelText(r), m_replaceUmlauts);
  if (!name.empty()) Waypoint(out, context, r, name);
}

void GpxWriter::End(TextOut& out, const ExportContext& context) {
  const auto& records = context.store.records;
  if (!m_all && !records.empty()) {
    const doc::SurveyRecord& r = *records[CurrentIndex(context)];
    std::string label = context.LabelText(r);
    if (label.empty())
      label = std::to_string(r.cave) + "/" + std::to_string(r.passage) + "/" + std::string(base::TextOf(r.point));
    Waypoint(out, context, r, GpxName(label, m_replaceUmlauts));
  }
  out << "<extensions>\n</extensions>\n</gpx>\n";
}

}  // namespace hp::exports
