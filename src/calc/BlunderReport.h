// What the blunder finder reports: the loops of the network with their
// misclosures, and the readings suspected of being wrong.
#pragma once

#include <cstddef>
#include <vector>

namespace hp::calc {

// A loop whose normalised misclosure exceeds this is suspicious (99 % for
// three degrees of freedom).
inline constexpr double kSuspiciousMisclosure = 3.37;

enum class SuspectReading { Length, Azimuth, Inclination, Direction };

struct BlunderLoop {
  int legCount = 0;           // records in the loop (fixed-coordinate ties not counted)
  double length = 0;          // sum of their lengths
  double misclosure[3] = {};  // X, Y, Z: known station minus the end computed round the loop
  double normalised = 0;      // sqrt(e' C^-1 e)
  bool suspicious = false;
  size_t closingRecord = 0;  // list position of the record that closes it
};

struct BlunderSuspect {
  size_t record = 0;  // list position from 0
  SuspectReading reading = SuspectReading::Length;
  double measured = 0;      // the reading as stored, in the record's own units
  double suggested = 0;     // the value that best closes the record's loops, same units
  double totalAfter = 0;    // the network's chi-square with this correction
  double worstAfter = 0;    // largest normalised misclosure left among the record's loops
  bool correction = false;  // one of the corrections found one after another
};

struct BlunderReport {
  std::vector<BlunderLoop> loops;        // in the list order of their closing records
  std::vector<BlunderSuspect> suspects;  // corrections in the order found, then alternatives
  double totalChiSquare = 0;             // before any correction
  size_t suspiciousLoops = 0;
};

}  // namespace hp::calc
