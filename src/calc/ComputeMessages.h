// Texts of the compute messages, filled in with record numbers and stations
// (point names converted to UTF-8 for display).
#pragma once

#include <string>

#include "doc/SurveyRecord.h"

namespace hp::calc {

// "Fehler beim Berechnen von Datensatz %ld.\nMesszug ... ist bereits in Datensatz %ld definiert.\nDatensatz laden?"
std::string DoubleLegMessage(int number, const doc::SurveyRecord& record, int earlier);
// "Fehler beim Berechnen von Datensatz %ld.\nReferenzpunkt ... nicht definiert.\nDatensatz laden?"
std::string UndefinedReferenceMessage(int number, const doc::SurveyRecord& record);
// The same checks before saving in the editor, with "Datensatz speichern?".
std::string DoubleLegBeforeSaveMessage(const doc::SurveyRecord& record, int earlier);
std::string UndefinedReferenceBeforeSaveMessage(const doc::SurveyRecord& record);

}  // namespace hp::calc
