// Standard DXF: the survey as the worksheet draws it, in metres, as LINE,
// CIRCLE, POINT and TEXT entities on layers named after the survey level.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "base/FixedText.h"
#include "draw/ViewTransform.h"
#include "export/Writers.h"
#include "export/WrittenValues.h"

namespace hp::exports {
namespace {

constexpr double kDegree = std::numbers::pi / 180;

struct P3 {
  double x, y, z;
  bool operator==(const P3&) const = default;
};

P3 Q(const draw::Vec3& v) { return {Q2(v.x), Q2(v.y), Q2(v.z)}; }

// The loop classes in the DXF colour index: green, yellow, orange, red, and
// grey for a leg in no loop.
int LoopClassAci(int loopClass) {
  constexpr int kAci[5] = {3, 2, 30, 1, 8};
  return kAci[std::clamp(loopClass, 1, 5) - 1];
}

void Line(TextOut& out, const std::string& layer, int ci, const P3& a, const P3& b) {
  out << "  0\nLINE\n  8\n"
      << layer << "\n 62\n"
      << std::to_string(ci) << "\n 10\n"
      << Fixed(a.x, 2) << "\n 20\n"
      << Fixed(a.y, 2) << "\n 30\n"
      << Fixed(a.z, 2) << "\n 11\n"
      << Fixed(b.x, 2) << "\n 21\n"
      << Fixed(b.y, 2) << "\n 31\n"
      << Fixed(b.z, 2) << "\n";
}

bool SameStation(const doc::SurveyRecord& r) {
  return base::TextOf(r.point) == base::TextOf(r.refPoint) && r.passage == r.refPassage && r.cave == r.refCave;
}

}  // namespace

std::string DxfStandardWriter::Refusal(const ExportContext& context) const {
  return FirstUnwritableRecord(context, kStations | kPassage | kWalls | kSection | kPath);
}

void DxfStandardWriter::Begin(TextOut& out, const ExportContext& context) {
  draw::ViewTransform view;
  view.ComputeExtents(context.store, context.worksheet);
  const draw::Extent& e = view.extent();
  const double d = std::max(4.0, std::hypot(e.max.x - e.min.x, e.max.y - e.min.y));
  m_h = context.worksheet.automaticScale() != 0 ? d / 250
                                                : std::min(d / 250, 0.002 * context.worksheet.scaleDenominator());
  out << "  0\nSECTION\n  2\nHEADER\n  9\n$ACADVER\n  1\nAC1002\n  0\nENDSEC\n"
         "  0\nSECTION\n  2\nTABLES\n  0\nENDSEC\n"
         "  0\nSECTION\n  2\nENTITIES\n";
}

void DxfStandardWriter::Record(TextOut& out, const ExportContext& context, const RecordEntry& entry) {
  const doc::SurveyRecord& r = entry.record;
  const doc::Worksheet& ws = context.worksheet;
  const bool named = !base::TextOf(r.point).empty();
  if (r.colour == 0 || (!named && ws.showAuxiliaryLines() == 0) || !entry.visible.Any()) return;
  const std::string level = std::to_string(r.level);
  const int loopClass = context.DrawnLoopClass(entry.index);
  const int ci = loopClass != 0 ? LoopClassAci(loopClass) : ColourIndex(context.DrawnColour(entry.index));
  const draw::ProjectionSlots slots = context.Slots(entry.index);
  const P3 p1 = Q(slots.from), p2 = Q(slots.to);
  const double h = m_h;

  if (entry.visible.line) Line(out, (named ? "Linien_" : "Hilfslinien_") + level, ci, p1, p2);

  if (ws.showCrossSections() != 0) {
    const std::string layer = "Querschnitte_" + level;
    if (ws.displayType() == doc::DisplayType::Plan) {
      for (int k = 0; k < 4; ++k) {
        const P3 wall{Q2(r.altCoords[3 * k]), Q2(r.altCoords[3 * k + 1]), Q2(r.altCoords[3 * k + 2])};
        if (!(wall == p2)) Line(out, layer, ci, p2, wall);
      }
    } else if (ws.displayType() == doc::DisplayType::Section) {
      const double a = r.crossSection.developedElevation;
      if (r.up != 0)
        Line(out, layer, ci, p2,
             {p2.x + Q2(r.up * std::cos((a + 90) * kDegree)), p2.y + Q2(r.up * std::sin((a + 90) * kDegree)), p2.z});
      if (r.down != 0)
        Line(
            out, layer, ci, p2,
            {p2.x + Q2(r.down * std::cos((a - 90) * kDegree)), p2.y + Q2(r.down * std::sin((a - 90) * kDegree)), p2.z});
    }
  }

  if (entry.visible.line && named) {
    const std::string layer = "Punkte_" + level;
    const int k = ws.stationMark();
    if (k == 1 && (p2.x != p1.x || p2.y != p1.y)) {
      const double phi = std::atan2(p2.y - p1.y, p2.x - p1.x);
      const double s = h / 2 * std::sin(phi), c = h / 2 * std::cos(phi);
      Line(out, layer, ci, {p2.x - s, p2.y + c, p2.z}, {p2.x + s, p2.y - c, p2.z});
    } else if ((k == 1 || ws.markCoordinateReferences() != 0) && SameStation(r)) {
      Line(out, layer, ci, {p2.x - h / 2, p2.y + h / 2, p2.z}, {p2.x + h / 2, p2.y - h / 2, p2.z});
      Line(out, layer, ci, {p2.x - h / 2, p2.y - h / 2, p2.z}, {p2.x + h / 2, p2.y + h / 2, p2.z});
    } else if (k == 2) {
      out << "  0\nCIRCLE\n  8\n"
          << layer << "\n 62\n"
          << std::to_string(ci) << "\n 10\n"
          << Fixed(p2.x, 2) << "\n 20\n"
          << Fixed(p2.y, 2) << "\n 30\n"
          << Fixed(p2.z, 2) << "\n 40\n"
          << Fixed(h / 2, 2) << "\n";
    } else {
      out << "  0\nPOINT\n  8\n"
          << layer << "\n 62\n"
          << std::to_string(ci) << "\n 10\n"
          << Fixed(p1.x, 2) << "\n 20\n"
          << Fixed(p1.y, 2) << "\n 30\n"
          << Fixed(p1.z, 2) << "\n";
    }
  }

  if (entry.visible.label && named) {
    const std::string label = context.LabelText(r);
    if (!label.empty())
      out << "  0\nTEXT\n  8\nTexte_" << level << "\n 62\n"
          << std::to_string(ci) << "\n 10\n"
          << Fixed(p2.x + 0.75 * h, 2) << "\n 20\n"
          << Fixed(p2.y + 0.75 * h, 2) << "\n 30\n"
          << Fixed(p2.z, 2) << "\n 40\n"
          << Fixed(h, 2) << "\n  1\n"
          << label << "\n";
  }
}

void DxfStandardWriter::End(TextOut& out, const ExportContext&) { out << "  0\nENDSEC\n  0\nEOF\n"; }

}  // namespace hp::exports
