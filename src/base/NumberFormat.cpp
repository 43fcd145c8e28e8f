// Locale-free number formatting and parsing.
#include "base/NumberFormat.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <system_error>

namespace hp::base {

std::string FormatFixed(double value, int decimals) {
  if (std::isnan(value)) return std::signbit(value) ? "-nan" : "nan";
  if (std::isinf(value)) return value < 0 ? "-inf" : "inf";
  if (decimals < 0) decimals = 0;
  // 309 integer digits, sign, point and the decimals always fit.
  std::string text(static_cast<size_t>(decimals) + 320, '\0');
  const auto result = std::to_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed, decimals);
  text.resize(static_cast<size_t>(result.ptr - text.data()));
  return text;
}

std::string DecimalComma(std::string text) {
  if (const auto dot = text.find('.'); dot != std::string::npos) text[dot] = ',';
  return text;
}

std::string FormatShown(double value) { return DecimalComma(FormatFixed(value, 2)); }

std::string FormatEntryNumber(double value) {
  if (!std::isfinite(value)) return "0";
  if (value == 0) value = 0;  // no "-0"
  char buffer[400];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
  return DecimalComma(std::string(buffer, result.ptr));
}

double RoundHundredths(double value) { return std::floor(value * 100 + 0.5) * 0.01; }

namespace {
std::string_view TrimBlanks(std::string_view text) {
  const auto isBlank = [](char c) { return c == ' ' || c == '\t'; };
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
  return text;
}
}  // namespace

std::optional<double> ParseNumber(std::string_view text) {
  text = TrimBlanks(text);
  if (text.empty() || text.size() > 400) return std::nullopt;
  std::string normal(text);
  const bool plus = normal.front() == '+';
  if (plus) normal.erase(0, 1);
  if (normal.empty() || normal.front() == '+' || (plus && normal.front() == '-')) return std::nullopt;
  // Digits, one separator, sign and exponent only: no "inf", "nan" or hex.
  if (normal.find_first_not_of("0123456789.,-+eE") != std::string::npos) return std::nullopt;
  if (const auto comma = normal.find(','); comma != std::string::npos) {
    if (normal.find('.') != std::string::npos) return std::nullopt;
    normal[comma] = '.';
  }
  double value = 0;
  const char* end = normal.data() + normal.size();
  const auto result = std::from_chars(normal.data(), end, value);
  if (result.ec == std::errc::invalid_argument || result.ptr != end) return std::nullopt;
  if (result.ec == std::errc::result_out_of_range) return std::nullopt;
  return value;
}

std::optional<long long> ParseInteger(std::string_view text) {
  text = TrimBlanks(text);
  if (!text.empty() && text.front() == '+') {
    text.remove_prefix(1);
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) return std::nullopt;
  }
  long long value = 0;
  const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || result.ec != std::errc() || result.ptr != text.data() + text.size()) {
    return std::nullopt;
  }
  return value;
}

long LeadingInteger(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\n' || text[i] == '\r' ||
                             text[i] == '\v' || text[i] == '\f')) {
    ++i;
  }
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  long long value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > INT_MAX) {
      value = static_cast<long long>(INT_MAX) + 1;
      break;
    }
  }
  if (negative) value = -value;
  if (value > INT_MAX) value = INT_MAX;
  if (value < INT_MIN) value = INT_MIN;
  return static_cast<long>(value);
}

}  // namespace hp::base
