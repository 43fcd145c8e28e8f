// Number fields of the dialogs and the messages refusing their entries.
#include "base/NumberField.h"

#include <optional>

#include "base/FieldMessages.h"
#include "base/NumberFormat.h"

namespace hp::base {

namespace {

std::string Between(double min, double max) {
  return " zwischen " + FormatEntryNumber(min) + " und " + FormatEntryNumber(max);
}

}  // namespace

namespace messages {

std::string EnterNumberBetween(double min, double max) {
  return "Bitte geben Sie eine Zahl" + Between(min, max) + " ein.";
}

std::string NumberBetweenPlease(double min, double max) { return "Bitte eine Zahl" + Between(min, max) + " eingeben."; }

std::string IntegerBetweenPlease(double min, double max) {
  return "Bitte eine ganze Zahl" + Between(min, max) + " eingeben.";
}

}  // namespace messages

std::variant<double, std::string> ReadNumberField(std::string_view text, const NumberField& field) {
  std::optional<double> value;
  if (field.integer) {
    if (const auto whole = ParseInteger(text)) value = static_cast<double>(*whole);
  } else {
    value = ParseNumber(text);
  }
  if (!value) return field.notANumber;
  if (*value < field.min || *value > field.max) return field.outOfRange.empty() ? field.notANumber : field.outOfRange;
  return *value;
}

}  // namespace hp::base
