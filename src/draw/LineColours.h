// Line colours of the plane drawing: the colour a record's leg gets in each
// line colour mode (own colour, false colours by depth, path, date or
// cross-section size, attribute colours by passage, loop, level, instrument,
// surveyor or date), and the pen set the colour numbers stand for.
#pragma once

#include <array>
#include <string_view>

#include "doc/DocumentSettings.h"
#include "doc/SurveyRecord.h"
#include "draw/Surface.h"

namespace hp::draw {

enum class LineColourMode : int {
  Own = 0,           // "Messlinie"
  Depth = 1,         // "Tiefe"
  Path = 2,          // "Weg"
  Date = 3,          // "Datum"
  CrossSection = 4,  // "Querschnitt"
  Passage = 5,       // "Gang"
  Loop = 6,          // "Ring"
  Level = 7,         // "Ebene"
  Instrument = 8,    // "Gerät"
  Surveyor = 9,      // "Vermesser"
  Year = 10,         // "Jahr"
  Month = 11,        // "Monat"
  Day = 12,          // "Tag"
  LoopQuality = 13,  // "Ringschlussfehler"
};
inline constexpr int kLineColourModeCount = 14;

// The list text of a mode (UTF-8); empty out of range.
std::string_view LineColourModeText(int mode);

// Whether a mode colours by false colours (1 to 4).
inline bool IsFalseColourMode(int mode) { return mode >= 1 && mode <= 4; }

// A date "DD.MM.YYYY" taken apart by position: day the first two characters,
// month characters 4 and 5, year the last four. Missing parts are 0.
struct DateParts {
  long year = 0, month = 0, day = 0;
};
DateParts SplitDate(std::string_view date);

// Colour number 2 to 16 for a non-zero attribute (cycling through 15
// colours), the record's own colour for 0.
int AttributeColour(long value, int ownColour);

// The value a false-colour mode measures for a record: to-point height above
// the reference (depth), path from the reference, date value, cross-section
// half-size. `hasValue` is false for a record without a date.
struct FalseColourInput {
  double heightOffset = 0;   // reference height minus origin Z
  double referencePath = 0;  // the reference station's path length
};
bool FalseColourValue(const doc::SurveyRecord& record, int mode, const FalseColourInput& input, double& value);

// Number of thresholds max - step, max - 2 step, ... (step = (max - min)/16)
// that `value` does not exceed, at most 15.
int FalseColourCount(double value, double max, double min);

// The colour a record is drawn in: a line colour number (pens of
// ColourNumberPen) or a false-colour index 1 to 16.
struct LineColour {
  bool falseColour = false;
  int number = 0;
  // In the loop-quality mode 1 + the leg's calc::LoopClass (the fixed ramp,
  // or the frame colour for a leg in no loop), with `number` the index of
  // the line colour that exports write; 0 in every other mode.
  int loopClass = 0;
  bool operator==(const LineColour&) const = default;
};
LineColour RecordLineColour(const doc::SurveyRecord& record, int mode, const FalseColourInput& input, double max,
                            double min);

// The loop-quality colour of a leg of class `loopClass` (a calc::LoopClass);
// auxiliary lines keep their own colour as in mode 0.
LineColour LoopQualityLineColour(const doc::SurveyRecord& record, int loopClass);
// The fixed ramp green, yellow, orange, red of the four loop classes.
Colour LoopClassColour(int loopClass);
// The line colour number (index of the default line colours) that exports
// write for a class: green 3, yellow 7, orange 8, red 2; grey 11 for no loop.
int LoopClassColourNumber(int loopClass);

// The pens of a drawing. Line width w: w on the screen; on a printer
// (2w - 1)·dpi/200, thick pens (2w - 1)·dpi/100, each at least 1.
struct PenSet {
  Pen black, blackDashed, white;
  std::array<Pen, 16> solid, dashed, thick;
  std::array<Pen, 16> falseColour;
  Pen left, right;  // the two eyes of the red-green view
  // The loop-quality mode: the four classes, then the frame colour.
  std::array<Pen, 5> loopClass;
};
PenSet BuildPenSet(const doc::DocumentSettings& settings, int lineWidth, const DeviceCaps& caps, bool printer,
                   Colour leftEye = RgbColour(255, 0, 0), Colour rightEye = RgbColour(0, 255, 0));

// The pen of a colour: a loop class's pen in the loop-quality mode; 1 to 16 solid line colour, 17 to 32 dashed line
// colour c - 16, -1 to -16 dashed line colour -c, below -16 black dashed,
// anything else black; false-colour indices use the false-colour pens
// (1 and below the first, above 16 the 16th).
const Pen& ColourPen(const PenSet& pens, const LineColour& colour);

}  // namespace hp::draw
