// Survex station names as cave, passage and point, and the records of a
// survey in an order in which every reference station is known before use.
#include "import/SurvexNames.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <map>
#include <numbers>
#include <queue>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "base/Cp1252.h"
#include "base/FixedText.h"
#include "base/NumberFormat.h"
#include "doc/LegSource.h"
#include "import/DeclinationCarrier.h"

namespace hp::imports::survex {
namespace {

constexpr double kDegree = std::numbers::pi / 180.0;
constexpr size_t kPointLength = sizeof(doc::SurveyRecord{}.point) - 1;

struct PassageKey {
  int32_t passage;
  std::string point;
  friend bool operator==(const PassageKey&, const PassageKey&) = default;
};

struct PassageKeyHash {
  size_t operator()(const PassageKey& k) const {
    return std::hash<std::string>()(k.point) ^ (static_cast<size_t>(k.passage) * 0x9E3779B97F4A7C15ull);
  }
};

void SetStation(doc::SurveyRecord& r, const StationName& name) {
  r.cave = name.cave;
  r.passage = name.passage;
  base::SetText(r.point, name.point);
}

void SetReference(doc::SurveyRecord& r, const StationName& name) {
  r.refCave = name.cave;
  r.refPassage = name.passage;
  base::SetText(r.refPoint, name.point);
}

std::unique_ptr<doc::SurveyRecord> FixRecord(const StationName& name, double x, double y, double z) {
  auto r = std::make_unique<doc::SurveyRecord>();
  SetReference(*r, name);
  SetStation(*r, name);
  r->refX = r->x = x;
  r->refY = r->y = y;
  r->refZ = r->z = z;
  r->developed.from = r->developed.to = {x, y, z};
  r->colour = 2;
  return r;
}

// The surveyor entries "n: name" of the document, by number 0 to 8.
class Surveyors {
 public:
  Surveyors(doc::DocumentSettings& settings, const std::array<bool, 9>& used) : m_settings(settings), m_used(used) {
    const std::string_view text = base::TextOf(settings.surveyorNames);
    size_t start = 0;
    while (start <= text.size()) {
      const size_t end = std::min(text.find("\r\n", start), text.size());
      const std::string_view line = text.substr(start, end - start);
      const size_t colon = line.find(": ");
      if (colon != std::string_view::npos && colon == 1 && line[0] >= '0' && line[0] <= '8') {
        m_names[static_cast<size_t>(line[0] - '0')] = std::string(line.substr(colon + 2));
      }
      start = end + 2;
    }
  }

  // 0 when no entry is left for `team`.
  int32_t For(const std::string& team) {
    if (team.empty()) return 0;
    for (size_t i = 1; i < m_names.size(); ++i) {
      if (m_names[i] == team) return static_cast<int32_t>(i);
    }
    for (size_t i = 1; i < m_names.size(); ++i) {
      if (!m_used[i] && m_names[i] == "Vermesser " + std::to_string(i)) {
        m_names[i] = team;
        Store();
        return static_cast<int32_t>(i);
      }
    }
    if (m_unplaced.insert(team).second) m_order.push_back(team);
    return 0;
  }

  const std::vector<std::string>& Unplaced() const { return m_order; }

 private:
  void Store() {
    std::string text;
    for (size_t i = 0; i < m_names.size(); ++i) {
      text += (i == 0 ? "" : "\r\n") + std::to_string(i) + ": " + m_names[i];
    }
    base::SetText(m_settings.surveyorNames, text);
  }

  doc::DocumentSettings& m_settings;
  std::array<bool, 9> m_used;
  std::array<std::string, 9> m_names;
  std::unordered_set<std::string> m_unplaced;
  std::vector<std::string> m_order;
};

double Dimension(double value) { return Given(value) && value > 0 ? value : 0.0; }

// The record keeps the full Survex name of its station with what else its
// leg brought, so that the Survex export writes the name back.
void KeepSource(doc::SurveyRecord& r, const std::string& name, doc::LegSource source = {}) {
  if (name.size() <= doc::kSurvexNameLength) source.survexName = name;
  doc::SetSource(r, source);
}

// The stations a leg joins, equated names as one.
std::pair<int, int> Ends(const Survey& survey, const Leg& leg) {
  return {survey.Representative(leg.from), survey.Representative(leg.to)};
}

using Sum = std::array<double, 3>;

void AddVector(const Leg& leg, double sign, Sum& sum) {
  const double h = leg.length * std::cos(leg.inclination * kDegree);
  sum[0] += sign * h * std::sin(leg.azimuth * kDegree);
  sum[1] += sign * h * std::cos(leg.azimuth * kDegree);
  sum[2] += sign * leg.length * std::sin(leg.inclination * kDegree);
}

// `leg` becomes the mean of the `count` vectors summed in `sum`.
void SetMean(Leg& leg, const Sum& sum, int count) {
  const double x = sum[0] / count, y = sum[1] / count, z = sum[2] / count;
  const double horizontal = std::hypot(x, y);
  leg.length = std::hypot(horizontal, z);
  leg.azimuth = horizontal > 0 ? std::atan2(x, y) / kDegree : 0.0;
  if (leg.azimuth < 0) leg.azimuth += 360.0;
  leg.inclination = leg.length > 0 ? std::atan2(z, horizontal) / kDegree : 0.0;
}

// Merges `leg` into `into` (the same two stations, either way round): a
// duplicate or a surface leg only when both are.
void Join(Leg& into, const Leg& leg, bool sameWay, Sum& sum, int count) {
  AddVector(leg, sameWay ? 1.0 : -1.0, sum);
  into.duplicate = into.duplicate && leg.duplicate;
  into.surface = into.surface && leg.surface;
  SetMean(into, sum, count);
}

// The legs with a leg read again on the next line, the same way round, as
// one leg, the mean of its readings, as Survex averages them.
std::vector<Leg> ReadingsAveraged(const Survey& survey) {
  std::vector<Leg> read = survey.legs;
  size_t kept = 0;  // the legs before it are done
  Sum sum{};
  for (size_t i = 0; i < read.size(); ++i) {
    const Leg& leg = read[i];
    Leg* last = kept > 0 ? &read[kept - 1] : nullptr;
    // Only legs between two named stations can repeat one another.
    const bool repeat = last && !leg.splay && leg.to >= 0 && !last->splay && last->to >= 0;
    if (repeat && Ends(survey, leg) == Ends(survey, *last)) {
      Join(*last, leg, true, sum, ++last->readings);
      continue;
    }
    sum = {};
    AddVector(leg, 1.0, sum);
    if (kept != i) read[kept] = leg;
    ++kept;
  }
  read.resize(kept);
  return read;
}

}  // namespace

std::vector<StationName> MapNames(const Survey& survey) {
  std::vector<StationName> names(survey.names.size());
  std::unordered_map<std::string, int32_t> caves, passages;
  std::unordered_set<PassageKey, PassageKeyHash> used;
  used.reserve(survey.names.size());
  std::string lastPrefix;  // stations come survey by survey: most share the one before
  StationName last;
  bool haveLast = false;
  for (size_t i = 0; i < survey.names.size(); ++i) {
    const std::string& full = survey.names[i];
    const size_t dot = full.rfind('.');
    StationName& name = names[i];
    std::string own = full;
    if (dot != std::string::npos) {
      const std::string_view prefix = std::string_view(full).substr(0, dot);
      own = full.substr(dot + 1);
      if (!haveLast || prefix != lastPrefix) {
        haveLast = true;
        lastPrefix = prefix;
        const std::string outer = lastPrefix.substr(0, lastPrefix.find('.'));
        last.cave = caves.try_emplace(outer, static_cast<int32_t>(caves.size() + 1)).first->second;
        last.passage = passages.try_emplace(lastPrefix, static_cast<int32_t>(passages.size() + 1)).first->second;
      }
      name.cave = last.cave;
      name.passage = last.passage;
    }
    if (own.size() <= kPointLength && used.insert({name.passage, own}).second) {
      name.point = own;
      continue;
    }
    for (size_t n = 1;; ++n) {
      const std::string suffix = "~" + std::to_string(n);
      std::string point = own.substr(0, kPointLength - suffix.size()) + suffix;
      if (used.insert({name.passage, point}).second) {
        name.point = std::move(point);
        break;
      }
    }
  }
  return names;
}

std::vector<Leg> MergedLegs(const Survey& survey) {
  std::vector<Leg> legs = ReadingsAveraged(survey);
  for (Leg& leg : legs) leg.leftOut = leg.duplicate || leg.surface ? 1 : 0;
  // The same leg measured again elsewhere is one record, the mean of the
  // measurements with their variance divided by their number, which is what
  // parallel legs of equal accuracy give. The legs between the same two
  // stations come together when sorted by their stations.
  std::vector<std::pair<uint64_t, size_t>> byStations;  // stations, list position
  byStations.reserve(legs.size());
  for (size_t i = 0; i < legs.size(); ++i) {
    if (legs[i].splay || legs[i].to < 0) continue;
    const auto [a, b] = Ends(survey, legs[i]);
    byStations.emplace_back((static_cast<uint64_t>(std::min(a, b)) << 32) | static_cast<uint32_t>(std::max(a, b)), i);
  }
  std::sort(byStations.begin(), byStations.end());
  std::vector<char> merged(legs.size(), 0);
  for (size_t g = 0; g < byStations.size();) {
    size_t end = g + 1;
    while (end < byStations.size() && byStations[end].first == byStations[g].first) ++end;
    Leg& first = legs[byStations[g].second];
    Sum sum{};
    if (end - g > 1) AddVector(first, 1.0, sum);
    for (size_t k = g + 1; k < end; ++k) {
      const Leg& leg = legs[byStations[k].second];
      first.readings += leg.readings;
      first.leftOut += leg.duplicate || leg.surface ? 1 : 0;
      const bool sameWay = survey.Representative(first.from) == survey.Representative(leg.from);
      Join(first, leg, sameWay, sum, ++first.measurements);
      merged[byStations[k].second] = 1;
    }
    g = end;
  }
  size_t kept = 0;
  for (size_t i = 0; i < legs.size(); ++i) {
    if (merged[i]) continue;
    if (kept != i) legs[kept] = std::move(legs[i]);
    ++kept;
  }
  legs.resize(kept);
  return legs;
}

size_t StationCount(const Survey& survey) {
  size_t anonymous = 0;
  for (const Leg& leg : survey.legs) anonymous += leg.to < 0 ? 1 : 0;
  return survey.names.size() + anonymous;
}

double TotalLength(const Survey& survey) {
  // Every leg counts, a leg read again on the next line once with its mean.
  double total = 0;
  for (const Leg& leg : ReadingsAveraged(survey)) {
    if (!leg.splay && !leg.duplicate && !leg.surface) total += leg.length;
  }
  return total;
}

size_t RecordCount(const Survey& survey) {
  const size_t references = survey.fixes.empty() && !survey.legs.empty() ? 1 : survey.fixes.size();
  size_t joins = 0;
  for (size_t i = 0; i < survey.names.size(); ++i)
    joins += survey.Representative(static_cast<int>(i)) != static_cast<int>(i);
  return references + survey.legs.size() + joins;
}

std::vector<std::unique_ptr<doc::SurveyRecord>> MakeRecords(
    const Survey& survey, doc::DocumentSettings& settings, const std::array<bool, 9>& usedSurveyors,
    const std::array<bool, doc::kInstrumentCount>& usedInstruments, std::vector<std::string>& notes) {
  Surveyors surveyors(settings, usedSurveyors);
  DeclinationCarriers carriers(settings, 1, false);
  std::array<bool, doc::kInstrumentCount> instrumentsUsed = usedInstruments;
  std::map<std::pair<double, uint32_t>, Carrier> carrierOf;  // by declination and session
  const auto carry = [&](const Leg& leg) {
    const auto [it, added] = carrierOf.try_emplace({leg.declination, leg.session});
    if (added) {
      const Session& session = survey.sessions[leg.session];
      it->second = carriers.Choose(session.date, leg.declination, instrumentsUsed, session.instrument);
      instrumentsUsed[static_cast<size_t>(it->second.instrument - 1)] = true;
    }
    return it->second;
  };
  const std::vector<StationName> names = MapNames(survey);
  const auto rep = [&](int station) { return station < 0 ? -1 : survey.Representative(station); };
  const std::vector<Leg> legs = MergedLegs(survey);
  std::vector<std::unique_ptr<doc::SurveyRecord>> records;
  records.reserve(RecordCount(survey));
  std::vector<char> known(survey.names.size(), 0);
  // The legs at each station: those of station s are touching[first[s]] up
  // to touching[first[s + 1]].
  std::vector<size_t> first(survey.names.size() + 1, 0), touching;
  for (const Leg& leg : legs) {
    ++first[static_cast<size_t>(rep(leg.from)) + 1];
    if (leg.to >= 0) ++first[static_cast<size_t>(rep(leg.to)) + 1];
  }
  for (size_t s = 1; s < first.size(); ++s) first[s] += first[s - 1];
  touching.resize(first.back());
  {
    std::vector<size_t> next(first.begin(), first.end() - 1);
    for (size_t i = 0; i < legs.size(); ++i) {
      touching[next[static_cast<size_t>(rep(legs[i].from))]++] = i;
      if (legs[i].to >= 0) touching[next[static_cast<size_t>(rep(legs[i].to))]++] = i;
    }
  }
  std::vector<std::vector<int>> equated(survey.names.size());
  for (size_t i = 0; i < survey.names.size(); ++i) {
    const int group = rep(static_cast<int>(i));
    if (group != static_cast<int>(i)) equated[static_cast<size_t>(group)].push_back(static_cast<int>(i));
  }
  std::priority_queue<size_t, std::vector<size_t>, std::greater<>> ready;
  // The first time a station is reached, under any of its equated names,
  // zero-length connections join the other names to the one it was reached
  // by, so that every name of the project stays a station of its own.
  const auto reach = [&](int station) {
    const int group = rep(station);
    if (group < 0 || known[static_cast<size_t>(group)]) return;
    known[static_cast<size_t>(group)] = 1;
    for (const int member : equated[static_cast<size_t>(group)]) {
      const int other = member == station ? group : member;
      auto join = std::make_unique<doc::SurveyRecord>();
      SetReference(*join, names[static_cast<size_t>(station)]);
      SetStation(*join, names[static_cast<size_t>(other)]);
      join->colour = 2;
      join->direction = 1.0;
      base::SetText(join->remark, "Gleichgesetzt (equate)");
      KeepSource(*join, survey.names[static_cast<size_t>(other)]);
      records.push_back(std::move(join));
    }
    const auto g = static_cast<size_t>(group);
    for (size_t k = first[g]; k < first[g + 1]; ++k) ready.push(touching[k]);
  };
  for (const Fix& fix : survey.fixes) {
    records.push_back(FixRecord(names[static_cast<size_t>(fix.station)], fix.x, fix.y, fix.z));
    // The coordinates as the project gave them, for the Survex export.
    const std::string given = std::string(doc::kGivenFix) + fix.given;
    if (!fix.given.empty() && given.size() < sizeof records.back()->remark)
      base::SetText(records.back()->remark, given);
    KeepSource(*records.back(), survey.names[static_cast<size_t>(fix.station)]);
    reach(fix.station);
  }
  if (survey.fixes.empty() && !legs.empty()) {
    // Without a fixed point the first station lies at the origin.
    records.push_back(FixRecord(names[static_cast<size_t>(legs.front().from)], 0, 0, 0));
    KeepSource(*records.back(), survey.names[static_cast<size_t>(legs.front().from)]);
    reach(legs.front().from);
  }

  std::vector<char> placed(legs.size(), 0);
  std::vector<char> dimensionsUsed(survey.names.size(), 0);
  const auto place = [&](size_t i) {
    const Leg& leg = legs[i];
    placed[i] = 1;
    auto r = std::make_unique<doc::SurveyRecord>();
    int from = leg.from, to = leg.to;
    double azimuth = leg.azimuth, inclination = leg.inclination;
    if (leg.splay) to = -1;
    if (to >= 0 && !known[static_cast<size_t>(rep(from))] && known[static_cast<size_t>(rep(to))]) {
      std::swap(from, to);
      azimuth = azimuth >= 180.0 ? azimuth - 180.0 : azimuth + 180.0;
      inclination = -inclination;
      r->calculator.reverse = 1;
    }
    const StationName& start = names[static_cast<size_t>(from)];
    SetReference(*r, start);
    if (to >= 0) {
      SetStation(*r, names[static_cast<size_t>(to)]);
    } else {
      r->cave = start.cave;
      r->passage = start.passage;
    }
    const Carrier carrier = carry(leg);
    r->instrument = carrier.instrument;
    r->length = leg.length;
    r->azimuth = Circle(azimuth - leg.declination + carrier.correction);
    r->inclination = inclination;
    r->colour = leg.splay ? 4 : 2;
    r->direction = leg.splay ? 0.0 : 1.0;
    const Session& session = survey.sessions[leg.session];
    base::SetText(r->date, session.date);
    r->surveyor = surveyors.For(session.team);
    std::string remark;
    if (leg.readings > 1) remark = "Mittel aus " + std::to_string(leg.readings) + " Messungen";
    if (carrier.correction != 0) {
      remark += std::string(remark.empty() ? "" : ", ") + "Azimut um Deklination " +
                base::DecimalComma(base::FormatFixed(carrier.correction, 2)) + " korrigiert";
    }
    if (!leg.splay) {
      doc::LegSource accuracy;
      accuracy.tape = leg.sdTape;
      accuracy.compass = leg.sdCompass;
      accuracy.clino = leg.sdClino;
      accuracy.east = leg.sdEast;
      accuracy.north = leg.sdNorth;
      accuracy.up = leg.sdUp;
      accuracy.measurements = static_cast<uint8_t>(std::min(leg.measurements, 255));
      accuracy.leftOut = static_cast<uint8_t>(std::min(leg.leftOut, 255));
      accuracy.position = leg.sdPosition;
      accuracy.duplicate = leg.duplicate;
      accuracy.surface = leg.surface;
      KeepSource(*r, survey.names[static_cast<size_t>(to)], accuracy);
    }
    if (leg.duplicate) remark += std::string(remark.empty() ? "" : ", ") + "Doppelt gemessen (duplicate)";
    if (leg.surface) remark += std::string(remark.empty() ? "" : ", ") + "Oberfläche (surface)";
    base::SetText(r->remark, remark);
    // Passage dimensions belong to the station the record ends at.
    const int end = rep(to);
    if (end >= 0 && !dimensionsUsed[static_cast<size_t>(end)]) {
      const auto it = survey.dimensions.find(end);
      const auto own = it != survey.dimensions.end() ? it : survey.dimensions.find(to);
      if (own != survey.dimensions.end()) {
        dimensionsUsed[static_cast<size_t>(end)] = 1;
        r->left = Dimension(own->second.left);
        r->right = Dimension(own->second.right);
        r->up = Dimension(own->second.up);
        r->down = Dimension(own->second.down);
      }
    }
    records.push_back(std::move(r));
    reach(from);
    reach(to);
  };
  while (!ready.empty()) {
    const size_t i = ready.top();
    ready.pop();
    if (!placed[i]) place(i);
  }
  for (size_t i = 0; i < legs.size(); ++i) {
    if (!placed[i]) place(i);
  }
  for (const std::string& team : surveyors.Unplaced()) {
    notes.push_back("Kein freier Vermessereintrag mehr für das Team \"" + base::Cp1252ToUtf8(team) + "\"");
  }
  return records;
}

}  // namespace hp::imports::survex
