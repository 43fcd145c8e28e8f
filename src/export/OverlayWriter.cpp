// Overlay file: one line symbol per leg, then the symbol count.
#include <string>

#include "base/FixedText.h"
#include "export/Writers.h"
#include "export/WrittenValues.h"
#include "geo/Utm.h"

namespace hp::exports {

std::string OverlayWriter::Refusal(const ExportContext& context) const {
  return FirstUnwritableRecord(context, kGeographic);
}

void OverlayWriter::Record(TextOut& out, const ExportContext& context, const RecordEntry& entry) {
  const doc::SurveyRecord& r = entry.record;
  if (r.colour == 0 || base::TextOf(r.point).empty() || !entry.visible.Any()) return;
  const doc::DocumentSettings& s = context.store.settings;
  const auto from = geo::UtmToGeographic(static_cast<int>(s.utmZone), s.utmBand[0], r.refX, r.refY);
  const auto to = geo::UtmToGeographic(static_cast<int>(s.utmZone), s.utmBand[0], r.x, r.y);
  ++m_inGroup;
  ++m_symbols;
  if (m_inGroup >= 255 || r.cave != m_lastCave) {
    ++m_group;
    m_inGroup = 0;
  }
  m_lastCave = r.cave;
  out << "[Symbol " << std::to_string(m_symbols) << "]\nTyp=3\nGroup=" << std::to_string(m_group)
      << "\nCol=1\nZoom=1\nSize=" << std::to_string(context.worksheet.lineWidth() + 100)
      << "\nArt=1\nPunkte=2\nXKoord0=" << Fixed(from.longitude, 7) << "\nYKoord0=" << Fixed(from.latitude, 7)
      << "\nXKoord1=" << Fixed(to.longitude, 7) << "\nYKoord1=" << Fixed(to.latitude, 7) << "\n";
}

void OverlayWriter::End(TextOut& out, const ExportContext&) {
  out << "[Overlay]\nSymbols=" << std::to_string(m_symbols) << "\n";
}

}  // namespace hp::exports
