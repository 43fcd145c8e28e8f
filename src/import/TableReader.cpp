// The table import: the header's columns, the values carried from line to
// line, and one record for every data line that gives any value.
#include <algorithm>
#include <cstring>
#include <memory>

#include "base/Cp1252.h"
#include "base/FixedText.h"
#include "import/ImportLimits.h"
#include "import/TableColumns.h"
#include "import/TableReport.h"
#include "import/TextImport.h"

namespace hp::imports {
namespace {

using doc::SurveyRecord;

// Values a line keeps from the lines before it until it gives its own.
struct Carried {
  int32_t cave = 0;
  int32_t passage = 0;
  char point[13] = "0";
  int32_t instrument = 1;  // as read; the record gets 0 for numbers outside 0 to 16
  double direction = 1.0;
  int32_t colour = 1;
  int32_t level = 1;
  int32_t surveyor = 0;
  char date[12] = {};
};

// What a line gives besides the record's own fields.
struct LineValues {
  double x = 0, y = 0, z = 0;
  // A number the import cannot take: the line makes no record. A copy, as a
  // quoted field's text lives only until the next quoted field is read.
  std::string refused;
  bool hasRefused = false;
  size_t blanked = 0;  // text fields whose control characters became blanks
};

// A field that a spreadsheet quoted: it starts with a double quote, every
// quote inside is doubled, and the closing quote is followed by the
// separator or the line's end. True with the field's text in `text` and the
// start of the next field in `next` (npos when the line ends); false for a
// field that only begins with a quote, which is then read as it stands.
bool Unquote(std::string_view line, size_t start, char separator, std::string& text, size_t& next) {
  text.clear();
  for (size_t i = start + 1; i < line.size(); ++i) {
    if (line[i] != '"') {
      text.push_back(line[i]);
    } else if (i + 1 < line.size() && line[i + 1] == '"') {
      text.push_back('"');
      ++i;
    } else if (i + 1 == line.size() || line[i + 1] == separator) {
      next = i + 1 == line.size() ? std::string_view::npos : i + 2;
      return true;
    } else {
      return false;
    }
  }
  return false;
}

// Calls `visit(n, field)` for the first `count` fields; `scratch` holds the
// text of a quoted field while it is visited.
template <class Visit>
void ForEachField(std::string_view line, char separator, size_t count, std::string& scratch, Visit&& visit) {
  size_t start = 0;
  for (size_t n = 0; n < count; ++n) {
    std::string_view field;
    size_t next = std::string_view::npos;
    if (start < line.size() && line[start] == '"' && Unquote(line, start, separator, scratch, next)) {
      field = scratch;
    } else {
      const size_t end = line.find(separator, start);
      field = line.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
      if (end != std::string_view::npos) next = end + 1;
    }
    visit(n, field);
    if (next == std::string_view::npos) break;
    start = next;
  }
}

// A carriage return never belongs to the last field.
std::string_view WithoutReturn(std::string_view line) {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  return line;
}

size_t KnownColumns(std::string_view header, char separator) {
  size_t known = 0;
  std::string scratch;
  ForEachField(header, separator, kMaxTableFields, scratch,
               [&](size_t, std::string_view field) { known += TableColumnOf(field) != TableColumn::Ignored; });
  return known;
}

// Tabs separate the fields. A header without a tab may come from a
// spreadsheet's CSV file: semicolons (German settings) or commas separate
// its fields when that names more known columns than the whole line does.
// A header that names no column either way is split at the more frequent
// of the two, so that the refusal tells what the file holds.
char ChooseSeparator(std::string_view header) {
  if (header.find('\t') != std::string_view::npos) return '\t';
  char separator = '\t';
  size_t best = KnownColumns(header, '\t');
  for (const char candidate : {';', ','}) {
    if (header.find(candidate) == std::string_view::npos) continue;
    const size_t known = KnownColumns(header, candidate);
    if (known > best) separator = candidate, best = known;
  }
  if (best == 0) {
    const auto semicolons = std::count(header.begin(), header.end(), ';');
    const auto commas = std::count(header.begin(), header.end(), ',');
    if (semicolons > 0 || commas > 0) separator = semicolons >= commas ? ';' : ',';
  }
  return separator;
}

std::vector<TableColumn> ReadHeader(std::string_view header, TableReport& report) {
  constexpr size_t kShownFields = 6;
  header = WithoutReturn(header);
  report.separator = ChooseSeparator(header);
  std::vector<TableColumn> columns;
  std::string scratch;
  ForEachField(header, report.separator, kMaxTableFields, scratch, [&](size_t, std::string_view field) {
    const TableColumn column = TableColumnOf(field);
    if (column == TableColumn::Ignored && !field.starts_with('_')) {
      report.unknownColumns.emplace_back(field);
    }
    if (report.headerFields.size() < kShownFields) {
      report.headerFields.push_back("\"" + ColumnNameForMessage(field) + "\"");
    }
    report.knownColumns += column != TableColumn::Ignored;
    columns.push_back(column);
  });
  report.fields = columns.size();
  return columns;
}

bool ReadInteger(std::string_view field, int32_t& target) {
  const auto value = ReadTableInteger(field);
  if (value) target = *value;
  return value.has_value();
}

bool ReadNumber(std::string_view field, double& target, LineValues& line) {
  const auto value = ReadTableNumber(field);
  if (!value) return false;
  if (!IsImportableNumber(*value)) {
    if (!line.hasRefused) line.refused = field;
    line.hasRefused = true;
    return false;
  }
  target = *value;
  return true;
}

bool HasControlCharacter(std::string_view text) {
  return std::any_of(text.begin(), text.end(), [](char c) {
    const auto b = static_cast<unsigned char>(c);
    return b < 0x20 || b == 0x7F || b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D;
  });
}

// Text fields keep no control character: a carriage return inside a name or
// a remark breaks the line-based files other programs read.
template <size_t N>
bool ReadText(std::string_view field, char (&target)[N], LineValues& line) {
  if (field.empty()) return false;
  if (HasControlCharacter(field)) {
    std::string text(field);
    base::BlankControlCharacters(text);
    base::SetText(target, text);
    ++line.blanked;
  } else {
    base::SetText(target, field);
  }
  return true;
}

// Reads one field into the record; true when the field counts as given.
bool ReadField(TableColumn column, std::string_view field, SurveyRecord& r, LineValues& at) {
  // The reference-coordinate columns are read, but the record's reference
  // coordinates come from the X, Y, Z columns like its own.
  double unused = 0;
  switch (column) {
    case TableColumn::Ignored: return false;
    case TableColumn::RefCave: return ReadInteger(field, r.refCave);
    case TableColumn::RefPassage: return ReadInteger(field, r.refPassage);
    case TableColumn::RefPoint: return ReadText(field, r.refPoint, at);
    case TableColumn::Cave: return ReadInteger(field, r.cave);
    case TableColumn::Passage: return ReadInteger(field, r.passage);
    case TableColumn::Point: return ReadText(field, r.point, at);
    case TableColumn::Length: return ReadNumber(field, r.length, at);
    case TableColumn::Azimuth: return ReadNumber(field, r.azimuth, at);
    case TableColumn::Inclination: return ReadNumber(field, r.inclination, at);
    case TableColumn::Instrument: return ReadInteger(field, r.instrument);
    case TableColumn::Direction: return ReadNumber(field, r.direction, at);
    case TableColumn::Colour: return ReadInteger(field, r.colour);
    case TableColumn::Level: return ReadInteger(field, r.level);
    case TableColumn::Ring: return ReadInteger(field, r.ring);
    case TableColumn::RefX:
    case TableColumn::RefY:
    case TableColumn::RefZ: return ReadNumber(field, unused, at);
    case TableColumn::X: return ReadNumber(field, at.x, at);
    case TableColumn::Y: return ReadNumber(field, at.y, at);
    case TableColumn::Z: return ReadNumber(field, at.z, at);
    case TableColumn::Left: return ReadNumber(field, r.left, at);
    case TableColumn::Right: return ReadNumber(field, r.right, at);
    case TableColumn::Up: return ReadNumber(field, r.up, at);
    case TableColumn::Down: return ReadNumber(field, r.down, at);
    case TableColumn::Description: return ReadText(field, r.description, at);
    case TableColumn::Date:
      if (field.empty()) return false;
      base::SetText(r.date, ReadTableDate(field));  // an invalid date clears it
      return true;
    case TableColumn::Material: return ReadText(field, r.material, at);
    case TableColumn::Measures: return ReadText(field, r.measures, at);
    case TableColumn::Remark: return ReadText(field, r.remark, at);
    case TableColumn::FileUrl: return ReadText(field, r.fileUrl, at);
    case TableColumn::IncludeFile: return ReadText(field, r.includeFile, at);
    case TableColumn::TapeStart: return ReadNumber(field, r.tapeStart, at);
    case TableColumn::TapeEnd: return ReadNumber(field, r.tapeEnd, at);
    case TableColumn::Surveyor: return ReadInteger(field, r.surveyor);
  }
  return false;
}

// A fresh record for a line: the previous line's station as its reference,
// no point of its own yet, the carried values; everything else at the
// record defaults, which are also the values a line starts from.
void StartLine(SurveyRecord& r, const Carried& carried) {
  doc::InitRecord(r);
  r.refCave = r.cave = carried.cave;
  r.refPassage = r.passage = carried.passage;
  std::memcpy(r.refPoint, carried.point, sizeof r.refPoint);
  r.instrument = carried.instrument;
  r.direction = carried.direction;
  r.colour = carried.colour;
  r.level = carried.level;
  r.surveyor = carried.surveyor;
  std::memcpy(r.date, carried.date, sizeof r.date);
}

void Carry(const SurveyRecord& r, Carried& carried) {
  carried.cave = r.cave;
  carried.passage = r.passage;
  std::memcpy(carried.point, r.point, sizeof carried.point);
  carried.instrument = r.instrument;
  carried.direction = r.direction;
  carried.colour = r.colour;
  carried.level = r.level;
  carried.surveyor = r.surveyor;
  std::memcpy(carried.date, r.date, sizeof carried.date);
}

void FinishRecord(SurveyRecord& r, const LineValues& at) {
  if (r.instrument < 0 || r.instrument > 16) r.instrument = 0;
  r.x = r.refX = at.x;
  r.y = r.refY = at.y;
  r.z = r.refZ = at.z;
  r.developed.from = r.developed.to = {at.x, at.y, at.z};
}

// The point names of a line as the file wrote them, for a line whose
// conversion replaced something: the fields of the point columns in the
// line's UTF-8 original, blanked as the stored names are.
void OriginalNames(const LineConversion& replaced, const std::vector<TableColumn>& columns, char separator,
                   std::string& point, std::string& refPoint) {
  std::string scratch;
  ForEachField(WithoutReturn(replaced.original), separator, columns.size(), scratch,
               [&](size_t n, std::string_view field) {
                 if (columns[n] == TableColumn::Point) point.assign(field);
                 if (columns[n] == TableColumn::RefPoint) refPoint.assign(field);
               });
  for (std::string* name : {&point, &refPoint}) {
    for (char& c : *name) {
      if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
    }
  }
}

bool HoldsQuestionMark(const char* text) { return std::strchr(text, '?') != nullptr; }

}  // namespace

void ReadTable(doc::SurveyStore& store, std::string_view header, LineSource& dataLines, size_t maxRecords,
               TableReport& report) {
  const size_t before = store.records.size();
  const std::vector<TableColumn> columns = ReadHeader(header, report);
  const bool hasPoint = std::find(columns.begin(), columns.end(), TableColumn::Point) != columns.end();
  const bool hasRefPoint = std::find(columns.begin(), columns.end(), TableColumn::RefPoint) != columns.end();
  Carried carried;
  std::unique_ptr<SurveyRecord> record;  // kept for the next line when a line gives nothing
  std::string line, scratch;
  size_t lineNumber = 1;
  for (; dataLines.Next(line); ++report.dataLines) {
    ++lineNumber;
    const LineConversion* replaced = dataLines.Replaced();
    if (replaced && replaced->malformedBytes > 0) {
      report.malformedBytes += replaced->malformedBytes;
      if (report.malformedLineCount++ < 10) report.malformedLines.push_back(lineNumber);
    }
    if (!record) record = std::make_unique<SurveyRecord>();
    StartLine(*record, carried);
    LineValues at;
    bool given = false;
    bool pointGiven = false, refPointGiven = false;
    ForEachField(WithoutReturn(line), report.separator, columns.size(), scratch, [&](size_t n, std::string_view field) {
      const bool read = ReadField(columns[n], field, *record, at);
      given |= read;
      pointGiven |= read && columns[n] == TableColumn::Point;
      refPointGiven |= read && columns[n] == TableColumn::RefPoint;
    });
    if (at.hasRefused) report.refused.Add(lineNumber, at.refused);
    // A line without values (or with a number it cannot take) leaves the
    // carried values, the point included, as they were: the next line
    // continues from the same station.
    if (!given || at.hasRefused) continue;
    if (at.blanked > 0 && report.blankedFields == 0) report.firstBlankedLine = lineNumber;
    report.blankedFields += at.blanked;
    // Only a line that lost characters, or a name holding "?", can make
    // two names equal.
    const bool questionable = replaced || HoldsQuestionMark(record->point) || HoldsQuestionMark(record->refPoint);
    if ((hasPoint || hasRefPoint) && questionable) {
      std::string point, refPoint;
      if (replaced) OriginalNames(*replaced, columns, report.separator, point, refPoint);
      if (pointGiven) report.stations.Add(lineNumber, base::TextOf(record->point), point);
      if (refPointGiven) report.stations.Add(lineNumber, base::TextOf(record->refPoint), refPoint);
    }
    ++report.records;
    Carry(*record, carried);
    // Past the limit the lines are still read, to tell how many records
    // the file would need, but no record is kept.
    if (store.records.size() >= maxRecords) continue;
    FinishRecord(*record, at);
    store.records.push_back(std::move(record));
    ++store.settings.recordCount;
    store.settings.computedCurrent = 0;
  }
  report.needed = before + report.records;
}

bool ReadTableLines(doc::SurveyStore& store, std::string_view header, LineSource& dataLines,
                    platform::Prompter& prompter, size_t maxRecords) {
  TableReport report;
  ReadTable(store, header, dataLines, maxRecords, report);
  if (const std::string notes = report.Notes(); !notes.empty()) {
    prompter.Message(notes, platform::Icon::Exclamation);
  }
  return report.needed <= maxRecords;
}

bool ReadTableLines(doc::SurveyStore& store, const std::vector<std::string>& lines, platform::Prompter& prompter,
                    size_t maxRecords) {
  if (lines.empty()) return true;
  LineList dataLines(lines, 1);
  return ReadTableLines(store, lines.front(), dataLines, prompter, maxRecords);
}

}  // namespace hp::imports
