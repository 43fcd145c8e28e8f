// One survey record ("Datensatz"): a leg between two named stations, a
// coordinate reference or an auxiliary entry, with the results the compute
// pass writes back into it. Fields keep the types of the 1446-byte file image;
// RecordCodec alone knows where each of them lies in it. Texts are
// Windows-1252.
#pragma once

#include <cstddef>
#include <cstdint>
#include <type_traits>

#include "doc/RecordPool.h"
#include "doc/SpareBytes.h"

namespace hp::doc {

// State of the survey data calculator kept with each record.
struct CalculatorState {
  double startReading = 0;
  double startHeight = 0;
  int32_t reverse = 0;
};

// A point of the developed section ("Längsschnitt"): the distance along the
// unrolled survey and the height, in metres. The compute pass writes 0 as the
// third coordinate. An imported coordinate reference holds its station's
// x, y, z in both points until the pass has run.
struct SectionPoint {
  double distance = 0;
  double height = 0;
  double across = 0;
};

// Where a leg lies in the developed section.
struct DevelopedSection {
  SectionPoint from;  // reference station
  SectionPoint to;    // station
};

// A direction in degrees: azimuth clockwise from grid north, elevation above
// the horizontal.
struct Orientation {
  double azimuth = 0;
  double elevation = 0;
};

// The passage cross-sections of a leg as the compute pass sets them up.
struct CrossSection {
  Orientation start;  // cross-section at the reference station
  Orientation end;    // cross-section at the station
  Orientation leg;    // the leg's own direction
  // Metres: half the sum of the passage dimensions, at a junction averaged
  // with the preceding leg's.
  double halfSize = 0;
  int32_t acuteJunction = 0;  // 1: the start cross-section bisects an acute turn
  // Elevation (degrees) of the cross-section at the station as the developed
  // section shows it: the end elevation signed by `direction`.
  double developedElevation = 1.0;
};

// Working values of the computation; not meaningful in a file.
struct RecordWork {
  SpareBytes<288> reserved;  // carried through unread
  double loopCorrection[6] = {};
  uint8_t reserved2[4] = {};
  int32_t vertical = 0;
  int32_t successor = 0;
  uint8_t extentMarks[2] = {};
};

struct SurveyRecord {
  double refX = 0, refY = 0, refZ = 0;  // reference station coordinates
  double x = 0, y = 0, z = 0;           // computed station coordinates
  DevelopedSection developed;
  double azimuth = 0;  // in the unit of the record's instrument
  double inclination = 0;
  double length = 0;  // metres
  int32_t refCave = 0;
  int32_t refPassage = 0;
  int32_t refPointNumber = 0;  // only in files before 11.02
  int32_t cave = 0;
  int32_t passage = 0;
  int32_t pointNumber = 0;  // only in files before 11.02
  int32_t colour = 1;       // index into the line colour table
  double direction = 1.0;   // signed factor the leg is multiplied by
  uint8_t reserved8[96] = {};
  int32_t level = 1;  // 0 to 8; 0 is invisible
  char description[41] = {};
  char remark[81] = {};
  double left = 0, right = 0, up = 0, down = 0;  // passage dimensions in metres
  int32_t ring = 0;                              // loop number
  int32_t instrument = 1;                        // 1 to 16; 0 means no instrument
  CalculatorState calculator;
  char point[13] = {};
  char refPoint[13] = {};
  char date[12] = {};  // "dd.mm.yyyy"
  double pathLength = 0;
  char material[81] = {};
  char measures[81] = {};
  char fileUrl[129] = {};
  char includeFile[129] = {};
  uint8_t fromInclude = 0;
  uint8_t reserved7 = 0;
  CrossSection crossSection;
  uint8_t drawFlags[2] = {1, 1};  // start cap, end cap
  double tapeStart = 0, tapeEnd = 0;
  int32_t surveyor = 0;  // 0 to 8; 0 means none given
  int32_t reserved1 = 0;
  double altCoords[12] = {};  // wall points left, right, up, down: x, y, z each
  RecordWork work;

  // Records are created in large numbers; they come from a pool.
  static void* operator new(std::size_t size) { return AllocateRecordMemory(size); }
  static void operator delete(void* memory, std::size_t size) noexcept { ReleaseRecordMemory(memory, size); }
};

inline constexpr uint32_t kRecordImageSize = 1446;
// The compute pass fetches fields by their offsets.
static_assert(std::is_standard_layout_v<SurveyRecord>);
// The record pool's slot size follows the record's size.
static_assert(((sizeof(SurveyRecord) + 15) & ~std::size_t{15}) == kRecordSlotSize);

}  // namespace hp::doc
