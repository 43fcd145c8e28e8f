// Columns of the table import: the kinds of column a header field can name,
// the names each kind accepts, and how a field of each kind is read.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace hp::imports {

// Column kinds in the order their name lists are searched.
enum class TableColumn : uint8_t {
  Ignored = 0,
  RefCave,
  RefPassage,
  RefPoint,
  Cave,
  Passage,
  Point,
  Length,
  Azimuth,
  Inclination,
  Instrument,
  Direction,
  Colour,
  Level,
  Ring,
  RefX,
  RefY,
  RefZ,
  X,
  Y,
  Z,
  Left,
  Right,
  Up,
  Down,
  Description,
  Date,
  Material,
  Measures,
  Remark,
  FileUrl,
  IncludeFile,
  TapeStart,
  TapeEnd,
  Surveyor,
};

// Fields of a line after this many are not read (header and data lines).
inline constexpr size_t kMaxTableFields = 100;

// The kind a header field names: the first kind whose name list holds the
// field, both compared in Windows-1252 upper case. Ignored when none does.
TableColumn TableColumnOf(std::string_view field);

// An integer field as "%ld" reads it: blanks, sign, digits ("12abc" is 12).
// Nothing when no digits follow; values beyond 32 bits saturate.
std::optional<int32_t> ReadTableInteger(std::string_view field);

// A number field: its first comma is taken as the decimal point, then it is
// read as "%lf" reads it in the C locale ("1,234,5" is 1.234). Nothing when
// no number starts the field. "inf" and "nan" are read as such, and values
// beyond the range of a double as infinity: the caller decides on them.
std::optional<double> ReadTableNumber(std::string_view field);

// A date field as stored: its first 10 characters split at the first two
// points into day, month and year; two-digit years mean 1950 to 2049.
// "dd.mm.yyyy", or empty when the date does not exist.
std::string ReadTableDate(std::string_view field);

// A header field as messages quote it (UTF-8): at most kMaxQuotedColumn
// characters, control characters shown as "?".
inline constexpr size_t kMaxQuotedColumn = 80;
std::string ColumnNameForMessage(std::string_view field);
// The message for a header field of no known kind.
std::string UnknownColumnMessage(std::string_view field);

namespace messages {
inline constexpr const char* kUnknownColumn = "Die Spalte %s kann nicht importiert werden.";
}  // namespace messages

}  // namespace hp::imports
