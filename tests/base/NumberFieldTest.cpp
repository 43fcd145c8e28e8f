// Number fields of the dialogs: what a typed text is read as, and which
// message refuses it.
#include <gtest/gtest.h>

#include <string>
#include <variant>

#include "base/FieldMessages.h"
#include "base/NumberField.h"

namespace hp::base {
namespace {

TEST(NumberField, ReadsTheValueOrGivesTheFieldsMessage) {
  const NumberField any{.notANumber = "keine Zahl"};
  const NumberField angle{.notANumber = "keine Zahl", .outOfRange = "außerhalb", .min = -90, .max = 90};
  const NumberField zone{.notANumber = "keine Zone", .integer = true, .min = 1, .max = 60};
  const NumberField huge{.notANumber = "keine Nummer", .integer = true, .min = 0, .max = 4294967295.0};
  const struct {
    const char* name;
    const NumberField& field;
    const char* text;
    std::variant<double, std::string> expected;
  } cases[] = {
      {"decimal comma", any, " -1,5", -1.5},
      {"decimal point", any, "2.25", 2.25},
      {"blank", any, "", std::string("keine Zahl")},
      {"trailing text", any, "12 m", std::string("keine Zahl")},
      {"lowest limit kept", angle, "-90", -90.0},
      {"above the range", angle, "90,01", std::string("außerhalb")},
      {"no number, in range field", angle, "x", std::string("keine Zahl")},
      {"whole number", zone, "33", 33.0},
      {"fraction in whole field", zone, "32,5", std::string("keine Zone")},
      {"below without own message", zone, "0", std::string("keine Zone")},
      {"largest unsigned", huge, "4294967295", 4294967295.0},
      {"one beyond", huge, "4294967296", std::string("keine Nummer")},
      {"beyond 64 bits", huge, "99999999999999999999", std::string("keine Nummer")},
  };
  for (const auto& c : cases) EXPECT_EQ(ReadNumberField(c.text, c.field), c.expected) << c.name;
}

TEST(FieldMessages, NameTheirLimitsAsEntryFieldsShowNumbers) {
  EXPECT_EQ(messages::EnterNumberBetween(-1e7, 1e7), "Bitte geben Sie eine Zahl zwischen -10000000 und 10000000 ein.");
  EXPECT_EQ(messages::NumberBetweenPlease(-0.5, 399.5), "Bitte eine Zahl zwischen -0,5 und 399,5 eingeben.");
  EXPECT_EQ(messages::IntegerBetweenPlease(0, 4294967295.0),
            "Bitte eine ganze Zahl zwischen 0 und 4294967295 eingeben.");
}

}  // namespace
}  // namespace hp::base
