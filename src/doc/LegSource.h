// What a leg brought from the data it was imported from: its own reading
// accuracies (Survex's *sd, legs measured as grid vectors, legs measured
// again elsewhere in the project), by which the network adjustment and the
// blunder finder weigh it instead of the program's two settings, and the
// flags that leave it out of the survey's length, and the station's name in
// the source.
//
// They are kept in the record's reserved area (reserved8), behind the mark
// "GENA", in little-endian order; a reader that does not know them writes
// the area back as it read it, and a record without the mark has none.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "doc/SurveyRecord.h"

namespace hp::doc {

struct LegSource {
  // Standard deviations of one reading, metres and degrees; 0: the
  // program's setting.
  float tape = 0, compass = 0, clino = 0;
  // All three given: the leg was measured as a grid vector (east, north,
  // up), each component with this standard deviation in metres.
  float east = 0, north = 0, up = 0;
  // Independent measurements of the same leg averaged into the record; its
  // variance is theirs divided by this number.
  uint8_t measurements = 1;
  // Of these, the ones left out of the survey's length (duplicate or surface
  // legs merged with counted ones).
  uint8_t leftOut = 0;
  // Standard deviation (metres) of setting up at a station, spread evenly
  // over the three axes of a leg read with tape, compass and clino; 0: none.
  float position = 0;
  // Surveyed again over a known stretch, or on the surface: drawn and
  // computed, but not counted in the survey's length.
  bool duplicate = false, surface = false;
  // The full Survex name of the record's station, so that an export writes
  // it back; empty when it had none or a longer one than fits.
  std::string survexName;

  bool Grid() const { return east > 0 && north > 0 && up > 0; }
  friend bool operator==(const LegSource&, const LegSource&) = default;
};

inline constexpr size_t kSurvexNameLength = 55;

// The remark of a point fixed in Survex data in other coordinates than the
// document's, before the coordinate system and the coordinates as given
// there: "Survex-Festpunkt LONG-LAT 19.894801 49.245350 1383".
inline constexpr std::string_view kGivenFix = "Survex-Festpunkt ";

std::optional<LegSource> SourceOf(const SurveyRecord& record);
void SetSource(SurveyRecord& record, const LegSource& source);
// How many legs of the survey's length the record stands for: none for a
// duplicate or surface leg, else each of its measurements not left out.
int LegsInLength(const SurveyRecord& record);

}  // namespace hp::doc
