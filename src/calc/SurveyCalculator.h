// The survey data calculator "Messdatenrechner": one leg shown as length,
// azimuth and inclination, as coordinate differences, as corrected and
// horizontal length, as a pair of distance-meter readings and a pair of
// heights; typing any of them recomputes the others with the instrument's
// corrections. Also the read-only station distance "Messpunktabstand".
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "base/FieldFault.h"
#include "doc/DocumentSettings.h"
#include "doc/SurveyRecord.h"

namespace hp::calc {

// Texts of the two dialogs (UTF-8).
inline constexpr std::string_view kCalculatorCaption = "Messdatenrechner";
inline constexpr std::string_view kCalculatorLength = "Länge";
inline constexpr std::string_view kCalculatorAzimuth = "Azimut";
inline constexpr std::string_view kCalculatorInclination = "Neigung";
inline constexpr std::string_view kCalculatorReadings = "&Delta Länge";
inline constexpr std::string_view kCalculatorHeights = "Delta &Höhe";
inline constexpr std::string_view kCalculatorReverse = "Messzug &umkehren";
inline constexpr std::string_view kCalculatorCorrected = "Korrigierte &Länge";
inline constexpr std::string_view kCalculatorHorizontal = "Ho&rizontal";
inline constexpr std::string_view kCalculatorDown = "abwärts";
inline constexpr std::string_view kCalculatorCoordinates = "&Koordinaten";
inline constexpr std::string_view kDistanceCaption = "Messpunktabstand";
inline constexpr std::string_view kDistanceReference = "&Referenzpunkt/\nmarkierter Punkt";
inline constexpr std::string_view kDistanceStation = "&Messpunkt";
inline constexpr std::string_view kDistanceInstrument = "Gerät";
inline constexpr std::string_view kDistanceHorizontal = "Horizontal";
inline constexpr std::string_view kStationCave = "Höhle";
inline constexpr std::string_view kStationPassage = "Gang";
inline constexpr std::string_view kStationPoint = "Punkt";

// Typed values beyond this size (metres or angle units) are refused: no
// survey needs them, and they would overflow the squares of the computation.
inline constexpr double kCalculatorLimit = 1e9;

enum class CalcField {
  Length,
  Azimuth,
  Inclination,
  StartReading,
  EndReading,
  StartHeight,
  EndHeight,
  CorrectedLength,
  Horizontal,
  X,
  Y,
  Z,
};

struct CalcValues {
  double length = 0, azimuth = 0, inclination = 0;
  double startReading = 0, endReading = 0;
  double startHeight = 0, endHeight = 0;
  double correctedLength = 0, horizontal = 0;
  double x = 0, y = 0, z = 0;
  bool down = false;     // "abwärts"
  bool reverse = false;  // "Messzug umkehren"
};

// The corrections of the instrument a calculator works with. A record without
// instrument is calculated in degrees, horizontal, without any correction.
struct CalcInstrument {
  bool gonAzimuth = false;
  bool gonInclination = false;
  uint32_t verticalReference = 0;  // 0 horizontal, 1 nadiral, 2 (and other values) zenital
  double sagCoefficient = 0;
  double declination = 0;          // with its annual change for the record's date
  double meridianConvergence = 0;  // degrees

  double AzimuthFactor() const;
  double InclinationFactor() const;
  double FullCircle() const { return gonAzimuth ? 400 : 360; }
  double HalfCircle() const { return gonAzimuth ? 200 : 180; }
  double InclinationHalfCircle() const { return gonInclination ? 200 : 180; }
  double InclinationMin() const;
  double InclinationMax() const;
};

// The instrument of a record (numbers above 16 use instrument 1) with the
// declination for the record's date and the document's meridian convergence.
CalcInstrument CalculatorInstrumentOf(const doc::SurveyRecord& record, const doc::DocumentSettings& settings);

// A refused entry: the field and the message to show; the values are
// unchanged.
using CalcRefusal = base::FieldFault<CalcField>;

class SurveyCalculator {
 public:
  // Opens with the record's length, angles and calculator state; shows the
  // reversed leg when the record's reverse flag is set.
  SurveyCalculator(const doc::SurveyRecord& record, const doc::DocumentSettings& settings);

  const CalcValues& Values() const { return m_values; }
  const CalcInstrument& Instrument() const { return m_instrument; }
  // The text a field shows: two decimals with a decimal comma.
  std::string Text(CalcField field) const;

  // A field was edited; leaving it will compute.
  void MarkChanged() { m_changed = true; }
  bool Changed() const { return m_changed; }

  // Leaving a field: when it was edited, the typed text (decimal comma or
  // point) is read, checked, and the field's computation runs, followed by
  // the computation of everything from length, azimuth and inclination. A
  // refused text leaves every value as it was; the dialog shows the field's
  // text again.
  std::optional<CalcRefusal> Leave(CalcField field, std::string_view typed);

  // The same with a number: checks it against the field's range, then
  // computes. Azimuths lie between 0 and the full circle, inclinations
  // between the instrument's least and greatest inclination.
  std::optional<CalcRefusal> Enter(CalcField field, double value);

  // "abwärts" ticked or cleared: the leg is mirrored at the horizontal.
  void ToggleDown();
  // The check box "Messzug umkehren": nothing changes until OK.
  void SetReverse(bool reverse) { m_values.reverse = reverse; }
  // Turns the shown leg round: the azimuth by half a circle, the
  // inclination mirrored.
  void ReverseLeg();

  // OK: a reversed leg is turned back, then length, azimuth, inclination,
  // start reading, start height and reverse flag are written to the record.
  void Apply(doc::SurveyRecord& record) const;

 private:
  void Polar();
  void FromCoordinates();
  void FromHeights();
  void FromHorizontal(double h);
  void FromCorrectedLength(double k);
  // The inclination `elevation` (from the horizontal, in the inclination
  // unit) turned to the instrument's zero direction; a vertical leg gets
  // azimuth 0.
  void SetElevation(double elevation);

  doc::SurveyRecord m_scratch;  // carries the values through the leg reduction
  doc::DocumentSettings m_settings;
  CalcInstrument m_instrument;
  CalcValues m_values;
  double m_declination = 0;  // of the last polar computation
  double m_meridianConvergence = 0;
  bool m_changed = false;
};

// ---- "Messpunktabstand" ----------------------------------------------------

struct StationDistance {
  // Cave, passage and point name (Windows-1252) of both stations.
  int32_t referenceCave = 0, referencePassage = 0;
  std::string referencePoint;
  int32_t cave = 0, passage = 0;
  std::string point;
  std::string instrument;                                  // "0: Kein Gerät", "3: Name", ... (Windows-1252)
  double x = 0, y = 0, z = 0, horizontal = 0, length = 0;  // rounded to hundredths
  double azimuth = 0, inclination = 0;                     // in the instrument's units, rounded
};

// From the marked record's station (or, with none marked, the current
// record's reference station) to the current record's station, with the
// coordinates as they are stored.
StationDistance ComputeStationDistance(const doc::SurveyRecord& current, const doc::SurveyRecord* marked,
                                       const doc::DocumentSettings& settings);

// "0: Kein Gerät" for numbers below 1, "n: name" for 1 to 16, else the number.
std::string InstrumentLabel(int32_t instrument, const doc::DocumentSettings& settings);

}  // namespace hp::calc
