// The blunder finder's report as the loop evaluation's tables and the batch
// tool show it, with the marks of suspects that explain the loops equally
// well.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "calc/BlunderReport.h"
#include "doc/SurveyStore.h"

namespace hp::calc {

// Two explanations whose chi-squares after the correction differ by less than
// this share of the larger (or, near a perfect fit, by less than this
// absolutely) close the loops equally well.
inline constexpr double kEquivalentChiSquare = 1e-3;

// For every suspect of the report, the indices of the other suspects that
// explain the loops equally well (a leg that lies in only one loop cannot be
// told from the loop's other legs). Only explanations of the uncorrected
// network are compared: the first correction and the alternatives; a later
// correction, found after others were applied, is equal to none.
std::vector<std::vector<size_t>> EquivalentSuspects(const BlunderReport& report);

// The two tables as shown: cells of a loop row ("Schleife", "Messzüge",
// "Länge", "Delta", "Delta X", "Delta Y", "Delta Z", "Normiert", "Verdacht")
// and of a suspect row ("Rang", "Datensatz", "Referenz", "Messpunkt",
// "Messwert", "Gemessen", "Vermutet", "Normiert danach"); numbers rounded to
// hundredths with a decimal comma, texts in UTF-8.
const std::vector<std::string>& BlunderLoopHeadings();
const std::vector<std::string>& BlunderSuspectHeadings();
std::vector<std::string> BlunderLoopCells(const BlunderLoop& loop, size_t number);
std::vector<std::string> BlunderSuspectCells(const doc::SurveyStore& store, const BlunderSuspect& suspect, size_t rank);
const char* SuspectReadingText(SuspectReading reading);
// The mark of a suspect that another explains equally well.
inline constexpr const char* kEquivalentMark = "gleichwertig";

}  // namespace hp::calc
