// Line colour of a record in every colour mode, and the pen set.
#include "draw/LineColours.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "base/FixedText.h"
#include "base/NumberFormat.h"

namespace hp::draw {

namespace {

constexpr std::string_view kModeTexts[kLineColourModeCount] = {
    "Messlinie", "Tiefe", "Weg",       "Datum", "Querschnitt", "Gang", "Ring",
    "Ebene",     "Gerät", "Vermesser", "Jahr",  "Monat",       "Tag",  "Ringschlussfehler"};

long Digits(std::string_view text, size_t from, size_t count) {
  if (from >= text.size()) return 0;
  return base::LeadingInteger(text.substr(from, count));
}

int PrinterWidth(int w, int dpi, int divisor) { return std::max(1, (2 * w - 1) * dpi / divisor); }

}  // namespace

std::string_view LineColourModeText(int mode) {
  return mode >= 0 && mode < kLineColourModeCount ? kModeTexts[mode] : std::string_view{};
}

DateParts SplitDate(std::string_view date) {
  DateParts parts;
  parts.day = Digits(date, 0, 2);
  parts.month = Digits(date, 3, 2);
  parts.year = date.size() >= 4 ? Digits(date, date.size() - 4, 4) : 0;
  return parts;
}

int AttributeColour(long value, int ownColour) {
  const long a = value < 0 ? -value : value;
  if (a == 0) return ownColour;
  return static_cast<int>((a - 1) % 15) + 2;
}

bool FalseColourValue(const doc::SurveyRecord& r, int mode, const FalseColourInput& input, double& value) {
  switch (static_cast<LineColourMode>(mode)) {
    case LineColourMode::Depth: value = r.z - input.heightOffset; return true;
    case LineColourMode::Path: value = r.pathLength - input.referencePath; return true;
    case LineColourMode::Date: {
      if (base::TextOf(r.date).empty()) return false;
      const DateParts d = SplitDate(base::TextOf(r.date));
      value = d.year + (d.month - 1) / 12.0 + (d.day - 1) / 372.0;
      return true;
    }
    case LineColourMode::CrossSection: value = r.crossSection.halfSize; return true;
    default: return false;
  }
}

int FalseColourCount(double value, double max, double min) {
  const double step = (max - min) / 16;
  int n = 0;
  while (n < 15 && !(value > max - (n + 1) * step)) ++n;
  return n;
}

LineColour RecordLineColour(const doc::SurveyRecord& r, int mode, const FalseColourInput& input, double max,
                            double min) {
  if (IsFalseColourMode(mode)) {
    double value = 0;
    if (!FalseColourValue(r, mode, input, value)) return {true, 1};
    // A first threshold of exactly 0 answers the first colour at once.
    if (max - (max - min) / 16 == 0) return {true, 1};
    const int n = FalseColourCount(value, max, min);
    return {true, mode == static_cast<int>(LineColourMode::Depth) ? n + 1 : 16 - n};
  }
  const DateParts d = SplitDate(base::TextOf(r.date));
  long attribute = 0;
  switch (static_cast<LineColourMode>(mode)) {
    case LineColourMode::Passage: attribute = r.passage; break;
    case LineColourMode::Loop: attribute = r.ring; break;
    case LineColourMode::Level: attribute = r.level; break;
    case LineColourMode::Instrument: attribute = r.instrument; break;
    case LineColourMode::Surveyor: attribute = r.surveyor; break;
    case LineColourMode::Year: attribute = d.year; break;
    case LineColourMode::Month: attribute = d.year * 12 + d.month; break;
    case LineColourMode::Day: attribute = d.year * 372 + d.month * 31 + d.day; break;
    default: return {false, r.colour};
  }
  return {false, AttributeColour(attribute, r.colour)};
}

LineColour LoopQualityLineColour(const doc::SurveyRecord& r, int loopClass) {
  if (r.point[0] == 0) return {false, r.colour};
  const int c = std::clamp(loopClass, 0, 4);
  return {false, LoopClassColourNumber(c), c + 1};
}

Colour LoopClassColour(int loopClass) {
  constexpr Colour kRamp[4] = {RgbColour(0, 170, 0), RgbColour(230, 200, 0), RgbColour(255, 128, 0),
                               RgbColour(230, 0, 0)};
  return kRamp[std::clamp(loopClass, 0, 3)];
}

int LoopClassColourNumber(int loopClass) {
  constexpr int kNumbers[5] = {3, 7, 8, 2, 11};
  return kNumbers[std::clamp(loopClass, 0, 4)];
}

PenSet BuildPenSet(const doc::DocumentSettings& settings, int lineWidth, const DeviceCaps& caps, bool printer,
                   Colour leftEye, Colour rightEye) {
  const int w = std::clamp(lineWidth, 1, 10);
  const int width = printer ? PrinterWidth(w, caps.dpiX, 200) : w;
  const int thick = printer ? PrinterWidth(w, caps.dpiX, 100) : 2 * w;
  // A black-and-white device draws everything black.
  const bool mono = caps.colours < 3;
  auto colour = [mono](Colour c) { return mono ? Colour{0} : c; };
  PenSet pens;
  pens.black = {PenStyle::Solid, width, 0};
  pens.blackDashed = {PenStyle::Dashed, 1, 0};
  pens.white = {PenStyle::Solid, width, colour(0xFFFFFF)};
  for (int c = 0; c < 16; ++c) {
    const Colour line = colour(settings.lineColours[c]);
    pens.solid[c] = {PenStyle::Solid, width, line};
    pens.dashed[c] = {PenStyle::Dashed, 1, line};
    pens.thick[c] = {PenStyle::Solid, thick, line};
    pens.falseColour[c] = {PenStyle::Solid, width, colour(settings.falseColours[c])};
  }
  for (int c = 0; c < 4; ++c) pens.loopClass[c] = {PenStyle::Solid, width, colour(LoopClassColour(c))};
  pens.loopClass[4] = {PenStyle::Solid, width, colour(settings.frameColour)};
  pens.left = {PenStyle::Solid, width, colour(leftEye)};
  pens.right = {PenStyle::Solid, width, colour(rightEye)};
  return pens;
}

const Pen& ColourPen(const PenSet& pens, const LineColour& colour) {
  const int c = colour.number;
  if (colour.loopClass >= 1 && colour.loopClass <= 5) return pens.loopClass[colour.loopClass - 1];
  if (colour.falseColour) return pens.falseColour[std::clamp(c, 1, 16) - 1];
  if (c >= 1 && c <= 16) return pens.solid[c - 1];
  if (c >= 17 && c <= 32) return pens.dashed[c - 17];
  if (c <= -1 && c >= -16) return pens.dashed[-c - 1];
  if (c < -16) return pens.blackDashed;
  return pens.black;
}

}  // namespace hp::draw
