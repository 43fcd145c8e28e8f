// The blunder finder ("Fehlersuche"): every independent loop of the survey
// network, not only the ring-marked ones, checked against the accuracy the
// readings are expected to have, and the legs and readings most likely
// wrong, each with the value of that reading that best closes the loops.
//
// Stations are the nodes of the network; every record with a reference
// station and a station is an edge carrying its own reduced reading (legs,
// connections and loop closures alike). Coordinate references tie their
// stations exactly to their fixed coordinates, so a traverse between two
// fixed stations is a loop as well. The document is never changed.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "doc/SurveyStore.h"
#include "platform/SettingsStore.h"

namespace hp::calc {

// A loop whose normalised misclosure exceeds this is suspicious (99 % for
// three degrees of freedom).
inline constexpr double kSuspiciousMisclosure = 3.37;

struct BlunderOptions {
  double sigmaLength = 0.05;  // metres, one tape reading
  double sigmaAngle = 1.0;    // degrees, one compass or clino reading
};

// The two accuracies as the windows keep them (section "Settings"); values
// that are missing, unreadable or not positive give the defaults.
BlunderOptions LoadBlunderOptions(const platform::SettingsStore& settings);
void SaveBlunderOptions(platform::SettingsStore& settings, const BlunderOptions& options);

enum class SuspectReading { Length, Azimuth, Inclination, Direction };

struct BlunderLoop {
  int legCount = 0;     // records in the loop (fixed-coordinate ties not counted)
  double length = 0;    // sum of their lengths
  double misclosure[3] = {};  // X, Y, Z: known station minus the end computed round the loop
  double normalised = 0;      // sqrt(e' C^-1 e)
  bool suspicious = false;
  size_t closingRecord = 0;   // list position of the record that closes it
};

struct BlunderSuspect {
  size_t record = 0;  // list position from 0
  SuspectReading reading = SuspectReading::Length;
  double measured = 0;   // the reading as stored, in the record's own units
  double suggested = 0;  // the value that best closes the record's loops, same units
  double totalAfter = 0;  // the network's chi-square with this correction
  double worstAfter = 0;  // largest normalised misclosure left among the record's loops
  bool correction = false;  // one of the corrections found one after another
};

struct BlunderReport {
  std::vector<BlunderLoop> loops;         // in the list order of their closing records
  std::vector<BlunderSuspect> suspects;   // corrections in the order found, then alternatives
  double totalChiSquare = 0;              // before any correction
  size_t suspiciousLoops = 0;
};

BlunderReport FindBlunders(const doc::SurveyStore& store, const BlunderOptions& options);

// Two explanations whose chi-squares after the correction differ by less than
// this share of the larger (or, near a perfect fit, by less than this
// absolutely) close the loops equally well.
inline constexpr double kEquivalentChiSquare = 1e-3;

// For every suspect of the report, the indices of the other suspects that
// explain the loops equally well (a leg that lies in only one loop cannot be
// told from the loop's other legs). Only explanations of the uncorrected
// network are compared: the first correction and the alternatives; a later
// correction, found after others were applied, is equal to none.
std::vector<std::vector<size_t>> EquivalentSuspects(const BlunderReport& report);

// The two tables as shown: cells of a loop row ("Schleife", "Messzüge",
// "Länge", "Delta", "Delta X", "Delta Y", "Delta Z", "Normiert", "Verdacht")
// and of a suspect row ("Rang", "Datensatz", "Referenz", "Messpunkt",
// "Messwert", "Gemessen", "Vermutet", "Normiert danach"); numbers rounded to
// hundredths with a decimal comma, texts in UTF-8.
const std::vector<std::string>& BlunderLoopHeadings();
const std::vector<std::string>& BlunderSuspectHeadings();
std::vector<std::string> BlunderLoopCells(const BlunderLoop& loop, size_t number);
std::vector<std::string> BlunderSuspectCells(const doc::SurveyStore& store, const BlunderSuspect& suspect,
                                             size_t rank);
const char* SuspectReadingText(SuspectReading reading);
// The mark of a suspect that another explains equally well.
inline constexpr const char* kEquivalentMark = "gleichwertig";

}  // namespace hp::calc
