// Worksheet image accessors, new-worksheet defaults and position images.
#include "doc/Worksheet.h"

#include <algorithm>
#include <cstring>
#include <iterator>

#include "doc/ImageFields.h"

namespace hp::doc {

Worksheet& Worksheet::operator=(const Worksheet& other) {
  if (this == &other) return *this;
  image = other.image;
  positions.clear();
  positions.reserve(other.positions.size());
  for (const auto& p : other.positions) positions.push_back(std::make_unique<AnimationPosition>(*p));
  return *this;
}

std::string_view Worksheet::Text(size_t offset, size_t size) const {
  const auto field = std::span<const uint8_t>(image).subspan(offset, size);
  const void* zero = std::memchr(field.data(), 0, size);
  const size_t length = zero ? static_cast<const uint8_t*>(zero) - field.data() : size;
  return std::string_view(reinterpret_cast<const char*>(field.data()), length);
}

void Worksheet::SetText(size_t offset, size_t size, std::string_view text) {
  auto field = std::span<uint8_t>(image).subspan(offset, size);
  const size_t n = text.size() < size - 1 ? text.size() : size - 1;
  if (n > 0) std::memcpy(field.data(), text.data(), n);
  std::memset(field.data() + n, 0, size - n);
}

void InitWorksheet(Worksheet& ws) {
  ws.image.fill(0);
  ws.positions.clear();
#define HP_WS_NUMBER_DEFAULT(name, Name, type, offset, init) ws.Set<type>(offset, static_cast<type>(init));
  HP_WORKSHEET_NUMBER_FIELDS(HP_WS_NUMBER_DEFAULT)
#undef HP_WS_NUMBER_DEFAULT
#define HP_WS_TEXT_DEFAULT(name, Name, offset, size, init) ws.SetText(offset, size, init);
  HP_WORKSHEET_TEXT_FIELDS(HP_WS_TEXT_DEFAULT)
#undef HP_WS_TEXT_DEFAULT
}

std::span<const WorksheetFieldInfo> WorksheetFieldTable() {
  static const WorksheetFieldInfo table[] = {
#define HP_WS_NUMBER_INFO(name, Name, type, offset, init) {#name, offset, sizeof(type)},
      HP_WORKSHEET_NUMBER_FIELDS(HP_WS_NUMBER_INFO)
#undef HP_WS_NUMBER_INFO
#define HP_WS_TEXT_INFO(name, Name, offset, size, init) {#name, offset, size},
          HP_WORKSHEET_TEXT_FIELDS(HP_WS_TEXT_INFO)
#undef HP_WS_TEXT_INFO
#define HP_WS_BYTES_INFO(name, Name, offset, size) {#name, offset, size},
              HP_WORKSHEET_BYTE_FIELDS(HP_WS_BYTES_INFO)
#undef HP_WS_BYTES_INFO
  };
  return table;
}

namespace {
template <class Io, class P>
void VisitPosition(const Io& io, P& p) {
  using image::Field;
  Field(io, 0, p.azimuth);
  Field(io, 8, p.inclination);
  Field(io, 16, p.distance);
  Field(io, 24, p.centreX);
  Field(io, 32, p.centreY);
  Field(io, 40, p.centreZ);
  Field(io, 48, p.reserved);
}
}  // namespace

void DecodePosition(std::span<const uint8_t, kPositionImageSize> img, AnimationPosition& p) {
  VisitPosition(image::Decoder{img}, p);
}

void EncodePosition(const AnimationPosition& p, std::span<uint8_t, kPositionImageSize> img) {
  VisitPosition(image::Encoder{img}, p);
}

namespace {
constexpr size_t kLoopQualityMarkOffset = 60;
constexpr uint8_t kLoopQualityMark[4] = {'R', 'S', 'F', 'M'};
}  // namespace

int LineColourModeOf(const Worksheet& ws) {
  const auto* at = ws.image.data() + kLoopQualityMarkOffset;
  if (std::equal(std::begin(kLoopQualityMark), std::end(kLoopQualityMark), at)) return kLoopQualityColourMode;
  // Only the mark chooses mode 13; the number 13 stored at the mode's own
  // offset is out of range there, as any other beyond 12, and draws own colours.
  const int32_t stored = ws.lineColourMode();
  return stored == kLoopQualityColourMode ? 0 : stored;
}

void SetLineColourModeOf(Worksheet& ws, int mode) {
  auto* at = ws.image.data() + kLoopQualityMarkOffset;
  if (mode == kLoopQualityColourMode) {
    std::copy(std::begin(kLoopQualityMark), std::end(kLoopQualityMark), at);
    ws.setLineColourMode(0);
    return;
  }
  if (LineColourModeOf(ws) == kLoopQualityColourMode) std::fill(at, at + std::size(kLoopQualityMark), uint8_t{0});
  ws.setLineColourMode(mode);
}

}  // namespace hp::doc
