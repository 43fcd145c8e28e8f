// Every named field sits at its fixed offset of the record, settings and
// worksheet images: the files other programs and older versions wrote depend
// on it.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <functional>
#include <set>
#include <string>

#include "base/ByteIo.h"
#include "doc/RecordCodec.h"
#include "doc/Worksheet.h"

namespace hp::doc {
namespace {

// A field set to a marker value that must land at `offset` in the image.
template <class T>
struct LayoutCase {
  const char* name;
  size_t offset;
  std::function<void(T&)> set;
  std::function<void(std::span<const uint8_t>, size_t)> check;
};

template <class V>
auto Number(V value) {
  return [value](std::span<const uint8_t> image, size_t offset) { EXPECT_EQ(base::LoadLE<V>(image, offset), value); };
}

auto Text(std::string text) {
  return [text](std::span<const uint8_t> image, size_t offset) {
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(image.data() + offset), text.size()), text);
  };
}

// clang-format off
#define NUM(T, field, off, value) {#field, off, [](T& s) { s.field = value; }, Number(value)}
#define TXT(T, field, off, text) {#field, off, [](T& s) { std::strcpy(s.field, text); }, Text(text)}
// clang-format on

TEST(ImageLayout, RecordFieldsAtTheirOffsets) {
  using R = SurveyRecord;
  // clang-format off
  const std::vector<LayoutCase<R>> cases = {
      NUM(R, refX, 0, 1.5), NUM(R, refY, 8, 2.5), NUM(R, refZ, 16, 3.5), NUM(R, x, 24, 4.5),
      NUM(R, y, 32, 5.5), NUM(R, z, 40, 6.5), NUM(R, developed.from.distance, 48, 7.5),
      NUM(R, developed.from.height, 56, 7.25), NUM(R, developed.from.across, 64, 7.75),
      NUM(R, developed.to.distance, 72, 8.25), NUM(R, developed.to.height, 80, 8.75),
      NUM(R, developed.to.across, 88, 8.5),
      NUM(R, azimuth, 96, 9.5), NUM(R, inclination, 104, 10.5), NUM(R, length, 112, 11.5),
      NUM(R, refCave, 120, 12), NUM(R, refPassage, 124, 13), NUM(R, refPointNumber, 128, 14),
      NUM(R, cave, 132, 15), NUM(R, passage, 136, 16), NUM(R, pointNumber, 140, 17),
      NUM(R, colour, 144, 18), NUM(R, direction, 148, -1.0), NUM(R, reserved8[95], 251, uint8_t{0xAB}),
      NUM(R, level, 252, 7), TXT(R, description, 256, "Schacht"), TXT(R, remark, 297, "Bemerkung"),
      NUM(R, left, 378, 0.25), NUM(R, right, 386, 0.5), NUM(R, up, 394, 0.75), NUM(R, down, 402, 1.25),
      NUM(R, ring, 410, 3), NUM(R, instrument, 414, 16), NUM(R, calculator.startReading, 418, 19.5),
      NUM(R, calculator.startHeight, 426, 20.5), NUM(R, calculator.reverse, 434, 1), TXT(R, point, 438, "ABCDEFGHIJKL"),
      TXT(R, refPoint, 451, "A1"), TXT(R, date, 464, "01.02.2003"), NUM(R, pathLength, 476, 21.5),
      TXT(R, material, 484, "Seil"), TXT(R, measures, 565, "Haken"), TXT(R, fileUrl, 646, "www.x.de"),
      TXT(R, includeFile, 775, "inc.hpn"), NUM(R, fromInclude, 904, uint8_t{1}),
      NUM(R, reserved7, 905, uint8_t{9}), NUM(R, crossSection.start.azimuth, 906, 22.5),
      NUM(R, crossSection.start.elevation, 914, 22.25), NUM(R, crossSection.end.azimuth, 922, 22.75),
      NUM(R, crossSection.end.elevation, 930, 23.25), NUM(R, crossSection.leg.azimuth, 938, 23.75),
      NUM(R, crossSection.leg.elevation, 946, 24.25), NUM(R, crossSection.halfSize, 954, 23.5),
      NUM(R, crossSection.acuteJunction, 962, 1), NUM(R, crossSection.developedElevation, 966, 0.5),
      NUM(R, drawFlags[0], 974, uint8_t{0}),
      NUM(R, drawFlags[1], 975, uint8_t{2}), NUM(R, tapeStart, 976, 24.5), NUM(R, tapeEnd, 984, 25.5),
      NUM(R, surveyor, 992, 8), NUM(R, reserved1, 996, 77), NUM(R, altCoords[0], 1000, 26.5),
      NUM(R, altCoords[11], 1088, 27.5), {"work.reserved", 1096, [](R& s) { s.work.reserved.Assign(std::array<uint8_t, 288>{5}.data()); }, Number(uint8_t{5})},
      NUM(R, work.loopCorrection[0], 1384, 28.5), NUM(R, work.loopCorrection[5], 1424, 29.5),
      NUM(R, work.vertical, 1436, 1), NUM(R, work.successor, 1440, 1), NUM(R, work.extentMarks[1], 1445, uint8_t{3}),
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    SurveyRecord record;
    c.set(record);
    std::array<uint8_t, kRecordImageSize> image{};
    EncodeRecord(record, image);
    c.check(image, c.offset);
    SurveyRecord back;
    DecodeRecord(image, back);
    std::array<uint8_t, kRecordImageSize> again{};
    EncodeRecord(back, again);
    EXPECT_EQ(image, again);
  }
}

TEST(ImageLayout, SettingsFieldsAtTheirOffsets) {
  using S = DocumentSettings;
  // clang-format off
  const std::vector<LayoutCase<S>> cases = {
      NUM(S, worksheetSize, 0, 2850u), NUM(S, worksheetCount, 4, 3u), NUM(S, recordSize, 8, 1446u),
      NUM(S, recordCount, 12, 9u), NUM(S, currentWorksheetIndex, 16, int16_t{2}),
      NUM(S, legacyFonts[0].height, 18, int16_t{-11}), NUM(S, legacyFonts[0].weight, 26, int16_t{700}),
      NUM(S, legacyFonts[0].italic, 28, uint8_t{1}), NUM(S, legacyFonts[0].pitchAndFamily, 35, uint8_t{4}),
      TXT(S, legacyFonts[0].faceName, 36, "Courier"), NUM(S, legacyFonts[3].height, 168, int16_t{-7}),
      NUM(S, legacyFontColours[0], 218, 0x123456u), TXT(S, title, 234, "Titel"), TXT(S, title2, 490, "T2"),
      NUM(S, currentRecordNumber, 746, 42u), NUM(S, computedCurrent, 750, uint16_t{0}),
      TXT(S, descriptionText, 752, "Beschreibung"), NUM(S, loopAdjustment, 1754, uint16_t{1}),
      NUM(S, searchToleranceLength, 1756, 2.5), NUM(S, searchToleranceAngle, 1764, 7.5),
      NUM(S, legacyFonts2[0].height, 1772, -15), TXT(S, legacyFonts2[1].faceName, 1860, "Tahoma"),
      NUM(S, legacyInstruments[0].azimuthUnit, 2012, 1u), NUM(S, legacyInstruments[7].verticalReference, 2168, 2u),
      TXT(S, legacyInstrumentNames[0], 2172, "Alt 1"), NUM(S, lineColours[0], 2300, 0x0A0B0Cu),
      NUM(S, legacySag[0], 2364, 0.1), NUM(S, legacySagCoefficient[7], 2484, 0.2),
      NUM(S, reserved3, 2492, 5u), NUM(S, falseColours[15], 2556, 0x010203u),
      NUM(S, backgroundColour, 2560, 0x111111u), NUM(S, pointColour, 2564, 0x222222u),
      NUM(S, frameColour, 2568, 0x333333u), NUM(S, animationRunning, 2572, 1u), NUM(S, reserved4, 2576, 4u),
      TXT(S, cadastreDesignation, 2580, "1234 Kat"), NUM(S, fonts[0].height, 2662, -19),
      NUM(S, fonts[0].weight, 2678, 700), NUM(S, fonts[0].italic, 2682, uint8_t{255}),
      TXT(S, fonts[0].faceName, 2690, "Arial"), NUM(S, fonts[7].height, 3082, -13),
      NUM(S, fontColours[0], 3142, 0x800080u), TXT(S, levelNames, 3174, "0: Unsichtbar"),
      NUM(S, legacyYear[0], 4200, 1999.0), NUM(S, legacyChange[0], 4264, 0.1),
      NUM(S, cadastreNumber, 4328, 1234u), NUM(S, reserved5, 4332, 6u),
      NUM(S, crossSectionVerticalLimit, 4336, 31.0), NUM(S, crossSectionAcuteLimit, 4344, 46.0),
      NUM(S, utmZone, 4352, 33u), TXT(S, utmBand, 4356, "T"), NUM(S, legacyDivider[0], 4358, 3.0),
      NUM(S, reserved6[63], 4485, uint8_t{1}), NUM(S, instruments[0].azimuthUnit, 4486, 1u),
      NUM(S, instruments[0].declination, 4490, 2.25), NUM(S, instruments[0].inclinationUnit, 4498, 1u),
      NUM(S, instruments[0].verticalReference, 4502, 2u), NUM(S, instruments[15].declination, 4790, -3.5),
      TXT(S, instrumentNames[0], 4806, "DistoX"), TXT(S, instrumentNames[15], 5046, "Kompass"),
      NUM(S, instrumentDivider[0], 5062, 1.0), NUM(S, instrumentSag[0], 5190, 2.0),
      NUM(S, instrumentSagCoefficient[0], 5318, 3.0), NUM(S, instrumentYear[0], 5446, 2001.0),
      NUM(S, instrumentChange[15], 5694, 0.05), TXT(S, surveyorNames, 5702, "0: Unbekannt"),
      NUM(S, auxLineColour, 6728, 0x00FF00u), NUM(S, meridianConvergence, 6732, 1.5),
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    DocumentSettings settings;
    c.set(settings);
    std::array<uint8_t, kSettingsImageSize> image{};
    EncodeSettings(settings, image);
    c.check(image, c.offset);
  }
}

TEST(ImageLayout, PositionHoldsTheSixViewValuesInOrder) {
  AnimationPosition p{10, -20, 30, 1, 2, 3, {9, 8, 7, 6}};
  std::array<uint8_t, kPositionImageSize> image{};
  EncodePosition(p, image);
  const double expected[] = {10, -20, 30, 1, 2, 3};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(base::LoadLE<double>(image, 8 * i), expected[i]);
  EXPECT_EQ(image[48], 9);
  EXPECT_EQ(image[51], 6);
}

TEST(ImageLayout, WorksheetSettingsNeitherOverlapNorLeaveTheImage) {
  std::set<size_t> used;
  for (const auto& field : WorksheetFieldTable()) {
    SCOPED_TRACE(field.name);
    EXPECT_LE(field.offset + field.size, kWorksheetImageSize);
    for (size_t b = field.offset; b < field.offset + field.size; ++b) {
      EXPECT_TRUE(used.insert(b).second) << "byte " << b << " used twice";
    }
  }
}

TEST(ImageLayout, NamedAccessorsUseTheirOffsets) {
  Worksheet ws;
  ws.setDisplayType(doc::DisplayType::Elevation), ws.setViewAzimuth(123.5), ws.setSheetDesignation("Blatt 2"),
      ws.setFilterCriterion(5);
  EXPECT_EQ(ws.Get<int16_t>(26), 7);
  EXPECT_EQ(ws.Get<double>(1696), 123.5);
  EXPECT_EQ(ws.Text(1532, 82), "Blatt 2");
  EXPECT_EQ(ws.Get<int32_t>(2690), 5);
  ws.setSheetDesignation(std::string(200, 'x'));
  EXPECT_EQ(ws.sheetDesignation().size(), 81u);
}

}  // namespace
}  // namespace hp::doc
