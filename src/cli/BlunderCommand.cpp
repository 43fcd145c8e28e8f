// blunders: the loops of the survey network and the readings most likely
// wrong.
#include <cmath>
#include <ostream>
#include <string>

#include "base/NumberFormat.h"
#include "calc/BlunderFinder.h"
#include "calc/BlunderTable.h"
#include "calc/ComputePass.h"
#include "cli/CliPrompter.h"
#include "cli/Commands.h"

namespace hp::cli {
namespace {

void PrintRow(std::ostream& out, const std::vector<std::string>& cells) {
  std::string line;
  for (size_t i = 0; i < cells.size(); ++i) {
    if (i > 0) line += '\t';
    line += cells[i];
  }
  line += '\n';
  out << line;
}

}  // namespace

int RunBlunders(const CommandContext& c) {
  const platform::MemorySettingsStore settings = SettingsOf(c.args);
  calc::BlunderOptions options = calc::LoadBlunderOptions(settings);
  long long top = 10;
  const auto& given = c.args.options;
  if (const auto it = given.find("--top"); it != given.end()) {
    const auto value = base::ParseInteger(it->second);
    if (!value || *value < 0) return ArgumentProblem(c, "--top braucht eine ganze Zahl ab 0: " + it->second);
    top = *value;
  }
  const auto positive = [&](const char* name, double& into) {
    const auto it = given.find(name);
    if (it == given.end()) return true;
    const auto value = base::ParseNumber(it->second);
    if (!value || !std::isfinite(*value) || *value <= 0) return false;
    into = *value;
    return true;
  };
  if (!positive("--sigma-length", options.sigmaLength)) {
    return ArgumentProblem(c, "--sigma-length braucht eine Zahl über 0: " + given.at("--sigma-length"));
  }
  if (!positive("--sigma-angle", options.sigmaAngle)) {
    return ArgumentProblem(c, "--sigma-angle braucht eine Zahl über 0: " + given.at("--sigma-angle"));
  }

  doc::SurveyStore store;
  if (!OpenInput(c, c.args.positional[0], store)) return kExitFailed;
  CliPrompter prompter(c.err, c.args.answer);
  calc::RunComputeCommand(store, prompter);
  const calc::BlunderReport report = calc::FindBlunders(store, options);

  PrintRow(c.out, calc::BlunderLoopHeadings());
  for (size_t i = 0; i < report.loops.size(); ++i) PrintRow(c.out, calc::BlunderLoopCells(report.loops[i], i + 1));
  c.out << '\n';
  PrintRow(c.out, calc::BlunderSuspectHeadings());
  for (size_t i = 0; i < report.suspects.size() && i < static_cast<unsigned long long>(top); ++i) {
    PrintRow(c.out, calc::BlunderSuspectCells(store, report.suspects[i], i + 1));
  }
  return kExitOk;
}

}  // namespace hp::cli
