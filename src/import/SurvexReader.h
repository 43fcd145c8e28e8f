// Import of Survex survey data: a .svx file with its include files becomes
// records of the document (see SurvexParser.h for what is read and
// SurvexNames.h for how stations are named).
#pragma once

#include <cstdint>
#include <filesystem>
#include <string_view>

#include "doc/SurveyStore.h"
#include "import/ImportLimits.h"
#include "import/ImportMode.h"
#include "platform/Prompter.h"

namespace hp::imports {

// Whether `path` is read as Survex data: its extension is ".svx", or its
// first line starts with a Survex command or comment that no table has.
bool IsSurvexFile(const std::filesystem::path& path, std::string_view firstLine);

// Reads `path` and its include files into the store, replacing its records
// or appending to them, as ImportTable does. False, with one message and the
// store unchanged, when a file cannot be opened or is too large, when the
// project gives no leg and no fixed point, or when the document would pass
// `maxRecords` records or the memory. Lines not taken over are told in one
// message, each with its file and line. The caller recomputes.
bool ImportSurvex(doc::SurveyStore& store, const std::filesystem::path& path, TableImportMode mode,
                  platform::Prompter& prompter, size_t maxRecords = kMaxDocumentRecords, uint64_t memory = 0);

}  // namespace hp::imports
