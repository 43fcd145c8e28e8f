// A record's own reading accuracies, as the data it was imported from gave
// them (Survex's *sd, legs measured as grid vectors, legs measured again
// elsewhere in the project). The network adjustment and the blunder finder
// weigh the record by them instead of the program's two settings.
//
// They are kept in the record's reserved area (reserved8), behind the mark
// "GENA", in little-endian order; a reader that does not know them writes
// the area back as it read it, and a record without the mark has none.
#pragma once

#include <optional>

#include "doc/SurveyRecord.h"

namespace hp::doc {

struct RecordAccuracy {
  // Standard deviations of one reading, metres and degrees; 0: the
  // program's setting.
  float tape = 0, compass = 0, clino = 0;
  // All three given: the leg was measured as a grid vector (east, north,
  // up), each component with this standard deviation in metres.
  float east = 0, north = 0, up = 0;
  // Independent measurements of the same leg averaged into the record; its
  // variance is theirs divided by this number.
  uint8_t measurements = 1;
  // Standard deviation (metres) of setting up at a station, spread evenly
  // over the three axes of a leg read with tape, compass and clino; 0: none.
  float position = 0;

  bool Grid() const { return east > 0 && north > 0 && up > 0; }
  friend bool operator==(const RecordAccuracy&, const RecordAccuracy&) = default;
};

std::optional<RecordAccuracy> AccuracyOf(const SurveyRecord& record);
void SetAccuracy(SurveyRecord& record, const RecordAccuracy& accuracy);

}  // namespace hp::doc
