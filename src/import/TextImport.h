// Import of survey text files: tables of named columns (from spreadsheets and
// other programs) and the PocketTopo text export. The first line decides the
// format.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "doc/SurveyStore.h"
#include "import/ImportLimits.h"
#include "import/TextFile.h"
#include "platform/Prompter.h"

namespace hp::imports {

// Reads a ".txt" file into the store: mode 0 replaces the records, any other
// mode appends. False, with its message and the store unchanged, when the
// file cannot be opened (only regular files are read), does not end in "txt",
// is too large (kMaxTableFileSize, kMaxPocketTopoFileSize) or would give the
// document more than `maxRecords` records. The caller recomputes.
bool ImportTable(doc::SurveyStore& store, const std::filesystem::path& path, int mode,
                 platform::Prompter& prompter, size_t maxRecords = kMaxDocumentRecords);

// Whether a first line starts a PocketTopo text export.
bool IsPocketTopoHeader(std::string_view firstLine);

// The readers behind ImportTable: they append records for `lines` (the whole
// file, header first, in Windows-1252) to the store. A line with a number
// that is not finite or beyond kMaxImportMagnitude makes no record; such
// lines are reported in one message. They stop, and return false, before
// the store would hold more than `maxRecords` records.
bool ReadTableLines(doc::SurveyStore& store, std::string_view header, LineSource& dataLines,
                    platform::Prompter& prompter, size_t maxRecords = kMaxDocumentRecords);
bool ReadTableLines(doc::SurveyStore& store, const std::vector<std::string>& lines, platform::Prompter& prompter,
                    size_t maxRecords = kMaxDocumentRecords);
// `prompter` may be null: refused lines are then not reported.
bool ReadPocketTopoLines(doc::SurveyStore& store, const std::vector<std::string>& lines,
                         platform::Prompter* prompter = nullptr, size_t maxRecords = kMaxDocumentRecords);

namespace messages {
inline constexpr const char* kCannotOpen = "\nDiese Datei kann nicht geöffnet werden.";
inline constexpr const char* kBadExtension = "\nDiese Datei hat keine gültiges Dateierweiterung.";
}  // namespace messages

}  // namespace hp::imports
