// Field-by-field conversion of settings, records and worksheets written by
// older versions of the program.
#include "doc/DocumentConversions.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "base/FixedText.h"
#include "base/NumberFormat.h"
#include "doc/DocumentVersion.h"
#include "doc/ImageFields.h"

namespace hp::doc {
namespace {

constexpr uint32_t V(int major, int minor) { return FormatVersion(major, minor); }

void ZeroFonts(FontSetting* fonts, int count) {
  for (int i = 0; i < count; ++i) fonts[i] = FontSetting{};
}

}  // namespace

void ConvertSettings(DocumentSettings& s, uint32_t version) {
  const uint32_t v = ClearedVersion(version);
  const uint32_t full = FullVersion(version);
  if (v < V(4, 1)) s.currentWorksheetIndex = 0;
  if (v < V(5, 0)) {
    base::SetText(s.descriptionText, "");
    s.currentRecordNumber = 0;
    s.computedCurrent = 0;
  }
  if (v < V(5, 2)) s.computedCurrent = 1;
  if (v < V(5, 4)) s.loopAdjustment = 1;
  if (v < V(6, 1)) {
    s.searchToleranceLength = 1.0;
    s.searchToleranceAngle = 5.0;
  }
  if (v < V(7, 2)) {
    for (auto& instrument : s.legacyInstruments) instrument = InstrumentRecord{};
  }
  if (v < V(7, 3)) s.computedCurrent = 0;
  if (v < V(7, 4)) {
    for (int i = 0; i < kLegacyInstrumentCount; ++i) SetDefaultInstrumentName(s.legacyInstrumentNames[i], i + 1);
  }
  if (v < V(7, 5)) SetDefaultLineColours(s);
  if (v < V(7, 6)) {
    for (int i = 0; i < kLegacyInstrumentCount; ++i) s.legacySag[i] = s.legacySagCoefficient[i] = 0;
  }
  if (v < V(8, 0)) s.reserved3 = 5;
  if (v < V(9, 0)) {
    SetDefaultFalseColours(s);
    s.backgroundColour = 0xFFFFFF;
  }
  if (v < V(9, 1)) {
    s.pointColour = s.fontColours[3];
    s.frameColour = s.fontColours[2];
  }
  if (v < V(10, 5)) s.animationRunning = 0;
  if (v < V(11, 1)) s.reserved4 = 0;
  if (v < V(11, 4)) base::SetText(s.cadastreDesignation, "");
  if (full < 0x00110501) s.computedCurrent = 0;
  if (full < V(13, 5)) {
    for (int i = 0; i < 4; ++i) {
      s.fonts[i] = s.legacyFonts2[i];
      s.fontColours[i] = s.legacyFontColours[i];
    }
    ZeroFonts(s.fonts + 4, 4);
    for (int i = 4; i < kFontCount; ++i) {
      s.fonts[i].height = -13;
      s.fonts[i].weight = 400;
      base::SetText(s.fonts[i].faceName, "Arial");
      s.fontColours[i] = 0x800000;
    }
  }
  if (full < V(15, 2)) SetDefaultLevelNames(s);
  if (full < V(15, 6)) {
    for (int i = 0; i < kLegacyInstrumentCount; ++i) s.legacyYear[i] = s.legacyChange[i] = 0;
  }
  if (full < V(16, 1)) {
    s.cadastreNumber = static_cast<uint32_t>(base::LeadingInteger(base::TextOf(s.cadastreDesignation)));
  }
  if (full < V(17, 2)) {
    s.reserved5 = 0;
    s.crossSectionVerticalLimit = 30.0;
  }
  if (full < V(17, 6)) {
    s.crossSectionAcuteLimit = 45.0;
    s.computedCurrent = 0;
  }
  if (full < V(18, 0)) {
    s.utmZone = 32;
    base::SetText(s.utmBand, "U");
  }
  if (v < V(21, 1)) {
    for (double& d : s.legacyDivider) d = 0;
  }
  if (v < V(22, 1)) {
    for (int i = 0; i < kInstrumentCount; ++i) {
      const bool legacy = i < kLegacyInstrumentCount;
      s.instruments[i] = legacy ? s.legacyInstruments[i] : InstrumentRecord{};
      if (legacy) {
        std::memcpy(s.instrumentNames[i], s.legacyInstrumentNames[i], sizeof s.instrumentNames[i]);
      } else {
        SetDefaultInstrumentName(s.instrumentNames[i], i + 1);
      }
      s.instrumentDivider[i] = legacy ? s.legacyDivider[i] : 0;
      s.instrumentSag[i] = legacy ? s.legacySag[i] : 0;
      s.instrumentSagCoefficient[i] = legacy ? s.legacySagCoefficient[i] : 0;
      s.instrumentYear[i] = legacy ? s.legacyYear[i] : 0;
      s.instrumentChange[i] = legacy ? s.legacyChange[i] : 0;
    }
  }
  if (v < V(22, 2)) SetDefaultSurveyorNames(s);
  if (v < V(22, 5)) s.auxLineColour = 0xFF0000;
  if (v < V(22, 7)) s.computedCurrent = 0;
  if (v < V(22, 8)) s.meridianConvergence = 0;
}

void ConvertRecord(SurveyRecord& r, uint32_t version, DocumentSettings& s) {
  const uint32_t v = ClearedVersion(version);
  if (v >= kCurrentVersion) return;
  if (v < V(2, 7)) r.level = 1;
  if (v < V(4, 4)) base::SetText(r.description, "");
  if (v < V(5, 0)) base::SetText(r.remark, "");
  if (v < V(5, 1)) r.left = r.right = r.up = r.down = 0;
  if (v < V(5, 2)) {
    r.ring = 0;
    std::memset(r.reserved8, 0, sizeof r.reserved8);
    s.computedCurrent = 0;
  }
  if (v < V(7, 1)) r.instrument = 1;
  if (v < V(10, 7)) r.calculator = CalculatorState{};
  if (v < V(11, 2)) {
    base::SetText(r.refPoint, std::to_string(r.refPointNumber));
    base::SetText(r.point, std::to_string(r.pointNumber));
  }
  if (v < V(11, 5)) base::SetText(r.date, "");
  if (v < V(11, 6)) {
    r.pathLength = 0;
    s.computedCurrent = 0;
  }
  if (v < V(12, 1)) s.computedCurrent = 0;
  if (v < V(16, 2)) {
    base::SetText(r.material, "");
    base::SetText(r.measures, "");
  }
  if (v < V(17, 0)) {
    base::SetText(r.fileUrl, "");
    base::SetText(r.includeFile, "");
  }
  if (v < V(17, 1)) r.fromInclude = 0;
  if (v < V(17, 2)) r.crossSection.start = r.crossSection.end = Orientation{};
  if (v < V(17, 3)) r.crossSection.leg = Orientation{};
  if (v < V(17, 4)) r.crossSection.halfSize = 0;
  if (v < V(17, 5)) {
    r.crossSection.acuteJunction = 0;
    r.crossSection.developedElevation = 1.0;
  }
  if (v < V(19, 0)) {
    r.drawFlags[0] = r.drawFlags[1] = 1;
    s.computedCurrent = 0;
  }
  if (v < V(21, 0)) r.tapeStart = r.tapeEnd = 0;
  if (v < V(22, 2)) r.surveyor = 0;
  if (v < V(22, 4)) r.reserved1 = 0;
  if (v < V(22, 6)) {
    for (int i = 0; i < 4; ++i) {
      r.altCoords[3 * i] = r.x;
      r.altCoords[3 * i + 1] = r.y;
      r.altCoords[3 * i + 2] = r.z;
    }
    s.computedCurrent = 0;
  }
  if (v < V(22, 7)) s.computedCurrent = 0;
}

namespace {

// The titles, fonts and colours that files before 4.01 kept in their first
// worksheet.
void MoveFirstWorksheetSettings(Worksheet& ws, DocumentSettings& s) {
  image::Field(image::Decoder{ws.legacyFonts()}, 0, s.legacyFonts);
  for (size_t i = 0; i < 4; ++i) image::Field(image::Decoder{ws.legacyFontColours()}, 4 * i, s.fontColours[i]);
  base::SetText(s.title, ws.title());
  base::SetText(s.title2, ws.title2());
  ws.setSheetDesignation("<Blattbezeichnung>");
}

// The four fonts of files before 3.00.
void SetSystemFonts(Worksheet& ws) {
  LegacyFont fonts[4];
  for (LegacyFont& f : fonts) {
    f.height = -13;
    f.weight = 400;
    base::SetText(f.faceName, "System");
  }
  image::Field(image::Encoder{ws.legacyFonts()}, 0, fonts);
  const uint32_t black[4] = {};
  image::Field(image::Encoder{ws.legacyFontColours()}, 0, black);
}

template <size_t N>
void Clear(std::span<uint8_t, N> bytes) {
  std::fill(bytes.begin(), bytes.end(), uint8_t{0});
}

}  // namespace

void ConvertWorksheet(Worksheet& ws, uint32_t version, bool first, DocumentSettings& s) {
  const uint32_t v = ClearedVersion(version);
  if (v >= kCurrentVersion) return;

  if (v < V(2, 0)) {
    ws.setLegacyPerspective(100);
    ws.setLegacyRotationStep(5.0);
    ws.setLegacyStereoAngle(3), ws.setStereoOffsetX(-25), ws.setStereoOffsetY(-2), ws.setAutomaticScale(0);
  }
  if (v < V(2, 4)) {
    ws.setSheetRows(1), ws.setSheetColumns(1), ws.setShowTitleAndPageLabel(1);
    ws.setCurrentSheetNumber(ws.showSubSheets());
  }
  if (v < V(2, 5)) ws.setManualOverview(0), ws.setPreviewPages(1);
  if (v < V(2, 6)) {
    // The older single grid step (where the grid flag is now) becomes both steps.
    const int16_t step = ws.manualGrid();
    ws.setLegacyOverviewGridStep(step != 0 ? step : int16_t{10});
    ws.setLegacySheetGridStep(step != 0 ? step : int16_t{10});
  }
  if (v < V(3, 0)) SetSystemFonts(ws);
  if (v < V(3, 1)) ws.setOriginX(0), ws.setOriginY(0), ws.setOriginZ(0);
  if (v < V(3, 2)) ws.setAdaptOverview(0);
  if (v < V(4, 1) && first) MoveFirstWorksheetSettings(ws, s);
  if (v < V(4, 2)) ws.setShowFrame(1);
  if (v < V(4, 3)) ws.setMarginRight(ws.marginLeft()), ws.setMarginBottom(ws.marginTop());
  if (v < V(4, 4)) ws.setDescriptionOverridesNumbering(0);
  if (v < V(4, 5)) {
    ws.setOriginCave(0), ws.setOriginPassage(0), ws.setLegacyOriginPointNumber(0);
    ws.setOriginX(-ws.originX()), ws.setOriginY(-ws.originY()), ws.setOriginZ(-ws.originZ());
    ws.setTitle("");
    ws.setTitle2("");
  }
  if (v < V(4, 6)) ws.setLandscape(0);
  if (v < V(5, 3)) ws.setSubSheetDivision(0);
  if (v < V(8, 1)) Clear(ws.legacyPrintAreaBits());
  if (v < V(9, 0)) {
    ws.setLineColourMode(0), ws.setManualColourRange(0), ws.setColourRangeMax(0), ws.setColourRangeMin(0);
  }
  if (v < V(9, 2)) ws.setBlackBackground(0);
  if (v < V(10, 1)) {
    ws.setViewAzimuth(ws.legacyViewAzimuth());
    ws.setViewInclination(ws.legacyViewInclination());
    ws.setLegacyRotationStep(ws.olderRotationStep());
    ws.setViewDistance(0), ws.setViewCentreX(0), ws.setViewCentreY(0), ws.setViewCentreZ(0);
  }
  if (v < V(10, 2)) ws.setLegacyViewValue(10.0);
  if (v < V(10, 3)) {
    ws.setPositionSize(0), ws.setPositionCount(0), ws.setCurrentPositionNumber(0), ws.setEndlessAnimation(0);
  }
  if (v < V(10, 4)) ws.setPicturesPerPosition(50);
  if (v < V(10, 6)) ws.setPointsInLegColour(0);
  if (v < V(11, 2)) ws.setOriginPoint(std::to_string(ws.legacyOriginPointNumber()));
  if (v < V(11, 3) && ws.stationNumbering() > 1)
    ws.setStationNumbering(static_cast<int16_t>(ws.stationNumbering() + 1));
  if (v < V(11, 7) && ws.lineColourMode() == 0) ws.setBlackBackground(0);
  // The display type values as these versions numbered them.
  if (v < V(12, 2) && ws.displayTypeCode() > 2) {
    ws.setStationNumbering(0), ws.setStationMark(0), ws.setDescriptionOverridesNumbering(0);
    ws.setPointsInLegColour(0);
  }
  if (v < V(13, 1)) ws.setNorthArrow(0), ws.setNorthArrowSize(10);
  if (v < V(13, 3)) ws.setWorksheetDescription(""), ws.setLabelFilterPattern("");
  if (v < V(13, 4)) ws.setHeightLabels(0), ws.setHeightLabelStep(10);
  if (v < V(13, 6)) {
    ws.setProtocolCadastre(1), ws.setProtocolCaves(1), ws.setProtocolDocumentDescription(1);
    ws.setProtocolWorksheetDescription(1), ws.setProtocolEvaluation(1), ws.setProtocolLegList(1);
    ws.setProtocolNumbering(0);
  }
  if (v < V(13, 7)) ws.setProtocolCurrentPage(1), ws.setProtocolPageCount(1);
  if (v < V(13, 8)) ws.setProtocolLegInfo(0);
  if (v < V(14, 2)) {
    ws.setOverviewGridStep(ws.legacyOverviewGridStep());
    ws.setSheetGridStep(ws.legacySheetGridStep());
  }
  if (v < V(15, 0)) {
    ws.setBackgroundMap(0);
    ws.setBackgroundMapFile("");
    ws.setMapLeft(0), ws.setMapBottom(0), ws.setMapRight(0), ws.setMapTop(0);
  }
  if (v < V(15, 1)) ws.setLineWidth(1);
  if (v < V(15, 3)) ws.setCrosshair(0);
  if (v < V(15, 4)) ws.setMapKeepSize(1);
  if (v < V(15, 5)) ws.setMapKeepProportions(1);
  if (v < V(16, 3)) ws.setProtocolMaterialList(1);
  if (v < V(16, 4)) ws.setProtocolMaterialInfo(0);
  if (v < V(16, 5)) ws.setProtocolMeasuresList(1), ws.setProtocolMeasuresInfo(0);
  if (v < V(17, 0)) ws.setReserved2662(0), ws.setReserved2666(0), ws.setFileSymbol(1);
  if (v < V(17, 7)) ws.setMarkCoordinateReferences(0);
  if (v < V(18, 1)) ws.setPrintSubSheets(ws.automaticScale() == 0 && ws.showSubSheets() != 0 ? 1 : 0);
  if (v < V(18, 2)) ws.setReserved2682(0), ws.setReserved2686(0);
  if (v < V(18, 3)) ws.setFilterCriterion(0);
  if (v < V(19, 1)) {
    Clear(ws.printAreaBits());
    const auto old = ws.legacyPrintAreaBits();
    std::copy(old.begin(), old.end(), ws.printAreaBits().begin());
  }
  if (v < V(20, 1) && (ws.displayType() == DisplayType::Perspective || ws.displayType() == DisplayType::Animation)) {
    ws.setStationMark(0);
  }
  if (v < V(21, 2)) {
    ws.setCentreOnPage(1);
    if (ws.manualOverview() != 0) ws.setManualSubSheets(1);
  }
  if (v < V(21, 4)) ws.setLabelAngleIndex(0);
  if (v < V(22, 3)) ws.setPassageMarking(0);
  if (v < V(22, 4)) ws.setShowAuxiliaryLines(0);
  if (v < V(22, 5)) {
    // Mark kinds 3 and 4 drew cross sections; 4 also the stroke.
    const int16_t mark = ws.stationMark();
    ws.setShowCrossSections(mark > 2 ? 1 : 0);
    if (mark == 4) {
      ws.setStationMark(2);
    } else if (mark > 2) {
      ws.setStationMark(0);
    }
    ws.setCrossSectionsInStandardColour(1);
  }
  if (v < V(22, 7) && ws.filterCriterion() == 3) ws.setFilterCriterion(5);
}

void ConvertLegacyFonts(DocumentSettings& s) {
  for (int i = 0; i < 4; ++i) {
    const LegacyFont& from = s.legacyFonts[i];
    FontSetting& to = s.fonts[i];
    to.height = from.height;
    to.width = from.width;
    to.escapement = from.escapement;
    to.orientation = from.orientation;
    to.weight = from.weight;
    to.italic = from.italic;
    to.underline = from.underline;
    to.strikeOut = from.strikeOut;
    to.charSet = from.charSet;
    to.outPrecision = from.outPrecision;
    to.clipPrecision = from.clipPrecision;
    to.quality = from.quality;
    to.pitchAndFamily = from.pitchAndFamily;
    std::memcpy(to.faceName, from.faceName, sizeof to.faceName);
  }
}

}  // namespace hp::doc
