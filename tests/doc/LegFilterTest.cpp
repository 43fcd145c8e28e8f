// The worksheet's leg filter: numeric and rule patterns, patterns of any
// text, the year read from the date, the label flag and the remembered
// answers that Init forgets.
#include <gtest/gtest.h>

#include "base/FixedText.h"
#include "doc/LegFilter.h"

namespace hp::doc {
namespace {

TEST(LegFilter, NumericPatterns) {
  // clang-format off
  const struct { const char* pattern; long value; bool match; } cases[] = {
      {"", 4711, true},      {"3,7-9", 3, true},   {"3,7-9", 7, true},    {"3,7-9", 9, true},  {"3,7-9", 4, false},
      {"3,7-9", 10, false},  {"3,7-9", 13, false}, {"13", 3, false},      {"-", 12345, true},  {"1,-,x", 5, true},
      {"12-", 12, true},     {"12-", 2147483647, true}, {"12-", 11, false}, {"-5", 0, true},   {"-5", 6, false},
      {"-5", -1, false},     {",,", 0, false},     {"5,,", 5, true},      {"9999999999999", 0, false},
      {"1-9999999999999", 2147483647, true}, {"a-b", 0, true}, {"a-b", 1, false},
  };
  // clang-format on
  for (const auto& c : cases) {
    EXPECT_EQ(MatchNumericPattern(c.pattern, c.value), c.match) << '"' << c.pattern << "\" " << c.value;
  }
}

TEST(LegFilter, RulePatterns) {
  // clang-format off
  const struct { const char* pattern; RuleValues values; bool match; } cases[] = {  // level, cave, passage, ring, year
      {"", {1, 9, 9, 9, 1990}, true}, {"H3+G2,R1", {1, 3, 2, 0, 0}, true},
      {"H3+G2,R1", {1, 3, 1, 0, 0}, false}, {"H3+G2,R1", {1, 7, 7, 1, 0}, true},
      {"H3,5", {1, 5, 0, 0, 0}, true},    // the letter carries on to the next rule
      {"H3,5", {5, 1, 0, 0, 0}, false},
      {"H3+G-9+2", {4, 3, 2, 0, 0}, true},  // ... and to the next term
      {"5", {5, 1, 0, 0, 0}, true},        // level before any letter
      {"J1990-1999+E2-", {3, 1, 1, 0, 1995}, true}, {"J1990-1999+E2-", {1, 1, 1, 0, 1995}, false},
      {"R-2", {1, 1, 1, 3, 0}, false}, {"E-", {0, 0, 0, 0, 0}, true},
      {"H", {1, 0, 0, 0, 0}, false}, {"+", {1, 0, 0, 0, 0}, false},
      {",,", {0, 0, 0, 0, 0}, false}, {"9999999999999", {1, 0, 0, 0, 0}, false},
  };
  // clang-format on
  for (const auto& c : cases) EXPECT_EQ(MatchRulePattern(c.pattern, c.values), c.match) << '"' << c.pattern << '"';
}

Worksheet FilterSheet(int criterion, const char* line, const char* label) {
  Worksheet sheet;
  InitWorksheet(sheet);
  sheet.setFilterCriterion(criterion);
  sheet.setLineFilterPattern(line);
  sheet.setLabelFilterPattern(label);
  return sheet;
}

TEST(LegFilter, YearFromTheDateAndTheLabelFlag) {
  SurveyRecord record;
  base::SetText(record.date, "17.08.1996");
  LegFilter filter;
  filter.Init();
  const LegVisibility same = filter.Test(record, FilterSheet(4, "1990-1999", ""));
  EXPECT_TRUE(same.line && same.label) << "an empty label pattern follows the line flag";
  const LegVisibility labelOnly = filter.Test(record, FilterSheet(4, "2000-", "1996"));
  EXPECT_FALSE(labelOnly.line);
  EXPECT_TRUE(labelOnly.label);
  EXPECT_FALSE(filter.IsLegVisible(record, FilterSheet(4, "1997", "")));
}

TEST(LegFilter, RemembersTheLastAnswerUntilInit) {
  LegFilter filter;
  filter.Init();
  SurveyRecord level3, level4;
  level3.level = 3, level4.level = 4;
  const Worksheet sheet = FilterSheet(0, "3", "");
  EXPECT_TRUE(filter.Test(level3, sheet).line);
  EXPECT_FALSE(filter.Test(level4, sheet).line) << "same pattern, other value: asked anew";
  EXPECT_TRUE(filter.Test(level4, FilterSheet(0, "4", "")).line) << "other pattern, same value: asked anew";

  // Cave 373 and passage 1013 give the same rule key: the second record gets
  // the remembered answer until Init.
  SurveyRecord cave373, passage1013;
  cave373.cave = 373, passage1013.passage = 1013;
  const Worksheet rules = FilterSheet(5, "H373", "");
  filter.Init();
  EXPECT_TRUE(filter.Test(cave373, rules).line);
  EXPECT_TRUE(filter.Test(passage1013, rules).line);
  filter.Init();
  EXPECT_FALSE(filter.Test(passage1013, rules).line);
}

}  // namespace
}  // namespace hp::doc
