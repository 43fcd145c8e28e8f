// Leg reduction: the raw measurements of one record, corrected by its
// instrument (angle units, zero direction of the inclination, declination
// with its annual change, meridian convergence, distance-meter divider and
// sag), turned into the direction and length the coordinate computation uses.
#pragma once

#include <optional>

#include "doc/DocumentSettings.h"
#include "doc/SurveyRecord.h"

namespace hp::calc {

// Radians per degree and per gon as the computation uses them (not the exact
// ratios of pi; results depend on these values).
inline constexpr double kDegreeFactor = 0.01745329252;
inline constexpr double kGonFactor = 0.01570796327;

struct LegVector {
  double sinAz = 0, cosAz = 0;  // grid azimuth, clockwise from grid north
  double sinEl = 0, cosEl = 0;  // elevation above the horizontal
  double azimuthDeg = 0;
  double elevationDeg = 0;
  double reducedLength = 0;  // after the sag correction; only with an instrument
};

// Table index (0 to 15) of a record's instrument, or nothing for "0: Kein
// Gerät" (values below 1). Numbers above 16 use instrument 1.
std::optional<int> InstrumentIndex(const doc::SurveyRecord& record);

// The survey date as a decimal year; 0 for an empty date.
double SurveyDate(const doc::SurveyRecord& record);

// The declination of instrument `index` (from 0) on the record's survey
// date: the stored value, moved by its yearly change since the instrument's
// year when both the date and the year are known.
double DeclinationOnDate(const doc::SurveyRecord& record, const doc::DocumentSettings& settings, int index);

// Reduces one record. With an instrument that has a divider and a record with
// distance-meter readings, the record's length is replaced by the one the
// readings give.
LegVector ReduceLeg(doc::SurveyRecord& record, const doc::DocumentSettings& settings);

// Whether a reduced record counts as vertical for the loop adjustment.
bool IsVertical(const LegVector& leg, const doc::SurveyRecord& record);

// Recomputes the sag coefficient of every instrument from its sag.
void UpdateSagCoefficients(doc::DocumentSettings& settings);
double SagCoefficient(double sagPercent);

// The ranges the data editor accepts for a record's angles; none for a record
// without instrument, whose angles are derived from its coordinates.
struct AngleRanges {
  bool limited = false;
  double azimuthMin = 0, azimuthMax = 0;
  double inclinationMin = 0, inclinationMax = 0;
};
AngleRanges AngleEntryRanges(const doc::SurveyRecord& record, const doc::DocumentSettings& settings);

}  // namespace hp::calc
