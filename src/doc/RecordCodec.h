// Byte images of the stored structures: records (1446 bytes), the settings
// block (6740 bytes) and animation positions (52 bytes).
#pragma once

#include <cstdint>
#include <span>

#include "doc/DocumentSettings.h"
#include "doc/SurveyRecord.h"

namespace hp::doc {

struct AnimationPosition;

// Each image span must be exactly the image size.
void DecodeRecord(std::span<const uint8_t, kRecordImageSize> image, SurveyRecord& record);
void EncodeRecord(const SurveyRecord& record, std::span<uint8_t, kRecordImageSize> image);
void DecodeSettings(std::span<const uint8_t, kSettingsImageSize> image, DocumentSettings& settings);
void EncodeSettings(const DocumentSettings& settings, std::span<uint8_t, kSettingsImageSize> image);

}  // namespace hp::doc
