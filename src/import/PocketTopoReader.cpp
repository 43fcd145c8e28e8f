// Reading the PocketTopo text export: trips, fixed points and shots become
// survey records; repeated shots are averaged, backsights and legs numbered
// backwards are turned around, splays are kept as auxiliary lines. Each
// trip's declination goes into an instrument entry, and the records are put
// in an order in which every reference station is defined before it is used.
#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <functional>
#include <limits>
#include <optional>
#include <queue>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "base/Cp1252.h"
#include "base/FixedText.h"
#include "base/NumberFormat.h"
#include "calc/LegReduction.h"
#include "import/DeclinationCarrier.h"
#include "import/TableReport.h"
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

// Stations are kept as stored: a name longer than a record holds is cut.
std::string StationKey(int32_t passage, std::string_view point) {
  std::string key = std::to_string(passage);
  key.push_back('.');
  key.append(point.substr(0, 12));
  return key;
}

std::string RefKey(const doc::SurveyRecord& r) { return StationKey(r.refPassage, base::TextOf(r.refPoint)); }
std::string Key(const doc::SurveyRecord& r) { return StationKey(r.passage, base::TextOf(r.point)); }

// The record then runs from its station to its reference; its reverse flag
// says whether it still runs as measured.
void TurnAround(doc::SurveyRecord& r, double halfCircle) {
  std::swap(r.refPassage, r.passage);
  std::swap(r.refPoint, r.point);
  r.azimuth += r.azimuth >= halfCircle ? -halfCircle : halfCircle;
  r.inclination = -r.inclination;
  r.calculator.reverse = r.calculator.reverse != 0 ? 0 : 1;
}

// Puts the records in the order of a walk over the survey from its first
// `references` records (fixed points, or the reference at the first shot): a
// record comes as soon as one of its stations is known, the earliest in the
// file first, so a file in a good order keeps it. A record whose station the
// walk reaches before its reference station is turned around. Records the
// walk never reaches follow in file order as they are.
void OrderFromReferences(std::vector<std::unique_ptr<doc::SurveyRecord>>& records, size_t references,
                         double halfCircle) {
  std::unordered_map<std::string, std::vector<size_t>> touching;
  for (size_t i = references; i < records.size(); ++i) {
    touching[RefKey(*records[i])].push_back(i);
    if (records[i]->point[0] != 0) touching[Key(*records[i])].push_back(i);
  }
  std::unordered_set<std::string> known;
  std::priority_queue<size_t, std::vector<size_t>, std::greater<>> ready;
  const auto reach = [&](const doc::SurveyRecord& r) {
    if (r.point[0] == 0 || !known.insert(Key(r)).second) return;
    if (const auto it = touching.find(Key(r)); it != touching.end()) {
      for (const size_t i : it->second) ready.push(i);
    }
  };
  std::vector<std::unique_ptr<doc::SurveyRecord>> ordered;
  ordered.reserve(records.size());
  for (size_t i = 0; i < references && i < records.size(); ++i) {
    reach(*records[i]);
    ordered.push_back(std::move(records[i]));
  }
  while (!ready.empty()) {
    const size_t i = ready.top();
    ready.pop();
    if (!records[i]) continue;  // placed already
    if (!known.contains(RefKey(*records[i]))) TurnAround(*records[i], halfCircle);
    reach(*records[i]);
    ordered.push_back(std::move(records[i]));
  }
  for (auto& record : records) {
    if (record) ordered.push_back(std::move(record));
  }
  records = std::move(ordered);
}

struct Trip {
  std::string date;
  std::optional<double> declination;  // added to the azimuths, in the file's angle unit
  std::optional<Carrier> carrier;     // chosen when the trip is first used
};

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

    OrderFromReferences(m_records, m_references, m_halfCircle);
    for (auto& record : m_records) {
      m_store.records.push_back(std::move(record));
      ++m_store.settings.recordCount;
      m_store.settings.computedCurrent = 0;
    }
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
    // "[1]: yyyy/mm/dd  declination"; the date moves right with a longer
    // trip number.
    const size_t year = close + 3;
    std::string date(Column(line, year + 8, year + 9));
    date.append(".").append(Column(line, year + 5, year + 6)).append(".").append(Column(line, year, year + 3));
    Trip& entry = m_trips[*trip - 1];
    entry.date = std::move(date);
    const std::string_view rest = Column(line, year + 10, line.size());
    // The export's declination is taken off the measured azimuths (a trip
    // in a cave with a westerly declination has a positive one); an
    // instrument's declination is added to them.
    const std::optional<double> declination = ReadDouble(rest.substr(0, rest.find('"')));
    if (declination && std::fabs(*declination) <= 400.0) entry.declination = 0.0 - *declination;  // never -0
  }

  void ReadFixedPoint(std::string_view line, size_t lineNumber) {
    const Station station = ReadStation(Column(line, 0, 10));
    double x = 0, y = 0, z = 0;
    if (!ReadCoordinate(Column(line, 14, 25), x, lineNumber) || !ReadCoordinate(Column(line, 28, 39), y, lineNumber) ||
        !ReadCoordinate(Column(line, 41, 48), z, lineNumber) || Full(1)) {
      return;
    }
    // A fixed point has no azimuth to correct.
    doc::SurveyRecord& record = Append({CarrierOf(0).instrument, 0.0});
    SetStations(record, station, station);
    record.refX = record.x = x;
    record.refY = record.y = y;
    record.refZ = record.z = z;
    record.developed.from = record.developed.to = {x, y, z};
    base::SetText(record.description, Comment(line));
    base::SetText(record.date, m_trips[0].date);
    record.colour = 2;
    m_firstRecord = true;
    ++m_references;
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
    m_full = m_full || m_store.records.size() + m_records.size() + count > m_maxRecords;
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
    bool backwards = false;
    if (side) {
      to.passage = from.passage;
    } else {
      to = ReadStation(Column(line, 12, 23));
      const bool reversed = m_last != nullptr && from == m_previousTo && to == m_previousFrom;
      repeated = reversed || (m_last != nullptr && from == m_previousFrom && to == m_previousTo);
      backwards = !repeated && from.passage == to.passage &&
                  base::LeadingInteger(to.point) + 1 == base::LeadingInteger(from.point);
      if (reversed != backwards) {
        std::swap(from, to);
        azimuth += azimuth >= m_halfCircle ? -m_halfCircle : m_halfCircle;
        inclination = -inclination;
      }
    }

    size_t trip = 0;
    if (const auto n = TripReference(line); n && *n >= 1 && *n <= static_cast<int>(kTripCount)) {
      trip = static_cast<size_t>(*n - 1);
    }
    const std::string_view date = m_trips[trip].date;
    const std::string_view description = Comment(line);

    if (repeated) {
      // Brought to the declination of the trip whose record it joins.
      Average(length, Normalized(azimuth + Declination(trip) - Declination(m_lastTrip) + m_lastCorrection),
              inclination);
      return;
    }
    const Carrier carrier = CarrierOf(trip);
    azimuth = Normalized(azimuth + carrier.correction);
    if (!m_firstRecord) {
      doc::SurveyRecord& reference = Append(carrier);
      SetStations(reference, from, from);
      SetShot(reference, length, azimuth, inclination, date, description);
      reference.colour = 2;
      m_firstRecord = true;
      ++m_references;
    }
    doc::SurveyRecord& record = Append(carrier);
    SetStations(record, from, to);
    SetShot(record, length, azimuth, inclination, date, description);
    record.colour = side ? 4 : 2;
    record.direction = side ? 0.0 : 1.0;
    record.calculator.reverse = backwards ? 1 : 0;
    m_last = &record;
    m_lastTrip = trip;
    m_lastCorrection = carrier.correction;
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
    m_last->azimuth = Normalized(m_sumAzimuth / m_count);
  }

  // An azimuth a little outside the circle brought back into it; one inside
  // stays exactly as it is.
  double Normalized(double azimuth) const {
    if (azimuth < 0) return azimuth + m_fullCircle;
    if (azimuth >= m_fullCircle) return azimuth - m_fullCircle;
    return azimuth;
  }

  double Declination(size_t trip) const { return m_trips[trip].declination.value_or(0.0); }

  const Carrier& CarrierOf(size_t trip) {
    Trip& entry = m_trips[trip];
    if (!entry.carrier) {
      entry.carrier = entry.declination ? ChooseCarrier(entry.date, *entry.declination) : Carrier{m_instrument, 0.0};
    }
    return *entry.carrier;
  }

  Carrier ChooseCarrier(std::string_view date, double declination) {
    return DeclinationCarriers(m_store.settings, m_instrument, m_gon).Choose(date, declination, UsedEntries());
  }

  // The entries a record of the document or of this file uses.
  std::array<bool, doc::kInstrumentCount> UsedEntries() const {
    std::array<bool, doc::kInstrumentCount> used{};
    const auto mark = [&used](const auto& record) {
      if (const auto index = calc::InstrumentIndex(*record)) used[static_cast<size_t>(*index)] = true;
    };
    std::for_each(m_store.records.begin(), m_store.records.end(), mark);
    std::for_each(m_records.begin(), m_records.end(), mark);
    return used;
  }

  doc::SurveyRecord& Append(const Carrier& carrier) {
    auto record = std::make_unique<doc::SurveyRecord>();
    record->instrument = carrier.instrument;
    if (carrier.correction != 0) {
      base::SetText(record->remark, "Azimut um Deklination " +
                                        base::DecimalComma(base::FormatFixed(carrier.correction, 2)) + " korrigiert");
    }
    m_records.push_back(std::move(record));
    return *m_records.back();
  }

  static void SetStations(doc::SurveyRecord& record, const Station& ref, const Station& station) {
    record.refPassage = ref.passage;
    base::SetText(record.refPoint, ref.point);
    record.passage = station.passage;
    base::SetText(record.point, station.point);
  }

  static void SetShot(doc::SurveyRecord& record, double length, double azimuth, double inclination,
                      std::string_view date, std::string_view description) {
    record.length = length;
    record.azimuth = azimuth;
    record.inclination = inclination;
    base::SetText(record.date, date);
    base::SetText(record.description, description);
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
  Trip m_trips[kTripCount];

  // The records read, in file order until they are put in walking order.
  std::vector<std::unique_ptr<doc::SurveyRecord>> m_records;
  size_t m_references = 0;
  bool m_firstRecord = false;

  // Readings carried to the next shot when a field cannot be read.
  double m_length = 0;
  double m_azimuth = 0;
  double m_inclination = 0;

  Station m_previousFrom{-1234, "-1234"};
  Station m_previousTo{-1234, "-1234"};
  doc::SurveyRecord* m_last = nullptr;
  size_t m_lastTrip = 0;
  double m_lastCorrection = 0;
  double m_sumLength = 0;
  double m_sumAzimuth = 0;
  double m_sumInclination = 0;
  int m_count = 0;
};

// Blanks the control characters of the texts a record took from the file;
// the number of texts changed.
size_t BlankTexts(doc::SurveyRecord& r) {
  size_t blanked = 0;
  const auto blank = [&](auto& field) {
    std::string text(base::TextOf(field));
    if (base::BlankControlCharacters(text) == 0) return;
    base::SetText(field, text);
    ++blanked;
  };
  blank(r.refPoint);
  blank(r.point);
  blank(r.description);
  return blanked;
}

}  // namespace

bool ReadPocketTopoLines(doc::SurveyStore& store, const std::vector<std::string>& lines, platform::Prompter* prompter,
                         size_t maxRecords) {
  const size_t before = store.records.size();
  PocketTopoReader reader(store, lines, maxRecords);
  const bool complete = reader.Read();
  size_t blanked = 0;
  for (size_t i = before; i < store.records.size(); ++i) blanked += BlankTexts(*store.records[i]);
  std::string notes = reader.refused().Message();
  if (blanked > 0) notes += (notes.empty() ? "" : "\n\n") + BlankedTextsNote(blanked);
  if (prompter && !notes.empty()) prompter->Message(notes, platform::Icon::Exclamation);
  return complete;
}

}  // namespace hp::imports
