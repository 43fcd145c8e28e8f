// Import of survey text files: tables of named columns (from spreadsheets and
// other programs) and the PocketTopo text export. The first line decides the
// format.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "doc/DocumentFile.h"
#include "doc/SurveyStore.h"
#include "import/ImportLimits.h"
#include "import/ImportMode.h"
#include "import/TableReport.h"
#include "import/TextFile.h"
#include "platform/Prompter.h"

namespace hp::imports {

// Reads a ".txt" file into the store (a Survex file, by its extension or
// its first line, through ImportSurvex), replacing its records or appending to
// them. False, with its one message and the store unchanged, when
// the file cannot be opened (only regular files are read), does not end in
// "txt", is too large (kMaxTableFileSize, kMaxPocketTopoFileSize), is empty,
// is a table whose header names no known column or that gives no record,
// would give the document more than `maxRecords` records or more than the
// memory holds (`memory` bytes of physical memory, 0 for this machine's,
// see RecordsForMemory), or when the conversion to Windows-1252 would make
// two different station names equal and the question whether to import all
// the same is not answered Yes. What the import changed or left out on the
// way is told in one message. The caller recomputes.
bool ImportTable(doc::SurveyStore& store, const std::filesystem::path& path, TableImportMode mode,
                 platform::Prompter& prompter, size_t maxRecords = kMaxDocumentRecords, uint64_t memory = 0);

// Whether a first line starts a PocketTopo text export.
bool IsPocketTopoHeader(std::string_view firstLine);

// The table reader behind ImportTable: appends the records of the data lines
// to the store as long as it holds fewer than `maxRecords`, reads the rest
// of the lines only to count them, and tells in `report` what it found
// (report.needed: the records the store would hold with all of them). A
// header without a tab whose fields, separated by semicolons or commas, name
// more known columns is read with that separator; fields a spreadsheet put
// in double quotes are read without them.
void ReadTable(doc::SurveyStore& store, std::string_view header, LineSource& dataLines, size_t maxRecords,
               TableReport& report);

// The readers for callers that hold the lines: they append records for
// `lines` (the whole file, header first, in Windows-1252) to the store. A
// line with a number that is not finite or beyond kMaxImportMagnitude makes
// no record. What the table reader changed or left out is told in one
// message. They stop, and return false, before the store would hold more
// than `maxRecords` records.
bool ReadTableLines(doc::SurveyStore& store, std::string_view header, LineSource& dataLines,
                    platform::Prompter& prompter, size_t maxRecords = kMaxDocumentRecords);
bool ReadTableLines(doc::SurveyStore& store, const std::vector<std::string>& lines, platform::Prompter& prompter,
                    size_t maxRecords = kMaxDocumentRecords);
// `prompter` may be null: refused lines are then not reported.
bool ReadPocketTopoLines(doc::SurveyStore& store, const std::vector<std::string>& lines,
                         platform::Prompter* prompter = nullptr, size_t maxRecords = kMaxDocumentRecords);

namespace messages {
using doc::messages::kCannotOpen;
inline constexpr const char* kBadExtension = "\nDiese Datei hat keine gültige Dateierweiterung.";
inline constexpr const char* kEmptyFile = "\nDie Datei ist leer.";
}  // namespace messages

}  // namespace hp::imports
