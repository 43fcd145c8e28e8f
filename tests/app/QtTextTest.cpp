// The texts between the core and the widgets: stored Windows-1252 texts
// and the program's UTF-8 texts.
#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "app/QtText.h"

namespace hp::app {
namespace {

TEST(QtTextTest, StoredTextsShowAsUnicodeAndAreStoredBackByteForByte) {
  const struct {
    std::string stored;
    QString shown;
  } cases[] = {
      {"H\xF6hle", QStringLiteral(u"H\u00f6hle")},
      {"Ma\xDFnahmen \x80 5", QStringLiteral(u"Ma\u00dfnahmen \u20ac 5")},
      {"\x84Gang\x93", QStringLiteral(u"\u201eGang\u201c")},
      {"", QString()},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FromStored(c.stored), c.shown) << c.stored;
    EXPECT_EQ(ToStored(c.shown), c.stored) << c.stored;
  }
  // A character without a stored byte becomes a question mark.
  EXPECT_EQ(ToStored(QStringLiteral(u"\u03a9-Gang")), "?-Gang");
}

TEST(QtTextTest, AProgramTextEndsWhereItsViewEnds) {
  const std::string_view text = "Gang-Ende";
  EXPECT_EQ(Q(text.substr(0, 4)), QStringLiteral("Gang"));
  EXPECT_EQ(Q("Str\xC3\xA4hne"), QStringLiteral(u"Str\u00e4hne"));
}

}  // namespace
}  // namespace hp::app
