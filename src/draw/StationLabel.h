// The labels stations are numbered with in the drawings and the exports.
#pragma once

#include <string>

#include "doc/DocumentSettings.h"
#include "doc/SurveyRecord.h"

namespace hp::draw {

// The station label of a record for numbering kind 1 to 10 (UTF-8).
std::string StationLabel(const doc::SurveyRecord& record, int kind, const doc::DocumentSettings& settings,
                         double heightOffset, double referencePath);

}  // namespace hp::draw
