// KML for Earth viewers: icon and line styles, a folder per cave with its
// station and leg placemarks, and the program's own placemark.
#include <algorithm>
#include <cstdio>

#include "base/Cp1252.h"
#include "base/FixedText.h"
#include "base/NumberFormat.h"
#include "draw/LineColours.h"
#include "export/ProgramInfo.h"
#include "export/Writers.h"
#include "export/WrittenValues.h"
#include "geo/Utm.h"

namespace hp::exports {
namespace {

constexpr std::string_view kIcons[] = {"HollowplanIcon", "CaveIcon", "NoIcon"};

std::string Cp(std::string_view utf8) { return base::Utf8ToCp1252(utf8); }

// "%0.2lf" with every '.' turned into ','.
std::string Commas(std::string text) {
  std::replace(text.begin(), text.end(), '.', ',');
  return text;
}

std::string HeightLine(double z) { return XmlText(Cp("Höhe: ")) + Commas(Fixed(z, 2)) + " m"; }
std::string PathLine(double path) { return Commas("Weg: " + Fixed(path, 2) + " m"); }

std::string Coordinates(const geo::GeographicPosition& p, double z) {
  return Fixed(p.longitude, 7) + "," + Fixed(p.latitude, 7) + "," + Fixed(z, 2);
}

void IconStyles(TextOut& out) {
  for (const std::string_view icon : kIcons) {
    const std::string i(icon);
    const std::string href = "<href>" + std::string(kIconAddress) + i + ".png</href>\n";
    out << "<Style id=\"normalState_" << i << "\">\n<IconStyle>\n<scale>1.0</scale>\n<Icon>\n"
        << href << "</Icon>\n</IconStyle>\n<LabelStyle>\n<scale>1.0</scale>\n</LabelStyle>\n</Style>\n";
    out << "<Style id=\"highlightState_" << i << "\">\n<IconStyle>\n<scale>1.1</scale>\n<Icon>\n"
        << href
        << "</Icon>\n</IconStyle>\n<LabelStyle>\n<scale>1.1</scale>\n<color>ff0000ff</color>\n</LabelStyle>\n"
           "</Style>\n";
    out << "<StyleMap id=\"styleMap_" << i << "\">\n<Pair>\n<key>normal</key>\n<styleUrl>#normalState_" << i
        << "</styleUrl>\n</Pair>\n<Pair>\n<key>highlight</key>\n<styleUrl>#highlightState_" << i
        << "</styleUrl>\n</Pair>\n</StyleMap>\n";
  }
}

void LineStyles(TextOut& out, const ExportContext& context) {
  const doc::DocumentSettings& s = context.store.settings;
  const bool falseColours = draw::IsFalseColourMode(context.worksheet.lineColourMode());
  const bool loopQuality = doc::LineColourModeOf(context.worksheet) == doc::kLoopQualityColourMode;
  for (int n = 1; n <= 16; ++n) {
    uint32_t entry = falseColours ? s.falseColours[n - 1] : s.lineColours[n - 1];
    // The loop-quality mode draws its classes in a fixed ramp: the styles
    // of their colour numbers carry it.
    for (int c = 1; loopQuality && c <= 5; ++c)
      if (draw::LoopClassColourNumber(c - 1) == n) entry = LoopClassRgb(s, c);
    const uint32_t value = (context.worksheet.blackBackground() != 0 && entry == 0) ? 0xFFFFFFFFu : entry - 0x01000000u;
    char colour[16];
    std::snprintf(colour, sizeof colour, "%8x", static_cast<unsigned>(value));
    out << "<Style id=\"Color" << std::to_string(n) << "\">\n<LineStyle>\n<color>" << colour << "</color>\n<width>"
        << std::to_string(context.worksheet.lineWidth()) << "</width>\n</LineStyle>\n</Style>\n";
  }
}

void PointPlacemark(TextOut& out, const std::string& name, const std::string& description, std::string_view style,
                    const geo::GeographicPosition& p, double z) {
  out << "<Placemark>\n<name>\n"
      << name << "\n</name>\n<description>\n"
      << description << "\n.\n</description>\n<styleUrl>\n#" << style << "\n</styleUrl><Point>\n<coordinates>\n"
      << Coordinates(p, z) << "\n</coordinates>\n</Point>\n</Placemark>\n";
}

}  // namespace

KmlWriter::KmlWriter(const platform::SettingsStore& settings)
    : m_cave(settings.GetInt("Settings", "GECave", 1) != 0),
      m_cavePoint(settings.GetInt("Settings", "GECavePoint", 1) != 0),
      m_point(settings.GetInt("Settings", "GEPoint", 0) != 0),
      m_pointNumber(settings.GetInt("Settings", "GEPointNumber", 0) != 0) {}

std::string KmlWriter::Refusal(const ExportContext& context) const {
  return FirstUnwritableRecord(context, kGeographic | kPath);
}

void KmlWriter::Begin(TextOut& out, const ExportContext& context) {
  out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<kml xmlns=\"http://earth.google.com/kml/2.1\">\n"
         "<Document>\n";
  IconStyles(out);
  LineStyles(out, context);
}

void KmlWriter::Record(TextOut& out, const ExportContext& context, const RecordEntry& entry) {
  const doc::SurveyRecord& r = entry.record;
  if (r.colour == 0 || base::TextOf(r.point).empty() || !entry.visible.Any()) return;
  const doc::DocumentSettings& s = context.store.settings;
  const std::string_view description = base::TextOf(r.description);
  const std::string suffix = description.empty() ? std::string() : ", " + std::string(description);
  const std::string caveNumber = std::to_string(s.cadastreNumber) + "/" + std::to_string(r.cave);
  const std::string station =
      std::to_string(r.cave) + "/" + std::to_string(r.passage) + "/" + std::string(base::TextOf(r.point));
  const std::string caveName = XmlText(caveNumber + suffix);
  const std::string legName = XmlText(station + suffix);

  const char band = s.utmBand[0];
  const auto from = geo::UtmToGeographic(static_cast<int>(s.utmZone), band, r.refX, r.refY);
  const auto to = geo::UtmToGeographic(static_cast<int>(s.utmZone), band, r.x, r.y);
  m_minLatitude = std::min(m_minLatitude, to.latitude);
  m_maxLongitude = std::max(m_maxLongitude, to.longitude);

  bool opened = false;
  if (r.cave != m_openCave) {
    if (m_folderOpen) out << "</Folder>\n";
    out << "<Folder>\n<name>" << caveName << "</name>\n";
    m_folderOpen = true;
    opened = true;
  }

  if (entry.visible.label) {
    const std::string label = XmlText(context.LabelText(r));
    const std::string height = HeightLine(r.z);
    if (!description.empty() && ((m_cave && opened) || m_cavePoint)) {
      const std::string text = "Kat.-Nr.: " + caveNumber + "\n\n" +
                               XmlText("Kataster: " + std::string(base::TextOf(s.cadastreDesignation))) + "\n\n" +
                               height;
      PointPlacemark(out, XmlText(description), text, "styleMap_CaveIcon", to, r.z);
    } else if (!description.empty() && m_point) {
      const std::string text = XmlText("Punkt: " + station) + "\n\n" + height + "\n\n" + PathLine(r.pathLength);
      PointPlacemark(out, XmlText(description), text, "styleMap_NoIcon", to, r.z);
    } else if (!label.empty() && m_pointNumber) {
      std::string text = description.empty() ? std::string() : XmlText(description) + "\n\n";
      text += height + "\n\n" + PathLine(r.pathLength);
      PointPlacemark(out, label, text, "styleMap_NoIcon", to, r.z);
    }
  }

  if (entry.visible.line) {
    out << "<Placemark>\n<name>" << legName << "</name>\n<styleUrl>#Color"
        << std::to_string(ColourIndex(context.DrawnColour(entry.index)))
        << "</styleUrl>\n<MultiGeometry>\n<LineString>\n<coordinates>\n"
        << Coordinates(from, r.refZ) << " " << Coordinates(to, r.z)
        << "\n</coordinates>\n</LineString>\n</MultiGeometry>\n</Placemark>\n";
  }
  m_openCave = r.cave;
}

void KmlWriter::End(TextOut& out, const ExportContext&) {
  if (m_folderOpen) out << "</Folder>\n";
  const std::string description =
      "Version " + std::string(kProgramVersion) + "\n\n" + std::string(kRights) + "\n\n" + std::string(kWebAddress);
  PointPlacemark(out, std::string(kProgramName), description, "styleMap_HollowplanIcon",
                 geo::GeographicPosition{m_minLatitude, m_maxLongitude}, 0.0);
  out << "</Document>\n</kml>\n";
}

}  // namespace hp::exports
