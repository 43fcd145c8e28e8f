// The viewer data file: keyword lines with blank-separated values.
#include <algorithm>
#include <cstdlib>
#include <string>

#include "base/FixedText.h"
#include "draw/LineColours.h"
#include "draw/SpatialDrawing.h"
#include "draw/interaction/LegDisplayDialog.h"
#include "export/ProgramInfo.h"
#include "export/Writers.h"
#include "export/WrittenValues.h"

namespace hp::exports {
namespace {

// "%0.2lf" of q2 of each coordinate, each followed by a blank.
std::string Point(const draw::Vec3& p) {
  return Fixed(Q2(p.x), 2) + " " + Fixed(Q2(p.y), 2) + " " + Fixed(Q2(p.z), 2) + " ";
}

// A label between double quotes: markup characters and quotes are left out.
std::string Quoted(std::string_view text) {
  std::string out = "\"";
  for (const char c : text)
    if (c != '&' && c != '<' && c != '>' && c != '"') out += c;
  return out + "\"";
}

}  // namespace

std::string ViewerDataWriter::Refusal(const ExportContext& context) const {
  return FirstUnwritableRecord(context, kStations | kWalls | kPath);
}

void ViewerDataWriter::Begin(TextOut& out, const ExportContext& context) {
  const doc::Worksheet& ws = context.worksheet;
  const doc::DocumentSettings& s = context.store.settings;
  const draw::Vec3 reference = context.view.transform ? context.view.transform->referencePoint() : draw::Vec3{};
  m_shift = {ws.originX() - reference.x, ws.originY() - reference.y, ws.originZ() - reference.z};

  out << "/\n/         Hollowview\n/  " << kRights << "\n/  " << kWebAddress << "\n/\nversion \"" << kProgramVersion
      << "\"\n";
  out << "zoom " << General(ws.zoomPercent()) << "\nframes " << std::to_string(ws.picturesPerPosition()) << "\ntime "
      << std::to_string(context.settings.GetInt("Settings", "Animation", 20)) << "\nrepeat "
      << std::to_string(ws.endlessAnimation()) << "\npos " << std::to_string(ws.currentPositionNumber()) << "\ntext "
      << std::to_string(std::abs(s.fonts[3].height)) << "\nrotate "
      << std::to_string(std::clamp<int>(ws.labelAngleIndex(), 0, draw::kLabelAngleCount - 1) * 15) << "\nmeridian "
      << General(s.meridianConvergence) << "\nbackground "
      << std::to_string(ws.blackBackground() != 0 ? 0u : s.backgroundColour) << "\n";
  const bool falseColours = draw::IsFalseColourMode(ws.lineColourMode());
  out << "color 0 0\n";
  for (int n = 1; n <= 16; ++n) {
    uint32_t v = falseColours ? s.falseColours[n - 1] : s.lineColours[n - 1];
    if (v == 0 && ws.blackBackground() != 0) v = 16777215;
    out << "color " << std::to_string(n) << " " << std::to_string(v) << "\n";
  }
  out << "color 17 " << std::to_string(s.frameColour) << "\n";
}

void ViewerDataWriter::Record(TextOut& out, const ExportContext& context, const RecordEntry& entry) {
  const doc::SurveyRecord& r = entry.record;
  const doc::Worksheet& ws = context.worksheet;
  const bool named = !base::TextOf(r.point).empty();
  if (r.colour == 0 || (!named && ws.showAuxiliaryLines() == 0) || !entry.visible.Any()) return;
  const draw::Vec3 from{r.refX + m_shift.x, r.refY + m_shift.y, r.refZ + m_shift.z};
  const draw::Vec3 to{r.x + m_shift.x, r.y + m_shift.y, r.z + m_shift.z};
  const int c = context.DrawnColour(entry.index);
  int ci = ColourIndex(c);
  int st = c < 0 ? -1 : c >= 17 ? 1 : 0;
  // The worksheet stores "in the standard colour"; own colour is its inverse.
  const bool ownColour = ws.crossSectionsInStandardColour() == 0;
  const int sectionColour = draw::IsFalseColourMode(ws.lineColourMode()) ? 14 : 4;
  if (!ownColour && !named) ci = sectionColour, st = 0;
  out << "line " << Point(entry.visible.line ? from : to) << Point(to) << std::to_string(ci) << " "
      << std::to_string(st) << " "
      << (entry.visible.label && named ? Quoted(context.LabelText(r)) : std::string("\"\"")) << "\n";
  if (entry.visible.line && named && ws.showCrossSections() != 0) {
    if (!ownColour) ci = sectionColour, st = 0;
    for (int k = 0; k < 4; ++k) {
      const draw::Vec3 wall{r.altCoords[3 * k] + m_shift.x, r.altCoords[3 * k + 1] + m_shift.y,
                            r.altCoords[3 * k + 2] + m_shift.z};
      out << "line " << Point(to) << Point(wall) << std::to_string(ci) << " " << std::to_string(st) << " \"\"\n";
    }
  }
}

void ViewerDataWriter::End(TextOut& out, const ExportContext& context) {
  const doc::Worksheet& ws = context.worksheet;
  if (context.view.transform) {
    for (const draw::SpatialFrameLine& line : draw::SpatialFrameGeometry(*context.view.transform, ws)) {
      const draw::Vec3 a{line.from.x + m_shift.x, line.from.y + m_shift.y, line.from.z + m_shift.z};
      const draw::Vec3 b{line.to.x + m_shift.x, line.to.y + m_shift.y, line.to.z + m_shift.z};
      out << "line " << Point(a) << Point(b) << "17 0 \"" << line.text << "\"\n";
    }
  }
  const auto view = [&](double azimuth, double inclination, double distance, double x, double y, double z) {
    return Fixed(Q2(azimuth), 2) + " " + Fixed(Q2(inclination), 2) + " " + Fixed(Q2(distance), 2) + " " +
           Fixed(Q2(x + m_shift.x), 2) + " " + Fixed(Q2(y + m_shift.y), 2) + " " + Fixed(Q2(z + m_shift.z), 2);
  };
  for (const auto& p : ws.positions)
    out << "position " << view(p->azimuth, p->inclination, p->distance, p->centreX, p->centreY, p->centreZ) << "\n";
  const draw::ViewPose pose = context.Pose();
  out << "viewpos "
      << view(pose.azimuth, pose.inclination, ws.viewDistance(), pose.centre.x, pose.centre.y, pose.centre.z) << "\n";
}

}  // namespace hp::exports
