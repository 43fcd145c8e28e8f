// The compute command as the document chooses it: the network adjustment of
// every loop at once when the document says so, else the compute pass with
// the ring adjustment of its `loopAdjustment`.
#pragma once

#include <vector>

#include "calc/BlunderSettings.h"
#include "calc/ComputePass.h"
#include "doc/SurveyStore.h"
#include "platform/Prompter.h"

namespace hp::calc {

// `accuracy` weights the network adjustment (the blunder finder's reading
// accuracies); `results` receives the ring-marked loops' evaluation.
ComputeOutcome RunChosenComputeCommand(doc::SurveyStore& store, platform::Prompter& prompter,
                                       const BlunderOptions& accuracy, std::vector<LoopResult>* results = nullptr);

}  // namespace hp::calc
