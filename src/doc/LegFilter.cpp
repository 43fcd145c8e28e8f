// The worksheet's leg filter: numeric patterns, rule patterns and the
// remembered answer of each pattern slot.
#include "doc/LegFilter.h"

#include <climits>
#include <cstdint>
#include <string>

#include "base/FixedText.h"
#include "base/NumberFormat.h"

namespace hp::doc {

namespace {

// A range item "a-b", "a-" or "-b" (the text around the first '-'); a missing
// lower bound is 0, a missing upper bound the largest 32-bit value. Bounds
// are read as C's atol reads them, so any text gives some range.
bool InRange(std::string_view item, size_t dash, long value) {
  const std::string_view lower = item.substr(0, dash);
  const std::string_view upper = item.substr(dash + 1);
  const long a = lower.empty() ? 0 : base::LeadingInteger(lower);
  const long b = upper.empty() ? INT_MAX : base::LeadingInteger(upper);
  return a <= value && value <= b;
}

// Calls `each(item)` for every comma-separated item, left to right, until it
// returns true.
template <typename F>
bool AnyItem(std::string_view text, char separator, F each) {
  size_t start = 0;
  while (true) {
    const size_t end = text.find(separator, start);
    const size_t length = end == std::string_view::npos ? std::string_view::npos : end - start;
    const std::string_view item = text.substr(start, length);
    if (each(item)) return true;
    if (end == std::string_view::npos) return false;
    start = end + 1;
  }
}

long YearOf(const SurveyRecord& record) {
  const std::string_view date = base::TextOf(record.date);
  return base::LeadingInteger(date.size() > 4 ? date.substr(date.size() - 4) : date);
}

RuleValues ValuesOf(const SurveyRecord& record) {
  return {record.level, record.cave, record.passage, record.ring, YearOf(record)};
}

// The value a numeric pattern tests for `criterion`; an unknown criterion
// (only a damaged worksheet holds one) tests the level.
long TestedValue(int criterion, const SurveyRecord& record) {
  switch (criterion) {
    case 1: return record.cave;
    case 2: return record.passage;
    case 3: return record.ring;
    case 4: return YearOf(record);
    default: return record.level;
  }
}

// What the rule matcher remembers its answer by. Different records can share
// a key; the remembered answer is then reused, as the filter always has.
long RuleKey(const RuleValues& v) {
  const int64_t key = int64_t{v.ring} * 97 + int64_t{v.level} * 1747 + int64_t{v.cave} * 1013 +
                      int64_t{v.passage} * 373 + int64_t{v.year};
  return static_cast<long>(key);
}

const long* Attribute(char letter, const RuleValues& v) {
  switch (letter) {
    case 'E': return &v.level;
    case 'H': return &v.cave;
    case 'G': return &v.passage;
    case 'R': return &v.ring;
    case 'J': return &v.year;
    default: return nullptr;
  }
}

}  // namespace

bool MatchNumericPattern(std::string_view pattern, long value) {
  if (pattern.empty()) return true;
  std::string wrapped;
  wrapped.reserve(pattern.size() + 2);
  wrapped += ',';
  wrapped += pattern;
  wrapped += ',';
  const std::string wrappedValue = "," + std::to_string(value) + ",";
  if (wrapped.find(wrappedValue) != std::string::npos || wrapped.find(",-,") != std::string::npos) return true;
  return AnyItem(pattern, ',', [value](std::string_view item) {
    const size_t dash = item.find('-');
    return dash != std::string_view::npos && InRange(item, dash, value);
  });
}

bool MatchRulePattern(std::string_view pattern, const RuleValues& values) {
  if (pattern.empty()) return true;
  // The attribute letter carries on from term to term and rule to rule.
  char letter = 'E';
  return AnyItem(pattern, ',', [&](std::string_view rule) {
    bool constrained = false;
    bool all = true;
    AnyItem(rule, '+', [&](std::string_view term) {
      if (!term.empty() && Attribute(term[0], values)) {
        letter = term[0];
        term.remove_prefix(1);
      }
      // A term without a number only names the letter for the terms after it.
      if (term.empty()) return false;
      constrained = true;
      const long value = *Attribute(letter, values);
      const size_t dash = term.find('-');
      const bool match =
          dash == std::string_view::npos ? base::LeadingInteger(term) == value : InRange(term, dash, value);
      if (!match) all = false;
      return false;  // read every term: a later one may change the letter
    });
    return constrained && all;
  });
}

void LegFilter::Init() {
  m_line = Memory{};
  m_label = Memory{};
}

bool LegFilter::Match(Memory& memory, std::string_view pattern, int criterion, const SurveyRecord& record) {
  const bool rules = criterion == 5;
  RuleValues values;
  long key;
  if (rules) {
    values = ValuesOf(record);
    key = RuleKey(values);
  } else {
    key = TestedValue(criterion, record);
  }
  if (memory.valid && memory.key == key && memory.pattern == pattern) return memory.result;
  memory.valid = true;
  memory.pattern.assign(pattern);
  memory.key = key;
  memory.result = rules ? MatchRulePattern(pattern, values) : MatchNumericPattern(pattern, key);
  return memory.result;
}

LegVisibility LegFilter::Test(const SurveyRecord& record, const Worksheet& worksheet) {
  const int criterion = worksheet.filterCriterion();
  LegVisibility visibility;
  visibility.line = Match(m_line, worksheet.lineFilterPattern(), criterion, record);
  const std::string_view labelPattern = worksheet.labelFilterPattern();
  visibility.label = labelPattern.empty() ? visibility.line : Match(m_label, labelPattern, criterion, record);
  return visibility;
}

}  // namespace hp::doc
