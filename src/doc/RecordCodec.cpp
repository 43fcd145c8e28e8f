// Field offsets of the record and settings images.
#include "doc/RecordCodec.h"

#include "doc/ImageFields.h"

namespace hp::doc {
namespace {
using image::Field;

template <class Io, class R>
void VisitRecord(const Io& io, R& r) {
  Field(io, 0, r.refX);
  Field(io, 8, r.refY);
  Field(io, 16, r.refZ);
  Field(io, 24, r.x);
  Field(io, 32, r.y);
  Field(io, 40, r.z);
  Field(io, 48, r.developed.from.distance);
  Field(io, 56, r.developed.from.height);
  Field(io, 64, r.developed.from.across);
  Field(io, 72, r.developed.to.distance);
  Field(io, 80, r.developed.to.height);
  Field(io, 88, r.developed.to.across);
  Field(io, 96, r.azimuth);
  Field(io, 104, r.inclination);
  Field(io, 112, r.length);
  Field(io, 120, r.refCave);
  Field(io, 124, r.refPassage);
  Field(io, 128, r.refPointNumber);
  Field(io, 132, r.cave);
  Field(io, 136, r.passage);
  Field(io, 140, r.pointNumber);
  Field(io, 144, r.colour);
  Field(io, 148, r.direction);
  Field(io, 156, r.reserved8);
  Field(io, 252, r.level);
  Field(io, 256, r.description);
  Field(io, 297, r.remark);
  Field(io, 378, r.left);
  Field(io, 386, r.right);
  Field(io, 394, r.up);
  Field(io, 402, r.down);
  Field(io, 410, r.ring);
  Field(io, 414, r.instrument);
  Field(io, 418, r.calculator.startReading);
  Field(io, 426, r.calculator.startHeight);
  Field(io, 434, r.calculator.reverse);
  Field(io, 438, r.point);
  Field(io, 451, r.refPoint);
  Field(io, 464, r.date);
  Field(io, 476, r.pathLength);
  Field(io, 484, r.material);
  Field(io, 565, r.measures);
  Field(io, 646, r.fileUrl);
  Field(io, 775, r.includeFile);
  Field(io, 904, r.fromInclude);
  Field(io, 905, r.reserved7);
  Field(io, 906, r.crossSection.start.azimuth);
  Field(io, 914, r.crossSection.start.elevation);
  Field(io, 922, r.crossSection.end.azimuth);
  Field(io, 930, r.crossSection.end.elevation);
  Field(io, 938, r.crossSection.leg.azimuth);
  Field(io, 946, r.crossSection.leg.elevation);
  Field(io, 954, r.crossSection.halfSize);
  Field(io, 962, r.crossSection.acuteJunction);
  Field(io, 966, r.crossSection.developedElevation);
  Field(io, 974, r.drawFlags);
  Field(io, 976, r.tapeStart);
  Field(io, 984, r.tapeEnd);
  Field(io, 992, r.surveyor);
  Field(io, 996, r.reserved1);
  Field(io, 1000, r.altCoords);
  Field(io, 1096, r.work.reserved);
  Field(io, 1384, r.work.loopCorrection);
  Field(io, 1432, r.work.reserved2);
  Field(io, 1436, r.work.vertical);
  Field(io, 1440, r.work.successor);
  Field(io, 1444, r.work.extentMarks);
}

template <class Io, class S>
void VisitSettings(const Io& io, S& s) {
  Field(io, 0, s.worksheetSize);
  Field(io, 4, s.worksheetCount);
  Field(io, 8, s.recordSize);
  Field(io, 12, s.recordCount);
  Field(io, 16, s.currentWorksheetIndex);
  Field(io, 18, s.legacyFonts);
  Field(io, 218, s.legacyFontColours);
  Field(io, 234, s.title);
  Field(io, 490, s.title2);
  Field(io, 746, s.currentRecordNumber);
  Field(io, 750, s.computedCurrent);
  Field(io, 752, s.descriptionText);
  Field(io, 1754, s.loopAdjustment);
  Field(io, 1756, s.searchToleranceLength);
  Field(io, 1764, s.searchToleranceAngle);
  Field(io, 1772, s.legacyFonts2);
  Field(io, 2012, s.legacyInstruments);
  Field(io, 2172, s.legacyInstrumentNames);
  Field(io, 2300, s.lineColours);
  Field(io, 2364, s.legacySag);
  Field(io, 2428, s.legacySagCoefficient);
  Field(io, 2492, s.reserved3);
  Field(io, 2496, s.falseColours);
  Field(io, 2560, s.backgroundColour);
  Field(io, 2564, s.pointColour);
  Field(io, 2568, s.frameColour);
  Field(io, 2572, s.animationRunning);
  Field(io, 2576, s.reserved4);
  Field(io, 2580, s.cadastreDesignation);
  Field(io, 2662, s.fonts);
  Field(io, 3142, s.fontColours);
  Field(io, 3174, s.levelNames);
  Field(io, 4200, s.legacyYear);
  Field(io, 4264, s.legacyChange);
  Field(io, 4328, s.cadastreNumber);
  Field(io, 4332, s.reserved5);
  Field(io, 4336, s.crossSectionVerticalLimit);
  Field(io, 4344, s.crossSectionAcuteLimit);
  Field(io, 4352, s.utmZone);
  Field(io, 4356, s.utmBand);
  Field(io, 4358, s.legacyDivider);
  Field(io, 4422, s.reserved6);
  Field(io, 4486, s.instruments);
  Field(io, 4806, s.instrumentNames);
  Field(io, 5062, s.instrumentDivider);
  Field(io, 5190, s.instrumentSag);
  Field(io, 5318, s.instrumentSagCoefficient);
  Field(io, 5446, s.instrumentYear);
  Field(io, 5574, s.instrumentChange);
  Field(io, 5702, s.surveyorNames);
  Field(io, 6728, s.auxLineColour);
  Field(io, 6732, s.meridianConvergence);
}
}  // namespace

void DecodeRecord(std::span<const uint8_t, kRecordImageSize> img, SurveyRecord& record) {
  VisitRecord(image::Decoder{img}, record);
}

void EncodeRecord(const SurveyRecord& record, std::span<uint8_t, kRecordImageSize> img) {
  VisitRecord(image::Encoder{img}, record);
}

void DecodeSettings(std::span<const uint8_t, kSettingsImageSize> img, DocumentSettings& settings) {
  VisitSettings(image::Decoder{img}, settings);
}

void EncodeSettings(const DocumentSettings& settings, std::span<uint8_t, kSettingsImageSize> img) {
  VisitSettings(image::Encoder{img}, settings);
}

}  // namespace hp::doc
