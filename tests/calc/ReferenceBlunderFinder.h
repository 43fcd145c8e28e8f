// The blunder finder as it was before loops were kept as tree paths and the
// correction rounds picked their leg from a queue; the tests compare the
// finder against it.
#pragma once

#include "calc/BlunderFinder.h"
#include "doc/SurveyStore.h"

namespace hp::calc::reference {

BlunderReport FindBlunders(const doc::SurveyStore& store, const BlunderOptions& options);

}  // namespace hp::calc::reference
