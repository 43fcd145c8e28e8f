// What a leg brought from its source, in the record's reserved area.
#include "doc/LegSource.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <iterator>

namespace hp::doc {
namespace {

constexpr uint8_t kMark[4] = {'G', 'E', 'N', 'A'};
constexpr size_t kFloats = 4;  // six floats from here
constexpr size_t kMeasurements = 28;
constexpr size_t kLeftOut = 29;
constexpr size_t kPosition = 32;
constexpr size_t kFlags = 36;  // bit 0 duplicate, bit 1 surface
constexpr size_t kName = 40;   // to the end of the area, closed by a zero byte

float ReadFloat(const uint8_t* at) {
  uint32_t bits = 0;
  for (int i = 3; i >= 0; --i) bits = (bits << 8) | at[i];
  return std::bit_cast<float>(bits);
}

void WriteFloat(uint8_t* at, float value) {
  const auto bits = std::bit_cast<uint32_t>(value);
  for (int i = 0; i < 4; ++i) at[i] = static_cast<uint8_t>(bits >> (8 * i));
}

// A stored value that is no usable standard deviation counts as not given.
float Usable(float value) { return value > 0 && value < 1e6f ? value : 0.0f; }

}  // namespace

std::optional<LegSource> SourceOf(const SurveyRecord& record) {
  const uint8_t* area = record.reserved8;
  if (!std::equal(std::begin(kMark), std::end(kMark), area)) return std::nullopt;
  LegSource a;
  float* fields[] = {&a.tape, &a.compass, &a.clino, &a.east, &a.north, &a.up};
  for (size_t i = 0; i < std::size(fields); ++i) *fields[i] = Usable(ReadFloat(area + kFloats + 4 * i));
  a.measurements = std::max<uint8_t>(area[kMeasurements], 1);
  a.leftOut = std::min(area[kLeftOut], a.measurements);
  a.position = Usable(ReadFloat(area + kPosition));
  a.duplicate = (area[kFlags] & 1) != 0;
  a.surface = (area[kFlags] & 2) != 0;
  const char* name = reinterpret_cast<const char*>(area + kName);
  a.survexName.assign(name, strnlen(name, kSurvexNameLength));
  return a;
}

void SetSource(SurveyRecord& record, const LegSource& a) {
  uint8_t* area = record.reserved8;
  std::copy(std::begin(kMark), std::end(kMark), area);
  const float fields[] = {a.tape, a.compass, a.clino, a.east, a.north, a.up};
  for (size_t i = 0; i < std::size(fields); ++i) WriteFloat(area + kFloats + 4 * i, fields[i]);
  area[kMeasurements] = a.measurements;
  area[kLeftOut] = a.leftOut;
  WriteFloat(area + kPosition, a.position);
  area[kFlags] = static_cast<uint8_t>((a.duplicate ? 1 : 0) | (a.surface ? 2 : 0));
  static_assert(kName + kSurvexNameLength < sizeof record.reserved8);
  const size_t length = a.survexName.size() <= kSurvexNameLength ? a.survexName.size() : 0;
  std::fill(area + kName, area + kName + kSurvexNameLength + 1, uint8_t{0});
  std::copy_n(a.survexName.data(), length, area + kName);
}

int LegsInLength(const SurveyRecord& record) {
  const std::optional<LegSource> source = SourceOf(record);
  if (!source) return 1;
  return source->duplicate || source->surface ? 0 : source->measurements - source->leftOut;
}

}  // namespace hp::doc
