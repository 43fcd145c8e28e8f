// VRML 2.0 world of the passages: three prototypes (passage body, cap, wire
// frame), the bodies inside a transform that turns z-up into y-up, and the
// viewpoints.
#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "base/FixedText.h"
#include "draw/LineColours.h"
#include "export/ProgramInfo.h"
#include "export/Writers.h"
#include "export/WrittenValues.h"

namespace hp::exports {
namespace {

constexpr double kRingDegree = 0.017453293;
constexpr double kDegree = std::numbers::pi / 180;

std::string Component(uint32_t colour, int shift) {
  const double c = (colour >> shift) & 0xFF;
  return General(std::floor(c * 1000 / 255 + 0.5) / 1000);
}
std::string Rgb(uint32_t colour) {
  return Component(colour, 0) + " " + Component(colour, 8) + " " + Component(colour, 16);
}

const char* const kProtoHead[] = {" field SFColor farbe 0.5 0.5 0.5 ] {\n",
                                  " Transform {\n",
                                  "  children [\n",
                                  "   Shape {\n",
                                  "    appearance Appearance {\n",
                                  "     material Material { \n"};
const char* const kProtoTail = "     ] \n    }\n   }\n  ] \n }\n}\n";

void Prototypes(TextOut& out, int n) {
  out << "PROTO Gang [ field MFVec3f ecken [ ] \n";
  for (const char* line : kProtoHead) out << line;
  out << "      diffuseColor IS farbe\n     }\n    }\n    geometry IndexedFaceSet { \n     creaseAngle 2.0\n"
         "     coord Coordinate {\n      point IS ecken \n     }\n     coordIndex [\n";
  for (int i = 0; i <= n - 2; ++i)
    out << "      " << std::to_string(n + i) << ", " << std::to_string(n + i + 1) << ", " << std::to_string(i + 1)
        << ", " << std::to_string(i) << ", -1,\n";
  out << "      " << std::to_string(2 * n - 1) << ", " << std::to_string(n) << ", 0, " << std::to_string(n - 1)
      << ", -1,\n"
      << kProtoTail;

  out << "PROTO Ebene [ field MFVec3f ecken [ ] \n";
  for (const char* line : kProtoHead) out << line;
  out << "      diffuseColor IS farbe\n     }\n    }\n    geometry IndexedFaceSet { \n"
         "     coord Coordinate {\n      point IS ecken \n     }\n     coordIndex [\n      ";
  for (int i = 0; i < n; ++i) out << std::to_string(i) << ", ";
  out << "-1,\n" << kProtoTail;

  out << "PROTO Rahmen [ field MFVec3f ecken [ ] \n";
  for (const char* line : kProtoHead) out << line;
  out << "      emissiveColor IS farbe\n     }\n    }\n    geometry IndexedLineSet { \n"
         "     coord Coordinate {\n      point IS ecken \n     }\n     coordIndex [\n"
         "      0, 1, 2, 3, -1,\n      7, 6, 5, 4, -1,\n      4, 5, 1, 0, -1,\n      5, 6, 2, 1, -1,\n"
         "      6, 7, 3, 2, -1,\n      7, 4, 0, 3, -1,\n"
      << kProtoTail;
}

struct Section {
  double right, left, up, down;
};

// The cosine and sine of the n angles that divide the full circle evenly.
std::vector<std::pair<double, double>> CircleSteps(int n) {
  std::vector<std::pair<double, double>> steps;
  steps.reserve(static_cast<size_t>(std::max(n, 0)));
  for (int k = 0; k < n; ++k) {
    const double t = 2 * std::numbers::pi * k / n;
    steps.emplace_back(std::cos(t), std::sin(t));
  }
  return steps;
}

// The cross-section ring in the section plane: (across to the right, up);
// `steps` are the CircleSteps of `n`.
std::vector<draw::Vec3> Ring(Section s, int n, int form, bool mirrored,
                             const std::vector<std::pair<double, double>>& steps) {
  if (mirrored) std::swap(s.right, s.left);
  const double R = s.right, L = s.left, O = s.up, U = s.down;
  std::vector<draw::Vec3> ring;
  if (n > 4 && (form == 1 || form == 2)) {
    ring.reserve(static_cast<size_t>(n));
    for (int k = 0; k < n; ++k) {
      const auto [cosine, sine] = steps[static_cast<size_t>(k)];
      if (form == 1) {
        ring.push_back({(R - L) / 2 + (R + L) / 2 * cosine, (O - U) / 2 + (O + U) / 2 * sine, 0});
      } else {
        const double across = k < n / 2 ? (k < n / 4 ? R : L) : (k < 3 * n / 4 ? L : R);
        const double upward = k < n / 2 ? O : U;
        ring.push_back({across * cosine, upward * sine, 0});
      }
    }
  } else {
    ring = {{R, O, 0}, {-L, O, 0}, {-L, -U, 0}, {R, -U, 0}};
  }
  if (mirrored)
    for (draw::Vec3& p : ring) p.x = -p.x;
  return ring;
}

}  // namespace

VrmlWriter::VrmlWriter(const platform::SettingsStore& settings)
    : m_form(settings.GetInt("Settings", "VRML_Form", 2)),
      m_diameter(settings.GetInt("Settings", "VRML_Durchmesser", 100)) {
  switch (settings.GetInt("Settings", "VRML_Flaechen", 1)) {
    case 4: m_faces = 64; break;
    case 3: m_faces = 32; break;
    case 2: m_faces = 16; break;
    case 1: m_faces = 8; break;
    default: m_faces = 4; break;
  }
  if (m_form != 1 && m_form != 2) m_faces = 4;
  m_circle = CircleSteps(m_faces);
}

size_t VrmlWriter::StationHash::operator()(const Station& s) const noexcept {
  size_t h = std::hash<std::string_view>()(s.point);
  h ^= std::hash<long>()(s.cave) + 0x9e3779b97f4a7c15ULL + (h << 6) + (h >> 2);
  h ^= std::hash<long>()(s.passage) + 0x9e3779b97f4a7c15ULL + (h << 6) + (h >> 2);
  return h;
}

std::string VrmlWriter::Refusal(const ExportContext& context) const {
  return FirstUnwritableRecord(context, kStations | kPassage | kSection);
}

void VrmlWriter::Begin(TextOut& out, const ExportContext& context) {
  const doc::Worksheet& ws = context.worksheet;
  const doc::DocumentSettings& s = context.store.settings;
  draw::ViewTransform extentView;
  extentView.ComputeExtents(context.store, ws);
  const draw::Extent& e = extentView.extent();
  m_sceneSize = 1.5 * std::max(3.5, std::sqrt((e.max.x - e.min.x) * (e.max.x - e.min.x) +
                                              (e.max.y - e.min.y) * (e.max.y - e.min.y) +
                                              (e.max.z - e.min.z) * (e.max.z - e.min.z)));
  const draw::Vec3 reference = context.view.transform ? context.view.transform->referencePoint() : draw::Vec3{};
  m_shift = {ws.originX() - reference.x, ws.originY() - reference.y, ws.originZ() - reference.z};
  m_firstTo.reserve(context.store.records.size());
  for (size_t n = 0; n < context.store.records.size(); ++n) {
    const doc::SurveyRecord& r = *context.store.records[n];
    if (!base::TextOf(r.point).empty()) m_firstTo.emplace(Station{r.cave, r.passage, base::TextOf(r.point)}, n);
  }

  out << "#VRML V2.0 utf8\n\n#\n#     " << kProgramName << " VRML-Export\n#  " << kRights << "\n#  " << kWebAddress
      << "\n#        Version " << kProgramVersion << "\n#\n\n";
  Prototypes(out, m_faces);
  out << "Transform {\n rotation 1 0 0 -1.5707963\n children [\n  NavigationInfo {\n   speed "
      << General(std::max(1.0, std::floor(m_sceneSize / 8))) << "\n   type [\"EXAMINE\" \"ANY\"]\n  }\n\n";
  if (ws.blackBackground() == 0) out << "  Background {\n   skyColor " << Rgb(s.backgroundColour) << "\n  }\n\n";
}

void VrmlWriter::Record(TextOut& out, const ExportContext& context, const RecordEntry& entry) {
  const doc::SurveyRecord& r = entry.record;
  if (r.colour == 0 || base::TextOf(r.point).empty() || !entry.visible.Any() || r.length == 0) return;
  const auto found = m_firstTo.find(Station{r.refCave, r.refPassage, base::TextOf(r.refPoint)});
  if (found == m_firstTo.end()) return;
  const doc::SurveyRecord& before = *context.store.records[found->second];

  const double add = m_diameter / 200;
  const auto widen = [&](Section s) {
    if (s.right == -s.left) s.right += add, s.left += add;
    if (s.up == -s.down) s.up += add, s.down += add;
    if (m_form == 2) {
      s.right = std::max(s.right, (s.right + s.left) / 10);
      s.left = std::max(s.left, (s.right + s.left) / 10);
      s.down = std::max(s.down, (s.down + s.up) / 10);
      s.up = std::max(s.up, (s.down + s.up) / 10);
    }
    return s;
  };
  const Section start = widen({before.right, before.left, before.up, before.down});
  const Section end = widen({r.right, r.left, r.up, r.down});

  const auto place = [&](const std::vector<draw::Vec3>& ring, double azimuth, double elevation, draw::Vec3 at) {
    const double a = azimuth * kRingDegree, b = elevation * kRingDegree;
    const double cosA = std::cos(a), sinA = std::sin(a), cosB = std::cos(b), sinB = std::sin(b);
    std::string text;
    text.reserve(ring.size() * 32);
    for (const draw::Vec3& p : ring) {
      const draw::Vec3 q{at.x + p.x * cosA - p.y * sinA * sinB + m_shift.x,
                         at.y - p.x * sinA - p.y * cosA * sinB + m_shift.y, at.z + p.y * cosB + m_shift.z};
      if (!m_anyBody) {
        m_min = m_max = q;
        m_anyBody = true;
      }
      m_min = {std::min(m_min.x, q.x), std::min(m_min.y, q.y), std::min(m_min.z, q.z)};
      m_max = {std::max(m_max.x, q.x), std::max(m_max.y, q.y), std::max(m_max.z, q.z)};
      AppendFixed(text, q.x, 2);
      text += ' ';
      AppendFixed(text, q.y, 2);
      text += ' ';
      AppendFixed(text, q.z, 2);
      text += ", ";
    }
    return text;
  };
  const doc::CrossSection& c = r.crossSection;
  const std::string first = place(Ring(start, m_faces, m_form, c.acuteJunction == 1, m_circle), c.start.azimuth,
                                  c.start.elevation, {r.refX, r.refY, r.refZ});
  const std::string last =
      place(Ring(end, m_faces, m_form, false, m_circle), c.end.azimuth, c.end.elevation, {r.x, r.y, r.z});

  const doc::DocumentSettings& s = context.store.settings;
  const int ci = ColourIndex(context.DrawnColour(entry.index));
  const int loopClass = context.DrawnLoopClass(entry.index);
  uint32_t colour =
      draw::IsFalseColourMode(context.worksheet.lineColourMode()) ? s.falseColours[ci - 1] : s.lineColours[ci - 1];
  if (loopClass != 0) colour = LoopClassRgb(s, loopClass);
  if (colour == 0 && context.worksheet.blackBackground() != 0) colour = 0xFFFFFF;
  const std::string farbe = Rgb(colour);
  if (r.drawFlags[0]) out << "  Ebene { farbe " << farbe << " ecken [" << first << "] }\n";
  out << "  Gang { farbe " << farbe << " ecken [" << first << last << "] }\n";
  if (r.drawFlags[1]) out << "  Ebene { farbe " << farbe << " ecken [" << last << "] }\n";
}

void VrmlWriter::End(TextOut& out, const ExportContext& context) {
  const doc::Worksheet& ws = context.worksheet;
  if (m_anyBody && ws.showFrame() != 0) {
    const auto corner = [](double x, double y, double z) {
      return Fixed(x, 2) + " " + Fixed(y, 2) + " " + Fixed(z, 2) + ", ";
    };
    out << "\n  Rahmen { farbe " << Rgb(context.store.settings.frameColour) << " ecken ["
        << corner(m_min.x, m_min.y, m_min.z) << corner(m_min.x, m_max.y, m_min.z) << corner(m_min.x, m_max.y, m_max.z)
        << corner(m_min.x, m_min.y, m_max.z) << corner(m_max.x, m_min.y, m_min.z) << corner(m_max.x, m_max.y, m_min.z)
        << corner(m_max.x, m_max.y, m_max.z) << corner(m_max.x, m_min.y, m_max.z) << "] }\n";
  }
  out << " ]\n}\n";

  const auto viewpoint = [&](const std::string& indent, double azimuth, double inclination, double distance, double x,
                             double y, double z, int number) {
    const double reach = 1.5 * distance + m_sceneSize;
    const std::string sub = indent.empty() ? "" : " ";
    out << "\nTransform {\n"
        << indent << "translation " << Fixed(x + m_shift.x, 2) << " " << Fixed(z + m_shift.z, 2) << " "
        << Fixed(-(y + m_shift.y), 2) << "\n"
        << indent << "rotation 0 1 0 " << Fixed(-azimuth * kDegree, 6) << "\n"
        << indent << "children [\n"
        << (indent.empty() ? "\n" : "") << indent << sub << "Viewpoint { \n"
        << indent << sub << sub << "position 0 " << Fixed(-reach * std::sin(inclination * kDegree), 6) << " "
        << Fixed(reach * std::cos(inclination * kDegree), 6) << "\n"
        << indent << sub << sub << "orientation 1 0 0 " << Fixed(inclination * kDegree, 6) << "\n"
        << indent << sub << sub << "description\t\"Position " << std::to_string(number) << "\"\n"
        << indent << sub << "}\n"
        << indent << "]\n}\n";
  };
  int k = 0;
  for (const auto& p : ws.positions)
    viewpoint(" ", p->azimuth, p->inclination, p->distance, p->centreX, p->centreY, p->centreZ, ++k);
  if (ws.positions.empty()) {
    const draw::ViewPose pose = context.Pose();
    viewpoint("", pose.azimuth, pose.inclination, ws.viewDistance(), pose.centre.x, pose.centre.y, pose.centre.z, 0);
  }
}

}  // namespace hp::exports
