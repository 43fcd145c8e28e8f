// Builds large surveys for the computation benchmarks: one branching cave
// entered from a coordinate reference, surveyed with instrument 1 (with a
// declination and its annual change), every leg with its passage dimensions,
// a loop about every hundred legs and a connection between two known
// stations every few hundred legs. Every reference station is defined above
// its use, so a compute pass runs without a single question. The same shape
// and seed always give the same records.
#pragma once

#include <cstddef>
#include <cstdint>

#include "doc/SurveyStore.h"

namespace hp::bench {

struct CaveSystemShape {
  size_t records = 100'000;        // total, the coordinate reference included
  size_t legsPerLoop = 100;        // a loop starts about every this many records
  size_t legsPerConnection = 300;  // a connection about every this many records
  uint64_t seed = 0x43617665ULL;
};

// What the generator put into the survey.
struct CaveSystemCounts {
  size_t legs = 0;  // ordinary legs of the passages
  size_t passages = 0;
  size_t loops = 0;        // each with its ring number and closing record
  size_t loopRecords = 0;  // legs of loops, closing records included
  size_t connections = 0;  // ring 0, station and reference station known
  size_t verticalLegs = 0;
};

// Replaces the store's content with SetDefaults and then the generated cave.
// Stored coordinates come from dead reckoning of the measured legs; the
// compute pass replaces them.
CaveSystemCounts GenerateCaveSystem(doc::SurveyStore& store, const CaveSystemShape& shape);

}  // namespace hp::bench
