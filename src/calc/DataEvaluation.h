// The data evaluation ("Datenauswertung"): counts, lengths, depth, extent,
// heights and the longest path of the computed survey, once for the legs the
// worksheet shows and once for all legs. It reads the stored results of the
// last compute pass and writes only the two extent marker bytes per record.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "doc/SurveyStore.h"
#include "doc/Worksheet.h"

namespace hp::calc {

// The figures of one set of records, in the order of the dialog's rows.
struct EvaluationResult {
  long legCount = 0;            // "Anzahl der &Messzüge"
  double totalLength = 0;       // "&Gesamtlänge"
  double totalDepth = 0;        // "Gesamt&tiefe", lowest minus highest (<= 0)
  double horizontalLength = 0;  // "Horizontale &Länge"
  double horizontalExtent = 0;  // "Horizontale &Ausdehnung"
  double highest = 0;           // "&Höchster Messpunkt"
  double lowest = 0;            // "&Tiefster Messpunkt"
  double longestPath = 0;       // "Längster &Weg zum Ursprung"
};

struct SurveyEvaluation {
  EvaluationResult visible;  // "Sichtbare Messzüge"
  EvaluationResult all;      // "Alle Messzüge"
};

// The eight row labels, with their mnemonics.
const std::array<std::string_view, 8>& EvaluationRowLabels();

// The eight values of a set in row order (the count as a whole number).
std::array<double, 8> EvaluationRowValues(const EvaluationResult& result);
// The text of one value as the program shows it: the leg count (row 0) as a
// whole number, the others rounded to hundredths with a decimal comma.
std::string EvaluationCellText(size_t row, double value);

// Evaluates the records of `store` for `worksheet`. `heightOffset` (reference
// height minus origin Z) and `referencePath` (the origin station's path
// length) are the values the view transform last found; both are 0 when it
// found no reference point. Heights of both sets are given relative to the
// offset, the longest path of the visible set relative to the reference path.
SurveyEvaluation EvaluateSurvey(doc::SurveyStore& store, const doc::Worksheet& worksheet, double heightOffset,
                                double referencePath);

}  // namespace hp::calc
