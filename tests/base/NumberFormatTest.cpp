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
#include <ostream>
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

struct Fixed {
  double value;
  int decimals;
  const char* expected;
};

void PrintTo(const Fixed& f, std::ostream* os) { *os << f.value << " with " << f.decimals; }

class FormatFixedTable : public testing::TestWithParam<Fixed> {};

TEST_P(FormatFixedTable, PrintsAsPrintfInTheCLocale) {
  const Fixed& f = GetParam();
  EXPECT_EQ(FormatFixed(f.value, f.decimals), f.expected);
  EXPECT_EQ(FormatFixed(f.value, f.decimals), Printf(f.value, f.decimals));
}

INSTANTIATE_TEST_SUITE_P(
    Values, FormatFixedTable,
    testing::Values(Fixed{0.0, 2, "0.00"}, Fixed{-0.0, 2, "-0.00"}, Fixed{1.0, 2, "1.00"},
                    Fixed{0.005, 2, "0.01"},     // 0.005000000000000000104
                    Fixed{0.015, 2, "0.01"},     // 0.01499999999999999944
                    Fixed{2.675, 2, "2.67"},     // 2.67499999999999982236
                    Fixed{1.005, 2, "1.00"}, Fixed{0.125, 2, "0.12"},  // exact half: to even
                    Fixed{0.375, 2, "0.38"}, Fixed{2.5, 0, "2"}, Fixed{3.5, 0, "4"},
                    Fixed{-0.001, 2, "-0.00"}, Fixed{-0.005, 2, "-0.01"},
                    Fixed{-12.345, 2, "-12.35"}, Fixed{-1234.5678, 4, "-1234.5678"},
                    Fixed{1e20, 2, "100000000000000000000.00"}, Fixed{123456789.987, 2, "123456789.99"},
                    Fixed{0.1, 20, "0.10000000000000000555"}, Fixed{47.1234567849, 7, "47.1234568"},
                    Fixed{9.995, 2, "9.99"}, Fixed{99.995, 2, "100.00"}, Fixed{1e-300, 2, "0.00"}));

TEST(FormatFixed, MatchesPrintfOverManyValues) {
  std::mt19937_64 random(20260101);
  std::uniform_real_distribution<double> mantissa(-1.0, 1.0);
  std::uniform_int_distribution<int> exponent(-6, 12);
  for (int i = 0; i < 20000; ++i) {
    const double value = std::ldexp(mantissa(random), exponent(random) * 3);
    for (int decimals : {0, 2, 4, 7}) {
      ASSERT_EQ(FormatFixed(value, decimals), Printf(value, decimals)) << value;
    }
  }
  // Values that sit exactly on a half of the last place.
  for (int i = -2000; i <= 2000; ++i) {
    const double value = i / 8.0;
    ASSERT_EQ(FormatFixed(value, 2), Printf(value, 2)) << value;
  }
}

TEST(FormatFixed, ExtremeValuesAsPrintf) {
  for (double value : {DBL_MAX, -DBL_MAX, DBL_MIN, std::numeric_limits<double>::denorm_min(),
                       std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity(),
                       std::numeric_limits<double>::quiet_NaN()}) {
    for (int decimals : {0, 2, 7}) {
      EXPECT_EQ(FormatFixed(value, decimals), Printf(value, decimals)) << value << " " << decimals;
    }
  }
}

// The largest doubles have 309 integer digits; with many decimals the text is
// longer than any small fixed buffer.
TEST(FormatFixed, LongFractionsOfTheLargestValues) {
  for (double value : {DBL_MAX, -DBL_MAX}) {
    for (int decimals : {40, 60, 100}) {
      const std::string text = FormatFixed(value, decimals);
      const std::string expected = Printf(value, decimals);
      EXPECT_EQ(text.size(), expected.size()) << value << " with " << decimals << " decimals";
      EXPECT_TRUE(text == expected) << "starts " << text.substr(0, 20) << " instead of "
                                    << expected.substr(0, 20);
    }
  }
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

TEST(DecimalComma, ReplacesOnlyTheFirstPoint) {
  EXPECT_EQ(DecimalComma("12.50"), "12,50");
  EXPECT_EQ(DecimalComma("1.2.3"), "1,2.3");
  EXPECT_EQ(DecimalComma("42"), "42");
  EXPECT_EQ(DecimalComma(""), "");
  EXPECT_EQ(DecimalComma("-0.00%"), "-0,00%");
}

TEST(FormatShown, IsFixedTwoDecimalsWithComma) {
  EXPECT_EQ(FormatShown(1234.5), "1234,50");
  EXPECT_EQ(FormatShown(-0.001), "-0,00");
  EXPECT_EQ(FormatShown(2.675), "2,67");
  EXPECT_EQ(FormatShown(1e20), "100000000000000000000,00");
}

struct Rounded {
  double value;
  double expected;
};

void PrintTo(const Rounded& r, std::ostream* os) { *os << r.value; }

class RoundHundredthsTable : public testing::TestWithParam<Rounded> {};

// Halves go up (towards +infinity), and the value's binary representation
// decides the cases that look like halves in decimal.
TEST_P(RoundHundredthsTable, RoundsHalfUp) {
  EXPECT_DOUBLE_EQ(RoundHundredths(GetParam().value), GetParam().expected) << GetParam().value;
}

INSTANTIATE_TEST_SUITE_P(
    Edges, RoundHundredthsTable,
    testing::Values(Rounded{0.0, 0.0}, Rounded{1.234, 1.23}, Rounded{1.235, 1.24},
                    Rounded{0.125, 0.13},    // exact half goes up, unlike printf
                    Rounded{-0.125, -0.12},  // ... also for negative values
                    Rounded{-0.005, 0.0}, Rounded{-0.015, -0.01}, Rounded{-0.0051, -0.01},
                    Rounded{2.675, 2.68},    // the product rounds to 267.5: up, where printf says 2.67
                    Rounded{1.005, 1.0},     // 100.49999999999999 + 0.5 stays below 101
                    Rounded{0.994999, 0.99}, Rounded{99.995, 100.0}, Rounded{-99.995, -99.99},
                    Rounded{123456.789, 123456.79}));

struct Parsed {
  const char* text;
  double expected;
};

void PrintTo(const Parsed& p, std::ostream* os) { *os << '"' << p.text << '"'; }

class ParseNumberAccepts : public testing::TestWithParam<Parsed> {};

TEST_P(ParseNumberAccepts, Value) {
  const auto value = ParseNumber(GetParam().text);
  ASSERT_TRUE(value.has_value()) << GetParam().text;
  EXPECT_DOUBLE_EQ(*value, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ParseNumberAccepts,
    testing::Values(Parsed{"12.5", 12.5}, Parsed{"12,5", 12.5}, Parsed{"  -3,25\t", -3.25},
                    Parsed{"+7", 7}, Parsed{"-0", 0}, Parsed{",5", 0.5}, Parsed{"-.5", -0.5},
                    Parsed{"5.", 5}, Parsed{"1e3", 1000}, Parsed{"1,5E-2", 0.015},
                    Parsed{"2.5e+1", 25}, Parsed{"0012", 12}, Parsed{"\t360", 360}));

class ParseNumberRejects : public testing::TestWithParam<const char*> {};

TEST_P(ParseNumberRejects, Text) { EXPECT_EQ(ParseNumber(GetParam()), std::nullopt) << GetParam(); }

INSTANTIATE_TEST_SUITE_P(Texts, ParseNumberRejects,
                         testing::Values("", "   ", "1,2.3", "1.2,3", "1,2,3", "1.2.3", "abc",
                                         "12a", "inf", "-inf", "nan", "NaN", "infinity", "0x10",
                                         "1 2", "1e", "e5", ".", ",", "-", "+", "--1", "+-1",
                                         "++1", "1-", "1e400", "5 m"));

struct Integer {
  const char* text;
  std::optional<long long> expected;
};

void PrintTo(const Integer& i, std::ostream* os) { *os << '"' << i.text << '"'; }

class ParseIntegerTable : public testing::TestWithParam<Integer> {};

TEST_P(ParseIntegerTable, Value) { EXPECT_EQ(ParseInteger(GetParam().text), GetParam().expected) << GetParam().text; }

INSTANTIATE_TEST_SUITE_P(
    Texts, ParseIntegerTable,
    testing::Values(Integer{"0", 0}, Integer{"42", 42}, Integer{" -17 ", -17}, Integer{"+5", 5},
                    Integer{"9223372036854775807", LLONG_MAX},
                    Integer{"-9223372036854775808", LLONG_MIN},
                    Integer{"9223372036854775808", std::nullopt}, Integer{"", std::nullopt},
                    Integer{" ", std::nullopt}, Integer{"+", std::nullopt}, Integer{"-", std::nullopt},
                    Integer{"1.5", std::nullopt}, Integer{"1,0", std::nullopt},
                    Integer{"12abc", std::nullopt}, Integer{"0x1F", std::nullopt},
                    Integer{"1 2", std::nullopt}, Integer{"+-5", std::nullopt},
                    Integer{"--5", std::nullopt}));

struct Leading {
  const char* text;
  long expected;
};

void PrintTo(const Leading& l, std::ostream* os) { *os << '"' << l.text << '"'; }

class LeadingIntegerTable : public testing::TestWithParam<Leading> {};

TEST_P(LeadingIntegerTable, ReadsLikeAtol) { EXPECT_EQ(LeadingInteger(GetParam().text), GetParam().expected) << GetParam().text; }

INSTANTIATE_TEST_SUITE_P(
    Texts, LeadingIntegerTable,
    testing::Values(Leading{"", 0}, Leading{"abc", 0}, Leading{"123", 123},
                    Leading{"4711 Riesending", 4711}, Leading{"  -12x", -12},
                    Leading{"\n\t+8", 8}, Leading{"- 5", 0}, Leading{"--5", 0},
                    Leading{"12.9", 12}, Leading{"007", 7},
                    Leading{"2147483647", 2147483647L}, Leading{"2147483648", 2147483647L},
                    Leading{"99999999999999999999", 2147483647L},
                    Leading{"-2147483648", -2147483647L - 1},
                    Leading{"-99999999999999999999", -2147483647L - 1}));

}  // namespace
}  // namespace hp::base
