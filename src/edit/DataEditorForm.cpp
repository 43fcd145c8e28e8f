// Showing a record in the editor's form and taking the form back.
#include "edit/DataEditorForm.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <utility>
#include <variant>

#include "base/Cp1252.h"
#include "base/FieldMessages.h"
#include "base/FixedText.h"
#include "base/NumberField.h"
#include "base/NumberFormat.h"
#include "doc/DocumentDialogs.h"

namespace hp::edit {
namespace {

namespace messages = base::messages;

constexpr std::string_view kEnterDate = "Bitte geben Sie ein g\u00fcltiges Datum in der Form TT.MM.JJJJ ein.";

// The number and whole-number fields; a blank entry is 0.
std::variant<double, std::string> ReadEntry(const std::string& text, bool whole) {
  if (text.find_first_not_of(' ') == std::string::npos) return 0.0;
  if (whole) {
    return base::ReadNumberField(
        text,
        {.notANumber = std::string(messages::kEnterInteger), .integer = true, .min = INT32_MIN, .max = INT32_MAX});
  }
  return base::ReadNumberField(text, {.notANumber = std::string(messages::kEnterNumber),
                                      .outOfRange = messages::EnterNumberBetween(-kMaxEntry, kMaxEntry),
                                      .min = -kMaxEntry,
                                      .max = kMaxEntry});
}

// Two decimals without trailing zeros: "12,34", "12,3", "12".
std::string Rounded(double value) {
  std::string text = base::FormatFixed(base::RoundHundredths(value), 2);
  while (!text.empty() && text.back() == '0') text.pop_back();
  if (!text.empty() && text.back() == '.') text.pop_back();
  if (text == "-0") text = "0";
  return base::DecimalComma(text);
}

std::string Exact(double value) { return doc::FormatEntryNumber(value); }

// Const or not, like the record passed.
template <class Record>
auto NumberOf(Record& r, Field f) -> decltype(&r.length) {
  switch (f) {
    case Field::TapeStart: return &r.tapeStart;
    case Field::TapeEnd: return &r.tapeEnd;
    case Field::Length: return &r.length;
    case Field::Azimuth: return &r.azimuth;
    case Field::Inclination: return &r.inclination;
    case Field::Left: return &r.left;
    case Field::Right: return &r.right;
    case Field::Up: return &r.up;
    case Field::Down: return &r.down;
    case Field::Direction: return &r.direction;
    case Field::RefX: return &r.refX;
    case Field::RefY: return &r.refY;
    case Field::RefZ: return &r.refZ;
    case Field::X: return &r.x;
    case Field::Y: return &r.y;
    case Field::Z: return &r.z;
    default: return nullptr;
  }
}

template <class Record>
auto IntegerOf(Record& r, Field f) -> decltype(&r.ring) {
  switch (f) {
    case Field::RefCave: return &r.refCave;
    case Field::RefPassage: return &r.refPassage;
    case Field::Cave: return &r.cave;
    case Field::Passage: return &r.passage;
    case Field::Ring: return &r.ring;
    case Field::Instrument: return &r.instrument;
    case Field::Colour: return &r.colour;
    case Field::Level: return &r.level;
    case Field::Surveyor: return &r.surveyor;
    default: return nullptr;
  }
}

template <size_t N>
void PutText(RecordForm& form, Field f, const char (&field)[N]) {
  form[f] = std::string(base::TextOf(field));
}

bool IsRounded(Field f) {
  switch (f) {
    case Field::RefX:
    case Field::RefY:
    case Field::RefZ:
    case Field::X:
    case Field::Y:
    case Field::Z:
    case Field::Length:
    case Field::Inclination:
    case Field::Azimuth:
    case Field::Direction: return true;
    default: return false;
  }
}

const doc::InstrumentRecord* InstrumentOf(const doc::DocumentSettings& s, int instrument) {
  if (instrument < 1 || instrument > doc::kInstrumentCount) return nullptr;
  return &s.instruments[instrument - 1];
}

}  // namespace

FieldKind KindOf(Field f) {
  switch (f) {
    case Field::RefCave:
    case Field::RefPassage:
    case Field::Cave:
    case Field::Passage:
    case Field::Ring: return FieldKind::Integer;
    case Field::RefPoint:
    case Field::Point:
    case Field::Date:
    case Field::Description:
    case Field::Material:
    case Field::Measures:
    case Field::Remark:
    case Field::FileUrl:
    case Field::IncludeFile: return FieldKind::Text;
    case Field::Instrument:
    case Field::Colour:
    case Field::Level:
    case Field::Surveyor: return FieldKind::Choice;
    case Field::X:
    case Field::Y:
    case Field::Z: return FieldKind::Computed;
    default: return FieldKind::Number;
  }
}

size_t MaxLength(Field f) {
  switch (f) {
    case Field::RefPoint:
    case Field::Point: return 12;
    case Field::Date: return 11;
    case Field::Description: return 40;
    case Field::Material:
    case Field::Measures:
    case Field::Remark: return 80;
    case Field::FileUrl:
    case Field::IncludeFile: return 128;
    default: return 0;
  }
}

int CorrectColour(int colour) {
  if (colour < kMinColour) return -1;
  if (colour > kMaxColour) return 1;
  return colour;
}

void CorrectRanges(doc::SurveyRecord& r) {
  if (r.instrument < 0 || r.instrument > doc::kInstrumentCount) r.instrument = 0;
  r.colour = CorrectColour(r.colour);
}

RecordForm ShowRecord(const doc::SurveyRecord& record) {
  RecordForm form;
  const doc::SurveyRecord& r = record;
  for (size_t i = 0; i < kFieldCount; ++i) {
    const auto f = static_cast<Field>(i);
    if (const double* v = NumberOf(r, f)) form[f] = IsRounded(f) ? Rounded(*v) : Exact(*v);
    if (const int32_t* v = IntegerOf(r, f)) form[f] = std::to_string(*v);
  }
  PutText(form, Field::RefPoint, r.refPoint);
  PutText(form, Field::Point, r.point);
  PutText(form, Field::Date, r.date);
  PutText(form, Field::Description, r.description);
  PutText(form, Field::Material, r.material);
  PutText(form, Field::Measures, r.measures);
  PutText(form, Field::Remark, r.remark);
  PutText(form, Field::FileUrl, r.fileUrl);
  PutText(form, Field::IncludeFile, r.includeFile);
  return form;
}

std::optional<AngleRange> AzimuthRange(const doc::DocumentSettings& s, int instrument) {
  const doc::InstrumentRecord* i = InstrumentOf(s, instrument);
  if (!i) return std::nullopt;
  return AngleRange{0, i->azimuthUnit == 1 ? 400.0 : 360.0};
}

std::optional<AngleRange> InclinationRange(const doc::DocumentSettings& s, int instrument) {
  const doc::InstrumentRecord* i = InstrumentOf(s, instrument);
  if (!i) return std::nullopt;
  const double quarter = i->inclinationUnit == 1 ? 100.0 : 90.0;
  if (i->verticalReference == 0) return AngleRange{-quarter, quarter};
  return AngleRange{0, 2 * quarter};
}

std::optional<std::string> StoredDate(std::string_view text) {
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return std::string();
  text = text.substr(first, text.find_last_not_of(' ') - first + 1);
  int parts[3] = {0, 0, 0};
  size_t part = 0, digits = 0;
  for (const char c : text) {
    if (c == '.' && part < 2 && digits > 0) {
      ++part;
      digits = 0;
    } else if (c >= '0' && c <= '9' && digits < (part == 2 ? 4u : 2u)) {
      parts[part] = parts[part] * 10 + (c - '0');
      ++digits;
    } else {
      return std::nullopt;
    }
  }
  const int day = parts[0], month = parts[1], year = parts[2];
  if (part != 2 || digits != 4 || year < 1 || month < 1 || month > 12 || day < 1) return std::nullopt;
  static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  if (day > kDays[month - 1] + (month == 2 && leap ? 1 : 0)) return std::nullopt;
  const auto padded = [](int value, size_t width) {
    std::string number = std::to_string(value);
    return std::string(width - std::min(width, number.size()), '0') + number;
  };
  return padded(day, 2) + "." + padded(month, 2) + "." + padded(year, 4);
}

std::optional<FieldFault> TakeForm(const RecordForm& form, const RecordForm& shown,
                                   const doc::DocumentSettings& settings, doc::SurveyRecord& record) {
  doc::SurveyRecord r = record;
  for (size_t i = 0; i < kFieldCount; ++i) {
    const auto f = static_cast<Field>(i);
    const FieldKind kind = KindOf(f);
    if (kind == FieldKind::Computed || kind == FieldKind::Text) continue;
    const std::string& text = form[f];
    if (text == shown[f]) continue;  // untouched: the exact stored value stays
    double* number = NumberOf(r, f);
    int32_t* whole = number ? nullptr : IntegerOf(r, f);
    if (!number && !whole) continue;
    auto value = ReadEntry(text, whole != nullptr);
    if (auto* message = std::get_if<std::string>(&value)) return FieldFault{f, std::move(*message)};
    if (number) *number = std::get<double>(value);
    if (whole) *whole = static_cast<int32_t>(std::get<double>(value));
  }
  r.colour = CorrectColour(r.colour);
  if (r.instrument < 0 || r.instrument > doc::kInstrumentCount) {
    return FieldFault{Field::Instrument, messages::EnterNumberBetween(0, doc::kInstrumentCount)};
  }
  // Angles are checked against the instrument the record will have, also
  // when only the instrument was changed.
  const auto inRange = [](double v, const std::optional<AngleRange>& range) {
    return !range || (v >= range->min && v <= range->max);
  };
  if (const auto range = AzimuthRange(settings, r.instrument); !inRange(r.azimuth, range)) {
    return FieldFault{Field::Azimuth, messages::EnterNumberBetween(range->min, range->max)};
  }
  if (const auto range = InclinationRange(settings, r.instrument); !inRange(r.inclination, range)) {
    return FieldFault{Field::Inclination, messages::EnterNumberBetween(range->min, range->max)};
  }
  base::SetText(r.refPoint, form[Field::RefPoint]);
  base::SetText(r.point, form[Field::Point]);
  if (form[Field::Date] != shown[Field::Date]) {
    const auto date = StoredDate(form[Field::Date]);
    if (!date) return FieldFault{Field::Date, std::string(kEnterDate)};
    base::SetText(r.date, *date);
  }
  base::SetText(r.description, form[Field::Description]);
  base::SetText(r.material, form[Field::Material]);
  base::SetText(r.measures, form[Field::Measures]);
  base::SetText(r.remark, form[Field::Remark]);
  base::SetText(r.fileUrl, form[Field::FileUrl]);
  base::SetText(r.includeFile, form[Field::IncludeFile]);
  record = r;
  return std::nullopt;
}

std::string IncrementPointName(std::string_view name) {
  if (name.empty()) return {};
  size_t digits = 0;
  while (digits < name.size() && digits < 8 && name[name.size() - 1 - digits] >= '0' &&
         name[name.size() - 1 - digits] <= '9') {
    ++digits;
  }
  const std::string_view front = name.substr(0, name.size() - digits);
  long value = 0;
  for (const char c : name.substr(name.size() - digits)) value = value * 10 + (c - '0');
  value = (value + 1) % 100000000;
  std::string result = std::string(front) + std::to_string(value);
  if (result.size() > 12) result.resize(12);
  return result;
}

int NewRecordNumber(Placement placement, int current, int count) {
  switch (placement) {
    case Placement::Before: return current < 1 ? 1 : current;
    case Placement::After:
    case Placement::AfterPrefilled:
    case Placement::AfterSameReference: return current + 1;
    case Placement::AtEnd:
    case Placement::AtEndPrefilled: return count + 1;
  }
  return count + 1;
}

doc::SurveyRecord NewRecord(Placement placement, const doc::SurveyRecord* current) {
  doc::SurveyRecord r;  // instrument 1, direction 1.0, colour 1, level 1
  const bool prefill = placement == Placement::AfterPrefilled || placement == Placement::AtEndPrefilled ||
                       placement == Placement::AfterSameReference;
  if (!current || !prefill) return r;
  const doc::SurveyRecord& c = *current;
  if (placement == Placement::AfterSameReference) {
    r.refCave = c.refCave, r.refPassage = c.refPassage;
    std::memcpy(r.refPoint, c.refPoint, sizeof r.refPoint);
  } else {
    r.refCave = c.cave, r.refPassage = c.passage;
    std::memcpy(r.refPoint, c.point, sizeof r.refPoint);
  }
  r.refPoint[sizeof r.refPoint - 1] = 0;
  r.cave = c.cave, r.passage = c.passage;
  base::SetText(r.point, IncrementPointName(base::TextOf(c.point)));
  r.tapeStart = r.tapeEnd = c.tapeEnd;
  r.instrument = c.instrument;
  r.direction = c.direction;
  r.colour = c.colour;
  r.level = c.level;
  r.surveyor = c.surveyor;
  r.ring = c.ring;
  std::memcpy(r.date, c.date, sizeof r.date);
  r.date[sizeof r.date - 1] = 0;
  return r;
}

std::vector<Choice> InstrumentChoices(const doc::DocumentSettings& s) {
  std::vector<Choice> choices;
  choices.push_back({0, base::Utf8ToCp1252("0: Kein Ger\u00e4t")});
  for (int i = 1; i <= doc::kInstrumentCount; ++i) {
    choices.push_back({i, std::to_string(i) + ": " + std::string(base::TextOf(s.instrumentNames[i - 1]))});
  }
  return choices;
}

std::vector<Choice> NameChoices(std::string_view stored) {
  std::vector<Choice> choices;
  size_t start = 0;
  while (start <= stored.size()) {
    size_t end = stored.find('\n', start);
    if (end == std::string_view::npos) end = stored.size();
    std::string_view line = stored.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    start = end + 1;
    if (const auto value = doc::NamedLineNumber(line); value && *value >= 1)
      choices.push_back({*value, std::string(line)});
  }
  return choices;
}

std::vector<Choice> WithValue(std::vector<Choice> choices, int value) {
  for (const Choice& c : choices) {
    if (c.value == value) return choices;
  }
  size_t at = 0;
  while (at < choices.size() && choices[at].value < value) ++at;
  choices.insert(choices.begin() + static_cast<std::ptrdiff_t>(at), Choice{value, std::to_string(value)});
  return choices;
}

std::vector<ColourSample> ColourSamples(const doc::DocumentSettings& s) {
  std::vector<ColourSample> samples;
  for (int v = kMinColour; v <= kMaxColour; ++v) {
    ColourSample sample;
    sample.value = v;
    sample.text = std::to_string(v);
    if (v == 0) {
      sample.pattern = ColourSample::Pattern::Crossed;
    } else {
      const int index = ((v < 0 ? -v : v) - 1) % 16;
      sample.colour = s.lineColours[index];
      sample.pattern = v >= 1 && v <= 16 ? ColourSample::Pattern::Solid : ColourSample::Pattern::Hatched;
    }
    samples.push_back(std::move(sample));
  }
  return samples;
}

}  // namespace hp::edit
