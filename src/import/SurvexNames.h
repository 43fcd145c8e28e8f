// Survex stations as the document names them, and the records a Survex
// survey becomes. A station's full dotted name maps to cave, passage and
// point: the cave is the outermost survey (numbered in the order the surveys
// first appear, 0 for stations outside any survey), the passage the
// innermost survey (numbered through the whole project), the point the
// station's own name. A name longer than a record's point field is cut and
// given a suffix "~n" that keeps it apart from the other points of its
// passage. Equated names each stay a station, joined by zero-length
// connections, as Survex counts them.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "doc/DocumentSettings.h"
#include "doc/SurveyRecord.h"
#include "import/SurvexParser.h"

namespace hp::imports::survex {

struct StationName {
  int32_t cave = 0;
  int32_t passage = 0;
  std::string point;
};

// The names of all stations of `survey`, by station number.
std::vector<StationName> MapNames(const Survey& survey);

// The records of `survey`: its fixed points as coordinate references (or,
// without any, its first station at the origin), then its legs in the order
// of a walk from them, each leg turned around where the walk reaches its far
// station first. Where the walk first reaches a station with equated names,
// zero-length connections (remark "Gleichgesetzt (equate)") join the other
// names to the one it came by. Splays are auxiliary lines; duplicate and
// surface legs say so in their remark; passage dimensions go to the leg that ends at their
// station, or that starts there when none ends there.
// A survey's team becomes the surveyor entry of that name, else the first
// entry still at its default name that no record in `usedSurveyors` uses;
// teams beyond the eight entries get none and are told in `notes`.
// A leg's declination is carried by an instrument entry (see
// DeclinationCarriers; `usedInstruments` marks the entries the document's
// records use), its azimuth kept as the compass read it.
std::vector<std::unique_ptr<doc::SurveyRecord>> MakeRecords(
    const Survey& survey, doc::DocumentSettings& settings, const std::array<bool, 9>& usedSurveyors,
    const std::array<bool, doc::kInstrumentCount>& usedInstruments, std::vector<std::string>& notes);

// The legs of `survey` with the legs measured more than once between the
// same two stations as one leg each, the mean of their measurements.
std::vector<Leg> MergedLegs(const Survey& survey);

// Stations as Survex counts them: every name a leg, fixed point or equate
// gives (equated names each) and every anonymous station.
size_t StationCount(const Survey& survey);
// The length of the legs Survex totals: all but splays, duplicates and
// surface legs, a leg read again on the next line once with its mean.
double TotalLength(const Survey& survey);

// Records MakeRecords gives for `survey` at most.
size_t RecordCount(const Survey& survey);

}  // namespace hp::imports::survex
