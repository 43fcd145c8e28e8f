// Surveys whose loops are spread far through the record list, as a system
// surveyed over many trips looks: hundreds of loops are open at once, from
// the first records to the last, so that surveys of every size have loops
// of the same spread. Each loop gets a leg now and then between the legs of
// the others and of the passages around them, and is closed thousands of
// records after its first leg. Some legs run against their loop (negative
// ring numbers), a few are shafts.
// Also a grid of passages whose every cell is a loop, with all closing
// records at the end of the list.
#pragma once

#include <cstddef>
#include <cstdint>

#include "doc/SurveyStore.h"

namespace hp::bench {

struct SpreadLoopShape {
  size_t records = 100'000;  // total, the coordinate reference included
  size_t loops = 1'950;      // about this many
  size_t openLoops = 256;    // loops surveyed at the same time
  uint64_t seed = 0x52696E67ULL;
};

// Replaces the store's content; returns the number of loops it closed.
size_t GenerateSpreadLoops(doc::SurveyStore& store, const SpreadLoopShape& shape);

// A grid of `rows` x `columns` stations: the first column and every row are
// surveyed first, then the legs down each column close one loop per cell.
// Returns the number of loops.
size_t GenerateLoopGrid(doc::SurveyStore& store, int rows, int columns);

}  // namespace hp::bench
