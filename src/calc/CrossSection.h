// Passage cross-sections: the orientation of each leg, the cross-section at a
// station (alone, or shared with the preceding leg at a junction), the caps of
// the passage outline and the four wall points.
#pragma once

#include "calc/LegReduction.h"
#include "doc/SurveyRecord.h"

namespace hp::calc {

struct SectionLimits {
  double vertical = 30.0;  // degrees: steeper legs get tilted cross-sections
  double acute = 45.0;     // degrees: sharper turns use the acute bisector
};

// Stores the leg's own azimuth and elevation (degrees) and closes both caps.
void SetLegOrientation(doc::SurveyRecord& record, const LegVector& leg);

// Cross-section of a station without a shared junction. A self reference
// takes its elevation without the vertical-limit test.
void SingleStationSection(doc::SurveyRecord& record, const SectionLimits& limits, bool testLimit);

// Cross-section at the junction of the predecessor `p` (whose station is the
// record's reference station) and the record `r`.
void JunctionSection(doc::SurveyRecord& p, doc::SurveyRecord& r, const SectionLimits& limits);

// The wall points left, right, up and down from the station, the passage
// dimensions and the end orientation.
void UpdateWallPoints(doc::SurveyRecord& record);

}  // namespace hp::calc
