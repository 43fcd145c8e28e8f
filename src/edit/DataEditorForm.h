// The form of the survey data editor "Vermessungsdaten bearbeiten": one text
// per record field as the fields show it, how a record is shown, how the
// form is taken back into a record with its range checks, the pre-fill of a
// new record with the point-name increment, and the choice lists (instrument,
// level, surveyor, colour). Texts are Windows-1252 like the store.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/FieldFault.h"
#include "doc/DocumentSettings.h"
#include "doc/SurveyRecord.h"

namespace hp::edit {

// The fields of the form, in tab order.
enum class Field {
  RefCave,
  RefPassage,
  RefPoint,
  Cave,
  Passage,
  Point,
  TapeStart,
  TapeEnd,
  Length,
  Azimuth,
  Inclination,
  Left,
  Right,
  Up,
  Down,
  Instrument,
  Direction,
  Ring,
  Colour,
  Level,
  Date,
  Surveyor,
  Description,
  Material,
  Measures,
  Remark,
  FileUrl,
  IncludeFile,
  RefX,
  RefY,
  RefZ,
  X,
  Y,
  Z,
};
inline constexpr size_t kFieldCount = static_cast<size_t>(Field::Z) + 1;

enum class FieldKind { Integer, Number, Text, Choice, Computed };
FieldKind KindOf(Field field);
// Longest text a field takes (characters); 0 for fields without a limit.
size_t MaxLength(Field field);

// What every field shows. Choice fields (instrument, colour, level,
// surveyor) hold the chosen number as text; in the search form an empty
// text means "not a criterion".
struct RecordForm {
  std::array<std::string, kFieldCount> values;

  std::string& operator[](Field f) { return values[static_cast<size_t>(f)]; }
  const std::string& operator[](Field f) const { return values[static_cast<size_t>(f)]; }
  bool operator==(const RecordForm&) const = default;
};

// An entry the form refused: the field to mark and the message.
using FieldFault = base::FieldFault<Field>;

// Instrument and colour values outside their ranges, corrected in the
// record itself as the editor shows or saves it: an instrument outside 0 to
// 16 becomes 0; a colour below -16 becomes -1, above 32 becomes 1.
void CorrectRanges(doc::SurveyRecord& record);
int CorrectColour(int colour);

// The form showing `record`: lengths, angles and coordinates rounded to two
// decimals, passage dimensions, distance-meter readings and the ring as they
// are; numbers with a decimal comma.
RecordForm ShowRecord(const doc::SurveyRecord& record);

// The angle ranges a record's instrument accepts; none without instrument.
struct AngleRange {
  double min = 0, max = 0;
};
std::optional<AngleRange> AzimuthRange(const doc::DocumentSettings& settings, int instrument);
std::optional<AngleRange> InclinationRange(const doc::DocumentSettings& settings, int instrument);

// No entered length, coordinate or other number may lie beyond this many
// metres (or units) from zero.
inline constexpr double kMaxEntry = 1e7;

// A date as records store it ("%02d.%02d.%04d") from an entry of day, month
// and year separated by points (one or two digits for day and month, four for
// the year): only real calendar dates of the years 1 to 9999. A blank entry
// is the empty date; anything else is refused (nothing).
std::optional<std::string> StoredDate(std::string_view text);

// Takes the form into `record` (every field except the computed
// coordinates). Numbers beyond kMaxEntry and dates StoredDate refuses are
// refused with their field. A field whose text is still what `shown` showed keeps the
// record's exact value, so saving an untouched record does not round it.
// Nothing is changed when an entry is refused.
std::optional<FieldFault> TakeForm(const RecordForm& form, const RecordForm& shown,
                                   const doc::DocumentSettings& settings, doc::SurveyRecord& record);

// The point name a new record gets after `name`: the digits at its end (at
// most 8 of them) as a number plus 1, 100000000 wrapping to 0, written after
// the part in front of them, cut to 12 characters; a name without digits at
// its end gets a 1; an empty name stays empty.
std::string IncrementPointName(std::string_view name);

// Where "&Neu" puts a new record.
enum class Placement {
  Before = 0,              // "&vor dem aktuellen Datensatz"
  After = 1,               // "&nach dem aktuellen Datensatz"
  AfterPrefilled = 2,      // "&danach mit Vorbelegung"
  AfterSameReference = 3,  // "&danach mit gleicher &Referenz"
  AtEnd = 4,               // "am &Ende"
  AtEndPrefilled = 5,      // "am Ende &mit Vorbelegung"
};
inline constexpr int kPlacementCount = 6;

// The record number (from 1) of a new record; `current` 0 with no records.
int NewRecordNumber(Placement placement, int current, int count);
// A new record for `placement`, pre-filled from `current` where the
// placement asks for it (null: an empty list).
doc::SurveyRecord NewRecord(Placement placement, const doc::SurveyRecord* current);

// ---- choice lists -----------------------------------------------------------

struct Choice {
  int value = 0;
  std::string text;  // Windows-1252
};

// "0: Kein Gerät" and "1: " to "16: " with the instrument names.
std::vector<Choice> InstrumentChoices(const doc::DocumentSettings& settings);
// The lines of a level or surveyor text numbered 1 to 8 whose text before
// the first ":" is exactly the decimal number it reads as.
std::vector<Choice> NameChoices(std::string_view stored);
// The list with `value` added (as its bare number) when no entry has it, so
// a value outside the offered ones survives a save.
std::vector<Choice> WithValue(std::vector<Choice> choices, int value);

// The colour picker's entries -16 to 32 and what each sample shows: values
// 1 to 16 the document's line colour, the others the colour of their line
// colour index ((|c| - 1) mod 16) + 1 as a hatched pattern, 0 as an empty
// crossed sample.
inline constexpr int kMinColour = -16;
inline constexpr int kMaxColour = 32;
struct ColourSample {
  int value = 0;
  std::string text;     // "%d"
  uint32_t colour = 0;  // 0x00BBGGRR
  enum class Pattern { Solid, Hatched, Crossed } pattern = Pattern::Solid;
};
std::vector<ColourSample> ColourSamples(const doc::DocumentSettings& settings);

}  // namespace hp::edit
