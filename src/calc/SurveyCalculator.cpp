// The survey data calculator and the station distance.
#include "calc/SurveyCalculator.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <variant>

#include "base/FieldMessages.h"
#include "base/FixedText.h"
#include "base/NumberField.h"
#include "base/NumberFormat.h"
#include "calc/LegReduction.h"

namespace hp::calc {
namespace {

double R(double v) { return base::RoundHundredths(v); }

bool IsAngle(CalcField field) { return field == CalcField::Azimuth || field == CalcField::Inclination; }

}  // namespace

double CalcInstrument::AzimuthFactor() const { return gonAzimuth ? kGonFactor : kDegreeFactor; }
double CalcInstrument::InclinationFactor() const { return gonInclination ? kGonFactor : kDegreeFactor; }

double CalcInstrument::InclinationMin() const {
  if (verticalReference != 0) return 0;
  return gonInclination ? -100 : -90;
}

double CalcInstrument::InclinationMax() const {
  const double quarter = gonInclination ? 100 : 90;
  return verticalReference == 0 ? quarter : 2 * quarter;
}

CalcInstrument CalculatorInstrumentOf(const doc::SurveyRecord& record, const doc::DocumentSettings& settings) {
  CalcInstrument instrument;
  const auto index = InstrumentIndex(record);
  if (!index) return instrument;
  const int i = *index;
  const doc::InstrumentRecord& entry = settings.instruments[i];
  instrument.gonAzimuth = entry.azimuthUnit != 0;
  instrument.gonInclination = entry.inclinationUnit != 0;
  instrument.verticalReference = entry.verticalReference;
  instrument.sagCoefficient = settings.instrumentSagCoefficient[i];
  instrument.declination = DeclinationOnDate(record, settings, i);
  instrument.meridianConvergence = settings.meridianConvergence;
  return instrument;
}

SurveyCalculator::SurveyCalculator(const doc::SurveyRecord& record, const doc::DocumentSettings& settings)
    : m_settings(settings), m_instrument(CalculatorInstrumentOf(record, settings)) {
  // The polar computation is the leg reduction of a scratch record. Its
  // distance-meter readings stay zero: the calculator's readings are its
  // own and never replace the length.
  base::SetText(m_scratch.date, base::TextOf(record.date));
  if (const auto index = InstrumentIndex(record)) {
    m_scratch.instrument = *index + 1;
  } else {
    // Without instrument: an uncorrected degree instrument in place of
    // instrument 1, and no meridian convergence (it only turns instrument
    // legs).
    m_scratch.instrument = 1;
    m_settings.instruments[0] = doc::InstrumentRecord{};
    m_settings.instrumentDivider[0] = 0;
    m_settings.instrumentSagCoefficient[0] = 0;
    m_settings.instrumentYear[0] = 0;
    m_settings.meridianConvergence = 0;
  }
  m_values.length = record.length;
  m_values.azimuth = record.azimuth;
  m_values.inclination = record.inclination;
  m_values.startReading = record.calculator.startReading;
  m_values.startHeight = record.calculator.startHeight;
  m_values.reverse = record.calculator.reverse != 0;
  Polar();
  if (m_values.reverse) ReverseLeg();
}

std::string SurveyCalculator::Text(CalcField field) const {
  const CalcValues& v = m_values;
  switch (field) {
    case CalcField::Length: return base::FormatShown(v.length);
    case CalcField::Azimuth: return base::FormatShown(v.azimuth);
    case CalcField::Inclination: return base::FormatShown(v.inclination);
    case CalcField::StartReading: return base::FormatShown(v.startReading);
    case CalcField::EndReading: return base::FormatShown(v.endReading);
    case CalcField::StartHeight: return base::FormatShown(v.startHeight);
    case CalcField::EndHeight: return base::FormatShown(v.endHeight);
    case CalcField::CorrectedLength: return base::FormatShown(v.correctedLength);
    case CalcField::Horizontal: return base::FormatShown(v.horizontal);
    case CalcField::X: return base::FormatShown(v.x);
    case CalcField::Y: return base::FormatShown(v.y);
    case CalcField::Z: return base::FormatShown(v.z);
  }
  return {};
}

std::optional<CalcRefusal> SurveyCalculator::Leave(CalcField field, std::string_view typed) {
  if (!m_changed) return std::nullopt;
  m_changed = false;
  // A text that is no angle is refused with the angle's range.
  std::string notANumber(base::messages::kNumberPlease);
  if (IsAngle(field)) {
    notANumber = field == CalcField::Azimuth ? base::messages::NumberBetweenPlease(0, m_instrument.FullCircle())
                                             : base::messages::NumberBetweenPlease(m_instrument.InclinationMin(),
                                                                                   m_instrument.InclinationMax());
  }
  auto value = base::ReadNumberField(typed, {.notANumber = std::move(notANumber)});
  if (auto* message = std::get_if<std::string>(&value)) return CalcRefusal{field, std::move(*message)};
  return Enter(field, std::get<double>(value));
}

std::optional<CalcRefusal> SurveyCalculator::Enter(CalcField field, double value) {
  if (field == CalcField::Azimuth && !(value >= 0 && value <= m_instrument.FullCircle())) {
    return CalcRefusal{field, base::messages::NumberBetweenPlease(0, m_instrument.FullCircle())};
  }
  if (field == CalcField::Inclination &&
      !(value >= m_instrument.InclinationMin() && value <= m_instrument.InclinationMax())) {
    return CalcRefusal{
        field, base::messages::NumberBetweenPlease(m_instrument.InclinationMin(), m_instrument.InclinationMax())};
  }
  if (!(std::fabs(value) <= kCalculatorLimit)) {
    return CalcRefusal{field, base::messages::NumberBetweenPlease(-kCalculatorLimit, kCalculatorLimit)};
  }

  CalcValues& v = m_values;
  switch (field) {
    case CalcField::Length: v.length = value; break;
    case CalcField::Azimuth: v.azimuth = value; break;
    case CalcField::Inclination: v.inclination = value; break;
    case CalcField::StartReading:
      v.startReading = value;
      v.length = v.endReading - v.startReading;
      break;
    case CalcField::EndReading: v.length = value - v.startReading; break;
    case CalcField::StartHeight:
      v.startHeight = value;
      FromHeights();
      break;
    case CalcField::EndHeight:
      v.endHeight = value;
      FromHeights();
      break;
    case CalcField::CorrectedLength: FromCorrectedLength(value); break;
    case CalcField::Horizontal: FromHorizontal(value); break;
    case CalcField::X:
      v.x = value;
      FromCoordinates();
      break;
    case CalcField::Y:
      v.y = value;
      FromCoordinates();
      break;
    case CalcField::Z:
      v.z = value;
      FromCoordinates();
      break;
  }
  Polar();
  return std::nullopt;
}

void SurveyCalculator::Polar() {
  CalcValues& v = m_values;
  m_scratch.length = v.length;
  m_scratch.azimuth = v.azimuth;
  m_scratch.inclination = v.inclination;
  const LegVector leg = ReduceLeg(m_scratch, m_settings);
  m_declination = m_instrument.declination;
  m_meridianConvergence = m_settings.meridianConvergence;

  const double L = leg.reducedLength;
  v.x = std::floor(L * 100 * leg.sinAz * leg.cosEl + 0.5) * 0.01;
  v.y = std::floor(L * 100 * leg.cosAz * leg.cosEl + 0.5) * 0.01;
  v.z = std::floor(L * 100 * leg.sinEl + 0.5) * 0.01;
  v.endReading = v.startReading + v.length;
  v.endHeight = v.startHeight + v.z;
  v.correctedLength = R(L);
  v.horizontal = std::floor(L * 100 * leg.cosEl + 0.5) * 0.01;
  v.down = v.z < 0;
  m_changed = false;
}

void SurveyCalculator::SetElevation(double elevation) {
  double inclination = elevation;
  const double max = m_instrument.InclinationMax();
  if (m_instrument.verticalReference == 1) {
    inclination = max / 2 + elevation;
  } else if (m_instrument.verticalReference != 0) {
    inclination = max / 2 - elevation;
  }
  m_values.inclination = inclination;
  if (inclination == m_instrument.InclinationMin() || inclination == max) m_values.azimuth = 0;
}

void SurveyCalculator::FromCoordinates() {
  CalcValues& v = m_values;
  if (v.x == 0 && v.y == 0 && v.z == 0) {
    v.length = v.azimuth = v.inclination = 0;
    return;
  }
  const double fA = m_instrument.AzimuthFactor();
  const double fI = m_instrument.InclinationFactor();
  const double c = m_instrument.sagCoefficient;
  const double across = std::sqrt(v.x * v.x + v.y * v.y);
  const double elevation = R(std::atan2(v.z, across) / fI);
  v.length = R(std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z));
  v.length = v.length / (std::cos(fI * elevation) * c + 1);
  v.azimuth = R(std::atan2(v.x, v.y) / fA);
  SetElevation(elevation);
  // Back from grid north to the instrument's north.
  v.azimuth = v.azimuth - m_declination + m_meridianConvergence * kDegreeFactor / fA;
  const double full = m_instrument.FullCircle();
  if (v.azimuth < 0) {
    v.azimuth += full;
  } else if (v.azimuth > full) {
    v.azimuth -= full;
  }
}

void SurveyCalculator::FromHeights() {
  CalcValues& v = m_values;
  const double dH = v.endHeight - v.startHeight;
  const double quarter = m_instrument.gonInclination ? 100 : 90;
  double elevation = 0;
  if (v.length == 0) {
    elevation = 0;
  } else if (std::fabs(dH) > v.length) {
    // Only a negative length leaves dH = 0 here; that leg stays level.
    elevation = dH > 0 ? quarter : dH < 0 ? -quarter : 0;
  } else {
    const double c = m_instrument.sagCoefficient;
    const double ratio = dH / v.length;
    double e = 0;
    if (c == 0) {
      e = std::asin(ratio);
    } else {
      // sin e * (1 + c cos e) = ratio has no closed form: bisection over
      // the elevations from straight down to straight up.
      double low = -1.57079632679, high = 1.57079632679;
      for (;;) {
        e = (low + high) / 2;
        const double f = std::sin(e) + (c / 2) * std::sin(2 * e) - ratio;
        if (f < 0) {
          low = e;
        } else {
          high = e;
        }
        if (std::fabs(f) <= 1e-6 || high - low <= 1e-6) break;
      }
    }
    elevation = R(e / m_instrument.InclinationFactor());
  }
  SetElevation(elevation);
}

void SurveyCalculator::FromHorizontal(double h) {
  CalcValues& v = m_values;
  const double c = m_instrument.sagCoefficient;
  const double quarter = m_instrument.gonInclination ? 100 : 90;
  double elevation = 0;
  if (v.length == 0 || h > (c + 1) * v.length) {
    elevation = 0;  // the horizontal length is cut back to the whole leg
  } else if (h < 0) {
    elevation = v.down ? -quarter : quarter;
  } else {
    double x = h / v.length;
    if (c != 0) x = -0.5 / c - std::sqrt(h / v.length / c + 0.25 / c / c);
    // Rounding can carry a leg of full horizontal length just past 1.
    const double e = std::acos(std::clamp(x, -1.0, 1.0));
    elevation = R(e / m_instrument.InclinationFactor());
    if (v.down) elevation = -elevation;
  }
  SetElevation(elevation);
}

void SurveyCalculator::FromCorrectedLength(double k) {
  m_scratch.length = m_values.length;
  m_scratch.azimuth = m_values.azimuth;
  m_scratch.inclination = m_values.inclination;
  const LegVector leg = ReduceLeg(m_scratch, m_settings);
  m_values.length = k / (leg.cosEl * m_instrument.sagCoefficient + 1);
}

void SurveyCalculator::ToggleDown() {
  if (m_instrument.verticalReference == 0) {
    m_values.inclination = -m_values.inclination;
  } else {
    m_values.inclination = m_instrument.InclinationHalfCircle() - m_values.inclination;
  }
  Polar();
}

void SurveyCalculator::ReverseLeg() {
  const double half = m_instrument.HalfCircle();
  m_values.azimuth = m_values.azimuth >= half ? m_values.azimuth - half : m_values.azimuth + half;
  if (m_instrument.verticalReference == 0) {
    m_values.inclination = -m_values.inclination;
  } else {
    m_values.inclination = m_instrument.InclinationHalfCircle() - m_values.inclination;
  }
  Polar();
}

void SurveyCalculator::Apply(doc::SurveyRecord& record) const {
  SurveyCalculator shown = *this;
  if (shown.m_values.reverse) shown.ReverseLeg();
  const CalcValues& v = shown.m_values;
  record.length = v.length;
  record.azimuth = v.azimuth;
  record.inclination = v.inclination;
  record.calculator.startReading = v.startReading;
  record.calculator.startHeight = v.startHeight;
  record.calculator.reverse = v.reverse ? 1 : 0;
}

// ---- "Messpunktabstand" ----------------------------------------------------

std::string InstrumentLabel(int32_t instrument, const doc::DocumentSettings& settings) {
  if (instrument < 1) return "0: Kein Ger\xE4t";  // Windows-1252
  if (instrument > doc::kInstrumentCount) return std::to_string(instrument);
  std::string label = std::to_string(instrument) + ": ";
  label += base::TextOf(settings.instrumentNames[instrument - 1]);
  return label;
}

StationDistance ComputeStationDistance(const doc::SurveyRecord& current, const doc::SurveyRecord* marked,
                                       const doc::DocumentSettings& settings) {
  StationDistance d;
  double fromX = current.refX, fromY = current.refY, fromZ = current.refZ;
  if (marked != nullptr) {
    d.referenceCave = marked->cave;
    d.referencePassage = marked->passage;
    d.referencePoint = base::TextOf(marked->point);
    fromX = marked->x;
    fromY = marked->y;
    fromZ = marked->z;
  } else {
    d.referenceCave = current.refCave;
    d.referencePassage = current.refPassage;
    d.referencePoint = base::TextOf(current.refPoint);
  }
  d.cave = current.cave;
  d.passage = current.passage;
  d.point = base::TextOf(current.point);
  d.instrument = InstrumentLabel(current.instrument, settings);

  const double dx = current.x - fromX, dy = current.y - fromY, dz = current.z - fromZ;
  const double h = std::sqrt(dx * dx + dy * dy);
  d.x = R(dx);
  d.y = R(dy);
  d.z = R(dz);
  d.horizontal = R(h);
  d.length = R(std::sqrt(dx * dx + dy * dy + dz * dz));
  double fA = kDegreeFactor, fI = kDegreeFactor;
  if (current.instrument >= 1 && current.instrument <= doc::kInstrumentCount) {
    const doc::InstrumentRecord& entry = settings.instruments[current.instrument - 1];
    fA = entry.azimuthUnit == 0 ? kDegreeFactor : kGonFactor;
    fI = entry.inclinationUnit == 0 ? kDegreeFactor : kGonFactor;
  }
  d.azimuth = R(std::atan2(dx, dy) / fA);
  d.inclination = R(std::atan2(dz, h) / fI);
  return d;
}

}  // namespace hp::calc
