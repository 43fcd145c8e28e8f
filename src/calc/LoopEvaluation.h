// The loop closure evaluation ("Ringschlussauswertung"): computes the
// document with loop results collected and turns each result into the row
// the evaluation list shows.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "calc/BlunderReport.h"
#include "calc/LoopAdjuster.h"
#include "doc/SurveyStore.h"
#include "platform/Prompter.h"

namespace hp::calc {

struct LoopRow {
  // A ring-marked loop: Ring, Ringschluss, Messzüge, Länge, Fehler, Delta,
  // Delta X, Delta Y, Delta Z. A loop of the network: Schleife, Messzüge,
  // Länge, Delta, Delta X, Delta Y, Delta Z, Normiert.
  std::vector<std::string> cells;
  int kind = 0;                 // 0 adjusted, 2 reported only, 3 variable reference
  int recordNumber = 0;         // the closing record, from 1
  bool withinTolerance = true;  // ring-marked: the misclosure is no larger than the length search tolerance;
                                // network: the normalised misclosure is below the blunder finder's threshold
};

// Whether a loop closes well enough to be marked as in order: its misclosure
// (metres) as shown, rounded to hundredths, is at most `tolerance`, the
// document's search tolerance for lengths and coordinates.
bool LoopWithinTolerance(double misclosure, double tolerance);

// The column headings of the evaluation list.
const std::vector<std::string>& LoopColumnHeadings();

// The row of one result: numbers rounded to hundredths with a decimal comma;
// `tolerance` is the document's search tolerance for lengths.
LoopRow MakeLoopRow(const LoopResult& result, double tolerance);

// The row of one loop of the network, `number` counted from 1: the cells of
// the blunder finder's loop table without "Verdacht".
LoopRow MakeNetworkLoopRow(const BlunderLoop& loop, size_t number);

// The column headings of the network's loop list.
std::vector<std::string> NetworkLoopColumnHeadings();

// Runs the evaluation command: computes first when the stored results are not
// current (and gives nothing when that pass still leaves them so, as the
// dialog then does not open), then computes with the results collected.
std::optional<std::vector<LoopRow>> EvaluateLoops(doc::SurveyStore& store, platform::Prompter& prompter);

}  // namespace hp::calc
