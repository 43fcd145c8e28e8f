// Builds large, plausible surveys for the benchmarks: several caves, each
// entered from a coordinate reference, with passages of chained legs that
// branch off earlier stations, loops closed onto earlier stations, a few
// connections between caves, auxiliary points and lines, and the texts a
// surveyor types. The same shape and seed always give the same records.
#pragma once

#include <cstddef>
#include <cstdint>

#include "doc/SurveyStore.h"

namespace hp::bench {

struct SurveyShape {
  size_t records = 10'000;  // total, coordinate references included
  int caves = 4;
  int worksheets = 2;  // the default worksheet included
  int positionsPerWorksheet = 8;
  uint64_t seed = 0x486F6C6C6F77ULL;
};

// Replaces the store's content with SetDefaults and then the generated
// survey; the first record is the coordinate reference of the first cave.
// Computed coordinates are filled by dead reckoning so the records look like
// those of a computed document; the compute pass may overwrite them.
void GenerateSurvey(doc::SurveyStore& store, const SurveyShape& shape);

// Bytes the store's data occupies in memory: its records and its worksheets
// with their positions.
size_t StoreDataBytes(const doc::SurveyStore& store);

}  // namespace hp::bench
