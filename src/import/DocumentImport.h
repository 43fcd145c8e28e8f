// Bringing documents into the current one: a whole document or some of its
// settings from a document file, and the records of include files, which are
// read again on every update and shown after the record that names them.
#pragma once

#include <filesystem>

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
// by a record again (missing files and non-documents are skipped silently;
// includes do not nest), and recomputes the survey. `documentFolder` is the
// folder stored include names are relative to. An include file that would
// bring the document beyond `maxRecords` records is taken out again with a
// message, and the includes after it are not read.
calc::ComputeOutcome UpdateIncludes(doc::SurveyStore& store, const std::filesystem::path& documentFolder,
                                    platform::Prompter& prompter, const platform::SettingsStore& settings,
                                    size_t maxRecords = kMaxDocumentRecords);

}  // namespace hp::imports
