// What one table import found besides its records: the separator and
// columns of its header, and everything it had to change or leave out on the
// way (unknown columns, refused lines, control characters, bytes and
// characters the conversion replaced, station names that changed). The
// import shows it as one message, or as the one message that refuses it.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "import/ImportLimits.h"

namespace hp::imports {

// The station names (point names) of one import as stored and as the file
// wrote them, to tell which ones the conversion to Windows-1252 changed and
// whether it made two different names equal.
class StationNames {
 public:
  // `stored` is the name as the record keeps it (Windows-1252, at most 12
  // characters); `original` the field as the file had it in UTF-8, or empty
  // when the conversion replaced nothing on the name's line.
  void Add(size_t line, std::string_view stored, std::string_view original);

  size_t Renamed() const { return m_renamed; }
  size_t Merged() const { return m_merged; }
  // "Note" on renamed names (UTF-8); empty when none changed.
  std::string RenamedNote() const;
  // The question whether to import although names were made equal.
  std::string MergedQuestion() const;

 private:
  // Stored names holding "?" (the only ones a replacement can equal) and
  // the first name of the file that gave each (UTF-8).
  std::unordered_map<std::string, std::string> m_questionable;
  std::unordered_set<std::string> m_renamedNames;
  std::vector<std::string> m_renamedSamples;
  std::vector<std::string> m_mergedSamples;
  std::u32string m_replacedCharacters;
  size_t m_renamed = 0;
  size_t m_merged = 0;
};

// The note that `fields` texts had control characters blanked.
std::string BlankedTextsNote(size_t fields);

struct TableReport {
  char separator = '\t';
  std::vector<std::string> headerFields;  // the first few, as quoted in messages (UTF-8)
  size_t fields = 0;                      // header fields read
  size_t knownColumns = 0;
  std::vector<std::string> unknownColumns;  // names of no known kind, not marked with "_" (Windows-1252)
  bool zeroBytes = false;                   // the text holds zero bytes (set by the caller)

  size_t dataLines = 0;
  size_t records = 0;  // records the file gives
  size_t needed = 0;   // records the store would hold with all of them

  RefusedLines refused;
  size_t blankedFields = 0;  // text fields whose control characters became blanks
  size_t firstBlankedLine = 0;
  size_t malformedBytes = 0;  // malformed UTF-8 bytes replaced by "?"
  size_t malformedLineCount = 0;
  std::vector<size_t> malformedLines;  // the first few lines holding them
  StationNames stations;

  // The message that refuses an import whose header names no known column
  // or that gives no record; empty when the table can be imported.
  std::string Refusal() const;
  // The one message on what the import changed or left out; empty when
  // nothing.
  std::string Notes() const;
};

}  // namespace hp::imports
