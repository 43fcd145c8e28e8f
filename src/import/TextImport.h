// Import of survey text files: tables of named columns (from spreadsheets and
// other programs) and the PocketTopo text export. The first line decides the
// format.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "doc/SurveyStore.h"
#include "platform/Prompter.h"

namespace hp::imports {

// Reads a ".txt" file into the store: mode 0 replaces the records, any other
// mode appends. False, with its message and the store unchanged, when the
// file cannot be opened or does not end in "txt". The caller recomputes.
bool ImportTable(doc::SurveyStore& store, const std::filesystem::path& path, int mode,
                 platform::Prompter& prompter);

// Whether a first line starts a PocketTopo text export.
bool IsPocketTopoHeader(std::string_view firstLine);

// The readers behind ImportTable: they append records for `lines` (the whole
// file, header first, in Windows-1252) to the store.
void ReadTableLines(doc::SurveyStore& store, const std::vector<std::string>& lines, platform::Prompter& prompter);
void ReadPocketTopoLines(doc::SurveyStore& store, const std::vector<std::string>& lines);

namespace messages {
inline constexpr const char* kCannotOpen = "\nDiese Datei kann nicht geöffnet werden.";
inline constexpr const char* kBadExtension = "\nDiese Datei hat keine gültiges Dateierweiterung.";
}  // namespace messages

}  // namespace hp::imports
