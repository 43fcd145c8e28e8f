// Number formatting, rounding and parsing: what the surveyor reads and types
// must not depend on the machine's locale and must match printf to the digit.
#include <gtest/gtest.h>

#include <cfloat>
#include <climits>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <limits>
#include <optional>
#include <random>
#include <string>

#include "base/NumberFormat.h"

namespace hp::base {
namespace {

std::string Printf(double value, int decimals) {
  char buffer[512];
  std::snprintf(buffer, sizeof buffer, "%0.*f", decimals, value);
  return buffer;
}

// Values whose rounding is easy to get wrong (decimal halves that are no
// binary halves, -0, a carry into a new digit), extremes, many random values
// and the exact halves of the last place.
TEST(FormatFixed, PrintsAsPrintfInTheCLocale) {
  const double inf = std::numeric_limits<double>::infinity();
  for (const double value : {-0.0,
                             0.005,
                             0.015,
                             2.675,
                             0.125,
                             2.5,
                             3.5,
                             -0.001,
                             -12.345,
                             1e20,
                             0.1,
                             99.995,
                             1e-300,
                             DBL_MAX,
                             -DBL_MAX,
                             DBL_MIN,
                             std::numeric_limits<double>::denorm_min(),
                             inf,
                             -inf,
                             std::numeric_limits<double>::quiet_NaN()}) {
    for (const int decimals : {0, 2, 7, 20, 100}) {
      EXPECT_EQ(FormatFixed(value, decimals), Printf(value, decimals)) << value << " with " << decimals;
    }
  }
  std::mt19937_64 random(20260101);
  std::uniform_real_distribution<double> mantissa(-1.0, 1.0);
  std::uniform_int_distribution<int> exponent(-6, 12);
  for (int i = 0; i < 20000; ++i) {
    const double value = std::ldexp(mantissa(random), exponent(random) * 3);
    for (int decimals : {0, 2, 4, 7}) ASSERT_EQ(FormatFixed(value, decimals), Printf(value, decimals)) << value;
  }
  for (int i = -2000; i <= 2000; ++i) ASSERT_EQ(FormatFixed(i / 8.0, 2), Printf(i / 8.0, 2)) << i / 8.0;
}

// Qt sets the C library locale from the environment; a German locale must not
// turn the stored and exported numbers into comma numbers.
TEST(FormatFixed, DoesNotDependOnTheProcessLocale) {
  const std::string previous = std::setlocale(LC_ALL, nullptr);
  const char* german = nullptr;
  for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE", "de_AT.UTF-8", "fr_FR.UTF-8"}) {
    if (std::setlocale(LC_ALL, name)) {
      german = name;
      break;
    }
  }
  if (!german) GTEST_SKIP() << "no locale with a decimal comma installed";
  const std::string text = FormatFixed(-1234.567, 2);
  const std::optional<double> parsed = ParseNumber("1.5");
  const std::string shown = FormatShown(2.5);
  std::setlocale(LC_ALL, previous.c_str());
  EXPECT_EQ(text, "-1234.57") << german;
  EXPECT_EQ(parsed, 1.5) << german;
  EXPECT_EQ(shown, "2,50") << german;
}

TEST(FormatShown, IsFixedTwoDecimalsWithComma) {
  EXPECT_EQ(DecimalComma("1.2.3"), "1,2.3");
  EXPECT_EQ(FormatShown(-0.001), "-0,00");
  EXPECT_EQ(FormatShown(2.675), "2,67");
}

// Halves go up (towards +infinity), and the value's binary representation
// decides the cases that look like halves in decimal.
TEST(RoundHundredths, RoundsHalfUp) {
  const struct {
    double value, expected;
  } cases[] = {
      {1.234, 1.23},   {1.235, 1.24},    {0.125, 0.13},  // exact half goes up, unlike printf
      {-0.125, -0.12},                                   // ... also for negative values
      {-0.005, 0.0},   {-0.0051, -0.01}, {2.675, 2.68},  // the product rounds to 267.5: up, where printf says 2.67
      {1.005, 1.0},                                      // 100.49999999999999 + 0.5 stays below 101
      {99.995, 100.0}, {-99.995, -99.99}};
  for (const auto& c : cases) EXPECT_DOUBLE_EQ(RoundHundredths(c.value), c.expected) << c.value;
}

TEST(ParseNumber, AcceptsPointOrCommaAndRejectsTheRest) {
  const struct {
    const char* text;
    double expected;
  } accepted[] = {{"12,5", 12.5}, {"  -3,25\t", -3.25}, {"+7", 7},   {",5", 0.5}, {"-.5", -0.5},
                  {"5.", 5},      {"1,5E-2", 0.015},    {"0012", 12}};
  for (const auto& c : accepted) EXPECT_DOUBLE_EQ(ParseNumber(c.text).value_or(NAN), c.expected) << c.text;
  for (const char* text : {"", "   ", "1,2.3", "1.2,3", "12a", "inf", "nan", "0x10", "1 2", "1e", ".", "-", "--1",
                           "+-1", "1e400", "5 m"}) {
    EXPECT_EQ(ParseNumber(text), std::nullopt) << text;
  }
}

TEST(ParseInteger, WholeTextInRange) {
  EXPECT_EQ(ParseInteger(" -17 "), -17);
  EXPECT_EQ(ParseInteger("+5"), 5);
  EXPECT_EQ(ParseInteger("9223372036854775807"), LLONG_MAX);
  EXPECT_EQ(ParseInteger("-9223372036854775808"), LLONG_MIN);
  for (const char* text : {"9223372036854775808", "", " ", "-", "1.5", "1,0", "12abc", "0x1F", "1 2", "+-5"}) {
    EXPECT_EQ(ParseInteger(text), std::nullopt) << text;
  }
}

TEST(LeadingInteger, ReadsLikeAtolClampedToInt) {
  const struct {
    const char* text;
    long expected;
  } cases[] = {{"abc", 0},
               {"4711 Riesending", 4711},
               {"\n\t+8", 8},
               {"- 5", 0},
               {"--5", 0},
               {"12.9", 12},
               {"2147483648", 2147483647L},
               {"99999999999999999999", 2147483647L},
               {"-99999999999999999999", -2147483647L - 1}};
  for (const auto& c : cases) EXPECT_EQ(LeadingInteger(c.text), c.expected) << c.text;
}

}  // namespace
}  // namespace hp::base
