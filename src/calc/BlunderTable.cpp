// The blunder finder's report as the tables show it.
#include "calc/BlunderTable.h"

#include <algorithm>
#include <cmath>

#include "base/Cp1252.h"
#include "base/NumberFormat.h"
#include "doc/Station.h"

namespace hp::calc {
namespace {

std::string Shown(double value) { return base::FormatShown(base::RoundHundredths(value)); }

}  // namespace

std::vector<std::vector<size_t>> EquivalentSuspects(const BlunderReport& report) {
  const std::vector<BlunderSuspect>& suspects = report.suspects;
  std::vector<size_t> firstRound;
  for (size_t i = 0; i < suspects.size(); ++i) {
    if (i == 0 || !suspects[i].correction) firstRound.push_back(i);
  }
  const auto after = [&](size_t i) { return suspects[i].totalAfter; };
  std::stable_sort(firstRound.begin(), firstRound.end(), [&](size_t a, size_t b) { return after(a) < after(b); });
  // In ascending order the difference grows faster than the allowance, so
  // the equal ones of a suspect follow it without a gap.
  std::vector<std::vector<size_t>> equal(suspects.size());
  for (size_t k = 0; k < firstRound.size(); ++k) {
    const size_t i = firstRound[k];
    for (size_t m = k + 1; m < firstRound.size(); ++m) {
      const size_t j = firstRound[m];
      if (after(j) - after(i) > kEquivalentChiSquare * std::max({std::fabs(after(i)), std::fabs(after(j)), 1.0})) break;
      equal[i].push_back(j);
      equal[j].push_back(i);
    }
  }
  for (std::vector<size_t>& others : equal) std::sort(others.begin(), others.end());
  return equal;
}

const std::vector<std::string>& BlunderLoopHeadings() {
  static const std::vector<std::string> headings = {"Schleife", "Messzüge", "Länge",    "Delta",   "Delta X",
                                                    "Delta Y",  "Delta Z",  "Normiert", "Verdacht"};
  return headings;
}

const std::vector<std::string>& BlunderSuspectHeadings() {
  static const std::vector<std::string> headings = {"Rang",     "Datensatz", "Referenz", "Messpunkt",
                                                    "Messwert", "Gemessen",  "Vermutet", "Normiert danach"};
  return headings;
}

const char* SuspectReadingText(SuspectReading reading) {
  switch (reading) {
    case SuspectReading::Length: return "Länge";
    case SuspectReading::Azimuth: return "Azimut";
    case SuspectReading::Inclination: return "Neigung";
    case SuspectReading::Direction: break;
  }
  return "Richtung";
}

std::vector<std::string> BlunderLoopCells(const BlunderLoop& loop, size_t number) {
  const double delta = std::sqrt(loop.misclosure[0] * loop.misclosure[0] + loop.misclosure[1] * loop.misclosure[1] +
                                 loop.misclosure[2] * loop.misclosure[2]);
  return {
      std::to_string(number),         std::to_string(loop.legCount), Shown(loop.length),        Shown(delta),
      Shown(loop.misclosure[0]),      Shown(loop.misclosure[1]),     Shown(loop.misclosure[2]), Shown(loop.normalised),
      loop.suspicious ? "ja" : "nein"};
}

std::vector<std::string> BlunderSuspectCells(const doc::SurveyStore& store, const BlunderSuspect& suspect,
                                             size_t rank) {
  const doc::SurveyRecord& r = *store.records.at(suspect.record);
  const bool reversed = suspect.reading == SuspectReading::Direction;
  return {std::to_string(rank),
          std::to_string(suspect.record + 1),
          base::Cp1252ToUtf8(doc::StationText(doc::RefStationOf(r))),
          base::Cp1252ToUtf8(doc::StationText(doc::StationOf(r))),
          SuspectReadingText(suspect.reading),
          reversed ? std::string() : Shown(suspect.measured),
          reversed ? std::string() : Shown(suspect.suggested),
          Shown(suspect.worstAfter)};
}

}  // namespace hp::calc
