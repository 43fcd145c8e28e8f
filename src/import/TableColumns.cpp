// Column names of the table import and the readers of its field types.
#include "import/TableColumns.h"

#include <array>
#include <charconv>
#include <climits>
#include <limits>

#include "base/Cp1252.h"

namespace hp::imports {
namespace {

// The accepted names per kind, in Windows-1252 and in kind order. Literals
// are split after each escape so a following letter is not read as hex.
// clang-format off
constexpr std::array<const char*, 34> kColumnNames = {
    ";RH\xF6" "hle;RefH\xF6" "hle;RHoehle;RefHoehle;",
    ";RGang;RefGang;RMappe;RefMappe;RSerie;RefSerie;",
    ";RLinie;RefLinie;RPunkt;RefPunkt;",
    ";H\xF6" "hle;Hoehle;",
    ";Gang;Mappe;Serie;",
    ";Punkt;Linie;",
    ";L\xE4" "nge;Laenge;",
    ";Azimut;Kompass;",
    ";Neigung;Deklination;",
    ";Ger\xE4" "t;Geraet;",
    ";Richt;Richtung;",
    ";Farbe;",
    ";Ebene;",
    ";Ring;",
    ";RefX;RX;Rechtswert;",
    ";RefY;RY;Hochwert;",
    ";RefZ;RZ;Hoehe;H\xF6" "he;",
    ";X;",
    ";Y;",
    ";Z;",
    ";Links;QuerL;L;",
    ";Rechts;QuerR;R;",
    ";Oben;QuerO;O;",
    ";Unten;QuerU;U;",
    ";Bez;Bezeich;Bezeichnung;",
    ";Datum;",
    ";Mat;Material;",
    ";Ma\xDF" "nahme;Ma\xDF" "nahmen;Massnahme;Massnahmen;Todo;Todos;",
    ";Bem;Bemerk;Bemerkung;",
    ";Datei;URL;Datei/URL;",
    ";Include;Include-Datei;Anschluss;",
    ";Topofil1;Delta1;Start;Von;",
    ";Topofil2;Delta2;Ende;Bis;",
    ";Vermesser;",
};
// clang-format on

std::string UpperCase(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) c = static_cast<char>(base::Cp1252ToUpper(static_cast<unsigned char>(c)));
  return upper;
}

const std::array<std::string, 34>& UpperColumnNames() {
  static const std::array<std::string, 34> upper = [] {
    std::array<std::string, 34> lists;
    for (size_t i = 0; i < lists.size(); ++i) lists[i] = UpperCase(kColumnNames[i]);
    return lists;
  }();
  return upper;
}

// White space as the C library's scanf skips it in the C locale.
bool IsBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view SkipBlanks(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  return text.substr(i);
}

// Blanks, sign and digits; nothing without a digit. Saturates at `limit`.
std::optional<long long> LeadingDigits(std::string_view text, long long limit) {
  text = SkipBlanks(text);
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  if (text.empty() || !IsDigit(text.front())) return std::nullopt;
  long long value = 0;
  for (const char c : text) {
    if (!IsDigit(c)) break;
    if (value < limit) value = value * 10 + (c - '0');
  }
  if (value > limit) value = limit;
  return negative ? -value : value;
}

int DatePart(std::string_view text) { return static_cast<int>(LeadingDigits(text, 1000000).value_or(0)); }

bool IsLeapYear(int year) { return year % 4 == 0; }

int DaysInMonth(int month, int year) {
  static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

}  // namespace

TableColumn TableColumnOf(std::string_view field) {
  std::string key;
  key.reserve(field.size() + 2);
  key += ';';
  key += UpperCase(field);
  key += ';';
  const auto& lists = UpperColumnNames();
  for (size_t i = 0; i < lists.size(); ++i) {
    if (lists[i].find(key) != std::string::npos) return static_cast<TableColumn>(i + 1);
  }
  return TableColumn::Ignored;
}

std::optional<int32_t> ReadTableInteger(std::string_view field) {
  const auto value = LeadingDigits(field, static_cast<long long>(INT32_MAX) + 1);
  if (!value) return std::nullopt;
  if (*value > INT32_MAX) return INT32_MAX;
  return static_cast<int32_t>(*value);
}

std::optional<double> ReadTableNumber(std::string_view field) {
  // Only a field with a comma is copied (short ones stay in the string's own
  // buffer), so most fields cost no allocation.
  std::string withPoint;
  if (const size_t comma = field.find(','); comma != std::string_view::npos) {
    withPoint.assign(field);
    withPoint[comma] = '.';
    field = withPoint;
  }
  std::string_view rest = SkipBlanks(field);
  bool negative = false;
  if (!rest.empty() && (rest.front() == '+' || rest.front() == '-')) {
    negative = rest.front() == '-';
    rest.remove_prefix(1);
  }
  // "%lf" also reads "inf" and "nan"; they come back as read so that the
  // import can refuse them rather than take the field as empty.
  if (rest.empty() || rest.front() == '-' || rest.front() == '+') return std::nullopt;
  double value = 0;
  const auto [end, error] = std::from_chars(rest.data(), rest.data() + rest.size(), value);
  if (error == std::errc::result_out_of_range) value = std::numeric_limits<double>::infinity();
  else if (error != std::errc{}) return std::nullopt;
  return negative ? -value : value;
}

std::string ReadTableDate(std::string_view field) {
  const std::string_view text = field.substr(0, 10);
  const size_t first = text.find('.');
  const std::string_view dayText = text.substr(0, first);
  std::string_view monthText, yearText;
  if (first != std::string_view::npos) {
    const std::string_view rest = text.substr(first + 1);
    const size_t second = rest.find('.');
    monthText = rest.substr(0, second);
    if (second != std::string_view::npos) yearText = rest.substr(second + 1);
  }
  const int day = DatePart(dayText);
  const int month = DatePart(monthText);
  int year = DatePart(yearText);
  if (year >= 0 && year <= 49) year += 2000;
  else if (year >= 50 && year <= 99) year += 1900;
  if (year < 0 || year > 9999 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(month, year)) return {};
  // "%02d.%02d.%04d": the parts are in range here, so fixed digits suffice.
  const char stored[] = {static_cast<char>('0' + day / 10),
                         static_cast<char>('0' + day % 10),
                         '.',
                         static_cast<char>('0' + month / 10),
                         static_cast<char>('0' + month % 10),
                         '.',
                         static_cast<char>('0' + year / 1000),
                         static_cast<char>('0' + year / 100 % 10),
                         static_cast<char>('0' + year / 10 % 10),
                         static_cast<char>('0' + year % 10)};
  return std::string(stored, sizeof stored);
}

std::string ColumnNameForMessage(std::string_view field) {
  // A long field (a binary file's first line) is quoted in part; control
  // characters would garble the message.
  std::string quoted(field.substr(0, kMaxQuotedColumn));
  for (char& c : quoted) {
    if (static_cast<unsigned char>(c) < 0x20) c = '?';
  }
  std::string text = base::Cp1252ToUtf8(quoted);
  if (field.size() > kMaxQuotedColumn) text += "…";
  return text;
}

std::string UnknownColumnMessage(std::string_view field) {
  const std::string_view format = messages::kUnknownColumn;
  const size_t at = format.find("%s");
  return std::string(format.substr(0, at)) + ColumnNameForMessage(field) + std::string(format.substr(at + 2));
}

}  // namespace hp::imports
