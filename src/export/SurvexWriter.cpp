// Survex data (.svx): the records of the current worksheet as a centre line
// that the Survex tools (cavern, aven, survexport) process on their own. The
// file is self-contained, plain text with CR LF line ends; checked with
// Survex 1.4.4.
//
// What the file holds:
// - A head of comments (the document's title), then the settings that make
//   Survex take every reading as it stands: "*case preserve" (point names
//   are case-sensitive here, Survex folds case by default), "*units" for
//   tape, compass, clino and passage dimensions in metres and degrees,
//   "*calibrate" with zero errors, "*declination 0 degrees" and
//   "*data normal from to tape compass clino".
// - Station names as they were in the Survex data a station was imported
//   from, otherwise "C<cave>.P<passage>.<point>". A point character other than
//   a letter, a digit or '-' is written as '_' and two upper-case hex digits
//   of its Windows-1252 byte ('_' itself too), so names stay unique and can
//   be read back.
// - Each leg as tape, compass and clino of the leg the computation reduced:
//   with an instrument the corrected length and grid direction (angle units,
//   zero direction, declination, meridian convergence, divider and sag
//   applied), without an instrument the difference of the stored
//   coordinates. Four decimals for metres, five for degrees, so Survex
//   places the stations within a millimetre of ours over a kilometre.
// - Coordinate references (the first record of a station that refers to
//   itself) as "*fix" at their stored coordinates. When the first reference
//   carries UTM coordinates, "*cs UTM<zone><N|S>" and "*cs out" the same are
//   set for the document's zone and hemisphere; otherwise the fixes are in
//   the survey's local frame. A point that Survex data fixed in longitude
//   and latitude is fixed in them again, after "*cs LONG-LAT", as long as
//   it lies where they convert to.
// - Auxiliary lines (to an anonymous station ".") as splays ("*flags
//   splay"), auxiliary points (zero-length, to a new station) as "*equate"
//   of the two names; connections and loop closures as ordinary legs.
// - Legs with their own reading accuracies (from imported Survex data) after
//   "*sd" lines that weigh them as the network adjustment does, those read
//   as grid vectors in "*data cartesian", duplicate and surface legs after
//   "*flags duplicate" and "*flags surface"; once such a leg is written,
//   every later leg gets its "*sd" lines too.
// - Runs of records with the same date and surveyor in "*begin"/"*end"
//   blocks with "*date" and "*team"; remarks as comments after their line,
//   text in UTF-8.
// - Per passage, a "*data passage" block of the stations whose left, right,
//   up or down was measured, in list order.
// - Records of include files like any other (they are in the record list).
// - A leg whose start no exported record defines (the worksheet's filter
//   hides it) gets a "*fix" of its start at the computed coordinates, so a
//   filtered export stays one connected survey; a record without a
//   reference point is left out with a comment.
#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cmath>
#include <numbers>
#include <optional>
#include <string>
#include <unordered_set>
#include <utility>

#include "base/Cp1252.h"
#include "base/FixedText.h"
#include "calc/BlunderSettings.h"
#include "calc/LegReduction.h"
#include "doc/LegSource.h"
#include "doc/Station.h"
#include "export/Writers.h"
#include "export/WrittenValues.h"
#include "geo/Utm.h"

namespace hp::exports {
namespace {

constexpr double kToDegrees = 180 / std::numbers::pi;

bool IsNameCharacter(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-';
}

// UTF-8 of a Windows-1252 text for a comment or a quoted name: control
// characters (a line break would end the comment) become blanks.
std::string CommentText(std::string_view text) { return base::Cp1252ToUtf8(LineText(text)); }

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

// A record date "dd.mm.yyyy" as Survex writes dates ("yyyy.mm.dd"); empty
// when it is not a real day or lies outside the years Survex takes without
// a warning (1900 to 2078).
std::string SurvexDate(std::string_view date) {
  if (date.size() != 10 || date[2] != '.' || date[5] != '.') return {};
  int values[3] = {};
  const std::string_view parts[3] = {date.substr(0, 2), date.substr(3, 2), date.substr(6, 4)};
  for (int n = 0; n < 3; ++n) {
    for (const char c : parts[n]) {
      if (c < '0' || c > '9') return {};
      values[n] = values[n] * 10 + (c - '0');
    }
  }
  const int day = values[0], month = values[1], year = values[2];
  static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (year < 1900 || year > 2078 || month < 1 || month > 12 || day < 1) return {};
  if (day > kDays[month - 1] + (month == 2 && IsLeapYear(year) ? 1 : 0)) return {};
  return std::string(parts[2]) + "." + std::string(parts[1]) + "." + std::string(parts[0]);
}

// The name of surveyor `index` from the document's list ("index: name" per
// line); empty when the list has none.
std::string SurveyorName(std::string_view names, int index) {
  const std::string key = std::to_string(index) + ":";
  size_t start = 0;
  while (start < names.size()) {
    size_t end = names.find('\n', start);
    if (end == std::string_view::npos) end = names.size();
    std::string_view line = names.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.starts_with(key)) {
      line.remove_prefix(key.size());
      while (!line.empty() && line.front() == ' ') line.remove_prefix(1);
      return std::string(line);
    }
    start = end + 1;
  }
  return {};
}

// A team member's name between double quotes, which it may not contain.
std::string QuotedName(std::string_view name) {
  std::string text = CommentText(name);
  for (char& c : text)
    if (c == '"') c = '\'';
  return "\"" + text + "\"";
}

// UTM coordinates: an easting inside a zone's strip and a northing on the
// globe. A survey in its own frame has small coordinates around its origin.
bool LooksLikeUtm(const doc::SurveyRecord& r) { return r.x >= 100000 && r.x <= 900000 && r.y > 0 && r.y <= 10000000; }

// "*fix NAME x y z".
// A name Survex reads with its default settings: survey prefixes and the
// station, each of letters, digits, '_' and '-', joined by dots.
bool ReadableSurvexName(std::string_view name) {
  if (name.empty() || name.front() == '.' || name.back() == '.' || name.find("..") != std::string_view::npos)
    return false;
  return std::all_of(name.begin(), name.end(), [](char c) {
    const auto byte = static_cast<unsigned char>(c);
    return IsNameCharacter(byte) || byte == '_' || byte == '.';
  });
}

// The coordinate system and coordinates an imported fix had in its Survex
// data, when the record still lies where they convert to.
std::optional<std::pair<std::string, std::string>> GivenFix(const doc::SurveyRecord& r,
                                                            const doc::DocumentSettings& settings) {
  std::string_view given = base::TextOf(r.remark);
  if (!given.starts_with(doc::kGivenFix)) return std::nullopt;
  given.remove_prefix(doc::kGivenFix.size());
  const size_t space = given.find(' ');
  if (space == std::string_view::npos) return std::nullopt;
  std::string system(given.substr(0, space));
  std::string lower = system;
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (lower != "long-lat" && lower != "epsg:4326") return std::nullopt;
  const std::string_view text = given.substr(space + 1);
  double value[3] = {};
  const char* at = text.data();
  const char* const end = text.data() + text.size();
  for (double& v : value) {
    while (at < end && *at == ' ') ++at;
    if (at < end && *at == '+') ++at;
    const auto result = std::from_chars(at, end, v);
    if (result.ec != std::errc()) return std::nullopt;
    at = result.ptr;
  }
  if (at != end) return std::nullopt;
  const geo::UtmPosition grid = geo::GeographicToUtm(value[1], value[0]);
  constexpr double kSame = 0.001;
  if (grid.zone != static_cast<int>(settings.utmZone) || std::abs(grid.easting - r.x) > kSame ||
      std::abs(grid.northing - r.y) > kSame || std::abs(value[2] - r.z) > kSame)
    return std::nullopt;
  return std::make_pair(std::move(system), std::string(text));
}

std::string FixLine(const std::string& station, double x, double y, double z) {
  std::string line = "*fix " + station;
  for (const double value : {x, y, z}) {
    line += ' ';
    AppendFixed(line, value, 4);
  }
  return line;
}

// "tape compass clino" of the record's leg: as the computation reduces an
// instrument's readings, or the difference of the stored coordinates.
// The leg as the computation reduced it: with an instrument the corrected
// length and grid direction, without one the difference of its stored
// coordinates.
std::array<double, 3> LegVector(const doc::SurveyRecord& r, const doc::DocumentSettings& settings) {
  if (!calc::InstrumentIndex(r)) return {r.x - r.refX, r.y - r.refY, r.z - r.refZ};
  doc::SurveyRecord reduced = r;  // the reduction may replace the length of its record
  const calc::LegVector leg = calc::ReduceLeg(reduced, settings);
  return {leg.reducedLength * leg.sinAz * leg.cosEl, leg.reducedLength * leg.cosAz * leg.cosEl,
          leg.reducedLength * leg.sinEl};
}

std::string LegReadings(const std::array<double, 3>& d) {
  const double horizontal = std::hypot(d[0], d[1]);
  const double tape = std::hypot(horizontal, d[2]);
  double compass = tape > 0 ? std::atan2(d[0], d[1]) * kToDegrees : 0;
  if (compass < 0) compass += 360;
  const double clino = tape > 0 ? std::atan2(d[2], horizontal) * kToDegrees : 0;
  std::string text;
  AppendFixed(text, tape, 4);
  text += ' ';
  AppendFixed(text, compass, 5);
  text += ' ';
  AppendFixed(text, clino, 5);
  return text;
}

std::string GridReadings(const std::array<double, 3>& d) {
  std::string text;
  for (size_t i = 0; i < 3; ++i) {
    if (i > 0) text += ' ';
    AppendFixed(text, d[i], 4);
  }
  return text;
}

void AppendSd(std::string& text, const char* quantity, double value, const char* unit) {
  text += "*sd ";
  text += quantity;
  text += ' ';
  AppendFixed(text, value, 6);
  text += unit;
}

// The "*sd" lines of a leg. One with its own accuracies (from Survex data)
// gets them, and cavern's defaults for what its source left open, so that
// cavern weighs it as it did the source; the variance of a leg measured
// several times is divided by their number. Any other leg gets the
// program's default accuracies, as the network adjustment weighs it.
std::string AccuracyLines(const std::optional<doc::LegSource>& own) {
  constexpr double kCavernTape = 0.05, kCavernAngle = 0.5, kCavernGrid = 0.05, kSetUp = 0.05;
  const calc::BlunderOptions program;
  const doc::LegSource a = own.value_or(doc::LegSource{});
  const double scale = 1 / std::sqrt(static_cast<double>(a.measurements));
  const auto given = [&](float value, double otherwise) { return (value > 0 ? value : otherwise) * scale; };
  std::string text;
  if (a.Grid()) {
    AppendSd(text, "dx", given(a.east, kCavernGrid), " metres\n");
    AppendSd(text, "dy", given(a.north, kCavernGrid), " metres\n");
    AppendSd(text, "dz", given(a.up, kCavernGrid), " metres\n");
    return text;
  }
  AppendSd(text, "tape", given(a.tape, own ? kCavernTape : program.sigmaLength), " metres\n");
  AppendSd(text, "compass", given(a.compass, own ? kCavernAngle : program.sigmaAngle), " degrees\n");
  AppendSd(text, "clino", given(a.clino, own ? kCavernAngle : program.sigmaAngle), " degrees\n");
  AppendSd(text, "position", given(a.position, kSetUp), " metres\n");
  return text;
}

}  // namespace

std::string SurvexStationName(long cave, long passage, std::string_view point) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string name = "C" + std::to_string(cave) + ".P" + std::to_string(passage) + ".";
  for (const char c : point) {
    const auto byte = static_cast<unsigned char>(c);
    if (IsNameCharacter(byte)) {
      name += c;
    } else {
      name += '_';
      name += kHex[byte >> 4];
      name += kHex[byte & 0xF];
    }
  }
  return name;
}

size_t SurvexWriter::StationHash::operator()(const Station& s) const noexcept {
  return std::hash<std::string_view>()(s.point) ^ (static_cast<size_t>(s.cave) * 1000003u) ^
         (static_cast<size_t>(s.passage) * 7919u);
}

std::optional<size_t> SurvexWriter::FirstReference(const ExportContext& context) {
  for (size_t n = 0; n < context.store.records.size(); ++n)
    if (doc::IsSelfReference(*context.store.records[n])) return n;
  return std::nullopt;
}

std::string SurvexWriter::Refusal(const ExportContext& context) const {
  const std::optional<size_t> first = FirstReference(context);
  if (!first) return std::string(messages::kSurvexNoReference);
  if (std::string refusal = FirstUnwritableRecord(context, kStations | kReadings | kPassage); !refusal.empty())
    return refusal;
  // UTM coordinates name their zone in the file ("*cs"), which must be one.
  if (LooksLikeUtm(*context.store.records[*first])) return UnwritableRecord(context, *first, kGeographic);
  return {};
}

void SurvexWriter::Begin(TextOut& out, const ExportContext& context) {
  const doc::DocumentSettings& settings = context.store.settings;
  m_kinds = doc::ClassifyRecords(context.store.records);
  m_defined.clear();
  m_defined.reserve(context.store.records.size());
  // Stations imported from Survex data keep the name they had there, each
  // name given once: a record whose station was changed after the import
  // may still carry the name of another.
  m_names.clear();
  m_system.clear();
  std::unordered_set<std::string> given;
  for (const auto& record : context.store.records) {
    const std::optional<doc::LegSource> source = doc::SourceOf(*record);
    if (!source || !ReadableSurvexName(source->survexName)) continue;
    const Station station{record->cave, record->passage, base::TextOf(record->point)};
    if (!m_names.contains(station) && given.insert(source->survexName).second)
      m_names.emplace(station, source->survexName);
  }
  out << "; " << CommentText(base::TextOf(settings.title)) << "\n";
  if (!base::TextOf(settings.title2).empty()) out << "; " << CommentText(base::TextOf(settings.title2)) << "\n";
  out << "; Survex-Daten aus Hollowplan\n"
         "*case preserve\n"
         "*units tape metres\n"
         "*units left right up down metres\n"
         "*units compass clino degrees\n"
         "*calibrate tape 0\n"
         "*calibrate compass clino 0\n"
         "*declination 0 degrees\n";
  const std::optional<size_t> first = FirstReference(context);
  if (first && LooksLikeUtm(*context.store.records[*first])) {
    const char band = settings.utmBand[0];
    const std::string system = "UTM" + std::to_string(settings.utmZone) + (band >= 'A' && band < 'N' ? "S" : "N");
    out << "*cs " << system << "\n*cs out " << system << "\n";
    m_system = system;
  }
  out << "*data normal from to tape compass clino\n";
}

std::string SurvexWriter::Name(long cave, long passage, std::string_view point) const {
  const auto it = m_names.find(Station{cave, passage, point});
  return it != m_names.end() ? it->second : SurvexStationName(cave, passage, point);
}

void SurvexWriter::OpenBlock(TextOut& out, const ExportContext& context, const doc::SurveyRecord& r) {
  const std::string_view date = base::TextOf(r.date);
  const int surveyor = r.surveyor;
  if (m_blockOpen && date == m_blockDate && surveyor == m_blockSurveyor) return;
  CloseBlock(out);
  const std::string survexDate = SurvexDate(date);
  const std::string name =
      surveyor > 0 ? SurveyorName(base::TextOf(context.store.settings.surveyorNames), surveyor) : std::string();
  m_blockDate = std::string(date);
  m_blockSurveyor = surveyor;
  if (survexDate.empty() && name.empty()) return;
  out << "*begin\n";
  m_outside = m_state;
  if (!survexDate.empty()) out << "*date " << survexDate << "\n";
  if (!name.empty()) out << "*team " << QuotedName(name) << "\n";
  m_blockOpen = true;
}

void SurvexWriter::CloseBlock(TextOut& out) {
  if (m_blockOpen) {
    out << "*end\n";
    // The flags, accuracies and data style set inside the block end with
    // it: those in force before it hold again.
    m_state = m_outside;
  }
  m_blockOpen = false;
}

void SurvexWriter::Record(TextOut& out, const ExportContext& context, const RecordEntry& entry) {
  if (!entry.visible.Any() || entry.index >= m_kinds.size()) return;
  const doc::SurveyRecord& r = entry.record;
  const doc::RecordKind kind = m_kinds[entry.index];
  OpenBlock(out, context, r);
  const std::string_view point = base::TextOf(r.point);
  const std::string_view refPoint = base::TextOf(r.refPoint);

  if (kind == doc::RecordKind::CoordinateReference || kind == doc::RecordKind::VariableReference) {
    // A later reference of a known station takes that station's coordinates:
    // nothing to fix.
    if (!m_defined.insert(Station{r.cave, r.passage, point}).second) return;
    m_line = FixLine(Name(r.cave, r.passage, point), r.x, r.y, r.z);
    // A point fixed in other coordinates in the Survex data it came from
    // is fixed in them again.
    if (const auto given = m_system.empty() ? std::nullopt : GivenFix(r, context.store.settings)) {
      out << "*cs " << given->first << "\n";
      m_line = "*fix " + Name(r.cave, r.passage, point) + ' ' + given->second;
      m_after = "*cs " + m_system + "\n";
    }
  } else {
    if (refPoint.empty()) {
      // No station to start from: Survex could not read the line.
      out << "; Datensatz " << std::to_string(entry.index + 1) << " ohne Referenzpunkt ausgelassen\n";
      return;
    }
    // A leg that starts outside the exported records (the filter hides the
    // record that defines its start) starts from where we computed it.
    if (m_defined.insert(Station{r.refCave, r.refPassage, refPoint}).second)
      out << FixLine(Name(r.refCave, r.refPassage, refPoint), r.refX, r.refY, r.refZ)
          << " ; Anschlusspunkt außerhalb der exportierten Datensätze\n";
    if (kind == doc::RecordKind::AuxiliaryPoint) {
      // A point where its reference station is: the same station under a
      // second name, exactly.
      m_defined.insert(Station{r.cave, r.passage, point});
      m_line = "*equate " + Name(r.refCave, r.refPassage, refPoint) + ' ' + Name(r.cave, r.passage, point);
      WriteLine(out, r);
      return;
    }
    const bool splay = kind == doc::RecordKind::AuxiliaryLine;
    if (splay != m_state.splay) {
      out << (splay ? "*flags splay\n" : "*flags not splay\n");
      m_state.splay = splay;
    }
    // Legs that brought their own accuracies are weighed by them, and so,
    // once one has, are all legs after it.
    const std::optional<doc::LegSource> own = doc::SourceOf(r);
    const bool grid = !splay && own && own->Grid();
    if (!splay && (own || !m_state.accuracy.empty())) {
      if (const std::string lines = AccuracyLines(own); lines != m_state.accuracy) out << (m_state.accuracy = lines);
    }
    // Survex leaves duplicate and surface legs out of the survey's length.
    const bool duplicate = !splay && own && own->duplicate, surface = !splay && own && own->surface;
    if (duplicate != m_state.duplicate) out << (duplicate ? "*flags duplicate\n" : "*flags not duplicate\n");
    if (surface != m_state.surface) out << (surface ? "*flags surface\n" : "*flags not surface\n");
    m_state.duplicate = duplicate, m_state.surface = surface;
    if (grid != m_state.grid) {
      out << (grid ? "*data cartesian from to dx dy dz\n" : "*data normal from to tape compass clino\n");
      m_state.grid = grid;
    }
    const std::array<double, 3> vector = LegVector(r, context.store.settings);
    m_line = Name(r.refCave, r.refPassage, refPoint);
    m_line += ' ';
    m_line += point.empty() ? std::string(".") : Name(r.cave, r.passage, point);
    m_line += ' ';
    m_line += grid ? GridReadings(vector) : LegReadings(vector);
    if (kind == doc::RecordKind::AuxiliaryLine || !m_defined.insert(Station{r.cave, r.passage, point}).second) {
      WriteLine(out, r);
      return;  // the station's passage dimensions come with its first record
    }
  }
  WriteLine(out, r);
  if (r.left != 0 || r.right != 0 || r.up != 0 || r.down != 0) {
    std::string& rows = m_passages[{r.cave, r.passage}];
    rows += Name(r.cave, r.passage, point);
    for (const double value : {r.left, r.right, r.up, r.down}) {
      rows += ' ';
      AppendFixed(rows, value, 3);
    }
    rows += '\n';
  }
}

void SurvexWriter::WriteLine(TextOut& out, const doc::SurveyRecord& r) {
  if (const std::string_view remark = base::TextOf(r.remark); !remark.empty()) m_line += " ; " + CommentText(remark);
  m_line += '\n';
  out << m_line << m_after;
  m_after.clear();
}

void SurvexWriter::End(TextOut& out, const ExportContext&) {
  CloseBlock(out);
  if (m_state.splay) out << "*flags not splay\n";
  m_state.splay = false;
  for (const auto& [passage, rows] : m_passages) {
    out << "; Gang " << std::to_string(passage.first) << "/" << std::to_string(passage.second) << "\n"
        << "*data passage station left right up down\n"
        << rows;
  }
}

}  // namespace hp::exports
