// Conversion of the images of older document versions to the current one.
// Each function applies every step whose version the file is older than.
#pragma once

#include <cstdint>

#include "doc/DocumentSettings.h"
#include "doc/SurveyRecord.h"
#include "doc/Worksheet.h"

namespace hp::doc {

// Settings steps that need only the block.
void ConvertSettings(DocumentSettings& settings, uint32_t version);

// Record steps; some reset the document's computedCurrent.
void ConvertRecord(SurveyRecord& record, uint32_t version, DocumentSettings& settings);

// Worksheet steps. For the first worksheet of a file before 4.01 the titles,
// fonts and font colours it carried move into the settings block.
void ConvertWorksheet(Worksheet& worksheet, uint32_t version, bool first, DocumentSettings& settings);

// The fonts of files before 7.00: the first four fonts from the legacy fonts.
void ConvertLegacyFonts(DocumentSettings& settings);

}  // namespace hp::doc
