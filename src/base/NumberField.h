// Reading a number typed into a dialog field: the value, or the message that
// refuses the entry.
#pragma once

#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>

#include "base/FieldFault.h"

namespace hp::base {

// What a number field accepts and what it says otherwise.
struct NumberField {
  // Shown for a text that is no number (no whole number when `integer`).
  std::string notANumber{};
  // Shown for a number outside [min, max]; empty: `notANumber`.
  std::string outOfRange{};
  bool integer = false;  // whole numbers in decimal only
  double min = -std::numeric_limits<double>::infinity();
  double max = std::numeric_limits<double>::infinity();
};

// The typed `text` read as ParseNumber reads it (a comma or a point as
// decimal separator) or, for whole numbers, as ParseInteger reads it, and
// checked against [min, max] (whole numbers are exact up to 2^53): the value, or the message for the field.
std::variant<double, std::string> ReadNumberField(std::string_view text, const NumberField& field);

// Reads a dialog's number fields one after the other and keeps the first
// refusal, so a dialog reports the first bad field in its order.
template <typename Field>
class NumberFieldReader {
 public:
  // The value, or 0 when this field or an earlier one was refused.
  double Read(Field field, std::string_view text, const NumberField& rule) {
    if (fault) return 0;
    auto read = ReadNumberField(text, rule);
    if (auto* message = std::get_if<std::string>(&read)) {
      fault = FieldFault<Field>{field, std::move(*message)};
      return 0;
    }
    return std::get<double>(read);
  }

  std::optional<FieldFault<Field>> fault;
};

}  // namespace hp::base
