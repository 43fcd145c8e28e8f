// The network adjustment: every loop of the survey adjusted at once by
// weighted least squares, without ring numbers. The network is the blunder
// finder's (legs, connections and loop closures with their own reduced
// readings; coordinate references as fixed stations; zero-length records
// joining their stations exactly; auxiliary lines left out). Each leg is
// weighted by the inverse of its vector's covariance, propagated from the
// tape, compass and clino accuracies.
//
// Before the solve the network is reduced: dead ends and everything free of
// loops are taken off (they keep their readings and hang from the adjusted
// stations), chains of legs between junctions become one edge with the
// summed vector and covariance. Only the junctions are solved for, by a
// sparse Cholesky factorisation of the normal equations; each chain then
// shares its misclosure among its legs in proportion to their covariances.
#pragma once

#include <string>
#include <vector>

#include "calc/BlunderReport.h"
#include "calc/BlunderSettings.h"
#include "calc/ComputePass.h"
#include "calc/Symmetric3.h"
#include "doc/SurveyStore.h"
#include "platform/Prompter.h"

namespace hp::calc {

struct NetworkAdjustment {
  bool solved = false;
  std::string message;  // why the network cannot be adjusted, when not solved
  // Per record (list position): the correction added to its leg's vector,
  // and the adjusted coordinates of its station (not a number where the
  // record is not in the network or its part reaches no fixed station).
  std::vector<V3> corrections;
  std::vector<V3> stations;
  size_t junctions = 0;  // stations solved for after the reduction
};

NetworkAdjustment AdjustNetwork(const doc::SurveyStore& store, const BlunderOptions& options);

// Every independent loop of the network with its misclosure, as the blunder
// finder's first table lists them.
std::vector<BlunderLoop> NetworkLoops(const doc::SurveyStore& store, const BlunderOptions& options);

// The compute command with the network adjustment in place of the ring
// adjustment: each record's correction goes into its loop correction and the
// pass applies it, so stations, wall points and the developed section follow
// the adjusted network. A network that cannot be adjusted is reported by its
// message; the pass then runs with no correction and the document stays not
// computed.
struct NetworkComputeOutcome {
  ComputeOutcome compute;
  bool adjusted = false;
};
NetworkComputeOutcome RunNetworkComputeCommand(doc::SurveyStore& store, platform::Prompter& prompter,
                                               const BlunderOptions& options,
                                               std::vector<LoopResult>* results = nullptr);

}  // namespace hp::calc
