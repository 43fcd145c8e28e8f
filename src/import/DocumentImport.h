// Bringing documents into the current one: a whole document or some of its
// settings from a document file, and the records of include files, which are
// read again on every update and shown after the record that names them.
#pragma once

#include <filesystem>
#include <vector>

#include "calc/ComputePass.h"
#include "doc/DocumentFile.h"
#include "doc/SurveyStore.h"
#include "import/ImportLimits.h"
#include "platform/Prompter.h"
#include "platform/SettingsStore.h"

namespace hp::imports {

enum class DocumentImportResult {
  Imported,
  Refused,  // a version check refused the file; the document is unchanged
  Failed,   // cannot be opened or is not a document; the document is unchanged
};

// Reads a document file with read mode 1 (whole document) to 4 (titles and
// description) after its message checks.
DocumentImportResult ImportDocument(doc::SurveyStore& store, const std::filesystem::path& path, doc::ReadMode mode,
                                    platform::Prompter& prompter, const platform::SettingsStore& settings);

// Removes the records read from include files, reads every include file named
// by a record again (includes do not nest), and recomputes the survey.
// `documentFolder` is the folder stored include names are relative to. An
// include file that cannot be read or is not a document is named in a
// message, once per update, and its path is added to `unread` when given;
// the record naming it stays. An include file that would bring the document
// beyond `maxRecords` records, or beyond what the memory holds (`memory`
// bytes of physical memory, 0 for this machine's, see RecordsForMemory), is
// not taken: a message names it and the records all includes would need,
// and neither it nor the includes after it are read (they are added to
// `unread`). A file named again is counted before it is read again. The
// computation asks each question and shows each message once per update,
// however often an include file repeats the record it is about.
calc::ComputeOutcome UpdateIncludes(doc::SurveyStore& store, const std::filesystem::path& documentFolder,
                                    platform::Prompter& prompter, const platform::SettingsStore& settings,
                                    std::vector<std::filesystem::path>* unread = nullptr,
                                    size_t maxRecords = kMaxDocumentRecords, uint64_t memory = 0);

namespace messages {
inline constexpr const char* kIncludeNotFound = "Die Include-Datei wurde nicht gefunden:\n";
inline constexpr const char* kIncludeNotDocument = "Die Include-Datei ist kein gültiges Dokument:\n";
inline constexpr const char* kIncludeRecordsMissing = "\nIhre Datensätze fehlen im Dokument.";
}  // namespace messages

}  // namespace hp::imports
