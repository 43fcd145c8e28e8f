// DXF for cave cadastre drawings: per record a leg line, a station block, the
// passage and point texts and, where the view shows them, cross-section
// blocks with the passage width and height. Only x and y are written.
#include <charconv>
#include <cmath>
#include <string>

#include "base/FixedText.h"
#include "export/Writers.h"
#include "export/WrittenValues.h"

namespace hp::exports {
namespace {

std::string Padded4(long value) {
  const std::string text = "0000" + std::to_string(value);
  return text.substr(text.size() - 4);
}

}  // namespace

std::string General(double value) {
  if (!std::isfinite(value)) return std::string(1, kUnwritableNumber);
  char text[32];
  const auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::general, 6);
  return std::string(text, result.ptr);
}

std::string DxfCaveCadWriter::Refusal(const ExportContext& context) const {
  return FirstUnwritableRecord(context, kStations | kPassage | kSection);
}

void DxfCaveCadWriter::Begin(TextOut& out, const ExportContext& context) {
  const doc::DisplayType type = context.worksheet.displayType();
  m_view = type == doc::DisplayType::Plan ? 'G' : type == doc::DisplayType::Section ? 'L' : 'A';
  const std::string area = ("0000" + std::to_string(context.store.settings.cadastreNumber)).substr(0, 8);
  m_area = area.substr(area.size() - 4);
  const double s = context.worksheet.scaleDenominator();
  if (s <= 100) {
    m_marker = 0.2, m_label = 0.3, m_passageText = 0.24;
  } else if (s <= 250) {
    m_marker = 0.4, m_label = 0.6, m_passageText = 0.48;
  } else if (s <= 500) {
    m_marker = 0.63, m_label = 0.945, m_passageText = 0.756;
  } else {
    m_marker = 1.0, m_label = 1.5, m_passageText = 1.2;
  }
  out << "  0\nSECTION\n  2\nENTITIES\n";
}

void DxfCaveCadWriter::Record(TextOut& out, const ExportContext& context, const RecordEntry& entry) {
  const doc::SurveyRecord& r = entry.record;
  if (r.colour == 0 || base::TextOf(r.point).empty() || !entry.visible.Any()) return;
  const draw::ProjectionSlots slots = context.Slots(entry.index);
  const std::string x1 = Fixed(Q2(slots.from.x), 2), y1 = Fixed(Q2(slots.from.y), 2);
  const std::string x2 = Fixed(Q2(slots.to.x), 2), y2 = Fixed(Q2(slots.to.y), 2);

  double w1 = 0, w2 = 0, height = 0, theta = 0;
  const doc::DisplayType type = context.worksheet.displayType();
  if (type == doc::DisplayType::Plan) {
    w1 = Q2(r.left);
    w2 = -Q2(r.right);
    height = Q1(r.up + r.down);
    theta = -Q2(r.crossSection.end.azimuth);
  } else if (type == doc::DisplayType::Section) {
    if (r.crossSection.developedElevation > 0) {
      w1 = Q2(r.down);
      w2 = -Q2(r.up);
      theta = Q2(r.crossSection.developedElevation) + 90;
    }
  } else if (type == doc::DisplayType::Elevation) {
    if (std::fabs(r.crossSection.end.elevation) <= 0.01) {
      w1 = Q2(r.down);
      w2 = -Q2(r.up);
      theta = 90 - Q2(r.crossSection.end.elevation);
    }
  }

  const std::string layer = std::string(1, m_view) + m_area + "-" + Padded4(r.cave) + "_" + Padded4(r.passage);
  const std::string m = General(m_marker), t = General(m_label);
  out << "  0\nLINE\n  8\n"
      << layer << "VL\n 10\n"
      << x1 << "\n 20\n"
      << y1 << "\n 11\n"
      << x2 << "\n 21\n"
      << y2 << "\n";
  out << "  0\nINSERT\n  8\n"
      << layer << "VM\n 10\n"
      << x2 << "\n 20\n"
      << y2 << "\n 41\n"
      << m << "\n 42\n"
      << m << "\n 43\n"
      << m << "\n  2\nVM\n";
  out << "  0\nTEXT\n  8\n"
      << layer << "BM\n 10\n0.0\n 20\n0.0\n 72\n     2\n 11\n"
      << x2 << "\n 21\n"
      << y2 << "\n 40\n"
      << General(m_passageText) << "\n 41\n0.68\n 51\n10.0\n  7\nBM\n  1\n"
      << std::to_string(r.passage) << "_\n";
  out << "  0\nTEXT\n  8\n"
      << layer << "BP\n 10\n"
      << x2 << "\n 20\n"
      << y2 << "\n 40\n"
      << t << "\n 41\n0.8\n  7\nBP\n  1\n"
      << LineText(base::TextOf(r.point)) << "\n";
  const auto widthBlock = [&](double w) {
    out << "  0\nINSERT\n  8\n"
        << layer << "HR\n 10\n"
        << x2 << "\n 20\n"
        << y2 << "\n 41\n"
        << Fixed(w, 2) << "\n 42\n"
        << m << "\n 50\n"
        << Fixed(theta, 2) << "\n  2\nHR\n";
  };
  if (w1 >= 0.01) widthBlock(w1);
  if (w2 <= -0.01) widthBlock(w2);
  if (height >= 0.01) {
    out << "  0\nINSERT\n  8\n"
        << layer << "BH\n 66\n     1\n 10\n"
        << x2 << "\n 20\n"
        << y2 << "\n 41\n"
        << m << "\n 42\n"
        << m << "\n 43\n"
        << m << "\n  2\nBH\n";
    out << "  0\nATTRIB\n  8\n"
        << layer << "BH\n 70\n     0\n 10\n0.000\n 20\n0.000\n 72\n     4\n 11\n"
        << x2 << "\n 21\n"
        << y2 << "\n 40\n"
        << t << "\n 41\n0.700\n  2\nBH\n  7\nBH\n  1\n"
        << Fixed(height, 1) << "\n  0\nSEQEND\n";
  }
}

void DxfCaveCadWriter::End(TextOut& out, const ExportContext&) { out << "  0\nENDSEC\n  0\nEOF\n"; }

}  // namespace hp::exports
