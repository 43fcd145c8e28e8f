// stats: the data evaluation of the current worksheet's view.
#include <ostream>
#include <string>

#include "calc/ComputePass.h"
#include "calc/DataEvaluation.h"
#include "cli/CliPrompter.h"
#include "cli/Commands.h"
#include "cli/ViewOptions.h"
#include "draw/ViewTransform.h"

namespace hp::cli {

int RunStats(const CommandContext& c) {
  doc::SurveyStore store;
  CliPrompter prompter(c.err, c.args.answer);
  if (const int status = OpenForView(c, store, prompter); status != kExitOk) return status;

  // Prepare the view as its drawing would: the evaluation measures heights
  // and paths from the reference the projection finds.
  const auto settings = SettingsOf(c.args);
  doc::Worksheet& worksheet = *store.currentWorksheet;
  draw::ViewTransform view;
  if (doc::IsSpatialType(worksheet.displayType())) view.ComputeExtents(store, worksheet);
  view.PrepareProjection(store, worksheet, settings);
  const calc::SurveyEvaluation evaluation =
      calc::EvaluateSurvey(store, worksheet, view.heightOffset(), view.referencePath());

  const auto visible = calc::EvaluationRowValues(evaluation.visible);
  const auto all = calc::EvaluationRowValues(evaluation.all);
  for (size_t row = 0; row < visible.size(); ++row) {
    std::string label(calc::EvaluationRowLabels()[row]);
    std::erase(label, '&');
    c.out << label << '\t' << calc::EvaluationCellText(row, visible[row]) << '\t'
          << calc::EvaluationCellText(row, all[row]) << '\n';
  }
  return kExitOk;
}

}  // namespace hp::cli
