// Field-by-field conversion of settings, records and worksheets written by
// older versions of the program.
#include "doc/DocumentConversions.h"

#include <cstring>
#include <string>

#include "base/FixedText.h"
#include "base/NumberFormat.h"
#include "doc/DocumentVersion.h"

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
  if (v < V(10, 7)) r.calcB = CalculatorState{};
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
  if (v < V(17, 2)) {
    for (int i = 0; i < 4; ++i) r.calcC[i] = 0;
  }
  if (v < V(17, 3)) r.calcC[4] = r.calcC[5] = 0;
  if (v < V(17, 4)) r.calcC[6] = 0;
  if (v < V(17, 5)) {
    r.calcFlag = 0;
    r.calcScale = 1.0;
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
  for (int i = 0; i < 4; ++i) {
    const size_t o = 1289 + 50 * static_cast<size_t>(i);
    LegacyFont& f = s.legacyFonts[i];
    f.height = ws.Get<int16_t>(o);
    f.width = ws.Get<int16_t>(o + 2);
    f.escapement = ws.Get<int16_t>(o + 4);
    f.orientation = ws.Get<int16_t>(o + 6);
    f.weight = ws.Get<int16_t>(o + 8);
    uint8_t* bytes[] = {&f.italic, &f.underline, &f.strikeOut, &f.charSet,
                        &f.outPrecision, &f.clipPrecision, &f.quality, &f.pitchAndFamily};
    for (int b = 0; b < 8; ++b) *bytes[b] = ws.Get<uint8_t>(o + 10 + b);
    std::memcpy(f.faceName, ws.image.data() + o + 18, sizeof f.faceName);
    s.fontColours[i] = ws.Get<uint32_t>(1490 + 4 * static_cast<size_t>(i));
  }
  base::SetText(s.title, ws.Text(156, 256));
  base::SetText(s.title2, ws.Text(412, 256));
  ws.SetText(1532, 82, "<Blattbezeichnung>");
}

}  // namespace

void ConvertWorksheet(Worksheet& ws, uint32_t version, bool first, DocumentSettings& s) {
  const uint32_t v = ClearedVersion(version);
  if (v >= kCurrentVersion) return;
  const auto i16 = [&](size_t o) { return ws.Get<int16_t>(o); };
  const auto i32 = [&](size_t o) { return ws.Get<int32_t>(o); };
  const auto setI16 = [&](size_t o, int value) { ws.Set<int16_t>(o, static_cast<int16_t>(value)); };
  const auto setI32 = [&](size_t o, int32_t value) { ws.Set<int32_t>(o, value); };
  const auto setU32 = [&](size_t o, uint32_t value) { ws.Set<uint32_t>(o, value); };
  const auto setF64 = [&](size_t o, double value) { ws.Set<double>(o, value); };
  const auto zero = [&](size_t o, size_t n) { std::memset(ws.image.data() + o, 0, n); };

  if (v < V(2, 0)) {
    setI16(1180, 100);
    setF64(1744, 5.0);
    setI16(1184, 3), setI16(1186, -25), setI16(1188, -2), setI16(1190, 0);
  }
  if (v < V(2, 4)) {
    setI16(1194, 1), setI16(1196, 1), setI16(1198, 1);
    setI16(1192, i16(40));
  }
  if (v < V(2, 5)) setI16(1200, 0), setI16(1202, 1);
  if (v < V(2, 6)) {
    // The older single grid step becomes both steps.
    const int16_t step = i16(42);
    setI16(1204, step != 0 ? step : 10);
    setI16(1206, step != 0 ? step : 10);
  }
  if (v < V(3, 0)) {
    for (int i = 0; i < 4; ++i) {
      const size_t o = 1289 + 50 * static_cast<size_t>(i);
      zero(o, 50);
      setI16(o, -13);
      setI16(o + 8, 400);
      ws.SetText(o + 18, 32, "System");
      setU32(1490 + 4 * static_cast<size_t>(i), 0);
    }
  }
  if (v < V(3, 1)) setF64(1506, 0), setF64(1514, 0), setF64(1522, 0);
  if (v < V(3, 2)) setI16(1530, 0);
  if (v < V(4, 1) && first) MoveFirstWorksheetSettings(ws, s);
  if (v < V(4, 2)) setI16(1614, 1);
  if (v < V(4, 3)) setI16(34, i16(32)), setI16(38, i16(36));
  if (v < V(4, 4)) setI16(1618, 0);
  if (v < V(4, 5)) {
    setI32(1620, 0), setI32(1624, 0), setI32(1628, 0);
    for (size_t o : {1506, 1514, 1522}) setF64(o, -ws.Get<double>(o));
    zero(156, 256);
    zero(412, 256);
  }
  if (v < V(4, 6)) setI16(1632, 0);
  if (v < V(5, 3)) setI16(1634, 0);
  if (v < V(8, 1)) zero(1636, 32);
  if (v < V(9, 0)) setI32(1668, 0), setI32(1672, 0), setF64(1676, 0), setF64(1684, 0);
  if (v < V(9, 2)) setI32(1692, 0);
  if (v < V(10, 1)) {
    setF64(1696, i16(28));
    setF64(1704, i16(30));
    setF64(1744, i16(1182));
    setF64(1712, 0), setF64(1720, 0), setF64(1728, 0), setF64(1736, 0);
  }
  if (v < V(10, 2)) setF64(1752, 10.0);
  if (v < V(10, 3)) setU32(1760, 0), setU32(1764, 0), setU32(1768, 0), setU32(1772, 0);
  if (v < V(10, 4)) setI32(1780, 50);
  if (v < V(10, 6)) setI32(1784, 0);
  if (v < V(11, 2)) ws.SetText(1788, 14, std::to_string(i32(1628)));
  if (v < V(11, 3) && i16(6) > 1) setI16(6, i16(6) + 1);
  if (v < V(11, 7) && i32(1668) == 0) setI32(1692, 0);
  if (v < V(12, 2) && i16(26) > 2) setI16(6, 0), setI16(8, 0), setI16(1618, 0), setI32(1784, 0);
  if (v < V(13, 1)) setI32(1802, 0), setI32(1806, 10);
  if (v < V(13, 3)) zero(1810, 501), zero(2311, 81);
  if (v < V(13, 4)) setI32(2392, 0), setI32(2396, 10);
  if (v < V(13, 6)) {
    for (size_t o = 2400; o <= 2420; o += 4) setI32(o, 1);
    setI32(2424, 0);
  }
  if (v < V(13, 7)) setI32(2428, 1), setI32(2432, 1);
  if (v < V(13, 8)) setI32(2436, 0);
  if (v < V(14, 2)) setI32(2440, i16(1204)), setI32(2444, i16(1206));
  if (v < V(15, 0)) {
    setI32(2448, 0);
    zero(2452, 130);
    setF64(2582, 0), setF64(2590, 0), setF64(2606, 0), setF64(2614, 0);
  }
  if (v < V(15, 1)) setI32(2630, 1);
  if (v < V(15, 3)) setI32(2634, 0);
  if (v < V(15, 4)) setI32(2638, 1);
  if (v < V(15, 5)) setI32(2642, 1);
  if (v < V(16, 3)) setI32(2646, 1);
  if (v < V(16, 4)) setI32(2650, 0);
  if (v < V(16, 5)) setI32(2654, 1), setI32(2658, 0);
  if (v < V(17, 0)) setI32(2662, 0), setI32(2666, 0), setI32(2670, 1);
  if (v < V(17, 7)) setI32(2674, 0);
  if (v < V(18, 1)) setI32(2678, (i16(1190) == 0 && i16(40) != 0) ? 1 : 0);
  if (v < V(18, 2)) setI32(2682, 0), setI32(2686, 0);
  if (v < V(18, 3)) setI32(2690, 0);
  if (v < V(19, 1)) {
    zero(2694, 128);
    std::memcpy(ws.image.data() + 2694, ws.image.data() + 1636, 32);
  }
  if (v < V(20, 1) && (i16(26) == 3 || i16(26) == 5)) setI16(8, 0);
  if (v < V(21, 2)) {
    setI32(2822, 1);
    if (i16(1200) != 0) setI32(2826, 1);
  }
  if (v < V(21, 4)) setI32(2830, 0);
  if (v < V(22, 3)) setI32(2834, 0);
  if (v < V(22, 4)) setI32(2838, 0);
  if (v < V(22, 5)) {
    setI32(2842, i16(8) > 2 ? 1 : 0);
    if (i16(8) == 4) {
      setI16(8, 2);
    } else if (i16(8) > 2) {
      setI16(8, 0);
    }
    setI32(2846, 1);
  }
  if (v < V(22, 7) && i32(2690) == 3) setI32(2690, 5);
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
