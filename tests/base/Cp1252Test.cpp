// The Windows-1252 codec: every stored byte must survive the trip to UTF-8
// and back, and foreign or broken UTF-8 must never leak into stored texts.
#include <gtest/gtest.h>

#include <string>

#include "base/Cp1252.h"

namespace hp::base {
namespace {

std::string Byte(unsigned b) { return std::string(1, static_cast<char>(b)); }

TEST(Cp1252, EveryByteRoundTripsThroughUtf8) {
  std::string all;
  for (unsigned b = 0; b <= 0xFF; ++b) {
    const std::string utf8 = Cp1252ToUtf8(Byte(b));
    EXPECT_TRUE(IsValidUtf8(utf8)) << "byte " << b;
    EXPECT_EQ(Utf8ToCp1252(utf8), Byte(b)) << "byte " << b;
    all += Byte(b);
  }
  // And as one text, so no state leaks from one character into the next.
  EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(all)), all);
}

TEST(Cp1252, MapsToUnicodeAndUtf8) {
  // 0x81 and 0x9D are undefined in the code page: the C1 control of the same value.
  const struct {
    unsigned byte;
    char32_t unicode;
    const char* utf8;
  } cases[] = {{0x7F, 0x007F, "\x7F"},     {0x80, 0x20AC, "\xE2\x82\xAC"}, {0x83, 0x0192, "\xC6\x92"},
               {0x8A, 0x0160, "\xC5\xA0"}, {0x96, 0x2013, "\xE2\x80\x93"}, {0x9F, 0x0178, "\xC5\xB8"},
               {0x81, 0x0081, "\xC2\x81"}, {0x9D, 0x009D, "\xC2\x9D"},     {0xB0, 0x00B0, "\xC2\xB0"},
               {0xFF, 0x00FF, "\xC3\xBF"}};
  for (const auto& c : cases) {
    EXPECT_EQ(Cp1252ToUnicode(static_cast<unsigned char>(c.byte)), c.unicode) << c.byte;
    EXPECT_EQ(Cp1252ToUtf8(Byte(c.byte)), c.utf8) << c.byte;
    EXPECT_EQ(static_cast<unsigned char>(UnicodeToCp1252(c.unicode)), c.byte) << c.byte;
  }
}

// Characters the code page lacks are replaced; the text around them is kept.
TEST(Cp1252, ReplacesCharactersOutsideTheCodePage) {
  EXPECT_EQ(Utf8ToCp1252("a\u03B1b x\u6D1Ey \U0001F987!"), "a?b x?y ?!");  // Greek, CJK, emoji
  EXPECT_EQ(Utf8ToCp1252("\u2026"), "\x85");                               // the ellipsis is in the code page
  EXPECT_EQ(Utf8ToCp1252("a\u03B1", '_'), "a_");
  EXPECT_EQ(UnicodeToCp1252(0x100), '?');
  // The C1 controls that the code page redefines are not in it.
  EXPECT_EQ(UnicodeToCp1252(0x80), '?');
  EXPECT_EQ(UnicodeToCp1252(0x9F), '?');
}

// A broken sequence becomes replacement characters only; it must not swallow
// the valid text after it nor produce any other byte.
TEST(Cp1252, MalformedUtf8BecomesReplacementCharacters) {
  const struct {
    std::string bytes, after;
  } cases[] = {{"\xC0\xAF", "z"},
               {"\xC0\x80", "z"},
               {"\xE0\x80\xAF", "z"},
               {"\xF0\x80\x80\xAF", "z"},
               {"\xE2\x82", ""},
               {"\xE2\x82", "Bc"},
               {"\x80", "z"},
               {"\xED\xA0\x80", "z"},
               {"\xF4\x90\x80\x80", "z"},
               {"\xF8\x88\x80\x80\x80", "z"},
               {"\xFF", "z"}};
  for (const auto& m : cases) {
    const std::string text = "A" + m.bytes + m.after;
    EXPECT_FALSE(IsValidUtf8(text));
    const std::string converted = Utf8ToCp1252(text);
    ASSERT_GE(converted.size(), 2 + m.after.size()) << converted;
    EXPECT_EQ(converted.front(), 'A');
    const std::string middle = converted.substr(1, converted.size() - 1 - m.after.size());
    EXPECT_EQ(middle.find_first_not_of('?'), std::string::npos) << middle;
    EXPECT_EQ(converted.substr(converted.size() - m.after.size()), m.after);
  }
  for (const char* text : {"", "\xE2\x82\xAC", "\xF0\x9F\xA6\x87", "\xF4\x8F\xBF\xBF"}) {
    EXPECT_TRUE(IsValidUtf8(text));
  }
  EXPECT_FALSE(IsValidUtf8("H\xF6hle"));  // Windows-1252 text is not UTF-8
}

TEST(Cp1252, CaseMapping) {
  // ä Ä, þ Þ, ÿ Ÿ, š Š, œ Œ
  for (auto [lower, upper] : {std::pair{'a', 'A'},
                              {'\xE4', '\xC4'},
                              {'\xFE', '\xDE'},
                              {'\xFF', '\x9F'},
                              {'\x9A', '\x8A'},
                              {'\x9C', '\x8C'}}) {
    const auto l = static_cast<unsigned char>(lower), u = static_cast<unsigned char>(upper);
    EXPECT_EQ(Cp1252ToUpper(l), u) << int(l);
    EXPECT_EQ(Cp1252ToLower(u), l) << int(u);
    EXPECT_EQ(Cp1252ToUpper(u), u) << int(u);
    EXPECT_EQ(Cp1252ToLower(l), l) << int(l);
  }
  // ß and µ have no single-byte partner; × and ÷ are not letters.
  for (unsigned b : {0xDFu, 0xB5u, 0xD7u, 0xF7u, unsigned('@'), unsigned('['), 0x81u, 0xAAu}) {
    EXPECT_EQ(Cp1252ToUpper(static_cast<unsigned char>(b)), b) << b;
    EXPECT_EQ(Cp1252ToLower(static_cast<unsigned char>(b)), b) << b;
  }
  // No byte changes case into something that does not change back.
  for (unsigned b = 0; b <= 0xFF; ++b) {
    const auto c = static_cast<unsigned char>(b);
    EXPECT_TRUE(Cp1252ToUpper(c) == c || Cp1252ToLower(Cp1252ToUpper(c)) == c) << b;
    EXPECT_TRUE(Cp1252ToLower(c) == c || Cp1252ToUpper(Cp1252ToLower(c)) == c) << b;
  }
}

TEST(Cp1252, BlanksControlCharactersOnly) {
  // Letters of the code page (ö, €, Š) stay; CR, LF, tab, DEL and an undefined byte go.
  std::string text =
      "H\xF6hle\r\nNord\t\x80\x8A\x7F\x81"
      "Ende";
  EXPECT_EQ(BlankControlCharacters(text), 5u);
  EXPECT_EQ(text, "H\xF6hle  Nord \x80\x8A  Ende");
}

}  // namespace
}  // namespace hp::base
