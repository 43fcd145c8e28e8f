// Search criteria and the search walk.
#include "edit/RecordSearch.h"

#include <cmath>
#include <string>
#include <string_view>
#include <utility>
#include <variant>

#include "base/Cp1252.h"
#include "base/FieldMessages.h"
#include "base/FixedText.h"
#include "base/NumberField.h"
#include "base/NumberFormat.h"

namespace hp::edit {
namespace {

std::string Lower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = static_cast<char>(base::Cp1252ToLower(static_cast<unsigned char>(c)));
  return lower;
}

// `needle` (already lower case) occurs in `text`, ignoring case.
bool ContainsIgnoringCase(std::string_view text, const std::string& needle) {
  if (needle.size() > text.size()) return false;
  const size_t last = text.size() - needle.size();
  for (size_t at = 0; at <= last; ++at) {
    size_t i = 0;
    while (i < needle.size() &&
           static_cast<char>(base::Cp1252ToLower(static_cast<unsigned char>(text[at + i]))) == needle[i]) {
      ++i;
    }
    if (i == needle.size()) return true;
  }
  return false;
}

std::string_view TextField(const doc::SurveyRecord& r, Field f) {
  switch (f) {
    case Field::RefPoint: return base::TextOf(r.refPoint);
    case Field::Point: return base::TextOf(r.point);
    case Field::Date: return base::TextOf(r.date);
    case Field::Description: return base::TextOf(r.description);
    case Field::Material: return base::TextOf(r.material);
    case Field::Measures: return base::TextOf(r.measures);
    case Field::Remark: return base::TextOf(r.remark);
    case Field::FileUrl: return base::TextOf(r.fileUrl);
    case Field::IncludeFile: return base::TextOf(r.includeFile);
    default: return {};
  }
}

int64_t IntegerField(const doc::SurveyRecord& r, Field f) {
  switch (f) {
    case Field::RefCave: return r.refCave;
    case Field::RefPassage: return r.refPassage;
    case Field::Cave: return r.cave;
    case Field::Passage: return r.passage;
    case Field::Ring: return r.ring;
    case Field::Instrument: return r.instrument;
    case Field::Colour: return r.colour;
    case Field::Level: return r.level;
    case Field::Surveyor: return r.surveyor;
    default: return 0;
  }
}

double NumberField(const doc::SurveyRecord& r, Field f) {
  switch (f) {
    case Field::TapeStart: return r.tapeStart;
    case Field::TapeEnd: return r.tapeEnd;
    case Field::Length: return r.length;
    case Field::Azimuth: return r.azimuth;
    case Field::Inclination: return r.inclination;
    case Field::Left: return r.left;
    case Field::Right: return r.right;
    case Field::Up: return r.up;
    case Field::Down: return r.down;
    case Field::Direction: return r.direction;
    case Field::RefX: return r.refX;
    case Field::RefY: return r.refY;
    case Field::RefZ: return r.refZ;
    case Field::X: return r.x;
    case Field::Y: return r.y;
    case Field::Z: return r.z;
    default: return 0;
  }
}

bool IsPassageDimension(Field f) { return f == Field::Left || f == Field::Right || f == Field::Up || f == Field::Down; }

// The full circle of a record's azimuths: 400 without instrument or with
// an instrument measuring in gon, else 360. Numbers above 16 use
// instrument 1, as the computation does.
double FullCircle(const doc::SurveyRecord& r, const doc::DocumentSettings& s) {
  if (r.instrument < 1) return 400;
  const int index = r.instrument > doc::kInstrumentCount ? 0 : r.instrument - 1;
  return s.instruments[index].azimuthUnit == 1 ? 400 : 360;
}

}  // namespace

std::optional<FieldFault> RecordSearch::FromForm(const RecordForm& form, RecordSearch& search) {
  search.m_criteria.clear();
  for (size_t i = 0; i < kFieldCount; ++i) {
    const auto f = static_cast<Field>(i);
    const std::string& text = form[f];
    if (text.find_first_not_of(' ') == std::string::npos) continue;
    Criterion c{f, 0, 0, {}};
    switch (KindOf(f)) {
      case FieldKind::Text: c.text = (f == Field::Point || f == Field::RefPoint) ? text : Lower(text); break;
      case FieldKind::Integer:
      case FieldKind::Choice: {
        const auto value = base::ParseInteger(text);
        if (!value) return FieldFault{f, std::string(base::messages::kEnterInteger)};
        c.integer = *value;
        break;
      }
      case FieldKind::Number:
      case FieldKind::Computed: {
        auto value = base::ReadNumberField(text, {.notANumber = std::string(base::messages::kEnterNumber)});
        if (auto* message = std::get_if<std::string>(&value)) return FieldFault{f, std::move(*message)};
        c.number = std::get<double>(value);
        break;
      }
    }
    search.m_criteria.push_back(std::move(c));
  }
  return std::nullopt;
}

RecordSearch RecordSearch::ForStation(const doc::StationId& station) {
  RecordSearch search;
  search.m_criteria.push_back(Criterion{Field::Cave, 0, station.cave, {}});
  search.m_criteria.push_back(Criterion{Field::Passage, 0, station.passage, {}});
  search.m_criteria.push_back(Criterion{Field::Point, 0, 0, std::string(station.point)});
  return search;
}

bool RecordSearch::Holds(const Criterion& c, const doc::SurveyRecord& r, const doc::DocumentSettings& s) const {
  const double lengthTolerance = s.searchToleranceLength + 0.01;
  const double angleTolerance = s.searchToleranceAngle + 0.01;
  switch (c.field) {
    case Field::Point:
    case Field::RefPoint: return TextField(r, c.field) == c.text;
    case Field::Ring: return std::llabs(IntegerField(r, c.field)) == std::llabs(c.integer);
    case Field::Inclination:
    case Field::Direction: return std::fabs(NumberField(r, c.field) - c.number) < angleTolerance;
    case Field::Azimuth: {
      const double difference = std::fabs(r.azimuth - c.number);
      return difference < angleTolerance || FullCircle(r, s) - difference < angleTolerance;
    }
    default: break;
  }
  switch (KindOf(c.field)) {
    case FieldKind::Text: return ContainsIgnoringCase(TextField(r, c.field), c.text);
    case FieldKind::Integer:
    case FieldKind::Choice: return IntegerField(r, c.field) == c.integer;
    case FieldKind::Number:
    case FieldKind::Computed:
      if (IsPassageDimension(c.field)) return NumberField(r, c.field) == c.number;
      return std::fabs(NumberField(r, c.field) - c.number) < lengthTolerance;
  }
  return false;
}

bool RecordSearch::Matches(const doc::SurveyRecord& record, const doc::DocumentSettings& settings) const {
  for (const Criterion& c : m_criteria) {
    if (!Holds(c, record, settings)) return false;
  }
  return true;
}

namespace {

std::optional<size_t> Walk(const RecordList& records, const doc::DocumentSettings& settings, const RecordSearch& search,
                           int64_t from, bool forward) {
  const auto count = static_cast<int64_t>(records.size());
  for (int64_t i = from; i >= 0 && i < count; i += forward ? 1 : -1) {
    if (search.Matches(*records[static_cast<size_t>(i)], settings)) return static_cast<size_t>(i);
  }
  return std::nullopt;
}

bool Forward(SearchDirection d) { return d == SearchDirection::FromStart || d == SearchDirection::ForwardFromCurrent; }

}  // namespace

std::optional<size_t> SearchFromStart(const RecordList& records, const doc::DocumentSettings& settings,
                                      const RecordSearch& search, SearchDirection direction, size_t current) {
  const auto at = static_cast<int64_t>(current);
  switch (direction) {
    case SearchDirection::FromStart: return Walk(records, settings, search, 0, true);
    case SearchDirection::ForwardFromCurrent: return Walk(records, settings, search, at + 1, true);
    case SearchDirection::BackwardFromCurrent: return Walk(records, settings, search, at - 1, false);
    case SearchDirection::FromEnd:
      return Walk(records, settings, search, static_cast<int64_t>(records.size()) - 1, false);
  }
  return std::nullopt;
}

std::optional<size_t> SearchOn(const RecordList& records, const doc::DocumentSettings& settings,
                               const RecordSearch& search, SearchDirection direction, size_t current) {
  const bool forward = Forward(direction);
  return Walk(records, settings, search, static_cast<int64_t>(current) + (forward ? 1 : -1), forward);
}

}  // namespace hp::edit
