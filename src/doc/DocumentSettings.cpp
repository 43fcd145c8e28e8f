// Defaults of the document settings block and the instrument table view.
#include "doc/DocumentSettings.h"

#include <algorithm>
#include <iterator>
#include <stdexcept>
#include <string>

#include "base/FixedText.h"

namespace hp::doc {

namespace {
constexpr uint32_t kLineColours[16] = {0x000000, 0x0000FF, 0x00FF00, 0xFF0000, 0xFFFF00, 0xFF00FF, 0x00FFFF, 0x0080FF,
                                       0xFF8000, 0x008080, 0x808080, 0xC0C0C0, 0xFF8080, 0x800080, 0x008000, 0x000080};
constexpr uint32_t kFalseColours[16] = {0x0000FF, 0x0040FF, 0x0080FF, 0x00C0FF, 0x00FFFF, 0x00FFC0, 0x00FF80, 0x00FF00,
                                        0x80FF00, 0xC0FF00, 0xFFFF00, 0xFFC000, 0xFF8000, 0xFF0000, 0xFF0080, 0xFF00C0};

std::string NumberedLines(std::string_view zeroLine, std::string_view prefix) {
  std::string text = "0: ";
  text += zeroLine;
  for (int i = 1; i <= 8; ++i) {
    text += "\r\n" + std::to_string(i) + ": ";
    text += prefix;
    text += std::to_string(i);
  }
  return text;
}

void CheckNumber(int number) {
  if (number < 1 || number > kInstrumentCount) {
    throw std::out_of_range("instrument number " + std::to_string(number) + " outside 1 to " +
                            std::to_string(kInstrumentCount));
  }
}
}  // namespace

void SetDefaultInstrumentName(char (&name)[16], int number) {
  base::SetText(name, "Ger\xE4t " + std::to_string(number));
}

FontSetting DefaultFont(int index) {
  FontSetting font;
  font.height = -13;
  font.weight = 400;
  switch (index) {
    case 0: font.height = -19, font.weight = 700; break;
    case 1: font.height = -16, font.weight = 700, font.italic = 255; break;
    case 3: font.height = -9; break;
    default: break;
  }
  base::SetText(font.faceName, "Arial");
  return font;
}

uint32_t DefaultFontColour(int index) {
  switch (index) {
    case 0:
    case 1: return 0x800080;
    case 2: return 0x808080;
    case 3: return 0x0000FF;
    default: return 0x800000;
  }
}

void SetDefaultLineColours(DocumentSettings& s) {
  std::copy(std::begin(kLineColours), std::end(kLineColours), s.lineColours);
}

void SetDefaultFalseColours(DocumentSettings& s) {
  std::copy(std::begin(kFalseColours), std::end(kFalseColours), s.falseColours);
}

void SetDefaultLevelNames(DocumentSettings& s) { base::SetText(s.levelNames, NumberedLines("Unsichtbar", "Ebene ")); }

void SetDefaultSurveyorNames(DocumentSettings& s) {
  base::SetText(s.surveyorNames, NumberedLines("Unbekannt", "Vermesser "));
}

namespace {
constexpr uint8_t kNetworkMark[4] = {'N', 'E', 'T', 'Z'};
}  // namespace

bool NetworkAdjustmentChosen(const DocumentSettings& s) {
  return std::equal(std::begin(kNetworkMark), std::end(kNetworkMark), s.reserved6);
}

void ChooseNetworkAdjustment(DocumentSettings& s, bool chosen) {
  if (chosen) {
    std::copy(std::begin(kNetworkMark), std::end(kNetworkMark), s.reserved6);
    s.loopAdjustment = 2;
  } else if (NetworkAdjustmentChosen(s)) {
    std::fill(s.reserved6, s.reserved6 + std::size(kNetworkMark), uint8_t{0});
  }
}

void SetDefaultSettings(DocumentSettings& s) {
  s = DocumentSettings{};
  base::SetText(s.title, "<Titel>");
  base::SetText(s.cadastreDesignation, "<Katasterbezeichnung>");
  for (int i = 0; i < kLegacyInstrumentCount; ++i) SetDefaultInstrumentName(s.legacyInstrumentNames[i], i + 1);
  for (int i = 0; i < kInstrumentCount; ++i) SetDefaultInstrumentName(s.instrumentNames[i], i + 1);
  SetDefaultLineColours(s);
  SetDefaultFalseColours(s);
  for (int i = 0; i < kFontCount; ++i) {
    s.fonts[i] = DefaultFont(i);
    s.fontColours[i] = DefaultFontColour(i);
  }
  SetDefaultLevelNames(s);
  SetDefaultSurveyorNames(s);
}

Instrument GetInstrument(const DocumentSettings& s, int number) {
  CheckNumber(number);
  const int i = number - 1;
  Instrument result;
  result.name = std::string(base::TextOf(s.instrumentNames[i]));
  result.azimuthUnit = s.instruments[i].azimuthUnit;
  result.declination = s.instruments[i].declination;
  result.inclinationUnit = s.instruments[i].inclinationUnit;
  result.verticalReference = s.instruments[i].verticalReference;
  result.divider = s.instrumentDivider[i];
  result.sag = s.instrumentSag[i];
  result.sagCoefficient = s.instrumentSagCoefficient[i];
  result.declinationYear = s.instrumentYear[i];
  result.declinationChange = s.instrumentChange[i];
  return result;
}

void SetInstrument(DocumentSettings& s, int number, const Instrument& in) {
  CheckNumber(number);
  const int i = number - 1;
  base::SetText(s.instrumentNames[i], in.name);
  s.instruments[i] = {in.azimuthUnit, in.declination, in.inclinationUnit, in.verticalReference};
  s.instrumentDivider[i] = in.divider;
  s.instrumentSag[i] = in.sag;
  s.instrumentSagCoefficient[i] = in.sagCoefficient;
  s.instrumentYear[i] = in.declinationYear;
  s.instrumentChange[i] = in.declinationChange;
}

}  // namespace hp::doc
