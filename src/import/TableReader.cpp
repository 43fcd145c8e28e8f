// The table import: the header's columns, the values carried from line to
// line, and one record for every data line that gives any value.
#include <cstring>
#include <memory>

#include "base/FixedText.h"
#include "import/ImportLimits.h"
#include "import/TableColumns.h"
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
  std::string_view refused;  // a number the import cannot take: the line makes no record
  bool hasRefused = false;
};

// Calls `visit(n, field)` for the first `count` tab-separated fields.
template <class Visit>
void ForEachField(std::string_view line, size_t count, Visit&& visit) {
  size_t start = 0;
  for (size_t n = 0; n < count; ++n) {
    const size_t tab = line.find('\t', start);
    visit(n, line.substr(start, tab == std::string_view::npos ? std::string_view::npos : tab - start));
    if (tab == std::string_view::npos) break;
    start = tab + 1;
  }
}

// A carriage return never belongs to the last field.
std::string_view WithoutReturn(std::string_view line) {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  return line;
}

std::vector<TableColumn> ReadHeader(std::string_view header, platform::Prompter& prompter) {
  std::vector<TableColumn> columns;
  ForEachField(WithoutReturn(header), kMaxTableFields, [&](size_t, std::string_view field) {
    const TableColumn column = TableColumnOf(field);
    if (column == TableColumn::Ignored && !field.starts_with('_')) {
      prompter.Message(UnknownColumnMessage(field), platform::Icon::Exclamation);
    }
    columns.push_back(column);
  });
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

template <size_t N>
bool ReadText(std::string_view field, char (&target)[N]) {
  if (field.empty()) return false;
  base::SetText(target, field);
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
    case TableColumn::RefPoint: return ReadText(field, r.refPoint);
    case TableColumn::Cave: return ReadInteger(field, r.cave);
    case TableColumn::Passage: return ReadInteger(field, r.passage);
    case TableColumn::Point: return ReadText(field, r.point);
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
    case TableColumn::Description: return ReadText(field, r.description);
    case TableColumn::Date:
      if (field.empty()) return false;
      base::SetText(r.date, ReadTableDate(field));  // an invalid date clears it
      return true;
    case TableColumn::Material: return ReadText(field, r.material);
    case TableColumn::Measures: return ReadText(field, r.measures);
    case TableColumn::Remark: return ReadText(field, r.remark);
    case TableColumn::FileUrl: return ReadText(field, r.fileUrl);
    case TableColumn::IncludeFile: return ReadText(field, r.includeFile);
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
  r.x = r.refX = r.calcA[0] = r.calcA[3] = at.x;
  r.y = r.refY = r.calcA[1] = r.calcA[4] = at.y;
  r.z = r.refZ = r.calcA[2] = r.calcA[5] = at.z;
}

}  // namespace

bool ReadTableLines(doc::SurveyStore& store, std::string_view header, LineSource& dataLines,
                    platform::Prompter& prompter, size_t maxRecords) {
  const std::vector<TableColumn> columns = ReadHeader(header, prompter);
  Carried carried;
  RefusedLines refused;
  bool complete = true;
  std::unique_ptr<SurveyRecord> record;  // kept for the next line when a line gives nothing
  std::string line;
  for (size_t lineNumber = 2; dataLines.Next(line); ++lineNumber) {
    if (!record) record = std::make_unique<SurveyRecord>();
    StartLine(*record, carried);
    LineValues at;
    bool given = false;
    ForEachField(WithoutReturn(line), columns.size(), [&](size_t n, std::string_view field) {
      given |= ReadField(columns[n], field, *record, at);
    });
    if (at.hasRefused) refused.Add(lineNumber, at.refused);
    // A line without values (or with a number it cannot take) leaves the
    // carried values, the point included, as they were: the next line
    // continues from the same station.
    if (!given || at.hasRefused) continue;
    if (store.records.size() >= maxRecords) {
      complete = false;
      break;
    }
    Carry(*record, carried);
    FinishRecord(*record, at);
    store.records.push_back(std::move(record));
    ++store.settings.recordCount;
    store.settings.computedCurrent = 0;
  }
  refused.Report(&prompter);
  return complete;
}

bool ReadTableLines(doc::SurveyStore& store, const std::vector<std::string>& lines, platform::Prompter& prompter,
                    size_t maxRecords) {
  if (lines.empty()) return true;
  LineList dataLines(lines, 1);
  return ReadTableLines(store, lines.front(), dataLines, prompter, maxRecords);
}

}  // namespace hp::imports
