// compute, stations and loops: the computation from the shell.
#include <ostream>
#include <string>

#include "base/Cp1252.h"
#include "base/NumberFormat.h"
#include "calc/BlunderTable.h"
#include "calc/ComputePass.h"
#include "calc/LoopEvaluation.h"
#include "calc/NetworkAdjustment.h"
#include "cli/AdjustmentOptions.h"
#include "cli/CliPrompter.h"
#include "cli/Commands.h"
#include "doc/DocumentSettings.h"
#include "doc/Station.h"

namespace hp::cli {
namespace {

// "%.4f" with a decimal point; a negative zero prints as zero.
std::string Fixed4(double value) {
  std::string text = base::FormatFixed(value, 4);
  if (text == "-0.0000") text.erase(0, 1);
  return text;
}

std::string StationUtf8(const doc::StationId& station) { return base::Cp1252ToUtf8(doc::StationText(station)); }

void PrintCells(std::ostream& out, const std::vector<std::string>& cells) {
  std::string line;
  for (size_t i = 0; i < cells.size(); ++i) line += (i > 0 ? "\t" : "") + cells[i];
  out << line << '\n';
}

}  // namespace

int RunCompute(const CommandContext& c) {
  AdjustmentChoice adjustment;
  if (std::string problem; !ParseAdjustment(c.args, adjustment, problem)) return ArgumentProblem(c, problem);
  doc::SurveyStore store;
  if (!OpenInput(c, c.args.positional[0], store)) return kExitFailed;
  CliPrompter prompter(c.err, c.args.answer);
  if (!ComputeWith(adjustment, store, prompter)) return kExitFailed;
  c.out << "computed: " << store.settings.computedCurrent << "\n";
  if (c.args.output && !WriteOutput(c, *c.args.output, store)) return kExitFailed;
  return kExitOk;
}

int RunStations(const CommandContext& c) {
  AdjustmentChoice adjustment;
  if (std::string problem; !ParseAdjustment(c.args, adjustment, problem)) return ArgumentProblem(c, problem);
  doc::SurveyStore store;
  if (!OpenInput(c, c.args.positional[0], store)) return kExitFailed;
  if (!c.args.HasFlag("--no-compute")) {
    CliPrompter prompter(c.err, c.args.answer);
    if (!ComputeWith(adjustment, store, prompter)) return kExitFailed;
  }
  c.out << "Satz\tTyp\tReferenz\tMesspunkt\tRefX\tRefY\tRefZ\tX\tY\tZ\tWeg\tSecDist\tSecHeight\n";
  const std::vector<doc::RecordKind> kinds = doc::ClassifyRecords(store.records);
  std::string line;
  for (size_t i = 0; i < store.records.size(); ++i) {
    const doc::SurveyRecord& r = *store.records[i];
    line = std::to_string(i + 1);
    line += '\t';
    line += doc::RecordKindText(kinds[i]);
    line += '\t' + StationUtf8(doc::RefStationOf(r)) + '\t' + StationUtf8(doc::StationOf(r));
    for (const double v :
         {r.refX, r.refY, r.refZ, r.x, r.y, r.z, r.pathLength, r.developed.to.distance, r.developed.to.height}) {
      line += '\t' + Fixed4(v);
    }
    line += '\n';
    c.out << line;
  }
  return kExitOk;
}

int RunLoops(const CommandContext& c) {
  AdjustmentChoice adjustment;
  if (std::string problem; !ParseAdjustment(c.args, adjustment, problem)) return ArgumentProblem(c, problem);
  doc::SurveyStore store;
  if (!OpenInput(c, c.args.positional[0], store)) return kExitFailed;
  CliPrompter prompter(c.err, c.args.answer);
  if (adjustment.network || (!adjustment.given && doc::NetworkAdjustmentChosen(store.settings))) {
    // Every independent loop of the network, as the evaluation lists them.
    if (!ComputeWith(adjustment, store, prompter)) return kExitFailed;
    const std::vector<calc::BlunderLoop> loops = calc::NetworkLoops(store, adjustment.accuracy);
    PrintCells(c.out, calc::NetworkLoopColumnHeadings());
    for (size_t i = 0; i < loops.size(); ++i) PrintCells(c.out, calc::MakeNetworkLoopRow(loops[i], i + 1).cells);
    return kExitOk;
  }
  if (adjustment.given) store.settings.loopAdjustment = static_cast<uint16_t>(adjustment.mode);
  const auto rows = calc::EvaluateLoops(store, prompter);
  if (!rows) return kExitFailed;
  for (const std::string& heading : calc::LoopColumnHeadings()) c.out << heading << '\t';
  c.out << "Art\n";
  for (const calc::LoopRow& row : *rows) {
    for (const std::string& cell : row.cells) c.out << cell << '\t';
    c.out << row.kind << '\n';
  }
  return kExitOk;
}

}  // namespace hp::cli
