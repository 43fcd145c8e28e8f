// The worksheet's leg filter: which records a drawing, an evaluation or an
// export of the worksheet shows. A filter criterion picks the tested value
// (level, cave, passage, loop, year, or all five by a rule pattern); the line
// pattern decides whether a record's leg is drawn, the label pattern whether
// its station is labelled. Each pattern slot remembers its last question, so
// a pass over the records starts with Init.
#pragma once

#include <string>
#include <string_view>

#include "doc/SurveyRecord.h"
#include "doc/Worksheet.h"

namespace hp::doc {

struct LegVisibility {
  bool line = false;   // the leg line is drawn
  bool label = false;  // the station label is drawn
  bool Any() const { return line || label; }
};

// Whether a numeric pattern ("3,7-9", "-", "12-", "-5", empty) matches a value.
bool MatchNumericPattern(std::string_view pattern, long value);

// The five values a rule pattern tests.
struct RuleValues {
  long level = 0, cave = 0, passage = 0, ring = 0, year = 0;
};
// Whether a rule pattern ("H3+G2,R1", empty) matches. A term that is only a
// letter (or empty) sets the letter for the following terms and tests
// nothing; a rule of such terms alone matches no record.
bool MatchRulePattern(std::string_view pattern, const RuleValues& values);

class LegFilter {
 public:
  // Starts a pass over the records: forgets the remembered answers.
  void Init();
  // Line and label visibility of a record in `worksheet`.
  LegVisibility Test(const SurveyRecord& record, const Worksheet& worksheet);
  // Visible when either flag is set.
  bool IsLegVisible(const SurveyRecord& record, const Worksheet& worksheet) { return Test(record, worksheet).Any(); }

 private:
  struct Memory {
    bool valid = false;
    std::string pattern;
    long key = 0;
    bool result = false;
  };
  bool Match(Memory& memory, std::string_view pattern, int criterion, const SurveyRecord& record);

  Memory m_line;
  Memory m_label;
};

}  // namespace hp::doc
