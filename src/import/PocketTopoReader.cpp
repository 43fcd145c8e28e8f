// Reading the PocketTopo text export: trips, fixed points and shots become
// survey records; repeated shots are averaged, backsights and legs numbered
// backwards are turned around, splays are kept as auxiliary lines.
#include <charconv>
#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>

#include "base/FixedText.h"
#include "base/NumberFormat.h"
#include "import/TextImport.h"

namespace hp::imports {
namespace {

constexpr size_t kTripCount = 100;
constexpr double kFeet = 0.3048;

struct Station {
  int32_t passage = 0;
  std::string point;

  friend bool operator==(const Station&, const Station&) = default;
};

// The columns first..last (inclusive) of a line; what is there of them on a
// short line.
std::string_view Column(std::string_view line, size_t first, size_t last) {
  if (first >= line.size()) return line.substr(line.size());
  return line.substr(first, last - first + 1);
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

std::string_view TrimLeft(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  return text;
}

std::string_view Trim(std::string_view text) {
  text = TrimLeft(text);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

bool IsEmptyLine(std::string_view line) { return line.empty() || line.front() == '\r'; }

// A number at the start of a field, as the export's readers have always read
// them: leading blanks skipped, anything after the number ignored. "inf",
// "nan" and numbers beyond a double's range (as infinity) come back as read:
// the caller refuses them with IsImportableNumber.
std::optional<double> ReadDouble(std::string_view field) {
  field = TrimLeft(field);
  if (field.starts_with('+')) field.remove_prefix(1);
  double value = 0;
  const auto result = std::from_chars(field.data(), field.data() + field.size(), value);
  if (result.ec == std::errc::result_out_of_range) return std::numeric_limits<double>::infinity();
  if (result.ec != std::errc() || result.ptr == field.data()) return std::nullopt;
  return value;
}

std::optional<int> ReadInt(std::string_view field) {
  field = TrimLeft(field);
  if (field.starts_with('+')) field.remove_prefix(1);
  int value = 0;
  const auto result = std::from_chars(field.data(), field.data() + field.size(), value);
  if (result.ec != std::errc() || result.ptr == field.data()) return std::nullopt;
  return value;
}

// "12.3" is point "3" of passage 12; a name without a passage is in passage 0.
Station ReadStation(std::string_view field) {
  const std::string_view name = Trim(field);
  Station station;
  const size_t dot = name.find('.');
  if (dot == std::string_view::npos) {
    station.point = std::string(name);
  } else {
    if (dot > 0) station.passage = ReadInt(name.substr(0, dot)).value_or(0);
    station.point = std::string(name.substr(dot + 1));
  }
  return station;
}

// The text between the first double quote and the next one (or the end).
std::string_view Comment(std::string_view line) {
  const size_t open = line.find('"');
  if (open == std::string_view::npos) return line.substr(line.size());
  const std::string_view rest = line.substr(open + 1);
  return rest.substr(0, rest.find('"'));
}

// The trip number in square brackets before any comment.
std::optional<int> TripReference(std::string_view line) {
  line = line.substr(0, line.find('"'));
  const size_t open = line.find('[');
  if (open == std::string_view::npos) return std::nullopt;
  const size_t close = line.find(']', open);
  if (close == std::string_view::npos) return std::nullopt;
  return ReadInt(line.substr(open + 1, close - open - 1));
}

class PocketTopoReader {
 public:
  PocketTopoReader(doc::SurveyStore& store, const std::vector<std::string>& lines, size_t maxRecords)
      : m_store(store), m_lines(lines), m_maxRecords(maxRecords) {}

  // False when the records would have passed the limit.
  bool Read() {
    if (m_lines.empty()) return true;
    const std::string_view header = m_lines[0];
    m_gon = header.find(", 400)") != std::string_view::npos;
    m_feet = header.find("(feet,") != std::string_view::npos;
    m_instrument = m_gon ? 2 : 1;
    m_halfCircle = m_gon ? 200.0 : 180.0;
    m_fullCircle = 2 * m_halfCircle;
    m_wrapLimit = m_fullCircle - 10.0;

    size_t i = 2;
    for (; i < m_lines.size() && !IsEmptyLine(m_lines[i]); ++i) ReadTrip(m_lines[i]);
    for (++i; i < m_lines.size() && !IsEmptyLine(m_lines[i]) && !m_full; ++i) ReadFixedPoint(m_lines[i], i + 1);
    for (++i; i < m_lines.size() && !IsEmptyLine(m_lines[i]) && !m_full; ++i) ReadShot(m_lines[i], i + 1);
    return !m_full;
  }

  const RefusedLines& refused() const { return m_refused; }

 private:
  void ReadTrip(std::string_view line) {
    const size_t open = line.find('[');
    const size_t close = line.find(']');
    if (open == std::string_view::npos || close == std::string_view::npos || close < open) return;
    const std::optional<int> trip = ReadInt(line.substr(open + 1, close - open - 1));
    if (!trip || *trip < 1 || *trip > static_cast<int>(kTripCount)) return;
    // "[1]: yyyy/mm/dd"; the date moves right with a longer trip number.
    const size_t year = close + 3;
    std::string date(Column(line, year + 8, year + 9));
    date.append(".").append(Column(line, year + 5, year + 6)).append(".").append(Column(line, year, year + 3));
    m_tripDates[*trip - 1] = std::move(date);
  }

  void ReadFixedPoint(std::string_view line, size_t lineNumber) {
    const Station station = ReadStation(Column(line, 0, 10));
    double x = 0, y = 0, z = 0;
    if (!ReadCoordinate(Column(line, 14, 25), x, lineNumber) || !ReadCoordinate(Column(line, 28, 39), y, lineNumber) ||
        !ReadCoordinate(Column(line, 41, 48), z, lineNumber) || Full(1)) {
      return;
    }
    doc::SurveyRecord& record = Append();
    SetStations(record, station, station);
    record.refX = record.x = record.calcA[0] = record.calcA[3] = x;
    record.refY = record.y = record.calcA[1] = record.calcA[4] = y;
    record.refZ = record.z = record.calcA[2] = record.calcA[5] = z;
    base::SetText(record.description, Comment(line));
    base::SetText(record.date, m_tripDates[0]);
    record.colour = 2;
    m_firstRecord = true;
  }

  // An unreadable coordinate is 0; false (the line refused) for one out of
  // bounds.
  bool ReadCoordinate(std::string_view field, double& value, size_t lineNumber) {
    std::string text(field);
    for (char& c : text) {
      if (c == ',') c = '.';
    }
    value = ReadDouble(text).value_or(0.0);
    return Importable(value, field, lineNumber);
  }

  bool Importable(double value, std::string_view field, size_t lineNumber) {
    if (IsImportableNumber(value)) return true;
    m_refused.Add(lineNumber, Trim(field));
    return false;
  }

  // Whether `count` more records would pass the limit; the reading then stops.
  bool Full(size_t count) {
    m_full = m_full || m_store.records.size() + count > m_maxRecords;
    return m_full;
  }

  void ReadShot(std::string_view line, size_t lineNumber) {
    // PocketTopo leaves emptied shots in the file without a from-station.
    if (Trim(Column(line, 0, 11)).empty()) return;
    const std::string_view fields[] = {Column(line, 25, 31), Column(line, 33, 39), Column(line, 41, 47)};
    std::optional<double> readings[3];
    for (size_t n = 0; n < 3; ++n) {
      readings[n] = ReadDouble(fields[n]);
      if (readings[n] && !Importable(*readings[n], fields[n], lineNumber)) return;
    }
    if (Full(m_firstRecord ? 1 : 2)) return;
    if (readings[0]) m_length = *readings[0];
    if (readings[1]) m_azimuth = *readings[1];
    if (readings[2]) m_inclination = *readings[2];
    double length = m_feet ? m_length * kFeet : m_length;
    double azimuth = m_azimuth;
    double inclination = m_inclination;

    Station from = ReadStation(Column(line, 0, 11));
    Station to;
    const bool side = Trim(Column(line, 12, 23)).empty();
    bool repeated = false;
    bool turnedBack = false;
    if (side) {
      to.passage = from.passage;
    } else {
      to = ReadStation(Column(line, 12, 23));
      const bool reversed = m_last != nullptr && from == m_previousTo && to == m_previousFrom;
      repeated = reversed || (m_last != nullptr && from == m_previousFrom && to == m_previousTo);
      const bool backwards = !repeated && from.passage == to.passage &&
                             base::LeadingInteger(to.point) + 1 == base::LeadingInteger(from.point);
      // A shot from a new station back to a known one is a backsight too:
      // taken literally it would leave its from-station, and everything
      // surveyed from it, without coordinates.
      const bool backToKnown = !repeated && !reversed && !backwards && !IsDefined(from) && IsDefined(to);
      turnedBack = backwards || backToKnown;
      if (reversed != turnedBack) {
        std::swap(from, to);
        azimuth += azimuth >= m_halfCircle ? -m_halfCircle : m_halfCircle;
        inclination = -inclination;
      }
    }

    std::string_view date = m_tripDates[0];
    if (const auto trip = TripReference(line); trip && *trip >= 1 && *trip <= static_cast<int>(kTripCount)) {
      date = m_tripDates[*trip - 1];
    }
    const std::string_view description = Comment(line);

    if (repeated) {
      Average(length, azimuth, inclination);
      return;
    }
    if (!m_firstRecord) {
      doc::SurveyRecord& reference = Append();
      SetStations(reference, from, from);
      SetShot(reference, length, azimuth, inclination, date, description);
      reference.colour = 2;
      m_firstRecord = true;
    }
    doc::SurveyRecord& record = Append();
    SetStations(record, from, to);
    SetShot(record, length, azimuth, inclination, date, description);
    record.colour = side ? 4 : 2;
    record.direction = side ? 0.0 : 1.0;
    record.calcB.reverse = turnedBack ? 1 : 0;
    m_last = &record;
    m_sumLength = length;
    m_sumAzimuth = azimuth;
    m_sumInclination = inclination;
    m_count = 1;
    m_previousFrom = std::move(from);
    m_previousTo = std::move(to);
  }

  // Folds a repeated shot into the record of its leg; azimuths on both
  // sides of north are brought together before they are summed.
  void Average(double length, double azimuth, double inclination) {
    m_sumLength += length;
    m_sumInclination += inclination;
    const double mean = m_sumAzimuth / m_count;
    if (mean > m_wrapLimit && azimuth < 10.0) {
      m_sumAzimuth += azimuth + m_fullCircle;
    } else if (mean < 10.0 && azimuth > m_wrapLimit) {
      m_sumAzimuth += azimuth - m_fullCircle;
    } else {
      m_sumAzimuth += azimuth;
    }
    ++m_count;
    m_last->length = m_sumLength / m_count;
    m_last->inclination = m_sumInclination / m_count;
    double meanAzimuth = m_sumAzimuth / m_count;
    if (meanAzimuth < 0) {
      meanAzimuth += m_fullCircle;
    } else if (meanAzimuth >= m_fullCircle) {
      meanAzimuth -= m_fullCircle;
    }
    m_last->azimuth = meanAzimuth;
  }

  doc::SurveyRecord& Append() {
    auto record = std::make_unique<doc::SurveyRecord>();
    record->instrument = m_instrument;
    doc::SurveyRecord& added = *record;
    m_store.records.push_back(std::move(record));
    ++m_store.settings.recordCount;
    m_store.settings.computedCurrent = 0;
    return added;
  }

  void SetStations(doc::SurveyRecord& record, const Station& ref, const Station& station) {
    record.refPassage = ref.passage;
    base::SetText(record.refPoint, ref.point);
    record.passage = station.passage;
    base::SetText(record.point, station.point);
    if (record.point[0] != 0) m_defined.insert(Key(record.passage, base::TextOf(record.point)));
  }

  static void SetShot(doc::SurveyRecord& record, double length, double azimuth, double inclination,
                      std::string_view date, std::string_view description) {
    record.length = length;
    record.azimuth = azimuth;
    record.inclination = inclination;
    base::SetText(record.date, date);
    base::SetText(record.description, description);
  }

  // Stations are kept as stored: a name longer than a record holds is cut.
  static std::string Key(int32_t passage, std::string_view point) {
    std::string key = std::to_string(passage);
    key.push_back('.');
    key.append(point.substr(0, 12));
    return key;
  }

  bool IsDefined(const Station& station) const {
    return !station.point.empty() && m_defined.contains(Key(station.passage, station.point));
  }

  doc::SurveyStore& m_store;
  const std::vector<std::string>& m_lines;
  size_t m_maxRecords;
  bool m_full = false;
  RefusedLines m_refused;

  bool m_gon = false;
  bool m_feet = false;
  int32_t m_instrument = 1;
  double m_halfCircle = 180.0;
  double m_fullCircle = 360.0;
  double m_wrapLimit = 350.0;
  std::string m_tripDates[kTripCount];

  bool m_firstRecord = false;
  std::unordered_set<std::string> m_defined;

  // Readings carried to the next shot when a field cannot be read.
  double m_length = 0;
  double m_azimuth = 0;
  double m_inclination = 0;

  Station m_previousFrom{-1234, "-1234"};
  Station m_previousTo{-1234, "-1234"};
  doc::SurveyRecord* m_last = nullptr;
  double m_sumLength = 0;
  double m_sumAzimuth = 0;
  double m_sumInclination = 0;
  int m_count = 0;
};

}  // namespace

bool ReadPocketTopoLines(doc::SurveyStore& store, const std::vector<std::string>& lines, platform::Prompter* prompter,
                         size_t maxRecords) {
  PocketTopoReader reader(store, lines, maxRecords);
  const bool complete = reader.Read();
  reader.refused().Report(prompter);
  return complete;
}

}  // namespace hp::imports
