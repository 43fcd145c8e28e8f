// The adjustment options of the computing commands: the loop adjustment of
// one run (none, linear, vertical or the network adjustment) and the reading
// accuracies the network adjustment weighs by.
#pragma once

#include <string>
#include <vector>

#include "calc/BlunderSettings.h"
#include "cli/CliArguments.h"
#include "doc/SurveyStore.h"
#include "platform/Prompter.h"

namespace hp::cli {

struct AdjustmentChoice {
  bool given = false;    // --adjustment was given
  bool network = false;  // the network adjustment
  int mode = 0;          // otherwise the document's loop adjustment, 0 to 2
  calc::BlunderOptions accuracy;
};

// --adjustment, --sigma-length and --sigma-angle.
const std::vector<std::string>& AdjustmentOptionNames();

// The choice of `args`; false with `problem` set when a value is wrong.
bool ParseAdjustment(const CliArguments& args, AdjustmentChoice& choice, std::string& problem);

// The compute command with the chosen adjustment: a ring adjustment mode is
// put into the document, the network adjustment runs for this run only.
// False when the network could not be adjusted (after its message).
bool ComputeWith(const AdjustmentChoice& choice, doc::SurveyStore& store, platform::Prompter& prompter);

}  // namespace hp::cli
