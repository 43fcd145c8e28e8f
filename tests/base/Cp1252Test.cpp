// The Windows-1252 codec: every stored byte must survive the trip to UTF-8
// and back, and foreign or broken UTF-8 must never leak into stored texts.
#include <gtest/gtest.h>

#include <string>

#include "base/Cp1252.h"

namespace hp::base {
namespace {

std::string Byte(unsigned b) { return std::string(1, static_cast<char>(b)); }

TEST(Cp1252, EveryByteRoundTripsThroughUtf8) {
  for (unsigned b = 0; b <= 0xFF; ++b) {
    const std::string utf8 = Cp1252ToUtf8(Byte(b));
    EXPECT_TRUE(IsValidUtf8(utf8)) << "byte " << b;
    EXPECT_EQ(Utf8ToCp1252(utf8), Byte(b)) << "byte " << b;
  }
  // And as one text, so no state leaks from one character into the next.
  std::string all;
  for (unsigned b = 0; b <= 0xFF; ++b) all += Byte(b);
  EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(all)), all);
}

struct CodePoint {
  unsigned byte;
  char32_t unicode;
  const char* utf8;
};

class Cp1252Table : public testing::TestWithParam<CodePoint> {};

TEST_P(Cp1252Table, MapsToUnicodeAndUtf8) {
  const CodePoint& c = GetParam();
  EXPECT_EQ(Cp1252ToUnicode(static_cast<unsigned char>(c.byte)), c.unicode);
  EXPECT_EQ(Cp1252ToUtf8(Byte(c.byte)), c.utf8);
  EXPECT_EQ(static_cast<unsigned char>(UnicodeToCp1252(c.unicode)), c.byte);
}

INSTANTIATE_TEST_SUITE_P(
    Bytes, Cp1252Table,
    testing::Values(CodePoint{0x41, 0x0041, "A"}, CodePoint{0x7F, 0x007F, "\x7F"},
                    CodePoint{0x80, 0x20AC, "\xE2\x82\xAC"},   // euro sign
                    CodePoint{0x82, 0x201A, "\xE2\x80\x9A"},
                    CodePoint{0x83, 0x0192, "\xC6\x92"},
                    CodePoint{0x8A, 0x0160, "\xC5\xA0"},       // Š
                    CodePoint{0x8C, 0x0152, "\xC5\x92"},       // Œ
                    CodePoint{0x8E, 0x017D, "\xC5\xBD"},       // Ž
                    CodePoint{0x96, 0x2013, "\xE2\x80\x93"},   // en dash
                    CodePoint{0x99, 0x2122, "\xE2\x84\xA2"},   // trade mark
                    CodePoint{0x9A, 0x0161, "\xC5\xA1"},       // š
                    CodePoint{0x9F, 0x0178, "\xC5\xB8"},       // Ÿ
                    // Undefined in the code page: the C1 control of the same value.
                    CodePoint{0x81, 0x0081, "\xC2\x81"}, CodePoint{0x8D, 0x008D, "\xC2\x8D"},
                    CodePoint{0x8F, 0x008F, "\xC2\x8F"}, CodePoint{0x90, 0x0090, "\xC2\x90"},
                    CodePoint{0x9D, 0x009D, "\xC2\x9D"},
                    CodePoint{0xA0, 0x00A0, "\xC2\xA0"}, CodePoint{0xB0, 0x00B0, "\xC2\xB0"},  // degree
                    CodePoint{0xC4, 0x00C4, "\xC3\x84"}, CodePoint{0xDF, 0x00DF, "\xC3\x9F"},
                    CodePoint{0xF6, 0x00F6, "\xC3\xB6"}, CodePoint{0xFF, 0x00FF, "\xC3\xBF"}));

struct Foreign {
  const char* name;
  std::string utf8;
  std::string expected;
};

class Utf8ToCp1252Replaces : public testing::TestWithParam<Foreign> {};

// Characters the code page lacks are replaced; the text around them is kept.
TEST_P(Utf8ToCp1252Replaces, CharactersOutsideTheCodePage) {
  EXPECT_EQ(Utf8ToCp1252(GetParam().utf8), GetParam().expected);
  EXPECT_TRUE(IsValidUtf8(GetParam().utf8));
}

INSTANTIATE_TEST_SUITE_P(
    Texts, Utf8ToCp1252Replaces,
    testing::Values(Foreign{"Greek", "a\xCE\xB1" "b", "a?b"},               // U+03B1
                    Foreign{"Cyrillic", "\xD0\x96", "?"},                   // U+0416
                    Foreign{"CJK", "x\xE6\xB4\x9E" "y", "x?y"},             // U+6D1E
                    Foreign{"Emoji", "\xF0\x9F\xA6\x87!", "?!"},            // U+1F987
                    Foreign{"Ellipsis", "\xE2\x80\xA6", "\x85"},            // in the code page
                    Foreign{"ReplacementChar", "\xEF\xBF\xBD", "?"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Cp1252, ReplacementCharacterIsConfigurable) {
  EXPECT_EQ(Utf8ToCp1252("a\xCE\xB1", '_'), "a_");
  EXPECT_EQ(UnicodeToCp1252(0x3B1, '#'), '#');
  EXPECT_EQ(UnicodeToCp1252(0x100), '?');
  // The C1 controls that the code page redefines are not in it.
  EXPECT_EQ(UnicodeToCp1252(0x80), '?');
  EXPECT_EQ(UnicodeToCp1252(0x9F), '?');
}

struct Malformed {
  const char* name;
  std::string bytes;
  std::string after;  // the valid text after the broken part, kept as it is
};

class MalformedUtf8 : public testing::TestWithParam<Malformed> {};

// A broken sequence becomes replacement characters only; it must not swallow
// the valid text after it nor produce any other byte.
TEST_P(MalformedUtf8, BecomesReplacementCharacters) {
  const Malformed& m = GetParam();
  const std::string text = "A" + m.bytes + m.after;
  EXPECT_FALSE(IsValidUtf8(text));
  const std::string converted = Utf8ToCp1252(text);
  ASSERT_GE(converted.size(), 2 + m.after.size()) << converted;
  EXPECT_EQ(converted.front(), 'A');
  const std::string middle = converted.substr(1, converted.size() - 1 - m.after.size());
  EXPECT_EQ(middle.find_first_not_of('?'), std::string::npos) << middle;
  EXPECT_EQ(converted.substr(converted.size() - m.after.size()), m.after);
}

INSTANTIATE_TEST_SUITE_P(
    Sequences, MalformedUtf8,
    testing::Values(Malformed{"OverlongSlash", "\xC0\xAF", "z"},
                    Malformed{"OverlongNul", "\xC0\x80", "z"},
                    Malformed{"OverlongThreeBytes", "\xE0\x80\xAF", "z"},
                    Malformed{"OverlongFourBytes", "\xF0\x80\x80\xAF", "z"},
                    Malformed{"TruncatedAtEnd", "\xC3", ""},
                    Malformed{"TruncatedThreeAtEnd", "\xE2\x82", ""},
                    Malformed{"TruncatedBeforeAscii", "\xE2\x82", "Bc"},
                    Malformed{"LeadBeforeAscii", "\xC3", "Z"},
                    Malformed{"LoneContinuation", "\x80", "z"},
                    Malformed{"HighSurrogate", "\xED\xA0\x80", "z"},
                    Malformed{"LowSurrogate", "\xED\xBF\xBF", "z"},
                    Malformed{"AboveUnicode", "\xF4\x90\x80\x80", "z"},
                    Malformed{"InvalidLeadF8", "\xF8\x88\x80\x80\x80", "z"},
                    Malformed{"InvalidLeadFF", "\xFF", "z"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Cp1252, IsValidUtf8AcceptsWellFormedText) {
  for (const char* text : {"", "plain ascii", "\xC3\xA4\xC3\xB6\xC3\xBC", "\xE2\x82\xAC",
                           "\xF0\x9F\xA6\x87", "\xF4\x8F\xBF\xBF", "\xEE\x80\x80"}) {
    EXPECT_TRUE(IsValidUtf8(text)) << text;
  }
  // Windows-1252 text is not UTF-8.
  EXPECT_FALSE(IsValidUtf8("H\xF6hle"));
}

struct CasePair {
  unsigned lower;
  unsigned upper;
};

class Cp1252Case : public testing::TestWithParam<CasePair> {};

TEST_P(Cp1252Case, PairsMapBothWays) {
  const auto [lower, upper] = GetParam();
  EXPECT_EQ(Cp1252ToUpper(static_cast<unsigned char>(lower)), upper);
  EXPECT_EQ(Cp1252ToLower(static_cast<unsigned char>(upper)), lower);
  EXPECT_EQ(Cp1252ToUpper(static_cast<unsigned char>(upper)), upper);
  EXPECT_EQ(Cp1252ToLower(static_cast<unsigned char>(lower)), lower);
}

INSTANTIATE_TEST_SUITE_P(Letters, Cp1252Case,
                         testing::Values(CasePair{'a', 'A'}, CasePair{'z', 'Z'},
                                         CasePair{0xE4, 0xC4},    // ä Ä
                                         CasePair{0xF6, 0xD6},    // ö Ö
                                         CasePair{0xFC, 0xDC},    // ü Ü
                                         CasePair{0xE0, 0xC0},    // à À
                                         CasePair{0xFE, 0xDE},    // þ Þ
                                         CasePair{0xFF, 0x9F},    // ÿ Ÿ
                                         CasePair{0x9A, 0x8A},    // š Š
                                         CasePair{0x9C, 0x8C},    // œ Œ
                                         CasePair{0x9E, 0x8E}));  // ž Ž

TEST(Cp1252, CaseLeavesNonLettersAlone) {
  // ß and µ have no single-byte partner; × and ÷ are not letters.
  for (unsigned b : {0xDFu, 0xB5u, 0xD7u, 0xF7u, unsigned('0'), unsigned('@'), unsigned('['),
                     0x80u, 0x81u, 0xA0u, 0xAAu, 0xBAu}) {
    EXPECT_EQ(Cp1252ToUpper(static_cast<unsigned char>(b)), b) << b;
    EXPECT_EQ(Cp1252ToLower(static_cast<unsigned char>(b)), b) << b;
  }
  // No byte changes case into something that does not change back.
  for (unsigned b = 0; b <= 0xFF; ++b) {
    const auto c = static_cast<unsigned char>(b);
    if (Cp1252ToUpper(c) != c) {
      EXPECT_EQ(Cp1252ToLower(Cp1252ToUpper(c)), c) << b;
    }
    if (Cp1252ToLower(c) != c) {
      EXPECT_EQ(Cp1252ToUpper(Cp1252ToLower(c)), c) << b;
    }
  }
}

}  // namespace
}  // namespace hp::base
