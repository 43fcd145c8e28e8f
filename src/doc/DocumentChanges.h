// The steps of the undo history: a change of a few records (change, new,
// delete) that keeps only those records, and the step of a command that
// may change the document settings, the worksheets or all records at once
// (imports, includes, the document and worksheet dialogs), taken by
// comparing the document before and after the command.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "doc/History.h"
#include "doc/SurveyStore.h"

namespace hp::doc {

// The names of the steps (UTF-8), as the user knows the commands.
namespace steps {
inline constexpr const char* kUpdateIncludes = "Include-Dateien aktualisieren";
inline constexpr const char* kLoadSpreadsheet = "Laden aus Excel";
inline constexpr const char* kNewWorksheet = "Arbeitsblatt anlegen";
inline constexpr const char* kCopyWorksheet = "Arbeitsblatt kopieren";
inline constexpr const char* kMoveWorksheet = "Arbeitsblatt verschieben";
inline constexpr const char* kRenameWorksheet = "Arbeitsblatt umbenennen";
inline constexpr const char* kDeleteWorksheet = "Arbeitsblatt löschen";
inline constexpr const char* kWorksheetSettings = "Arbeitsblatt ändern";
}  // namespace steps
// "Import Beispieltour.txt": the import of a file, by its name.
std::string ImportName(std::string_view fileName);

// Step names the user knows from the data editor; `number` from 1.
std::string ChangeRecordName(int number);  // "Datensatz 27 ändern"
std::string NewRecordName(int number);     // "Datensatz 28 anlegen"
std::string DeleteRecordName(int number);  // "Datensatz 30 löschen"

// Puts `inserted` in place of the `removeCount` records at `index` (held to
// the list) and returns the step that takes it back. The record count
// follows the list and the computed values are no longer current.
std::unique_ptr<Change> SpliceRecords(SurveyStore& store, std::string name, std::size_t index, std::size_t removeCount,
                                      std::vector<SurveyRecord> inserted);

// The document before a command; Finish gives the step of what the command
// changed. The document settings are always compared; the worksheets and
// the records only when asked for (a copy of each is kept meanwhile).
class DocumentCapture {
 public:
  enum Part : unsigned { kSettings = 0, kWorksheets = 1, kRecords = 2 };

  DocumentCapture(const SurveyStore& store, unsigned parts);
  ~DocumentCapture();
  DocumentCapture(const DocumentCapture&) = delete;
  DocumentCapture& operator=(const DocumentCapture&) = delete;

  // The step of the change since the capture; null when the command
  // changed nothing that was captured. Once only.
  std::unique_ptr<Change> Finish(const SurveyStore& store, std::string name);

 private:
  unsigned m_parts;
  DocumentSettings m_settings;
  std::vector<std::unique_ptr<SurveyRecord>> m_records;
  std::vector<std::unique_ptr<Worksheet>> m_worksheets;
  int m_currentWorksheet = -1;
};

}  // namespace hp::doc
