// Locale-free number formatting and parsing: every number the program shows
// or stores as text goes through here, never through the process locale.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace hp::base {

// Fixed-point text with `decimals` places, as printf "%0.<decimals>f" prints
// it in the C locale (correctly rounded, "-0.00" kept as printf keeps it).
std::string FormatFixed(double value, int decimals);

// The first '.' of `text` replaced by ','.
std::string DecimalComma(std::string text);

// "%0.2lf" with a decimal comma: the form numbers are shown to the user in.
std::string FormatShown(double value);

// A number as entry fields show it: the shortest text that reads back as the
// same value, without exponent, with a decimal comma ("30", "0,1", "-1,5");
// "0" for values that are not finite.
std::string FormatEntryNumber(double value);

// Rounding to hundredths as the program does it: floor(v * 100 + 0.5) * 0.01.
double RoundHundredths(double value);

// Parses a decimal number typed by a user or read from a text file: optional
// blanks, sign, digits with '.' or ',' as decimal separator, optional
// exponent. Returns nothing when the text (after trailing blanks) holds
// anything else or no digits at all.
std::optional<double> ParseNumber(std::string_view text);

// Parses an integer in decimal (optional blanks and sign); nothing on any
// other text or on overflow of 64 bits.
std::optional<long long> ParseInteger(std::string_view text);

// Leading integer of a text as C's atol reads it: blanks, sign, digits; 0 when
// none. Values beyond 32 bits saturate.
long LeadingInteger(std::string_view text);

}  // namespace hp::base
