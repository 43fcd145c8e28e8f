// Reduction of one survey leg with its instrument's corrections.
#include "calc/LegReduction.h"

#include <cmath>
#include <string_view>

#include "base/FixedText.h"
#include "base/NumberFormat.h"

namespace hp::calc {

std::optional<int> InstrumentIndex(const doc::SurveyRecord& record) {
  if (record.instrument < 1) return std::nullopt;
  if (record.instrument > doc::kInstrumentCount) return 0;
  return record.instrument - 1;
}

double SurveyDate(const doc::SurveyRecord& record) {
  const std::string_view date = base::TextOf(record.date);
  if (date.empty()) return 0;
  const auto piece = [&](size_t from, size_t count) -> double {
    if (from >= date.size()) return 0;
    return static_cast<double>(base::LeadingInteger(date.substr(from, count)));
  };
  const double day = piece(0, 2);
  const double month = piece(3, 2);
  const double year = date.size() >= 4 ? piece(date.size() - 4, 4) : piece(0, date.size());
  return year + (month - 1) / 12 + (day - 1) / 372;
}

namespace {

double RoundedDegrees(double radians) { return std::floor(radians * 100 / kDegreeFactor + 0.5) * 0.01; }

LegVector ReduceWithoutInstrument(const doc::SurveyRecord& r) {
  LegVector leg;
  const double dX = r.x - r.refX, dY = r.y - r.refY, dZ = r.z - r.refZ;
  leg.azimuthDeg = RoundedDegrees(std::atan2(dX, dY));
  leg.sinAz = std::sin(leg.azimuthDeg * kDegreeFactor);
  leg.cosAz = std::cos(leg.azimuthDeg * kDegreeFactor);
  leg.elevationDeg = RoundedDegrees(std::atan2(dZ, std::sqrt(dX * dX + dY * dY)));
  leg.sinEl = std::sin(leg.elevationDeg * kDegreeFactor);
  leg.cosEl = std::cos(leg.elevationDeg * kDegreeFactor);
  return leg;
}

}  // namespace

double DeclinationOnDate(const doc::SurveyRecord& record, const doc::DocumentSettings& settings, int index) {
  double declination = settings.instruments[index].declination;
  if (settings.instrumentYear[index] <= 0) return declination;  // no yearly change: the date does not matter
  const double date = SurveyDate(record);
  if (date > 0) declination = (date - settings.instrumentYear[index]) * settings.instrumentChange[index] + declination;
  return declination;
}

LegVector ReduceLeg(doc::SurveyRecord& r, const doc::DocumentSettings& settings) {
  const auto index = InstrumentIndex(r);
  if (!index) return ReduceWithoutInstrument(r);
  const int i = *index;
  const doc::InstrumentRecord& instrument = settings.instruments[i];

  const double declination = DeclinationOnDate(r, settings, i);
  const double azimuthFactor = instrument.azimuthUnit == 0 ? kDegreeFactor : kGonFactor;
  LegVector leg;
  const double grid = (declination + r.azimuth) * azimuthFactor - settings.meridianConvergence * kDegreeFactor;
  leg.sinAz = std::sin(grid);
  leg.cosAz = std::cos(grid);
  leg.azimuthDeg = (declination + r.azimuth) * azimuthFactor / kDegreeFactor - settings.meridianConvergence;

  const double inclinationFactor = instrument.inclinationUnit == 0 ? kDegreeFactor : kGonFactor;
  const double v = r.inclination * inclinationFactor;
  switch (instrument.verticalReference) {
    case 0:
      leg.sinEl = std::sin(v);
      leg.cosEl = std::cos(v);
      leg.elevationDeg = v / kDegreeFactor;
      break;
    case 1:
      leg.sinEl = -std::cos(v);
      leg.cosEl = std::sin(v);
      leg.elevationDeg = v / kDegreeFactor - 90;
      break;
    default:
      leg.sinEl = std::cos(v);
      leg.cosEl = std::sin(v);
      leg.elevationDeg = 90 - v / kDegreeFactor;
      break;
  }

  const double divider = settings.instrumentDivider[i];
  if (divider != 0 && (r.tapeStart != 0 || r.tapeEnd != 0)) r.length = (r.tapeEnd - r.tapeStart) / divider;
  leg.reducedLength = (leg.cosEl * settings.instrumentSagCoefficient[i] + 1) * r.length;
  return leg;
}

bool IsVertical(const LegVector& leg, const doc::SurveyRecord& record) {
  return std::fabs(leg.cosEl) < 0.0015 || record.length == 0;
}

double SagCoefficient(double sag) {
  if (sag == 0) return 0;
  const double s = sag / 100 + 1;
  const double u = std::log(s + std::sqrt(s * s - 1));
  return (u - std::sinh(u)) / std::sinh(u);
}

void UpdateSagCoefficients(doc::DocumentSettings& settings) {
  for (int i = 0; i < doc::kInstrumentCount; ++i) {
    settings.instrumentSagCoefficient[i] = SagCoefficient(settings.instrumentSag[i]);
  }
}

AngleRanges AngleEntryRanges(const doc::SurveyRecord& record, const doc::DocumentSettings& settings) {
  AngleRanges ranges;
  const auto index = InstrumentIndex(record);
  if (!index) return ranges;
  const doc::InstrumentRecord& instrument = settings.instruments[*index];
  ranges.limited = true;
  ranges.azimuthMax = instrument.azimuthUnit == 0 ? 360 : 400;
  const double quarter = instrument.inclinationUnit == 0 ? 90 : 100;
  if (instrument.verticalReference == 0) {
    ranges.inclinationMin = -quarter;
    ranges.inclinationMax = quarter;
  } else {
    ranges.inclinationMax = 2 * quarter;
  }
  return ranges;
}

}  // namespace hp::calc
