// Loop closure evaluation.
#include "calc/LoopEvaluation.h"

#include <cstdlib>
#include <cstring>

#include "base/Cp1252.h"
#include "base/FixedText.h"
#include "base/NumberFormat.h"
#include "calc/BlunderTable.h"
#include "calc/ComputePass.h"
#include "doc/Station.h"

namespace hp::calc {

const std::vector<std::string>& LoopColumnHeadings() {
  static const std::vector<std::string> headings = {"Ring",  "Ringschluss", "Messzüge", "Länge",  "Fehler",
                                                    "Delta", "Delta X",     "Delta Y",  "Delta Z"};
  return headings;
}

bool LoopWithinTolerance(double misclosure, double tolerance) {
  // Compared as shown, so that a loop listed with the tolerance itself as its
  // misclosure counts as within; the margin absorbs the rounding of both.
  return base::RoundHundredths(misclosure) <= tolerance + 1e-9;
}

LoopRow MakeLoopRow(const LoopResult& r, double tolerance) {
  const auto shown = [](double v) { return base::FormatShown(base::RoundHundredths(v)); };
  const auto station = [](int cave, int passage, const char* point) {
    return base::Cp1252ToUtf8(doc::StationText({cave, passage, std::string_view(point, strnlen(point, 13))}));
  };
  LoopRow row;
  row.cells = {" " + std::to_string(std::labs(static_cast<long>(r.loopNumber))),
               station(r.refCave, r.refPassage, r.refPoint) + " - " + station(r.cave, r.passage, r.point),
               std::to_string(r.legCount),
               shown(r.length),
               shown(r.percent) + "%",
               shown(r.misclosure),
               shown(r.dX),
               shown(r.dY),
               shown(r.dZ)};
  row.kind = r.kind;
  row.recordNumber = r.recordNumber;
  row.withinTolerance = LoopWithinTolerance(r.misclosure, tolerance);
  return row;
}

LoopRow MakeNetworkLoopRow(const BlunderLoop& loop, size_t number) {
  LoopRow row;
  row.cells = BlunderLoopCells(loop, number);
  row.cells.pop_back();
  row.recordNumber = static_cast<int>(loop.closingRecord) + 1;
  row.withinTolerance = !loop.suspicious;
  return row;
}

std::vector<std::string> NetworkLoopColumnHeadings() {
  std::vector<std::string> headings = BlunderLoopHeadings();
  headings.pop_back();
  return headings;
}

std::optional<std::vector<LoopRow>> EvaluateLoops(doc::SurveyStore& store, platform::Prompter& prompter) {
  std::vector<LoopResult> results;
  if (store.settings.computedCurrent == 0) {
    RunComputeCommand(store, prompter);
    if (store.settings.computedCurrent == 0) return std::nullopt;
  }
  RunComputeCommand(store, prompter, &results);
  std::vector<LoopRow> rows;
  rows.reserve(results.size());
  for (const LoopResult& result : results) rows.push_back(MakeLoopRow(result, store.settings.searchToleranceLength));
  return rows;
}

}  // namespace hp::calc
