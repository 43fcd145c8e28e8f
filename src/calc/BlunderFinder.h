// The blunder finder ("Fehlersuche"): every independent loop of the survey
// network, not only the ring-marked ones, checked against the accuracy the
// readings are expected to have, and the legs and readings most likely
// wrong, each with the value of that reading that best closes the loops.
//
// Stations are the nodes of the network; every record with a reference
// station and a station is an edge carrying its own reduced reading (legs,
// connections and loop closures alike). Coordinate references tie their
// stations exactly to their fixed coordinates, so a traverse between two
// fixed stations is a loop as well. The document is never changed.
#pragma once

#include "calc/BlunderReport.h"
#include "calc/BlunderSettings.h"
#include "doc/SurveyStore.h"

namespace hp::calc {

BlunderReport FindBlunders(const doc::SurveyStore& store, const BlunderOptions& options);

}  // namespace hp::calc
