// The record search of the survey data editor: the criteria a filled search
// form gives, when a record matches them (with the document's length and
// angle tolerances), and the walk over the record list in the four search
// directions of "Datensatz suchen".
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "doc/DocumentSettings.h"
#include "doc/Station.h"
#include "doc/SurveyRecord.h"
#include "edit/DataEditorForm.h"

namespace hp::edit {

enum class SearchDirection {
  FromStart = 0,            // "vom &Beginn vorwärts"
  ForwardFromCurrent = 1,   // "vom aktuellen Datensatz &vorwärts"
  BackwardFromCurrent = 2,  // "vom aktuellen Datensatz &rückwärts"
  FromEnd = 3,              // "vom &Ende rückwärts"
};
inline constexpr int kSearchDirectionCount = 4;

class RecordSearch {
 public:
  // The criteria of a search form: every field with a text that is not
  // blank. A number that does not read is refused with its field.
  static std::optional<FieldFault> FromForm(const RecordForm& form, RecordSearch& search);
  // Records whose measured station is `station`.
  static RecordSearch ForStation(const doc::StationId& station);

  bool empty() const { return m_criteria.empty(); }
  bool Matches(const doc::SurveyRecord& record, const doc::DocumentSettings& settings) const;

 private:
  struct Criterion {
    Field field;
    double number = 0;
    int64_t integer = 0;
    std::string text;  // point names as typed; other texts in lower case
  };
  bool Holds(const Criterion& c, const doc::SurveyRecord& r, const doc::DocumentSettings& s) const;

  std::vector<Criterion> m_criteria;
};

using RecordList = std::vector<std::unique_ptr<doc::SurveyRecord>>;

// The search from its start ("&Suchstart"): directions 0 and 3 test the
// first or last record first, 1 and 2 begin with the neighbour of `current`
// (a position from 0). The position of the first match, or nothing.
std::optional<size_t> SearchFromStart(const RecordList& records, const doc::DocumentSettings& settings,
                                      const RecordSearch& search, SearchDirection direction, size_t current);
// "&Weiter": from the neighbour of `current`, forward for directions 0 and
// 1, backward for 2 and 3.
std::optional<size_t> SearchOn(const RecordList& records, const doc::DocumentSettings& settings,
                               const RecordSearch& search, SearchDirection direction, size_t current);

}  // namespace hp::edit
