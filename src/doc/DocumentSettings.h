// The document-wide settings block: titles, description, cadastre, grid zone,
// computation options, colours, fonts, level and surveyor names and the
// instrument table. Fields keep the order and types of the 6740-byte file
// image (SettingsCodec maps them); texts are Windows-1252.
#pragma once

#include <cstdint>
#include <string>

namespace hp::doc {

// A font in the 60-byte layout of the stored documents.
struct FontSetting {
  int32_t height = 0;  // negative: character height in logical units
  int32_t width = 0;
  int32_t escapement = 0;  // tenths of a degree
  int32_t orientation = 0;
  int32_t weight = 0;  // 400 normal, 700 bold
  uint8_t italic = 0;
  uint8_t underline = 0;
  uint8_t strikeOut = 0;
  uint8_t charSet = 0;
  uint8_t outPrecision = 0;
  uint8_t clipPrecision = 0;
  uint8_t quality = 0;
  uint8_t pitchAndFamily = 0;
  char faceName[32] = {};
};

// A font of documents before 4.01 (50 bytes: 16-bit sizes).
struct LegacyFont {
  int16_t height = 0, width = 0, escapement = 0, orientation = 0, weight = 0;
  uint8_t italic = 0, underline = 0, strikeOut = 0, charSet = 0;
  uint8_t outPrecision = 0, clipPrecision = 0, quality = 0, pitchAndFamily = 0;
  char faceName[32] = {};
};

// The 20-byte part of an instrument kept row-wise.
struct InstrumentRecord {
  uint32_t azimuthUnit = 0;  // 0 degrees, 1 gon
  double declination = 0;
  uint32_t inclinationUnit = 0;    // 0 degrees, 1 gon
  uint32_t verticalReference = 0;  // 0 horizontal, 1 nadiral, 2 zenital
};

inline constexpr int kInstrumentCount = 16;
inline constexpr int kLegacyInstrumentCount = 8;
inline constexpr int kFontCount = 8;

struct DocumentSettings {
  uint32_t worksheetSize = 2850;
  uint32_t worksheetCount = 1;
  uint32_t recordSize = 1446;
  uint32_t recordCount = 1;
  int16_t currentWorksheetIndex = 0;
  LegacyFont legacyFonts[4] = {};
  uint32_t legacyFontColours[4] = {};
  char title[256] = {};
  char title2[256] = {};
  uint32_t currentRecordNumber = 1;
  uint16_t computedCurrent = 1;
  char descriptionText[1002] = {};
  uint16_t loopAdjustment = 2;  // 0 none, 1 linear, 2 linear keeping verticals
  double searchToleranceLength = 1.0;
  double searchToleranceAngle = 5.0;
  FontSetting legacyFonts2[4] = {};
  InstrumentRecord legacyInstruments[kLegacyInstrumentCount] = {};
  char legacyInstrumentNames[kLegacyInstrumentCount][16] = {};
  uint32_t lineColours[16] = {};
  double legacySag[kLegacyInstrumentCount] = {};
  double legacySagCoefficient[kLegacyInstrumentCount] = {};
  uint32_t reserved3 = 5;
  uint32_t falseColours[16] = {};
  uint32_t backgroundColour = 0xFFFFFF;
  uint32_t pointColour = 0x0000FF;
  uint32_t frameColour = 0x808080;
  uint32_t animationRunning = 0;
  uint32_t reserved4 = 0;
  char cadastreDesignation[82] = {};
  FontSetting fonts[kFontCount] = {};
  uint32_t fontColours[kFontCount] = {};
  char levelNames[1026] = {};
  double legacyYear[kLegacyInstrumentCount] = {};
  double legacyChange[kLegacyInstrumentCount] = {};
  uint32_t cadastreNumber = 0;
  uint32_t reserved5 = 0;
  double crossSectionVerticalLimit = 30.0;  // degrees
  double crossSectionAcuteLimit = 45.0;     // degrees
  uint32_t utmZone = 32;
  char utmBand[2] = {'U', 0};
  double legacyDivider[kLegacyInstrumentCount] = {};
  uint8_t reserved6[64] = {};
  InstrumentRecord instruments[kInstrumentCount] = {};
  char instrumentNames[kInstrumentCount][16] = {};
  double instrumentDivider[kInstrumentCount] = {};
  double instrumentSag[kInstrumentCount] = {};
  double instrumentSagCoefficient[kInstrumentCount] = {};
  double instrumentYear[kInstrumentCount] = {};
  double instrumentChange[kInstrumentCount] = {};
  char surveyorNames[1026] = {};
  uint32_t auxLineColour = 0xFF0000;
  double meridianConvergence = 0;
};

inline constexpr uint32_t kSettingsImageSize = 6740;

// One instrument of the table, gathered from its row and its columns.
struct Instrument {
  std::string name;  // Windows-1252, at most 15 characters
  uint32_t azimuthUnit = 0;
  double declination = 0;
  uint32_t inclinationUnit = 0;
  uint32_t verticalReference = 0;
  double divider = 0;
  double sag = 0;
  double sagCoefficient = 0;
  double declinationYear = 0;
  double declinationChange = 0;
};

// Instrument `number` (1 to 16) of the table; out-of-range numbers are a
// programming error.
Instrument GetInstrument(const DocumentSettings& settings, int number);
void SetInstrument(DocumentSettings& settings, int number, const Instrument& instrument);

// Whether the network adjustment is the document's loop adjustment. The
// choice is a mark in the first bytes of reserved6, which readers that know
// only the loop adjustments 0 to 2 keep as they read them; `loopAdjustment`
// stays at 2 beside it, so such readers adjust the ring-marked loops.
bool NetworkAdjustmentChosen(const DocumentSettings& settings);
void ChooseNetworkAdjustment(DocumentSettings& settings, bool chosen);

// Defaults of the whole block, and of its parts that conversions restore.
void SetDefaultSettings(DocumentSettings& settings);
void SetDefaultLineColours(DocumentSettings& settings);
void SetDefaultFalseColours(DocumentSettings& settings);
void SetDefaultLevelNames(DocumentSettings& settings);
void SetDefaultSurveyorNames(DocumentSettings& settings);
// "Gerät %ld" into a 16-byte name field.
void SetDefaultInstrumentName(char (&name)[16], int number);
// The default font of index 0 to 7, with its colour.
FontSetting DefaultFont(int index);
uint32_t DefaultFontColour(int index);

}  // namespace hp::doc
