#include "calc/ComputeCommand.h"

#include "calc/NetworkAdjustment.h"
#include "doc/DocumentSettings.h"

namespace hp::calc {

ComputeOutcome RunChosenComputeCommand(doc::SurveyStore& store, platform::Prompter& prompter,
                                       const BlunderOptions& accuracy, std::vector<LoopResult>* results) {
  if (doc::NetworkAdjustmentChosen(store.settings)) {
    return RunNetworkComputeCommand(store, prompter, accuracy, results).compute;
  }
  return RunComputeCommand(store, prompter, results);
}

}  // namespace hp::calc
