// A worksheet ("Arbeitsblatt"): one view of the survey data with its display
// type, view, page and print settings, kept as its 2850-byte file image with
// typed accessors (WorksheetFields.h lists every setting), plus its list of
// stored animation viewpoints.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

#include "base/ByteIo.h"
#include "doc/DisplayType.h"
#include "doc/WorksheetFields.h"

namespace hp::doc {

inline constexpr uint32_t kWorksheetImageSize = 2850;
inline constexpr uint32_t kPositionImageSize = 52;

// One stored viewpoint of the animation: the six view values.
struct AnimationPosition {
  double azimuth = 0;      // degrees
  double inclination = 0;  // degrees
  double distance = 0;     // metres
  double centreX = 0, centreY = 0, centreZ = 0;
  uint8_t reserved[4] = {};  // list slot of the stored form; kept as read
};

void DecodePosition(std::span<const uint8_t, kPositionImageSize> image, AnimationPosition& position);
void EncodePosition(const AnimationPosition& position, std::span<uint8_t, kPositionImageSize> image);

class Worksheet {
 public:
  using Image = std::array<uint8_t, kWorksheetImageSize>;

  Image image{};  // zero until InitWorksheet or a read fills it
  std::vector<std::unique_ptr<AnimationPosition>> positions;

  // Copies image and positions (backup, restore and the worksheet copy).
  Worksheet() = default;
  Worksheet(const Worksheet& other) { *this = other; }
  Worksheet& operator=(const Worksheet& other);
  Worksheet(Worksheet&&) noexcept = default;
  Worksheet& operator=(Worksheet&&) noexcept = default;

  template <base::LittleEndianValue T>
  T Get(size_t offset) const {
    return base::LoadLE<T>(image, offset);
  }
  template <base::LittleEndianValue T>
  void Set(size_t offset, T value) {
    base::StoreLE<T>(image, offset, value);
  }
  // Text at `offset` of a field of `size` bytes, up to its terminator.
  std::string_view Text(size_t offset, size_t size) const;
  // Stores `text` cut to size - 1 bytes, terminated, rest cleared.
  void SetText(size_t offset, size_t size, std::string_view text);

#define HP_WS_NUMBER_ACCESSOR(name, Name, type, offset, init) \
  type name() const { return Get<type>(offset); }             \
  void set##Name(type value) { Set<type>(offset, value); }
  HP_WORKSHEET_NUMBER_FIELDS(HP_WS_NUMBER_ACCESSOR)
#undef HP_WS_NUMBER_ACCESSOR

  // The display type; a stored value out of range is kept as it is and
  // belongs to no group of DisplayType.h.
  DisplayType displayType() const { return static_cast<DisplayType>(displayTypeCode()); }
  void setDisplayType(DisplayType type) { setDisplayTypeCode(static_cast<int16_t>(type)); }

#define HP_WS_TEXT_ACCESSOR(name, Name, offset, size, init)    \
  std::string_view name() const { return Text(offset, size); } \
  void set##Name(std::string_view text) { SetText(offset, size, text); }
  HP_WORKSHEET_TEXT_FIELDS(HP_WS_TEXT_ACCESSOR)
#undef HP_WS_TEXT_ACCESSOR

#define HP_WS_BYTES_ACCESSOR(name, Name, offset, size)                                                \
  std::span<uint8_t, size> name() { return std::span<uint8_t, size>(image.data() + (offset), size); } \
  std::span<const uint8_t, size> name() const { return std::span<const uint8_t, size>(image.data() + (offset), size); }
  HP_WORKSHEET_BYTE_FIELDS(HP_WS_BYTES_ACCESSOR)
#undef HP_WS_BYTES_ACCESSOR
};

// Fills a worksheet with the defaults of a new worksheet and an empty
// position list.
void InitWorksheet(Worksheet& worksheet);

// The line colour mode including the loop-quality mode 13. Mode 13 is kept
// as the mark "RSFM" in the unused bytes 60-63 of the image, with mode 0
// (the legs' own colours) at the mode's own offset 1668, so that a reader
// that knows only modes 0 to 12 reads the document and draws own colours.
// A 13 stored at 1668 without the mark reads as 0.
inline constexpr int kLoopQualityColourMode = 13;
int LineColourModeOf(const Worksheet& worksheet);
void SetLineColourModeOf(Worksheet& worksheet, int mode);

// Description of one stored setting, for tests and tools.
struct WorksheetFieldInfo {
  const char* name;
  size_t offset;
  size_t size;
};
std::span<const WorksheetFieldInfo> WorksheetFieldTable();

}  // namespace hp::doc
