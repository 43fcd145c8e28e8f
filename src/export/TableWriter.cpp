// Table text: a header line of the column names, then one line per record
// with its 34 columns separated by tabs.
#include "base/Cp1252.h"
#include "base/FixedText.h"
#include "base/NumberFormat.h"
#include "export/Writers.h"
#include "export/WrittenValues.h"

namespace hp::exports {
namespace {

const std::string& Header() {
  static const std::string header = base::Utf8ToCp1252(
      "RHöhle\tRGang\tRPunkt\tHöhle\tGang\tPunkt\tStart\tEnde\tLänge\tAzimut\tNeigung\tLinks\tRechts\tOben\tUnten\t"
      "Gerät\tRichtung\tRing\tFarbe\tEbene\tDatum\tVermesser\tBezeichnung\tMaterial\tMaßnahmen\tBemerkung\t"
      "Datei/URL\tInclude-Datei\tRefX\tRefY\tRefZ\tX\tY\tZ\n");
  return header;
}

std::string Shown(double value) {
  std::string text = Fixed(value, 2);
  if (const size_t point = text.find('.'); point != std::string::npos) text[point] = ',';
  return text;
}
std::string Coordinate(double value) { return Shown(Q2(value)); }

}  // namespace

std::string TableWriter::Refusal(const ExportContext& context) const {
  return FirstUnwritableRecord(context, kStations | kReadings | kPassage);
}

void TableWriter::Begin(TextOut& out, const ExportContext&) { out << Header(); }

void TableWriter::Record(TextOut& out, const ExportContext& context, const RecordEntry& entry) {
  const bool all = context.includeMode == TableIncludes::All;
  const doc::SurveyRecord& r = entry.record;
  if (!all && r.fromInclude != 0) return;
  const char t = '\t';
  // A tab or a line end inside a text would move the columns or end the line.
  out << std::to_string(r.refCave) << t << std::to_string(r.refPassage) << t << LineText(base::TextOf(r.refPoint)) << t
      << std::to_string(r.cave) << t << std::to_string(r.passage) << t << LineText(base::TextOf(r.point)) << t
      << Shown(r.tapeStart) << t << Shown(r.tapeEnd) << t << Shown(r.length) << t << Shown(r.azimuth) << t
      << Shown(r.inclination) << t << Shown(r.left) << t << Shown(r.right) << t << Shown(r.up) << t << Shown(r.down)
      << t << std::to_string(r.instrument) << t << Shown(r.direction) << t << std::to_string(r.ring) << t
      << std::to_string(r.colour) << t << std::to_string(r.level) << t << LineText(base::TextOf(r.date)) << t
      << std::to_string(r.surveyor) << t << LineText(base::TextOf(r.description)) << t
      << LineText(base::TextOf(r.material)) << t << LineText(base::TextOf(r.measures)) << t
      << LineText(base::TextOf(r.remark)) << t << LineText(base::TextOf(r.fileUrl)) << t
      << (all ? std::string() : LineText(base::TextOf(r.includeFile))) << t << Coordinate(r.refX) << t
      << Coordinate(r.refY) << t << Coordinate(r.refZ) << t << Coordinate(r.x) << t << Coordinate(r.y) << t
      << Coordinate(r.z) << '\n';
}

}  // namespace hp::exports
